#pragma once
// Server log records about requests, responses and errors.
#include <string>

namespace quarra {

class LogManager {
public:
    virtual ~LogManager() = default;
    static LogManager& shared();

    // Builds and posts one record, as the applied log level allows.
    virtual void log(const std::string& apiName, const std::string& type, const std::string& message);
};

}  // namespace quarra
