#pragma once
// The process-wide environment the shared services are built from: the host's
// options with every seam filled in. Built once, on first use.
#include <filesystem>
#include <memory>

#include <quarra/Options.hpp>

#include "base/ConsoleLog.hpp"
#include "platform/BaseUrls.hpp"

namespace quarra {

class Environment {
public:
    // The shared environment, built from the options given to configure()
    // (or the defaults) the first time it is asked for.
    static Environment& shared();

    explicit Environment(Options options);

    const Options& options() const { return options_; }
    const BaseUrls& baseUrls() const { return baseUrls_; }
    const std::shared_ptr<Executor>& mainExecutor() const { return mainExecutor_; }
    // A library-owned serial queue for disk work that must stay off the main queue.
    const std::shared_ptr<Executor>& ioExecutor() const { return ioExecutor_; }
    const std::shared_ptr<HttpClient>& httpClient() const { return httpClient_; }
    const std::shared_ptr<Clock>& clock() const { return clock_; }
    const Console& console() const { return console_; }
    const std::filesystem::path& dataDirectory() const { return dataDirectory_; }

private:
    Options options_;
    BaseUrls baseUrls_;
    std::shared_ptr<Executor> mainExecutor_;
    std::shared_ptr<Executor> ioExecutor_;
    std::shared_ptr<HttpClient> httpClient_;
    std::shared_ptr<Clock> clock_;
    Console console_;
    std::filesystem::path dataDirectory_;
};

// Where the library keeps its files when the host does not say.
std::filesystem::path defaultDataDirectory(const std::string& bundleIdentifier);

}  // namespace quarra
