#pragma once
// The envelope a report goes out in, written as text around the report's
// dictionary, which is already compact JSON: the dictionary is serialised
// once, and the same bytes serve the outbox and the wire.
#include <optional>
#include <string>
#include <string_view>

#include "transport/DataCollectorAPI.hpp"

namespace quarra {

struct EnvelopeNames {
    std::string_view clientName;
    std::string_view pageURL;  // the page an activity stream is filed under
};

// The compact JSON of the envelope: the dictionary under the report's data
// key (in a one-element array for user events; inside an activity-stream
// entry for activity streams), the session key and the client name. The keys
// are in the order a JSON object of them is written (sorted). nullopt when
// the session key is not valid UTF-8.
std::optional<std::string> reportEnvelope(const DataCollectorAPI& report, std::string_view eventJSON,
                                          const std::string& sessionKey, const EnvelopeNames& names);

}  // namespace quarra
