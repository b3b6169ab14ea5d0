// Any bytes as the configuration cache file: reading must never crash, and a
// file that unwraps must be exactly what writing its payload produces.
#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "config/CacheFileFormat.hpp"
#include "config/CacheManager.hpp"

namespace {

// One scratch data directory for the whole run, under $TMPDIR. libFuzzer
// ends the process without running exit handlers, so scripts/fuzz.sh points
// TMPDIR at a directory of its own (in memory when it can) and removes it.
const std::filesystem::path& scratchDirectory() {
    static const std::filesystem::path directory = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "quarra-cache-fuzz-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) abort();
        return std::filesystem::path(pattern);
    }();
    return directory;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace quarra;
    const std::string_view file(reinterpret_cast<const char*>(data), size);

    auto payload = cachefile::unwrap(file);
    if (payload && cachefile::wrap(*payload) != std::string(file)) __builtin_trap();

    // The same bytes through the real file path.
    static const CacheManager cache(scratchDirectory());
    {
        std::ofstream out(cache.fileURL(CacheManager::kCacheFileName), std::ios::binary | std::ios::trunc);
        out.write(file.data(), static_cast<std::streamsize>(file.size()));
    }
    CacheReadFailure failure{};
    auto read = cache.read(failure);
    if (read != payload) __builtin_trap();
    if (read) (void)InitiateTransactionsResponse::decode(*read);
    return 0;
}
