#include "AdminClient.hpp"

#include "Mailbox.hpp"

namespace quarra::cli {
namespace {

constexpr std::chrono::milliseconds kPatience{10000};

}  // namespace

AdminClient::AdminClient(std::string serviceUrl, std::string caFile)
    : serviceUrl_(std::move(serviceUrl)),
      http_(makeCurlHttpClient(CurlClientOptions{.caFile = std::move(caFile), .threadName = "quarra-admin"})) {}

AdminAnswer AdminClient::get(const std::string& path) const {
    HttpRequest request;
    request.method = "GET";
    request.url = serviceUrl_ + path;
    request.timeout = kPatience;
    auto results = std::make_shared<Mailbox<HttpResult>>();
    http_->send(std::move(request), [results](HttpResult result) { results->post(std::move(result)); });
    // The client always completes, at the latest when its own time-out ends.
    auto result = results->waitFor(0, kPatience * 2);
    if (!result) return {std::nullopt, "no answer from " + serviceUrl_ + path};
    if (!result->response) return {std::nullopt, serviceUrl_ + path + ": " + result->error.value_or("no answer")};
    auto body = JSONDictionary::parse(result->body.value_or(""), nullptr, false);
    if (result->response->statusCode != 200 || !body.is_object()) {
        return {std::nullopt, serviceUrl_ + path + " answered HTTP " + std::to_string(result->response->statusCode)};
    }
    return {std::move(body), ""};
}

}  // namespace quarra::cli
