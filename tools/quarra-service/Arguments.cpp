#include "Arguments.hpp"

#include <CLI/CLI.hpp>

namespace quarra::service {
namespace {

// USER:SECRET, split at the first colon (a user name cannot hold one).
std::optional<Account> parseAccount(const std::string& text) {
    auto colon = text.find(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == text.size()) return std::nullopt;
    return Account{text.substr(0, colon), text.substr(colon + 1)};
}

const char* const kFooter = R"(
The first line on standard output is {"url": ..., "caFile": ...,
"debuggerUrl": ...}; clients trust caFile, people open debuggerUrl in a
browser. Exit codes: 0 stopped by SIGINT or SIGTERM, 1 could not start,
2 bad command line or settings, 3 the port is in use (--port or
--debugger-port).)";

// The command line's grammar, writing into `parsed`.
struct Grammar {
    CLI::App app{"quarra-service: a local HTTPS stand-in for the fraud-prevention service", "quarra-service"};
    Arguments parsed;
    std::vector<std::string> accounts;
    std::string configFile;
    bool showVersion = false;
    bool noDebugger = false;

    Grammar() {
        app.footer(kFooter);
        app.add_option("--port", parsed.port, "port on 127.0.0.1 (0, the default, picks a free one)")
            ->check(CLI::Range(0, 65535));
        app.add_option("--data-dir", parsed.dataDirectory,
                       "certificates and the SQLite store (default ./quarra-service-data)")
            ->check([](const std::string& value) { return value.empty() ? std::string("needs a directory") : ""; });
        app.add_option("--account", accounts,
                       "USER:SECRET, an account for the token call; repeatable (default demo:demo-secret)")
            ->check([](const std::string& value) {
                return parseAccount(value) ? std::string()
                                           : std::string("needs USER:SECRET with a non-empty user and secret");
            })
            ->take_last()
            ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
        app.add_option("--config", configFile,
                       "JSON settings: flags, features, tokenLifetimeSeconds, guaranteeThreshold")
            ->check([](const std::string& value) { return value.empty() ? std::string("needs a JSON file") : ""; });
        app.add_flag("--quiet", parsed.quiet, "no request lines on standard error");
        app.add_option("--debugger-port", parsed.debuggerPort,
                       "plain-HTTP port on 127.0.0.1 of the event debugger page (0, the default, picks a free one)")
            ->check(CLI::Range(0, 65535));
        app.add_flag("--no-debugger", noDebugger, "no event debugger listener");
        app.add_flag("--version", showVersion, "print the version and exit");
    }
};

}  // namespace

std::variant<Arguments, std::string> parseArguments(const std::vector<std::string>& args) {
    Grammar grammar;
    std::vector<std::string> reversed(args.rbegin(), args.rend());  // CLI11 takes them last to first
    try {
        grammar.app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        grammar.parsed.help = true;
        return grammar.parsed;
    } catch (const CLI::ParseError& error) {
        return std::string(error.what());
    }
    auto parsed = std::move(grammar.parsed);
    parsed.version = grammar.showVersion;
    parsed.debugger = !grammar.noDebugger;
    for (const auto& text : grammar.accounts) parsed.accounts.push_back(*parseAccount(text));
    if (parsed.accounts.empty()) parsed.accounts.push_back(kDemoAccount);
    if (!grammar.configFile.empty()) parsed.configFile = grammar.configFile;
    return parsed;
}

std::string usageText() {
    Grammar grammar;
    return grammar.app.help();
}

}  // namespace quarra::service
