#include "StepOutput.hpp"

#include <string>

namespace quarra::cli {

void writeStepLine(std::FILE* out, const Step& step, const StepOutcome& outcome, Milliseconds elapsed) {
    // Ordered keys keep the line easy to read by eye as well.
    nlohmann::ordered_json line;
    line["step"] = step.number;
    line["do"] = step.name;
    line["result"] = outcome.result;
    line["ms"] = elapsed.count();
    if (outcome.timedOut) line["timedOut"] = true;
    auto text = line.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
    std::fwrite(text.data(), 1, text.size(), out);
    std::fflush(out);
}

}  // namespace quarra::cli
