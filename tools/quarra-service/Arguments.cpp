#include "Arguments.hpp"

#include <charconv>

namespace quarra::service {
namespace {

std::optional<int> parsePort(const std::string& text) {
    int port = -1;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), port);
    if (error != std::errc{} || end != text.data() + text.size() || port < 0 || port > 65535) return std::nullopt;
    return port;
}

// USER:SECRET, split at the first colon (a user name cannot hold one).
std::optional<Account> parseAccount(const std::string& text) {
    auto colon = text.find(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == text.size()) return std::nullopt;
    return Account{text.substr(0, colon), text.substr(colon + 1)};
}

}  // namespace

std::variant<Arguments, std::string> parseArguments(const std::vector<std::string>& args) {
    Arguments parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::optional<std::string> inlineValue;
        if (auto equals = name.find('='); name.starts_with("--") && equals != std::string::npos) {
            inlineValue = name.substr(equals + 1);
            name = name.substr(0, equals);
        }
        auto value = [&]() -> std::optional<std::string> {
            if (inlineValue) return inlineValue;
            if (i + 1 < args.size()) return args[++i];
            return std::nullopt;
        };

        if (name == "--help" || name == "-h") {
            parsed.help = true;
        } else if (name == "--quiet") {
            parsed.quiet = true;
        } else if (name == "--port") {
            auto text = value();
            auto port = text ? parsePort(*text) : std::nullopt;
            if (!port) return "--port needs a number from 0 to 65535";
            parsed.port = *port;
        } else if (name == "--data-dir") {
            auto text = value();
            if (!text || text->empty()) return "--data-dir needs a directory";
            parsed.dataDirectory = *text;
        } else if (name == "--account") {
            auto text = value();
            auto account = text ? parseAccount(*text) : std::nullopt;
            if (!account) return "--account needs USER:SECRET with a non-empty user and secret";
            parsed.accounts.push_back(*account);
        } else if (name == "--config") {
            auto text = value();
            if (!text || text->empty()) return "--config needs a JSON file";
            parsed.configFile = *text;
        } else {
            return "unknown argument: " + args[i];
        }
    }
    if (parsed.accounts.empty()) parsed.accounts.push_back(kDemoAccount);
    return parsed;
}

std::string usageText() {
    return "usage: quarra-service [--port N] [--data-dir DIR] [--account USER:SECRET]... [--config FILE] [--quiet]\n"
           "  --port N              port on 127.0.0.1 (0, the default, picks a free one)\n"
           "  --data-dir DIR        certificates and the SQLite store (default ./quarra-service-data)\n"
           "  --account USER:SECRET an account for the token call; repeatable (default demo:demo-secret)\n"
           "  --config FILE         JSON settings: flags, features, tokenLifetimeSeconds, guaranteeThreshold\n"
           "  --quiet               no request lines on stderr\n"
           "The first line on stdout is {\"url\": ..., \"caFile\": ...}.\n";
}

}  // namespace quarra::service
