#include "transport/URLValidation.hpp"

#include <curl/curl.h>

#include <memory>

namespace quarra {
namespace {

struct URLHandleDeleter {
    void operator()(CURLU* handle) const { curl_url_cleanup(handle); }
};
struct CurlTextDeleter {
    void operator()(char* text) const { curl_free(text); }
};
using CurlText = std::unique_ptr<char, CurlTextDeleter>;

CurlText part(CURLU* handle, CURLUPart which) {
    char* text = nullptr;
    if (curl_url_get(handle, which, &text, 0) != CURLUE_OK) return nullptr;
    return CurlText(text);
}

bool parsesAsHttpURL(const std::string& text) {
    std::unique_ptr<CURLU, URLHandleDeleter> handle(curl_url());
    if (!handle || curl_url_set(handle.get(), CURLUPART_URL, text.c_str(), 0) != CURLUE_OK) return false;
    auto scheme = part(handle.get(), CURLUPART_SCHEME);
    auto host = part(handle.get(), CURLUPART_HOST);
    if (!scheme || !host || *host == '\0') return false;
    std::string schemeText = scheme.get();
    return schemeText == "https" || schemeText == "http";
}

}  // namespace

bool isValidURL(const std::string& text) {
    // Reports go to a handful of URLs, and parsing one costs more than the
    // rest of building its request: the last one found valid on this thread
    // is kept, which costs a string compare per check.
    thread_local std::string lastValid;
    if (!text.empty() && text == lastValid) return true;
    if (!parsesAsHttpURL(text)) return false;
    lastValid = text;
    return true;
}

}  // namespace quarra
