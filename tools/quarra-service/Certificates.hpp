#pragma once
// The service's own TLS identity: a local CA and a server certificate for
// 127.0.0.1 and localhost, made on first start and reused afterwards.
#include <filesystem>
#include <string>
#include <variant>

namespace quarra::service {

struct CertificateFiles {
    std::filesystem::path caCertificate;      // ca.pem: what clients trust
    std::filesystem::path serverCertificate;  // server.pem
    std::filesystem::path serverKey;          // server-key.pem (mode 0600)
};

// Reuses the files in `directory` when they load, match and are in date;
// otherwise makes a fresh set. A message on failure.
std::variant<CertificateFiles, std::string> ensureCertificates(const std::filesystem::path& directory);

}  // namespace quarra::service
