#include "config/SessionConfigManager.hpp"
#include "transport/RequestsManager.hpp"

namespace quarra {

void applyConfiguration(const InitiateTransactionsResponse& document, RequestsManager& transport,
                        SessionConfigManager& holder) {
    const auto& endPoints = document.data.configuration.dataCollector.baseEndPoints;
    transport.setBaseUrl(endPoints.baseDcUrl);
    transport.setLogBaseUrl(endPoints.baseLoggingUrl);
    holder.replace(SessionConfiguration::from(document));
}

}  // namespace quarra
