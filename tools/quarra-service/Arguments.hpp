#pragma once
// The command line of quarra-service.
#include <filesystem>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace quarra::service {

struct Account {
    std::string user;
    std::string secret;
};

// Used when no --account is given; the README tells demo users about it.
inline const Account kDemoAccount{"demo", "demo-secret"};

struct Arguments {
    int port = 0;  // 0: an ephemeral port chosen by the system
    std::filesystem::path dataDirectory = "quarra-service-data";
    std::vector<Account> accounts;  // never empty after parsing
    std::optional<std::filesystem::path> configFile;
    bool quiet = false;  // no per-request lines on stderr
    int debuggerPort = 0;  // the event debugger's plain-HTTP port on 127.0.0.1; 0 picks a free one
    bool debugger = true;  // false with --no-debugger
    bool help = false;
    bool version = false;
};

// The parsed arguments, or a message naming what is wrong.
std::variant<Arguments, std::string> parseArguments(const std::vector<std::string>& args);

// Every flag, with what it does, and the exit codes.
std::string usageText();

}  // namespace quarra::service
