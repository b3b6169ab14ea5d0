#pragma once
// The one-file cache of the last configuration document, and the built-in default.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "config/ConfigurationDocument.hpp"
#include "platform/BaseUrls.hpp"

namespace quarra {

// Why a cache read gave nothing: no file yet, the file could not be read, or
// it is not a whole cache file of ours (torn, truncated, foreign, too large).
enum class CacheReadFailure { missing, unreadable, damaged };

class CacheManager {
public:
    // `dataDirectory` stands in for the Documents directory.
    explicit CacheManager(std::filesystem::path dataDirectory);

    // <data directory>/DataCache/<name>; creates DataCache when missing.
    std::filesystem::path fileURL(const std::string& fileName) const;

    // Writes the raw response bytes, wrapped, atomically (temporary file then
    // rename). False on any failure.
    bool write(const std::string& bytes) const;
    // The bytes of the last write; nullopt when the file is missing, cannot
    // be read or does not unwrap.
    std::optional<std::string> read() const;
    // The same, saying why when it gives nothing.
    std::optional<std::string> read(CacheReadFailure& failure) const;

    static InitiateTransactionsResponse defaultConfiguration(const BaseUrls& baseUrls);
    // The default's per-API settings; they do not depend on the base URLs.
    static std::vector<FeatureDetails> defaultFeatureDetails();

    static constexpr const char* kCacheFileName = "ConfigCache.json";

private:
    std::filesystem::path dataDirectory_;
};

}  // namespace quarra
