#include "fingerprint/FingerprintPro.hpp"

#include "fingerprint/DeviceFacts.hpp"
#include "fingerprint/VisitorIdentifier.hpp"

namespace quarra {
namespace {

class LocalFingerprintClient final : public FingerprintClientProviding {
public:
    LocalFingerprintClient(std::string apiKey, FingerprintClientOptions options)
        : apiKey_(std::move(apiKey)), options_(std::move(options)) {}

    void getVisitorIdResponse(Metadata /*metadata*/, Completion completion) override {
        // The tags would travel to an identification service; identifying
        // locally needs only the key and the device.
        options_.queue->post([apiKey = apiKey_, options = options_, completion = std::move(completion)] {
            if (!completion) return;
            if (apiKey.empty()) {
                completion(std::nullopt, "Invalid API key: the key is empty");
                return;
            }
            auto visitorId = visitorIdentifier(apiKey, collectDeviceFacts(options.factsRoot, options.dataDirectory));
            auto requestId = requestIdentifier(options.clock->now());
            if (!visitorId || !requestId) {
                completion(std::nullopt, "Device identification is not available");
                return;
            }
            completion(FingerprintResponse{*visitorId, *requestId}, std::nullopt);
        });
    }

private:
    std::string apiKey_;
    FingerprintClientOptions options_;
};

}  // namespace

std::shared_ptr<FingerprintClientProviding> FingerprintProFactory::getInstance(const std::string& apiKey,
                                                                              FingerprintClientOptions options) {
    if (!options.clock) options.clock = std::make_shared<SystemClock>();
    return std::make_shared<LocalFingerprintClient>(apiKey, std::move(options));
}

}  // namespace quarra
