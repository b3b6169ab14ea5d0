#pragma once
// The service harness plus the session pieces: secure store in memory, a
// cache in a temporary directory, the initiate and token services.
#include <memory>
#include <string>

#include <quarra/KeychainWrapper.hpp>

#include "config/CacheManager.hpp"
#include "config/SessionConfigServices.hpp"
#include "credentials/AccessTokenService.hpp"
#include <quarra/testing/MemorySecureItemStore.hpp>
#include "support/ServiceHarness.hpp"
#include "support/TempDir.hpp"

namespace quarra::testing {

struct SessionHarness : ServiceHarness {
    SessionHarness();

    // A configuration document as the platform sends it.
    static std::string documentJSON(const std::optional<std::string>& transactionId, int64_t logLevel = 0);
    static std::string tokenJSON(const std::string& accessToken, const std::string& refreshToken);

    TempDir directory;
    KeychainWrapper keychain{"test.service", std::nullopt, std::make_shared<MemorySecureItemStore>()};
    CacheManager cache{directory.path()};
    std::shared_ptr<SessionConfigServices> sessionService;
    std::shared_ptr<AccessTokenService> tokenService;
};

}  // namespace quarra::testing
