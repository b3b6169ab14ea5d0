#include "transactions/TransactionUrls.hpp"

namespace quarra {

TransactionUrls TransactionUrls::fromTransactionsUrl(std::string transactionsUrl) {
    if (transactionsUrl.empty() || transactionsUrl.back() != '/') transactionsUrl += '/';
    return TransactionUrls{
        .transactions = transactionsUrl,
        .evaluation = transactionsUrl + "evaluate/",
        .status = transactionsUrl + "transactionStatus",
    };
}

}  // namespace quarra
