#pragma once
// What an endpoint value must offer the transport.
#include <optional>
#include <string>
#include <string_view>

#include <quarra/HttpClient.hpp>

namespace quarra {

class URLConstruction {
public:
    virtual ~URLConstruction() = default;
    // Appended to the base URL.
    virtual std::string path() const = 0;
};

class URLRequestConvertible : public URLConstruction {
public:
    // The request with the built-in base URL; nullopt when it cannot be built.
    virtual std::optional<HttpRequest> asURLRequest() const = 0;
    // The request with the given base URLs; nullopt when it cannot be built.
    virtual std::optional<HttpRequest> asURLRequest(std::optional<std::string_view> baseUrl,
                                                    std::optional<std::string_view> logBaseUrl) const = 0;
};

}  // namespace quarra
