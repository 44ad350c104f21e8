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

}  // namespace korvane::net::testing
