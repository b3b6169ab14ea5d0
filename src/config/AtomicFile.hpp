#pragma once
// Whole-file reads and writes for small files the library keeps.
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace quarra {

// Writes `bytes` to a temporary file beside `path` (mode 0600), flushes it to
// disk and renames it over `path`, so a reader sees the old file or the new
// one, never a mix. False on any failure; the temporary file is removed then.
bool writeFileAtomically(const std::filesystem::path& path, std::string_view bytes);

enum class FileReadStatus { ok, missing, failed };

struct FileReadResult {
    FileReadStatus status = FileReadStatus::failed;
    std::string bytes;
};

// Reads a regular file of at most `maxBytes`; a larger file, a directory or
// an I/O error is `failed`.
FileReadResult readWholeFile(const std::filesystem::path& path, std::size_t maxBytes);

}  // namespace quarra
