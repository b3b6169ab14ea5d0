#include "config/CacheManager.hpp"
#include "config/SessionConfigManager.hpp"

namespace quarra {

std::optional<FeatureDetails> SessionConfigUtility::featureDetails(const std::string& apiName,
                                                                   const SessionConfigManager& holder) {
    bool listApplied = false;
    auto applied = holder.appliedFeature(apiName, listApplied);
    if (listApplied) return applied;
    // Nothing applied yet: the built-in list answers, never the cache file.
    for (auto& details : CacheManager::defaultFeatureDetails()) {
        if (details.apiName && *details.apiName == apiName) return std::move(details);
    }
    return std::nullopt;
}

}  // namespace quarra
