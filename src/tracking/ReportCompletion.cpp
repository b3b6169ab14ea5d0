#include "tracking/ReportCompletion.hpp"

#include "tracking/TouchText.hpp"

namespace quarra {

ReportSender::BoolCompletion sentLineCompletion(const LivenessToken& control, std::shared_ptr<const Console> console,
                                                std::string controlName, std::string tag) {
    return [weak = std::weak_ptr<const char>(control), console = std::move(console),
            controlName = std::move(controlName), tag = std::move(tag)](bool delivered) {
        if (weak.expired()) return;
        console->log(sentLine(controlName, tag, delivered));
    };
}

void reportHostConfigurationError(const Console& console, std::string_view source, std::string_view message) {
    std::string line(source);
    line += ": ";
    line += message;
    console.print(line);
}

}  // namespace quarra
