// Any bytes as a transaction platform reply, or as a host record read back from
// JSON: decoding must never crash or throw, and whatever decodes must survive
// its own written form unchanged.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include <quarra/TransactionDocuments.hpp>

#include "config/ConfigurationDocument.hpp"
#include "base/JsonText.hpp"
#include "transactions/ErrorModel.hpp"
#include "transactions/TransactionReplies.hpp"
#include "transactions/TransactionRequests.hpp"
#include "transactions/TransactionResult.hpp"

namespace {

template <class Document>
void roundTrip(const quarra::JSONDictionary& json) {
    if (auto document = Document::fromJSON(json)) {
        auto again = Document::fromJSON(document->toJSON());
        if (!again || !(again->toJSON() == document->toJSON())) __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace quarra;
    const std::string body(reinterpret_cast<const char*>(data), size);

    (void)decodeTransactionReply<CompleteTransactionResponse>(body);
    (void)decodeTransactionReply<CancelTransactionResponse>(body);
    (void)decodeTransactionReply<InitiateTransactionResponse>(body);

    auto json = parseJSON(body);
    if (!json) return 0;
    roundTrip<CompleteTransactionResponse>(*json);
    roundTrip<CancelTransactionResponse>(*json);
    roundTrip<ErrorModel>(*json);
    roundTrip<Payments>(*json);
    roundTrip<Shipping>(*json);
    roundTrip<CustomData>(*json);
    roundTrip<CompleteTransactionRequest>(*json);
    roundTrip<TransactionEventRequest>(*json);
    roundTrip<CancelTransactionRequest>(*json);
    return 0;
}
