#pragma once
// Small readers for sysfs-style files: one value, a trailing newline.
#include <filesystem>
#include <optional>
#include <string>

namespace quarra {

// The file's text without trailing whitespace; nullopt when it cannot be read.
std::optional<std::string> readTrimmedFile(const std::filesystem::path& path);
// The file's text as a decimal number; nullopt when unreadable or not a number.
std::optional<double> readNumberFile(const std::filesystem::path& path);

}  // namespace quarra
