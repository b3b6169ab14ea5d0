#include "platform/BaseUrls.hpp"

namespace quarra {
namespace {

std::string withoutTrailingSlash(std::string origin) {
    while (!origin.empty() && origin.back() == '/') origin.pop_back();
    return origin;
}

}  // namespace

BaseUrls BaseUrls::from(const ServiceOrigins& origins) {
    auto platform = withoutTrailingSlash(origins.platform);
    auto collector = withoutTrailingSlash(origins.collector);
    auto certification = withoutTrailingSlash(origins.certification);
    auto log = withoutTrailingSlash(origins.log);
    return BaseUrls{
        .platformApi = platform + "/api/",
        .platformTransactions = platform + "/api/v1/transactions/",
        .collectorProduction = collector + "/api/data/collect/",
        .collectorCertification = certification + "/certification/v1/",
        .log = log + "/certification/v1/InsertLogData/",
    };
}

}  // namespace quarra
