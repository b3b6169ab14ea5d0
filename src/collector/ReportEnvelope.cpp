#include "collector/ReportEnvelope.hpp"

#include <algorithm>
#include <array>
#include <utility>

#include "base/JsonText.hpp"

namespace quarra {

std::optional<std::string> reportEnvelope(const DataCollectorAPI& report, std::string_view eventJSON,
                                          const std::string& sessionKey, const EnvelopeNames& names) {
    auto session = compactJSONString(sessionKey);
    auto client = compactJSONString(names.clientName);
    const std::string dataKey = report.dataKey();
    if (!session || !client) return std::nullopt;

    std::string data;
    switch (report.kind()) {
        case DataCollectorAPI::Case::activityStreamData: {
            auto page = compactJSONString(names.pageURL);
            if (!page) return std::nullopt;
            data.reserve(eventJSON.size() + page->size() + 40);
            data += R"([{"activityStream":[)";
            data += eventJSON;
            data += R"(],"url":)";
            data += *page;
            data += "}]";
            break;
        }
        case DataCollectorAPI::Case::userEventData:
            data.reserve(eventJSON.size() + 2);
            data += '[';
            data += eventJSON;
            data += ']';
            break;
        default:
            data = eventJSON;
            break;
    }

    std::array<std::pair<std::string_view, std::string*>, 3> members{{
        {dataKey, &data},
        {"sessionId", &*session},
        {"clientName", &*client},
    }};
    std::sort(members.begin(), members.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::string text;
    text.reserve(data.size() + session->size() + client->size() + dataKey.size() + 32);
    text += '{';
    for (const auto& [key, value] : members) {
        if (text.size() > 1) text += ',';
        text += '"';
        text += key;  // the data keys and the two names are plain identifiers
        text += "\":";
        text += *value;
    }
    text += '}';
    return text;
}

}  // namespace quarra
