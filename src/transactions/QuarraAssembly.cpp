#include "transactions/QuarraAssembly.hpp"

#include "platform/Environment.hpp"
#include "transactions/TransactionEventService.hpp"

namespace quarra {

std::shared_ptr<Quarra> QuarraAssembly::make(std::shared_ptr<TransactionEventServiceType> service,
                                             std::shared_ptr<const Console> console) {
    return std::shared_ptr<Quarra>(new Quarra(std::move(service), std::move(console)));
}

std::shared_ptr<Quarra> QuarraAssembly::makeDefault() {
    return make(TransactionEventService::makeDefault(), std::make_shared<const Console>(Environment::shared().console()));
}

}  // namespace quarra
