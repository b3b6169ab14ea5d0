#include "transactions/QuarraAssembly.hpp"


namespace quarra {

std::shared_ptr<Quarra> QuarraAssembly::make(std::shared_ptr<TransactionEventServiceType> service,
                                             std::shared_ptr<const Console> console) {
    return std::shared_ptr<Quarra>(new Quarra(std::move(service), std::move(console)));
}

}  // namespace quarra
