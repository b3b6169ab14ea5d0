#pragma once
// Puts a Quarra together: the one place that may call its private constructor.
#include <memory>

#include <quarra/Quarra.hpp>

#include "base/ConsoleLog.hpp"
#include "transactions/TransactionEventServiceType.hpp"

namespace quarra {

struct QuarraAssembly {
    // Over the given service, writing its fixed lines to `console`.
    static std::shared_ptr<Quarra> make(std::shared_ptr<TransactionEventServiceType> service,
                                        std::shared_ptr<const Console> console);
    // A Quarra over the process-wide transaction client, secure store and
    // console (built by the library's composition root).
    static std::shared_ptr<Quarra> makeDefault();
};

}  // namespace quarra
