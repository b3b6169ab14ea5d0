#pragma once
// Completions of the controls' reports: they hold their control weakly (by a
// liveness token) and only write the "data sent successfully" line.
#include <memory>
#include <string>

#include "base/ConsoleLog.hpp"
#include <quarra/tracking/ReportSender.hpp>

namespace quarra {

// A token a control holds for as long as it lives.
using LivenessToken = std::shared_ptr<const char>;
inline LivenessToken makeLivenessToken() { return std::make_shared<const char>('\0'); }

// Writes "<control>(<tag>) data sent successfully: <result>" while the
// control still exists; does nothing once it is gone. Safe on any thread: it
// touches only its own copies and the console.
ReportSender::BoolCompletion sentLineCompletion(const LivenessToken& control, std::shared_ptr<const Console> console,
                                                std::string controlName, std::string tag);

// "<source>: <message>", written whatever the log switch: a control the host
// configured with a value outside its vocabulary.
void reportHostConfigurationError(const Console& console, std::string_view source, std::string_view message);

}  // namespace quarra
