#include "platform/CurlTransfer.hpp"

#include <algorithm>
#include <mutex>

namespace quarra {
namespace {

// Answers from the service are small JSON documents; anything this large is
// not one of them and would only cost memory.
constexpr size_t kMaxResponseBytes = 16 * 1024 * 1024;

bool hasLineBreakOrNul(const std::string& text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n' || c == '\0'; });
}

std::string trimmed(std::string_view text) {
    constexpr std::string_view kBlanks = " \t\r\n";
    auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return "";
    return std::string(text.substr(first, text.find_last_not_of(kBlanks) - first + 1));
}

}  // namespace

void initialiseCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

CurlTransfer::CurlTransfer(HttpRequest request, HttpClient::Completion completion)
    : request_(std::move(request)), completion_(std::move(completion)) {}

CurlTransfer::~CurlTransfer() {
    if (easy_) curl_easy_cleanup(easy_);
    curl_slist_free_all(headerList_);
}

std::unique_ptr<CurlTransfer> CurlTransfer::make(HttpRequest request, HttpClient::Completion completion) {
    return std::unique_ptr<CurlTransfer>(new CurlTransfer(std::move(request), std::move(completion)));
}

bool CurlTransfer::configure(const CurlTransferSettings& settings, std::string& error, CURL* reuse, bool sameShape) {
    // A handle whose last request had this one's shape keeps its options: only
    // what differs per request is set again below. Any other handle is reset,
    // which keeps its buffers and caches but clears every option, so nothing of
    // the previous request (method, body, headers) carries over.
    const bool keepsOptions = reuse && sameShape;
    if (reuse && !keepsOptions) curl_easy_reset(reuse);
    easy_ = reuse ? reuse : curl_easy_init();
    if (!easy_) {
        error = "Could not create a transfer";
        return false;
    }

    auto addHeader = [this](const std::string& line) {
        curl_slist* grown = curl_slist_append(headerList_, line.c_str());
        if (grown) headerList_ = grown;
        return grown != nullptr;
    };
    for (const auto& [name, value] : request_.headers) {
        if (name.empty() || name.find(':') != std::string::npos || hasLineBreakOrNul(name) || hasLineBreakOrNul(value)) {
            error = "Invalid header field \"" + name + "\"";  // would split or forge header lines
            return false;
        }
        // "Name;" is libcurl's way of sending a header with an empty value.
        if (!addHeader(value.empty() ? name + ";" : name + ": " + value)) {
            error = "Out of memory";
            return false;
        }
    }
    // Send exactly the headers asked for: no form content type of libcurl's own
    // and no "Expect: 100-continue" round trip before larger bodies.
    if (!request_.header("Content-Type")) addHeader("Content-Type:");
    if (!request_.header("Expect")) addHeader("Expect:");

    const long timeoutMs = static_cast<long>(std::clamp<long long>(request_.timeout.count(), 1, 86'400'000));

    curl_easy_setopt(easy_, CURLOPT_PRIVATE, this);
    curl_easy_setopt(easy_, CURLOPT_URL, request_.url.c_str());
    curl_easy_setopt(easy_, CURLOPT_ERRORBUFFER, errorBuffer_);
    curl_easy_setopt(easy_, CURLOPT_TIMEOUT_MS, timeoutMs);
    curl_easy_setopt(easy_, CURLOPT_HTTPHEADER, headerList_);
    curl_easy_setopt(easy_, CURLOPT_WRITEDATA, this);
    curl_easy_setopt(easy_, CURLOPT_HEADERDATA, this);
    if (request_.body) {
        curl_easy_setopt(easy_, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(request_.body->size()));
        curl_easy_setopt(easy_, CURLOPT_POSTFIELDS, request_.body->data());
    }
    if (keepsOptions) return true;

    curl_easy_setopt(easy_, CURLOPT_PROTOCOLS_STR, "https");
    curl_easy_setopt(easy_, CURLOPT_NOSIGNAL, 1L);
#if LIBCURL_VERSION_NUM >= 0x075700
    // A name lookup still running must not hold up a shutdown or the process exit.
    curl_easy_setopt(easy_, CURLOPT_QUICK_EXIT, 1L);
#endif
    curl_easy_setopt(easy_, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_2TLS));
    curl_easy_setopt(easy_, CURLOPT_PIPEWAIT, 1L);  // prefer multiplexing on an existing connection
    curl_easy_setopt(easy_, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(easy_, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!settings.caFile.empty()) curl_easy_setopt(easy_, CURLOPT_CAINFO, settings.caFile.c_str());
    if (settings.share) curl_easy_setopt(easy_, CURLOPT_SHARE, settings.share);
    curl_easy_setopt(easy_, CURLOPT_WRITEFUNCTION, &CurlTransfer::onBody);
    curl_easy_setopt(easy_, CURLOPT_HEADERFUNCTION, &CurlTransfer::onHeader);
    // Over TLS on HTTP/1.1 libcurl copies each request through an upload
    // buffer of this size, made and freed per transfer. The default (64 KiB)
    // makes the allocator hand memory back to the system and fault it in
    // again on every report; reports are a few kilobytes, and larger bodies
    // still go, in pieces of this size.
    curl_easy_setopt(easy_, CURLOPT_UPLOAD_BUFFERSIZE, 16384L);

    // What the method needs beyond the body set above; libcurl copies the strings.
    const std::string& method = request_.method;
    if (request_.body) {
        if (method != "POST") curl_easy_setopt(easy_, CURLOPT_CUSTOMREQUEST, method.c_str());
    } else if (method == "POST") {
        curl_easy_setopt(easy_, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(0));
        curl_easy_setopt(easy_, CURLOPT_POSTFIELDS, "");
    } else if (method == "HEAD") {
        curl_easy_setopt(easy_, CURLOPT_NOBODY, 1L);
    } else if (method != "GET") {
        curl_easy_setopt(easy_, CURLOPT_CUSTOMREQUEST, method.c_str());
    }
    return true;
}

std::string CurlTransfer::shape() const { return request_.method + (request_.body ? "+body" : ""); }

size_t CurlTransfer::onBody(char* data, size_t size, size_t count, void* self) {
    auto* transfer = static_cast<CurlTransfer*>(self);
    const size_t bytes = size * count;
    if (transfer->responseBody_.size() + bytes > kMaxResponseBytes) {
        transfer->bodyTooLarge_ = true;
        return 0;  // makes libcurl stop the transfer with a write error
    }
    transfer->responseBody_.append(data, bytes);
    return bytes;
}

size_t CurlTransfer::onHeader(char* data, size_t size, size_t count, void* self) {
    auto* transfer = static_cast<CurlTransfer*>(self);
    const size_t bytes = size * count;
    if (!transfer->request_.collectResponseHeaders) return bytes;
    std::string_view line(data, bytes);
    if (line.starts_with("HTTP/")) {
        transfer->responseHeaders_.clear();  // a new response (after an interim one) starts over
    } else if (auto colon = line.find(':'); colon != std::string_view::npos) {
        transfer->responseHeaders_.emplace_back(trimmed(line.substr(0, colon)), trimmed(line.substr(colon + 1)));
    }
    return bytes;
}

CURL* CurlTransfer::releaseHandle() {
    CURL* handle = easy_;
    easy_ = nullptr;
    return handle;
}

HttpResult CurlTransfer::result(CURLcode code) {
    long status = 0;
    curl_easy_getinfo(easy_, CURLINFO_RESPONSE_CODE, &status);
    HttpResult result;
    if (status > 0) result.response = HttpResponse{.statusCode = status, .headers = std::move(responseHeaders_)};
    if (code == CURLE_OK) {
        result.body = std::move(responseBody_);
        return result;
    }
    if (bodyTooLarge_) {
        result.error = "Response body larger than " + std::to_string(kMaxResponseBytes) + " bytes";
    } else {
        result.error = errorBuffer_[0] != '\0' ? std::string(errorBuffer_) : std::string(curl_easy_strerror(code));
    }
    return result;
}

bool CurlTransfer::answeredMultiplexed() const {
    long version = 0;
    if (curl_easy_getinfo(easy_, CURLINFO_HTTP_VERSION, &version) != CURLE_OK) return false;
    return version >= CURL_HTTP_VERSION_2_0;
}

std::string originOf(const std::string& url) {
    std::unique_ptr<CURLU, decltype(&curl_url_cleanup)> parsed(curl_url(), curl_url_cleanup);
    if (!parsed || curl_url_set(parsed.get(), CURLUPART_URL, url.c_str(), 0) != CURLUE_OK) return url;
    auto part = [&](CURLUPart which, unsigned int flags) {
        char* text = nullptr;
        if (curl_url_get(parsed.get(), which, &text, flags) != CURLUE_OK || !text) return std::string();
        std::string value(text);
        curl_free(text);
        return value;
    };
    return part(CURLUPART_SCHEME, 0) + "://" + part(CURLUPART_HOST, 0) + ":" + part(CURLUPART_PORT, CURLU_DEFAULT_PORT);
}

const std::string& OriginMemo::originOf(const std::string& url) {
    const std::string_view text(url);
    const size_t authority = text.find("://");
    if (authority == std::string_view::npos) {
        prefix_.clear();  // nothing to key on: not kept
        origin_ = quarra::originOf(url);
        return origin_;
    }
    const std::string_view prefix = text.substr(0, text.find_first_of("/?#", authority + 3));
    if (!prefix_.empty() && prefix == prefix_) return origin_;
    origin_ = quarra::originOf(url);
    prefix_ = prefix;
    return origin_;
}

}  // namespace quarra
