#include "Accounts.hpp"

#include <openssl/crypto.h>
#include <openssl/evp.h>

#include <algorithm>
#include <cctype>

#include "Identifiers.hpp"

namespace quarra::service {
namespace {

bool sameText(const std::string& a, const std::string& b) {
    return a.size() == b.size() && CRYPTO_memcmp(a.data(), b.data(), a.size()) == 0;
}

// The credential after a scheme word such as "Basic" or "Bearer" (scheme
// compared without case), or nothing when the scheme differs.
std::optional<std::string> credentialAfter(const std::string& authorization, const std::string& scheme) {
    if (authorization.size() < scheme.size() + 1) return std::nullopt;
    for (std::size_t i = 0; i < scheme.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(authorization[i])) !=
            std::tolower(static_cast<unsigned char>(scheme[i]))) {
            return std::nullopt;
        }
    }
    if (authorization[scheme.size()] != ' ') return std::nullopt;
    auto credential = authorization.substr(scheme.size() + 1);
    auto first = credential.find_first_not_of(' ');
    auto last = credential.find_last_not_of(' ');
    return first == std::string::npos ? std::string() : credential.substr(first, last - first + 1);
}

}  // namespace

std::optional<std::string> decodeBase64(const std::string& text) {
    if (text.empty() || text.size() % 4 != 0) return std::nullopt;
    if (!std::all_of(text.begin(), text.end(), [](unsigned char c) {
            return std::isalnum(c) != 0 || c == '+' || c == '/' || c == '=';
        })) {
        return std::nullopt;
    }
    auto padding = static_cast<std::size_t>(text.ends_with("==") ? 2 : text.ends_with("=") ? 1 : 0);
    if (text.find('=') < text.size() - padding) return std::nullopt;
    std::string bytes(text.size() / 4 * 3, '\0');
    int length = EVP_DecodeBlock(reinterpret_cast<unsigned char*>(bytes.data()),
                                 reinterpret_cast<const unsigned char*>(text.data()), static_cast<int>(text.size()));
    if (length < 0) return std::nullopt;
    bytes.resize(static_cast<std::size_t>(length) - padding);
    return bytes;
}

Accounts::Accounts(std::vector<Account> accounts, std::chrono::seconds tokenLifetime)
    : accounts_(std::move(accounts)), tokenLifetime_(tokenLifetime) {}

std::optional<TokenGrant> Accounts::grant(const std::string& authorization) {
    auto encoded = credentialAfter(authorization, "Basic");
    if (!encoded) return std::nullopt;
    auto credential = decodeBase64(*encoded);
    if (!credential) return std::nullopt;
    auto colon = credential->find(':');
    if (colon == std::string::npos) return std::nullopt;
    auto user = credential->substr(0, colon);
    auto secret = credential->substr(colon + 1);
    auto known = std::any_of(accounts_.begin(), accounts_.end(), [&](const Account& account) {
        // Both compared in full so the answer time does not tell which part was wrong.
        bool userMatches = sameText(account.user, user);
        bool secretMatches = sameText(account.secret, secret);
        return userMatches && secretMatches;
    });
    if (!known) return std::nullopt;

    TokenGrant granted{newToken(), newToken(), tokenLifetime_};
    auto now = std::chrono::steady_clock::now();
    std::lock_guard lock(mutex_);
    dropExpiredLocked(now);
    tokens_[granted.accessToken] = Token{user, now + tokenLifetime_};
    return granted;
}

BearerCheck Accounts::checkBearer(const std::string& authorization) {
    if (authorization.empty()) return {std::nullopt, "Missing Authorization header; send Bearer <accessToken>"};
    auto token = credentialAfter(authorization, "Bearer");
    if (!token) return {std::nullopt, "Authorization must be Bearer <accessToken>"};
    if (token->empty()) return {std::nullopt, "Empty bearer token"};
    auto now = std::chrono::steady_clock::now();
    std::lock_guard lock(mutex_);
    auto it = tokens_.find(*token);
    if (it == tokens_.end()) return {std::nullopt, "Unknown access token"};
    if (it->second.expires <= now) return {std::nullopt, "Access token expired"};
    return {it->second.account, {}};
}

void Accounts::dropExpiredLocked(std::chrono::steady_clock::time_point now) {
    std::erase_if(tokens_, [now](const auto& entry) { return entry.second.expires <= now; });
}

}  // namespace quarra::service
