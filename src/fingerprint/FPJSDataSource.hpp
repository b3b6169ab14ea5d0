#pragma once
// The fingerprint data source over the device-identification component.
#include <functional>
#include <memory>
#include <string>

#include <quarra/DataCollectorService.hpp>

#include "base/ConsoleLog.hpp"
#include "fingerprint/FingerprintDataSource.hpp"
#include "fingerprint/FingerprintPro.hpp"

namespace quarra {

class SessionConfigManager;

class FPJSDataSource final : public FingerprintDataSource {
public:
    using ClientFactory = std::function<std::shared_ptr<FingerprintClientProviding>(const std::string& apiKey)>;

    // All three are required.
    struct Dependencies {
        const SessionConfigManager* sessionConfig = nullptr;
        ClientFactory clientFactory;
        std::shared_ptr<const Console> console;
    };

    // `configuration` and `sessionKey` are kept as given; the API key and the
    // "SessionKey" tag are read from the session configuration at each call.
    FPJSDataSource(QuarraFPJSConfiguration configuration, std::string sessionKey, Dependencies dependencies);

    // Asks the identification component once. Its answer is logged
    // ("RequestID = ", "VisitorID = ") and handed on; a failure becomes two
    // absent identifiers. The completion runs on the identification queue.
    void fetchVisitorId(Completion completion) override;

    const QuarraFPJSConfiguration& configuration() const { return configuration_; }
    const std::string& sessionKey() const { return sessionKey_; }

private:
    QuarraFPJSConfiguration configuration_;
    std::string sessionKey_;
    Dependencies deps_;
};

}  // namespace quarra
