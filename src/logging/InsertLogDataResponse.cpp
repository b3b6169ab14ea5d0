#include "logging/InsertLogDataResponse.hpp"

namespace quarra {

JSONDictionary InsertLogDataResponse::toJSON() const {
    return JSONDictionary{{"ResponseCode", responseCode}, {"ResponseText", responseText}};
}

std::optional<InsertLogDataResponse> InsertLogDataResponse::fromJSON(const JSONDictionary& json) {
    if (!json.is_object()) return std::nullopt;
    auto code = json.find("ResponseCode");
    auto text = json.find("ResponseText");
    if (code == json.end() || !code->is_string() || text == json.end() || !text->is_string()) return std::nullopt;
    return InsertLogDataResponse{code->get<std::string>(), text->get<std::string>()};
}

}  // namespace quarra
