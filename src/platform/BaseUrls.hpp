#pragma once
// The service's base URLs: the host's origins with the library's fixed paths.
#include <string>

#include <quarra/Options.hpp>

namespace quarra {

struct BaseUrls {
    std::string platformApi;             // ".../api/"
    std::string platformTransactions;    // ".../api/v1/transactions/"
    std::string collectorProduction;     // ".../api/data/collect/"
    std::string collectorCertification;  // ".../certification/v1/"
    std::string log;                     // ".../certification/v1/InsertLogData/"

    static BaseUrls from(const ServiceOrigins& origins);
};

}  // namespace quarra
