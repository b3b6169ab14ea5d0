#pragma once
// A plain request description (not consumed by the transport).
#include <map>
#include <optional>
#include <string>

#include <quarra/Json.hpp>

#include "transport/HTTPMethod.hpp"

namespace quarra {

class Request {
public:
    Request(std::string path, JSONDictionary parameters, std::optional<std::map<std::string, std::string>> httpCustomHeader,
            HTTPMethod method)
        : path(std::move(path)), parameters(std::move(parameters)), httpCustomHeader(std::move(httpCustomHeader)), method(method) {}
    virtual ~Request() = default;

    std::string path;
    JSONDictionary parameters;
    std::optional<std::map<std::string, std::string>> httpCustomHeader;
    HTTPMethod method;
};

}  // namespace quarra
