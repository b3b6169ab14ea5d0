// Any bytes as a response body, through the transport's "Response" log record
// (the body read as UTF-8, each invalid sequence replaced by U+FFFD): the
// record is well-formed UTF-8 whatever the body, a body that already was
// UTF-8 is recorded unchanged, and the caller gets the raw body. The
// library's own UTF-8 check must agree with the one here.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "FuzzSupport.hpp"
#include "base/Utf8Text.hpp"
#include "transport/RequestsManager.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace quarra;
    const std::string body(reinterpret_cast<const char*>(data), size);
    const bool wellFormed = fuzzing::wellFormedUtf8(body);
    if (isValidUtf8(body) != wellFormed) __builtin_trap();

    auto http = std::make_shared<fuzzing::HeldHttpClient>();
    fuzzing::RecordingServerLog serverLog;
    const fuzzing::FixedLogLevel requestsLogged(2);
    RequestsManager requests(RequestsManager::Dependencies{.session = http,
                                                           .baseUrls = BaseUrls::from(ServiceOrigins{}),
                                                           .logManager = &serverLog,
                                                           .sessionConfigManager = &requestsLogged});
    std::vector<std::string> delivered;
    auto endpoint = DataCollectorAPI::sendData(JSONDictionary::object(), std::nullopt, "userEvents", std::nullopt, "",
                                               BaseUrlType::dcBaseUrl);
    requests.request(endpoint, 0, "", [&](const std::string& answer) { delivered.push_back(answer); });
    if (!http->answer(fuzzing::HeldHttpClient::ok(body))) __builtin_trap();

    if (delivered != std::vector<std::string>{body}) __builtin_trap();
    if (serverLog.records.size() != 1 || serverLog.records[0].type != "Response") __builtin_trap();
    const std::string& recorded = serverLog.records[0].message;
    if (!fuzzing::wellFormedUtf8(recorded)) __builtin_trap();
    if (wellFormed && recorded != body) __builtin_trap();
    return 0;
}
