#pragma once
// Accounts from the command line and the tokens granted to them. The token
// table is owned by one mutex; tokens live in memory only, so a restart asks
// every client to authenticate again.
#include <chrono>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "Arguments.hpp"

namespace quarra::service {

struct TokenGrant {
    std::string accessToken;
    std::string refreshToken;
    std::chrono::seconds expiresIn;
};

// The account a bearer token belongs to, or why it is refused.
struct BearerCheck {
    std::optional<std::string> account;
    std::string problem;
};

class Accounts {
public:
    Accounts(std::vector<Account> accounts, std::chrono::seconds tokenLifetime);

    // Checks an "Authorization: Basic ..." value; a fresh grant when it names
    // a known account with its secret.
    std::optional<TokenGrant> grant(const std::string& authorization);

    // Checks an "Authorization: Bearer ..." value.
    BearerCheck checkBearer(const std::string& authorization);

private:
    struct Token {
        std::string account;
        std::chrono::steady_clock::time_point expires;
    };

    void dropExpiredLocked(std::chrono::steady_clock::time_point now);

    const std::vector<Account> accounts_;
    const std::chrono::seconds tokenLifetime_;
    std::mutex mutex_;
    std::map<std::string, Token> tokens_;
};

// The bytes of standard Base64 text (padding required), or nothing.
std::optional<std::string> decodeBase64(const std::string& text);

}  // namespace quarra::service
