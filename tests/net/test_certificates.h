#pragma once

#include <string>

namespace korvane::net::testing {

// A server's certificate and private key, PEM-encoded.
struct TlsIdentity {
    std::string certificatePem;
    std::string keyPem;
};

// A throwaway certificate authority and one server certificate it signed.
struct TestPki {
    std::string caPem;
    TlsIdentity server;
};

// The server certificate names only `dnsName` (as its subject alternative name), so a client
// that reaches the server by any other name must refuse it. Empty texts when OpenSSL failed.
TestPki MakeTestPki(const std::string& dnsName);

// Writes `pem` to a file of this process in the temporary folder and gives its path. The name
// carries the process id: CTest runs the cases of one program as parallel processes, and each
// makes its own authority.
std::string WritePemFile(const std::string& name, const std::string& pem);

}  // namespace korvane::net::testing
