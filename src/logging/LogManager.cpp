#include "logging/LogManager.hpp"

namespace quarra {

LogManager& LogManager::shared() {
    static LogManager* instance = new LogManager();
    return *instance;
}

// Records are not posted yet: the log upload path arrives with the session work.
void LogManager::log(const std::string&, const std::string&, const std::string&) {}

}  // namespace quarra
