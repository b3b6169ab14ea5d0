#pragma once
// What several fuzz targets share: a UTF-8 check of their own (so that the
// library's check is not the judge of itself), a scratch directory, and
// small stand-ins for the seams a decoder is reached through.
#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <quarra/Console.hpp>
#include <quarra/HttpClient.hpp>

#include "transport/ServerLog.hpp"

namespace quarra::fuzzing {

// Well-formed UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF,
// no truncated sequence.
inline bool wellFormedUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        std::size_t length = 0;
        uint32_t codePoint = 0;
        uint32_t smallest = 0;
        if ((lead & 0xE0) == 0xC0) {
            length = 2, codePoint = lead & 0x1F, smallest = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3, codePoint = lead & 0x0F, smallest = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4, codePoint = lead & 0x07, smallest = 0x10000;
        } else {
            return false;
        }
        if (text.size() - i < length) return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            codePoint = (codePoint << 6) | (next & 0x3F);
        }
        if (codePoint < smallest || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) return false;
        i += length;
    }
    return true;
}

// One scratch directory for the whole run, under $TMPDIR. libFuzzer ends the
// process without running exit handlers, so scripts/fuzz.sh points TMPDIR at
// a directory of its own (in memory when it can) and removes it.
inline const std::filesystem::path& scratchDirectory() {
    static const std::filesystem::path directory = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "quarra-fuzz-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) abort();
        return std::filesystem::path(pattern);
    }();
    return directory;
}

// Keeps each request's completion until the target answers it, as a real
// client answers later and never inside send().
class HeldHttpClient final : public HttpClient {
public:
    void send(HttpRequest request, Completion completion) override {
        requests.push_back(std::move(request));
        pending.push_back(std::move(completion));
    }
    // Answers the oldest request still waiting; false when none waits.
    bool answer(HttpResult result) {
        if (pending.empty()) return false;
        auto completion = std::move(pending.front());
        pending.erase(pending.begin());
        completion(std::move(result));
        return true;
    }
    static HttpResult ok(std::string body) {
        return HttpResult{.body = std::move(body), .response = HttpResponse{200, {}}, .error = std::nullopt};
    }

    std::vector<HttpRequest> requests;
    std::vector<Completion> pending;
};

// Server log records, kept instead of posted.
class RecordingServerLog final : public ServerLog {
public:
    struct Record {
        std::string apiName, type, message;
    };
    void log(const std::string& apiName, const std::string& type, const std::string& message) override {
        records.push_back({apiName, type, message});
    }
    std::vector<Record> records;
};

class FixedLogLevel final : public LogLevelSource {
public:
    explicit FixedLogLevel(std::optional<int64_t> level) : level_(level) {}
    std::optional<int64_t> logLevel() const override { return level_; }

private:
    std::optional<int64_t> level_;
};

// Console lines, kept.
class LineSink final : public ConsoleSink {
public:
    void writeLine(std::string_view line) override { lines.emplace_back(line); }
    std::vector<std::string> lines;
};

}  // namespace quarra::fuzzing
