#include "config/InitiateTransactionsPostRequest.hpp"

namespace quarra {

InitiateTransactionsPostRequest::InitiateTransactionsPostRequest(std::string ipV6Address, std::string ipV4Address)
    : Request("initiate", JSONDictionary::object(), std::nullopt, HTTPMethod::post),
      ipV6Address(std::move(ipV6Address)),
      ipV4Address(std::move(ipV4Address)) {
    parameters = toJSON();
}

JSONDictionary InitiateTransactionsPostRequest::toJSON() const {
    return {{"ipV6Address", ipV6Address}, {"ipV4Address", ipV4Address}};
}

}  // namespace quarra
