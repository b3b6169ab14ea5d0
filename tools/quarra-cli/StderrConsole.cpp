#include "StderrConsole.hpp"

#include <cstdio>
#include <mutex>
#include <string>

namespace quarra::cli {
namespace {

class StderrConsole final : public ConsoleSink {
public:
    void writeLine(std::string_view line) override {
        std::string text(line);
        text.push_back('\n');
        std::lock_guard lock(mutex_);  // whole lines, never interleaved
        std::fwrite(text.data(), 1, text.size(), stderr);
        std::fflush(stderr);
    }

private:
    std::mutex mutex_;
};

}  // namespace

std::shared_ptr<ConsoleSink> makeStderrConsole() { return std::make_shared<StderrConsole>(); }

}  // namespace quarra::cli
