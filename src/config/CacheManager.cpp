#include "config/CacheManager.hpp"

#include <sys/stat.h>

#include <system_error>

#include "config/AtomicFile.hpp"
#include "base/PrivateFiles.hpp"
#include "config/CacheFileFormat.hpp"
#include "base/Limits.hpp"

namespace quarra {
namespace {

// Private to the user: the cache holds the session key. An error makes the
// following write fail, and that says so.
void ensurePrivateDirectory(const std::filesystem::path& directory) { (void)makePrivateDirectory(directory); }

FeatureDetails feature(const char* apiName, bool enabled, int64_t retryCount, int64_t readTimeout) {
    return FeatureDetails{
        .apiName = apiName,
        .enabled = enabled,
        .retryCount = retryCount,
        .connectionTimeout = 3000,
        .retryInterval = 0,
        .writeTimeout = 3000,
        .readTimeout = readTimeout,
    };
}

}  // namespace

CacheManager::CacheManager(std::filesystem::path dataDirectory) : dataDirectory_(std::move(dataDirectory)) {}

std::filesystem::path CacheManager::fileURL(const std::string& fileName) const {
    // The data directory stands in for a Documents directory that always
    // exists on other platforms; here it may not yet.
    ensurePrivateDirectory(dataDirectory_);
    const auto directory = dataDirectory_ / "DataCache";
    ensurePrivateDirectory(directory);
    return directory / fileName;
}

bool CacheManager::write(const std::string& bytes) const {
    auto file = cachefile::wrap(bytes);
    if (!file) return false;
    return writeFileAtomically(fileURL(kCacheFileName), *file);
}

std::optional<std::string> CacheManager::read() const {
    CacheReadFailure ignored{};
    return read(ignored);
}

std::optional<std::string> CacheManager::read(CacheReadFailure& failure) const {
    auto file = readWholeFile(fileURL(kCacheFileName),
                              cachefile::kHeaderSize + limits::kMaxConfigCacheBytes + cachefile::kChecksumSize);
    switch (file.status) {
        case FileReadStatus::missing:
            failure = CacheReadFailure::missing;
            return std::nullopt;
        case FileReadStatus::failed:
            failure = CacheReadFailure::unreadable;
            return std::nullopt;
        case FileReadStatus::ok:
            break;
    }
    auto payload = cachefile::unwrap(file.bytes);
    if (!payload) failure = CacheReadFailure::damaged;
    return payload;
}

std::vector<FeatureDetails> CacheManager::defaultFeatureDetails() {
    return {
        feature("InsertUserData", false, 3, 3000),
        feature("InsertLocationInfo", false, 0, 3000),
        feature("fingerprintPro", false, 0, 3000),
        feature("userEvents", false, 0, 300),
        feature("InsertActivityStream", false, 0, 300),
        feature("InsertLogData", true, 0, 300),
    };
}

InitiateTransactionsResponse CacheManager::defaultConfiguration(const BaseUrls& baseUrls) {
    InitiateTransactionsResponse document;
    document.apiVersion = "";
    document.time = "";
    auto& data = document.data;
    data.transactionId = "";
    data.customerName = "";
    data.ipAddress = "";
    data.userAgent = "";
    auto& collector = data.configuration.dataCollector;
    collector.flags = Flags{
        .visitorIDExpired = true,
        .flushStoredData = false,
        .logLevel = 0,
        .fppenabled = false,
        .fpjsapiToken = "",
    };
    collector.baseEndPoints = BaseEndPoints{.baseDcUrl = baseUrls.collectorProduction, .baseLoggingUrl = baseUrls.log};
    collector.featureDetails = defaultFeatureDetails();
    data.configuration.threatMetrix = ThreatMatrix{.sessionId = "", .orgId = ""};
    return document;
}

}  // namespace quarra
