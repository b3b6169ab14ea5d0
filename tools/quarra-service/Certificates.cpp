#include "Certificates.hpp"

#include <fcntl.h>
#include <openssl/bn.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <stdexcept>
#include <system_error>

namespace quarra::service {
namespace {

namespace fs = std::filesystem;

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<FILE, FileCloser>;
using Key = std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)>;
using Certificate = std::unique_ptr<X509, decltype(&X509_free)>;

constexpr long kDay = 24L * 3600;
constexpr long kCaDays = 3650;
constexpr long kServerDays = 825;
// Certificates this close to expiry are replaced at start.
constexpr long kRenewalMarginDays = 7;

std::string opensslError(const std::string& what) {
    char text[256] = "no detail";
    if (auto code = ERR_get_error()) ERR_error_string_n(code, text, sizeof text);
    ERR_clear_error();
    return what + ": " + text;
}

void check(int result, const char* what) {
    if (result != 1) throw std::runtime_error(opensslError(what));
}

Key newKey() {
    Key key(EVP_EC_gen("P-256"), EVP_PKEY_free);
    if (!key) throw std::runtime_error(opensslError("making a key"));
    return key;
}

void addExtension(X509* certificate, X509* issuer, int nid, const char* value) {
    X509V3_CTX context;
    X509V3_set_ctx_nodb(&context);
    X509V3_set_ctx(&context, issuer, certificate, nullptr, nullptr, 0);
    X509_EXTENSION* extension = X509V3_EXT_conf_nid(nullptr, &context, nid, value);
    if (extension == nullptr) throw std::runtime_error(opensslError(std::string("extension ") + value));
    int added = X509_add_ext(certificate, extension, -1);
    X509_EXTENSION_free(extension);
    check(added, "adding an extension");
}

// A v3 certificate for `key` named `commonName`; self-signed when `issuer` is null.
Certificate newCertificate(EVP_PKEY* key, const char* commonName, long days, X509* issuer, EVP_PKEY* issuerKey) {
    Certificate certificate(X509_new(), X509_free);
    if (!certificate) throw std::runtime_error(opensslError("making a certificate"));
    check(X509_set_version(certificate.get(), 2), "setting the version");

    std::unique_ptr<BIGNUM, decltype(&BN_free)> serial(BN_new(), BN_free);
    if (!serial || BN_rand(serial.get(), 63, BN_RAND_TOP_ANY, BN_RAND_BOTTOM_ANY) != 1 ||
        BN_to_ASN1_INTEGER(serial.get(), X509_get_serialNumber(certificate.get())) == nullptr) {
        throw std::runtime_error(opensslError("making a serial number"));
    }
    // Back-dated an hour so that small clock differences do not matter.
    if (X509_gmtime_adj(X509_getm_notBefore(certificate.get()), -3600) == nullptr ||
        X509_gmtime_adj(X509_getm_notAfter(certificate.get()), days * kDay) == nullptr) {
        throw std::runtime_error(opensslError("setting the validity"));
    }
    check(X509_set_pubkey(certificate.get(), key), "setting the public key");
    X509_NAME* subject = X509_get_subject_name(certificate.get());
    check(X509_NAME_add_entry_by_txt(subject, "O", MBSTRING_ASC,
                                     reinterpret_cast<const unsigned char*>("quarra-service"), -1, -1, 0),
          "naming the certificate");
    check(X509_NAME_add_entry_by_txt(subject, "CN", MBSTRING_ASC,
                                     reinterpret_cast<const unsigned char*>(commonName), -1, -1, 0),
          "naming the certificate");

    X509* signer = issuer != nullptr ? issuer : certificate.get();
    check(X509_set_issuer_name(certificate.get(), X509_get_subject_name(signer)), "setting the issuer");
    addExtension(certificate.get(), signer, NID_subject_key_identifier, "hash");
    if (issuer == nullptr) {
        addExtension(certificate.get(), signer, NID_basic_constraints, "critical,CA:TRUE,pathlen:0");
        addExtension(certificate.get(), signer, NID_key_usage, "critical,keyCertSign,cRLSign");
    } else {
        addExtension(certificate.get(), signer, NID_authority_key_identifier, "keyid:always");
        addExtension(certificate.get(), signer, NID_basic_constraints, "critical,CA:FALSE");
        addExtension(certificate.get(), signer, NID_key_usage, "critical,digitalSignature,keyEncipherment");
        addExtension(certificate.get(), signer, NID_ext_key_usage, "serverAuth");
        addExtension(certificate.get(), signer, NID_subject_alt_name, "IP:127.0.0.1,DNS:localhost");
    }
    if (X509_sign(certificate.get(), issuerKey != nullptr ? issuerKey : key, EVP_sha256()) <= 0) {
        throw std::runtime_error(opensslError("signing"));
    }
    return certificate;
}

// Written beside the target and renamed over it, so a crash never leaves half a file.
template <typename Write>
void writeFile(const fs::path& path, mode_t mode, Write write) {
    auto temporary = path;
    temporary += ".tmp";
    int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
    if (fd < 0) throw std::system_error(errno, std::generic_category(), "writing " + temporary.string());
    File file(::fdopen(fd, "w"));
    if (!file) {
        ::close(fd);
        throw std::system_error(errno, std::generic_category(), "writing " + temporary.string());
    }
    if (write(file.get()) != 1 || std::fflush(file.get()) != 0) {
        throw std::runtime_error(opensslError("writing " + temporary.string()));
    }
    file.reset();
    fs::rename(temporary, path);
}

Certificate readCertificate(const fs::path& path) {
    File file(std::fopen(path.c_str(), "r"));
    if (!file) return Certificate(nullptr, X509_free);
    return Certificate(PEM_read_X509(file.get(), nullptr, nullptr, nullptr), X509_free);
}

Key readKey(const fs::path& path) {
    File file(std::fopen(path.c_str(), "r"));
    if (!file) return Key(nullptr, EVP_PKEY_free);
    return Key(PEM_read_PrivateKey(file.get(), nullptr, nullptr, nullptr), EVP_PKEY_free);
}

// Started, and not expiring within the renewal margin.
bool inDate(X509* certificate) {
    time_t renewBy = time(nullptr) + kRenewalMarginDays * kDay;
    return X509_cmp_current_time(X509_get0_notBefore(certificate)) < 0 &&
           X509_cmp_time(X509_get0_notAfter(certificate), &renewBy) > 0;
}

bool usable(const CertificateFiles& files) {
    auto ca = readCertificate(files.caCertificate);
    auto server = readCertificate(files.serverCertificate);
    auto key = readKey(files.serverKey);
    bool ok = ca && server && key && inDate(ca.get()) && inDate(server.get()) &&
              X509_check_private_key(server.get(), key.get()) == 1 &&
              X509_verify(server.get(), X509_get0_pubkey(ca.get())) == 1 &&
              X509_check_ip_asc(server.get(), "127.0.0.1", 0) == 1 &&
              X509_check_host(server.get(), "localhost", 0, 0, nullptr) == 1;
    ERR_clear_error();
    return ok;
}

void makeCertificates(const fs::path& directory, const CertificateFiles& files) {
    auto caKey = newKey();
    auto ca = newCertificate(caKey.get(), "quarra-service local CA", kCaDays, nullptr, nullptr);
    auto serverKey = newKey();
    auto server = newCertificate(serverKey.get(), "127.0.0.1", kServerDays, ca.get(), caKey.get());

    auto writeKey = [](EVP_PKEY* key) {
        return [key](FILE* file) { return PEM_write_PrivateKey(file, key, nullptr, nullptr, 0, nullptr, nullptr); };
    };
    auto writeCertificate = [](X509* certificate) {
        return [certificate](FILE* file) { return PEM_write_X509(file, certificate); };
    };
    writeFile(directory / "ca-key.pem", 0600, writeKey(caKey.get()));
    writeFile(files.serverKey, 0600, writeKey(serverKey.get()));
    writeFile(files.serverCertificate, 0644, writeCertificate(server.get()));
    writeFile(files.caCertificate, 0644, writeCertificate(ca.get()));
}

}  // namespace

std::variant<CertificateFiles, std::string> ensureCertificates(const fs::path& directory) {
    CertificateFiles files{directory / "ca.pem", directory / "server.pem", directory / "server-key.pem"};
    if (usable(files)) return files;
    try {
        makeCertificates(directory, files);
    } catch (const std::exception& error) {
        return std::string("cannot make the certificates: ") + error.what();
    }
    if (!usable(files)) return std::string("the certificates just made do not verify");
    return files;
}

}  // namespace quarra::service
