#pragma once
// Reads quarra-service's admin endpoints through the library's own HTTPS
// client (so TLS verification and the CA file work as they do for reports).
#include <memory>
#include <optional>
#include <string>

#include <quarra/HttpClient.hpp>
#include <quarra/Json.hpp>

namespace quarra::cli {

struct AdminAnswer {
    std::optional<JSONDictionary> body;  // the JSON object answered with status 200
    std::string problem;                 // otherwise, what went wrong
};

class AdminClient {
public:
    AdminClient(std::string serviceUrl, std::string caFile);

    AdminAnswer get(const std::string& path) const;

private:
    std::string serviceUrl_;
    std::shared_ptr<HttpClient> http_;
};

}  // namespace quarra::cli
