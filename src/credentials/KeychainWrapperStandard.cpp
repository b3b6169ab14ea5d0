// The process-wide secure store. Kept apart from the wrapper itself so that a
// program using only its own stores does not build the shared environment.
#include <quarra/KeychainWrapper.hpp>

#include "credentials/SqliteSecureItemStore.hpp"
#include "platform/Environment.hpp"

namespace quarra {
namespace {

// The service name of the standard instance when the host has no bundle identifier.
constexpr std::string_view kDefaultServiceName = "net.quarra.datacollector";

}  // namespace

KeychainWrapper& KeychainWrapper::standard() {
    // Created on first use and never destroyed: other process-wide services
    // may still reach it during exit.
    static KeychainWrapper* instance = [] {
        const Environment& environment = Environment::shared();
        const Options& options = environment.options();
        std::string service =
            options.bundleIdentifier.empty() ? std::string(kDefaultServiceName) : options.bundleIdentifier;
        auto store = std::make_shared<SqliteSecureItemStore>(environment.dataDirectory(), options.secureStoreKey,
                                                             environment.console());
        return new KeychainWrapper(std::move(service), std::nullopt, std::move(store));
    }();
    return *instance;
}

void KeychainWrapper::wipeKeychain() { standard().store_->deleteAll(); }

}  // namespace quarra
