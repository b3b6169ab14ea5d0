// Any bytes as an initiate answer: decoding must never crash or throw, and a
// document that decodes must survive its own written form unchanged.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "config/ConfigurationDocument.hpp"
#include "config/SessionConfigManager.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace quarra;
    const std::string_view body(reinterpret_cast<const char*>(data), size);

    if (auto document = InitiateTransactionsResponse::decode(body)) {
        auto again = InitiateTransactionsResponse::fromJSON(document->toJSON());
        if (!again || *again != *document) __builtin_trap();

        SessionConfigManager holder;
        holder.replace(SessionConfiguration::from(*document));
        for (const char* name : {"userData", "fingerprintPro", "InsertLogData", ""}) {
            (void)SessionConfigUtility::featureDetails(name, holder);
        }
    }

    if (auto reply = InitiateTransactionResponse::decode(body)) {
        if (InitiateTransactionResponse::decode(reply->toJSON().dump()) != reply) __builtin_trap();
    }
    return 0;
}
