#pragma once
// One request as a libcurl easy handle: its options, the answer it collects,
// and the result it turns into. Lives on the network thread only.
#include <curl/curl.h>

#include <memory>
#include <string>

#include <quarra/HttpClient.hpp>

namespace quarra {

struct CurlTransferSettings {
    std::string caFile;     // empty: the system's trust store
    CURLSH* share = nullptr;  // TLS sessions and names shared by the client's transfers
};

class CurlTransfer {
public:
    static std::unique_ptr<CurlTransfer> make(HttpRequest request, HttpClient::Completion completion);
    // Sets the easy handle up, on `reuse` (a handle of an earlier transfer,
    // taken over) or on a new one; false with `error` set when the request
    // cannot be handed to libcurl (an unusable header, no memory).
    // `sameShape`: `reuse` last ran a request of this one's shape() with the
    // same settings, so its fixed options stand; otherwise it is reset first.
    bool configure(const CurlTransferSettings& settings, std::string& error, CURL* reuse = nullptr,
                   bool sameShape = false);
    // What decides the options beyond the per-request ones: the method and
    // whether a body goes with it.
    std::string shape() const;
    ~CurlTransfer();
    CurlTransfer(const CurlTransfer&) = delete;
    CurlTransfer& operator=(const CurlTransfer&) = delete;

    CURL* handle() const { return easy_; }
    // The result for a transfer that libcurl finished with `code`; the
    // answer is moved out, so this is called once.
    HttpResult result(CURLcode code);
    // Gives up the easy handle (for another transfer); the transfer is done with it.
    CURL* releaseHandle();
    HttpClient::Completion takeCompletion() { return std::move(completion_); }
    // Whether the finished transfer was answered over HTTP/2 or later.
    bool answeredMultiplexed() const;

private:
    CurlTransfer(HttpRequest request, HttpClient::Completion completion);
    static size_t onBody(char* data, size_t size, size_t count, void* self);
    static size_t onHeader(char* data, size_t size, size_t count, void* self);

    HttpRequest request_;  // owns the body libcurl sends from
    HttpClient::Completion completion_;
    CURL* easy_ = nullptr;
    curl_slist* headerList_ = nullptr;
    std::string responseBody_;
    HttpHeaders responseHeaders_;
    bool bodyTooLarge_ = false;
    char errorBuffer_[CURL_ERROR_SIZE] = {};
};

// "scheme://host:port" of `url`, the port filled in from the scheme; the
// URL itself when libcurl cannot read it.
std::string originOf(const std::string& url);

// originOf with its last answer kept: a client's requests mostly go to one
// origin, and parsing each URL in full costs more than the rest of setting a
// request up. The answer depends only on the URL up to its path, query or
// fragment, so that prefix is the key. Not thread-safe.
class OriginMemo {
public:
    const std::string& originOf(const std::string& url);

private:
    std::string prefix_;
    std::string origin_;
};

// curl_global_init, once per process, from whichever thread comes first.
void initialiseCurlOnce();

}  // namespace quarra
