#pragma once
// The outcome of one transaction service call: the decoded reply, or an ErrorModel.
#include <optional>
#include <string>
#include <utility>
#include <variant>

#include "transactions/ErrorModel.hpp"

namespace quarra {

template <class Reply>
class TransactionResult {
public:
    static TransactionResult success(Reply reply) { return TransactionResult(std::move(reply)); }
    static TransactionResult failure(ErrorModel error) { return TransactionResult(std::move(error)); }

    bool isSuccess() const { return std::holds_alternative<Reply>(value_); }
    // The reply on success, else null.
    const Reply* reply() const { return std::get_if<Reply>(&value_); }
    // The error on failure, else null.
    const ErrorModel* error() const { return std::get_if<ErrorModel>(&value_); }

private:
    explicit TransactionResult(Reply reply) : value_(std::move(reply)) {}
    explicit TransactionResult(ErrorModel error) : value_(std::move(error)) {}

    std::variant<Reply, ErrorModel> value_;
};

// Reads a reply body in the platform's order: the reply document first (the
// HTTP status is not consulted), then the error document, then the generic
// failure. No body at all is the generic failure.
template <class Reply>
TransactionResult<Reply> decodeTransactionReply(const std::optional<std::string>& body) {
    if (!body) return TransactionResult<Reply>::failure(ErrorModel::generic());
    if (auto reply = Reply::decode(*body)) return TransactionResult<Reply>::success(std::move(*reply));
    if (auto error = ErrorModel::decode(*body)) return TransactionResult<Reply>::failure(std::move(*error));
    return TransactionResult<Reply>::failure(ErrorModel::generic());
}

}  // namespace quarra
