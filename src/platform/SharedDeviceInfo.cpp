// The process-wide device facts, from the host's options.
#include <quarra/KeychainWrapper.hpp>

#include "platform/Environment.hpp"
#include "platform/LinuxDeviceInfo.hpp"

namespace quarra {
namespace {

std::shared_ptr<DeviceInfo> makeSharedDeviceInfo() {
    const Options& options = Environment::shared().options();
    LinuxDeviceInfoSettings settings;
    settings.screenWidth = options.screenWidth;
    settings.screenHeight = options.screenHeight;
    settings.preferredLanguages = options.preferredLanguages;
    settings.orientation = options.orientationSource;
    settings.keychain = &KeychainWrapper::standard();
    return makeLinuxDeviceInfo(std::move(settings));
}

}  // namespace

const DeviceInfo& DeviceInfo::shared() {
    // Never destroyed: asked for from other threads until the process ends.
    static const auto* device = new std::shared_ptr<DeviceInfo>(makeSharedDeviceInfo());
    return **device;
}

}  // namespace quarra
