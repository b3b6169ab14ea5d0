#include "platform/SysfsText.hpp"

#include <charconv>
#include <fstream>
#include <iterator>
#include <system_error>

namespace quarra {

std::optional<std::string> readTrimmedFile(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    // sysfs attributes are at most a page; never read more than that.
    std::string text(4096, '\0');
    in.read(text.data(), std::streamsize(text.size()));
    if (in.bad()) return std::nullopt;
    text.resize(size_t(in.gcount()));
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ' || text.back() == '\t' || text.back() == '\r' ||
                             text.back() == '\0')) {
        text.pop_back();
    }
    return text;
}

std::optional<double> readNumberFile(const std::filesystem::path& path) {
    auto text = readTrimmedFile(path);
    if (!text || text->empty()) return std::nullopt;
    const char* begin = text->data();
    const char* end = begin + text->size();
    if (*begin == '+') ++begin;
    double value = 0;
    auto [stop, error] = std::from_chars(begin, end, value);
    if (error != std::errc() || stop != end) return std::nullopt;
    return value;
}

}  // namespace quarra
