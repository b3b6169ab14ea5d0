#pragma once
// The event debugger's page, style and script, built into the binary so that
// it works the same from a build tree and from an install.
#include <string_view>
#include <vector>

namespace quarra::service {

struct DebuggerAsset {
    std::string_view path;  // "/", "/debugger.js", ...
    std::string_view contentType;
    std::string_view body;
};

const std::vector<DebuggerAsset>& debuggerAssets();

}  // namespace quarra::service
