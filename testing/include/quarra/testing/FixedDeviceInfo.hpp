#pragma once
// Device facts fixed by a test (or a host that knows them all).
#include "platform/DeviceInfo.hpp"

namespace quarra {

class FixedDeviceInfo final : public DeviceInfo {
public:
    struct Facts {
        std::string systemName = "iOS";
        std::string name = "Test Device";
        std::string machineIdentifier = "iPhone12,5";
        std::optional<std::string> identifierForVendor = "5B8A3F0E-4C1D-4E2F-9A6B-7C8D9E0F1A2B";
        std::string localizedModel = "iPhone";
        ScreenPoints screenSize{390, 844};
        std::vector<std::string> preferredLanguages{"en-US"};
        int64_t timeZoneOffsetSeconds = 0;
        DeviceOrientation orientation = DeviceOrientation::portrait;
    };

    FixedDeviceInfo() = default;
    explicit FixedDeviceInfo(Facts facts) : facts_(std::move(facts)) {}

    std::string systemName() const override { return facts_.systemName; }
    std::string name() const override { return facts_.name; }
    std::string machineIdentifier() const override { return facts_.machineIdentifier; }
    std::optional<std::string> identifierForVendor() const override { return facts_.identifierForVendor; }
    std::string localizedModel() const override { return facts_.localizedModel; }
    ScreenPoints screenSize() const override { return facts_.screenSize; }
    std::vector<std::string> preferredLanguages() const override { return facts_.preferredLanguages; }
    int64_t timeZoneOffsetSeconds(Clock::TimePoint) const override { return facts_.timeZoneOffsetSeconds; }
    DeviceOrientation orientation() const override { return facts_.orientation; }

private:
    Facts facts_;
};

}  // namespace quarra
