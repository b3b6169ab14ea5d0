#pragma once
// The library's options for the demo: its service, its files, the Qt event
// loop as the main queue, and the HTTP client the order verdicts are read from.
#include <memory>

#include <quarra/Options.hpp>

#include "DemoArguments.hpp"

namespace demo {

quarra::Options libraryOptions(const DemoArguments& arguments, std::shared_ptr<quarra::Executor> main,
                               std::shared_ptr<quarra::HttpClient> http);

}  // namespace demo
