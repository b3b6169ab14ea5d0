#pragma once
#include <string>

#include "transport/Request.hpp"

namespace quarra {

// The initiate request as a record; its JSON form has exactly the keys
// "ipV6Address" and "ipV4Address".
class InitiateTransactionsPostRequest final : public Request {
public:
    InitiateTransactionsPostRequest(std::string ipV6Address, std::string ipV4Address);
    std::string ipV6Address;
    std::string ipV4Address;
    JSONDictionary toJSON() const;
};

}  // namespace quarra
