#pragma once
// The three fixed transaction-platform URLs, built once per service.
#include <string>

namespace quarra {

struct TransactionUrls {
    std::string transactions;  // ".../api/v1/transactions/"
    std::string evaluation;    // ".../api/v1/transactions/evaluate/"
    std::string status;        // ".../api/v1/transactions/transactionStatus"

    // From the transactions URL (BaseUrls::platformTransactions); a missing
    // trailing "/" is added so that identifiers append cleanly.
    static TransactionUrls fromTransactionsUrl(std::string transactionsUrl);
};

}  // namespace quarra
