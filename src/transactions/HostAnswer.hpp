#pragma once
// Handing the one answer text to the host's completion handler, and the
// console lines of a failed call.
#include <string>
#include <string_view>

#include <quarra/Quarra.hpp>

#include "base/ConsoleLog.hpp"
#include "transactions/ErrorModel.hpp"

namespace quarra {

inline constexpr std::string_view kCannotCompleteTransaction = "Something went wrong we con't complete transaction";

// Calls `handler` with `text` when it is set. An exception thrown by the
// handler stops here (with a console line): it must not unwind through the
// network thread.
void answerHost(const TransactionCompletion& handler, const std::string& text, const Console& console);

// A call that ended with `error`: the handler receives its message (or ""),
// then the console shows "SP_  <code or Unkown error>" and "SP_  <description>".
void reportFailure(const ErrorModel& error, const TransactionCompletion& handler, const Console& console);

}  // namespace quarra
