#include "transactions/HostAnswer.hpp"

#include <exception>

namespace quarra {
namespace {

// Two console items joined by one space; "SP_ " already ends with one.
std::string twoItems(std::string_view first, std::string_view second) {
    std::string line(first);
    line += ' ';
    line += second;
    return line;
}

}  // namespace

void answerHost(const TransactionCompletion& handler, const std::string& text, const Console& console) {
    if (!handler) return;
    try {
        handler(text);
    } catch (const std::exception& exception) {
        console.print(std::string("Transaction completion handler threw: ") + exception.what());
    } catch (...) {
        console.print("Transaction completion handler threw an unknown exception");
    }
}

void reportFailure(const ErrorModel& error, const TransactionCompletion& handler, const Console& console) {
    answerHost(handler, error.errorMessage.value_or(""), console);
    console.print(twoItems("SP_ ", error.errorCode.value_or("Unkown error")));
    console.print(twoItems("SP_ ", error.localizedDescription()));
}

}  // namespace quarra
