#pragma once
// The one-file cache of the last configuration document, and the built-in default.
#include <filesystem>
#include <optional>
#include <string>

#include "config/ConfigurationDocument.hpp"
#include "platform/BaseUrls.hpp"

namespace quarra {

class CacheManager {
public:
    // `dataDirectory` stands in for the Documents directory.
    explicit CacheManager(std::filesystem::path dataDirectory);
    static CacheManager& shared();

    // <data directory>/DataCache/<name>; creates DataCache when missing.
    std::filesystem::path fileURL(const std::string& fileName) const;

    // Writes the raw response bytes, wrapped, atomically (temporary file then
    // rename). False on any failure.
    bool write(const std::string& bytes) const;
    // The bytes of the last write; nullopt when the file is missing, cannot
    // be read or does not unwrap.
    std::optional<std::string> read() const;

    static InitiateTransactionsResponse defaultConfiguration(const BaseUrls& baseUrls);
    static InitiateTransactionsResponse defaultConfiguration();  // with the shared base URLs

    static constexpr const char* kCacheFileName = "ConfigCache.json";

private:
    std::filesystem::path dataDirectory_;
};

}  // namespace quarra
