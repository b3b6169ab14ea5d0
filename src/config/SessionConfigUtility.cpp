#include "config/CacheManager.hpp"
#include "config/SessionConfigManager.hpp"

namespace quarra {

std::optional<FeatureDetails> SessionConfigUtility::featureDetails(const std::string& apiName,
                                                                   const SessionConfigManager& holder) {
    auto settings = holder.apiSetting();
    // Nothing applied yet: the built-in list answers, never the cache file.
    if (settings.empty()) settings = CacheManager::defaultFeatureDetails();
    for (auto& details : settings) {
        if (details.apiName && *details.apiName == apiName) return std::move(details);
    }
    return std::nullopt;
}

}  // namespace quarra
