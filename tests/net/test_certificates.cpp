#include "test_certificates.h"

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>

namespace korvane::net::testing {

namespace {

struct KeyFree {
    void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
struct CertFree {
    void operator()(X509* cert) const { X509_free(cert); }
};
struct BioFree {
    void operator()(BIO* bio) const { BIO_free(bio); }
};
using Key = std::unique_ptr<EVP_PKEY, KeyFree>;
using Cert = std::unique_ptr<X509, CertFree>;
using Bio = std::unique_ptr<BIO, BioFree>;

Key NewKey() {
    return Key(EVP_PKEY_Q_keygen(nullptr, nullptr, "EC", "P-256"));
}

bool AddExtension(X509* cert, X509* issuer, int nid, const char* value) {
    X509V3_CTX ctx;
    X509V3_set_ctx_nodb(&ctx);
    X509V3_set_ctx(&ctx, issuer, cert, nullptr, nullptr, 0);
    X509_EXTENSION* ext = X509V3_EXT_conf_nid(nullptr, &ctx, nid, value);
    if (ext == nullptr) {
        return false;
    }
    const bool ok = X509_add_ext(cert, ext, -1) == 1;
    X509_EXTENSION_free(ext);
    return ok;
}

// A certificate for `key` named `commonName`; self-signed when `issuer` is null.
Cert NewCertificate(EVP_PKEY* key, const char* commonName, long serial, X509* issuer) {
    Cert cert(X509_new());
    if (!cert) {
        return nullptr;
    }
    X509* x = cert.get();
    X509_NAME* name = X509_get_subject_name(x);
    const bool named =
        X509_set_version(x, 2) == 1 && ASN1_INTEGER_set(X509_get_serialNumber(x), serial) == 1 &&
        X509_gmtime_adj(X509_getm_notBefore(x), -3600) != nullptr &&
        X509_gmtime_adj(X509_getm_notAfter(x), 24 * 3600) != nullptr &&
        X509_set_pubkey(x, key) == 1 &&
        X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                                   reinterpret_cast<const unsigned char*>(commonName), -1, -1,
                                   0) == 1 &&
        X509_set_issuer_name(x, issuer != nullptr ? X509_get_subject_name(issuer) : name) == 1;
    if (!named) {
        return nullptr;
    }
    return cert;
}

std::string Pem(int (*write)(BIO*, const void*), const void* object) {
    Bio bio(BIO_new(BIO_s_mem()));
    if (!bio || write(bio.get(), object) != 1) {
        return {};
    }
    char* data = nullptr;
    const long size = BIO_get_mem_data(bio.get(), &data);
    return size > 0 ? std::string(data, static_cast<std::size_t>(size)) : std::string();
}

int WriteCert(BIO* bio, const void* cert) {
    return PEM_write_bio_X509(bio, static_cast<X509*>(const_cast<void*>(cert)));
}

int WriteKey(BIO* bio, const void* key) {
    return PEM_write_bio_PrivateKey(bio, static_cast<EVP_PKEY*>(const_cast<void*>(key)), nullptr,
                                    nullptr, 0, nullptr, nullptr);
}

}  // namespace

TestPki MakeTestPki(const std::string& dnsName) {
    Key caKey = NewKey();
    Key serverKey = NewKey();
    if (!caKey || !serverKey) {
        return {};
    }
    Cert ca = NewCertificate(caKey.get(), "Korvane test CA", 1, nullptr);
    if (!ca || !AddExtension(ca.get(), ca.get(), NID_basic_constraints, "critical,CA:TRUE") ||
        !AddExtension(ca.get(), ca.get(), NID_key_usage, "critical,keyCertSign,cRLSign") ||
        !AddExtension(ca.get(), ca.get(), NID_subject_key_identifier, "hash") ||
        X509_sign(ca.get(), caKey.get(), EVP_sha256()) == 0) {
        return {};
    }
    Cert server = NewCertificate(serverKey.get(), dnsName.c_str(), 2, ca.get());
    const std::string altName = "DNS:" + dnsName;
    if (!server ||
        !AddExtension(server.get(), ca.get(), NID_basic_constraints, "critical,CA:FALSE") ||
        !AddExtension(server.get(), ca.get(), NID_ext_key_usage, "serverAuth") ||
        !AddExtension(server.get(), ca.get(), NID_subject_alt_name, altName.c_str()) ||
        !AddExtension(server.get(), ca.get(), NID_authority_key_identifier, "keyid:always") ||
        X509_sign(server.get(), caKey.get(), EVP_sha256()) == 0) {
        return {};
    }
    TestPki pki;
    pki.caPem = Pem(&WriteCert, ca.get());
    pki.server.certificatePem = Pem(&WriteCert, server.get());
    pki.server.keyPem = Pem(&WriteKey, serverKey.get());
    return pki;
}

std::string WritePemFile(const std::string& name, const std::string& pem) {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / (std::to_string(::getpid()) + "-" + name);
    std::ofstream(path, std::ios::binary) << pem;
    return path.string();
}

}  // namespace korvane::net::testing
