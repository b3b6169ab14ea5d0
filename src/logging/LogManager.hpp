#pragma once
// Server log records about requests, responses and errors: built from the
// applied configuration and the device's identifiers, posted through
// ServerLogUtility when the "InsertLogData" settings allow.
#include <memory>
#include <optional>
#include <string>

#include <quarra/Clock.hpp>

#include "logging/LogDataModel.hpp"
#include "transport/ServerLog.hpp"

namespace quarra {

class DeviceInfo;
class KeychainWrapper;
class ServerLogUtility;
class SessionConfigManager;

class LogManager : public ServerLog {
public:
    // Every pointer must outlive the manager.
    struct Dependencies {
        SessionConfigManager* sessionConfigManager = nullptr;  // level, session key, settings
        KeychainWrapper* keychain = nullptr;                   // the stored visitor identifier
        const DeviceInfo* deviceInfo = nullptr;                // the vendor identifier
        ServerLogUtility* serverLogUtility = nullptr;          // posts the records
        std::shared_ptr<Clock> clock;
    };

    // The process-wide manager the library built.
    static LogManager& shared();

    // A manager that drops every record (the base of test doubles).
    LogManager() = default;
    explicit LogManager(Dependencies dependencies);
    ~LogManager() override = default;
    LogManager(const LogManager&) = delete;
    LogManager& operator=(const LogManager&) = delete;

    // Builds one record and posts it, unless the applied level is 3 or the
    // "InsertLogData" settings are missing or disabled. Runs on the caller's
    // thread and never waits for the network. Credentials in the message are
    // replaced by "[redacted]".
    void log(const std::string& apiName, const std::string& type, const std::string& message) override;

    // The record log() would post for these texts (without its checks).
    std::optional<LogDataModel> makeRecord(const std::string& apiName, const std::string& type,
                                           const std::string& message);

private:
    const Dependencies* dependencies() const { return dependencies_ ? &*dependencies_ : nullptr; }

    std::optional<Dependencies> dependencies_;
};

}  // namespace quarra
