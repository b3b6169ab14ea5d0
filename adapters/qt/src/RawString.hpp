#pragma once
// A vocabulary's raw string (a string_view) as a QString.
#include <QString>
#include <string_view>

namespace quarra::qt {

inline QString rawString(std::string_view raw) {
    return QString::fromUtf8(raw.data(), static_cast<qsizetype>(raw.size()));
}

}  // namespace quarra::qt
