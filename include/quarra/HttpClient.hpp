#pragma once
/**
 * @file
 * @brief The HTTP seam: one request in, one result out, on the client's callback thread.
 *
 * The library sends all its traffic through one HttpClient: the libcurl
 * client of makeCurlHttpClient(), or the host's own (Options::httpClient).
 */
#include <quarra/Export.hpp>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quarra {

/// Header fields in order, as (name, value) pairs; a name may repeat.
using HttpHeaders = std::vector<std::pair<std::string, std::string>>;

/**
 * @brief One HTTP request.
 *
 * @par Thread
 * Any thread; it shares nothing.
 * @par Lifetime
 * A value type; copy freely.
 * @par Blocking
 * Never blocks.
 */
struct QUARRA_API HttpRequest {
    std::string method = "GET";                ///< The HTTP method ("GET", "POST", ...).
    std::string url;                           ///< The absolute URL.
    HttpHeaders headers;                       ///< The header fields to send.
    std::optional<std::string> body;           ///< The body; absent: none is sent.
    std::chrono::milliseconds timeout{60000};  ///< Limit for the whole exchange.
    /// Whether the result's HttpResponse::headers are filled in. The library's
    /// own reports read none, and leave them out to save copying them; a
    /// client may fill them in regardless.
    bool collectResponseHeaders = true;

    /// First value of a header, compared without regard to case; none when absent.
    std::optional<std::string> header(std::string_view name) const;
};

/**
 * @brief The status line and headers of an HTTP answer.
 *
 * @par Thread
 * Any thread; it shares nothing.
 * @par Lifetime
 * A value type; copy freely.
 * @par Blocking
 * Never blocks.
 */
struct QUARRA_API HttpResponse {
    long statusCode = 0;  ///< The HTTP status (200, 404, ...).
    HttpHeaders headers;  ///< The answer's header fields.
};

/**
 * @brief The outcome of one request; exactly one of these per request.
 *
 * `response` is absent when no HTTP answer arrived (refused, reset, timed
 * out, TLS failure); `error` then says why.
 *
 * @par Thread
 * Any thread; it shares nothing.
 * @par Lifetime
 * A value type; copy freely.
 * @par Blocking
 * Never blocks.
 */
struct QUARRA_API HttpResult {
    std::optional<std::string> body;       ///< The answer's body, when one arrived.
    std::optional<HttpResponse> response;  ///< The answer's status and headers; absent when none arrived.
    std::optional<std::string> error;      ///< Why no answer arrived ("cancelled", a transport message).
};

/**
 * @brief Sends HTTP requests for the library.
 *
 * @par Thread
 * The library calls send() from its own threads (the worker, the main
 * queue), possibly concurrently. The completion runs on the client's
 * callback thread, never inside send() itself.
 * @par Lifetime
 * The library keeps the client it is given for the rest of the process and
 * does not stop a host's client at DataCollectorService::shutdown(). The
 * client keeps each completion until it has run.
 * @par Blocking
 * send() never blocks on the network.
 */
class QUARRA_API HttpClient {
public:
    /// The answer to one request; runs exactly once.
    using Completion = std::function<void(HttpResult)>;
    /// Destroyed by whoever holds the last reference.
    virtual ~HttpClient() = default;
    /**
     * @brief Starts `request`; `completion` gets its result.
     *
     * @par Thread
     * Any thread. The completion runs exactly once, on the client's callback
     * thread, never inside send() itself.
     * @par Lifetime
     * The client keeps `completion` until it has run.
     * @par Blocking
     * Never blocks on the network.
     */
    virtual void send(HttpRequest request, Completion completion) = 0;
};

/**
 * @brief Settings of the libcurl client.
 *
 * @par Thread
 * Any thread; it shares nothing.
 * @par Lifetime
 * A value type; copy freely.
 * @par Blocking
 * Never blocks.
 */
struct QUARRA_API CurlClientOptions {
    std::string caFile;                        ///< PEM bundle to trust; empty: the system's trust store.
    long maxConnectionsPerHost = 6;            ///< Parallel connections to one host (at least 1).
    std::string threadName = "quarra-http";    ///< The network thread's name (15 characters are kept).
};

/**
 * @brief The libcurl client.
 *
 * One network thread (started by the first request, which also sets libcurl
 * and the TLS library up there), connection reuse, HTTP/2 when the server
 * offers it, TLS peer and host verification always on. Only https URLs are
 * fetched; a header with a line break fails the request. Answers above
 * 16 MiB fail.
 *
 * @par Thread
 * Any thread; send() may be called from any thread. Completions run on the
 * network thread.
 * @par Lifetime
 * On destruction, requests still in flight complete with the error
 * "cancelled" before the network thread ends.
 * @par Blocking
 * Making it never blocks (no file is read, no thread started). Its
 * destructor waits for the network thread to end: for the cancelled
 * requests' completions to return.
 */
QUARRA_API std::shared_ptr<HttpClient> makeCurlHttpClient(CurlClientOptions options = {});

}  // namespace quarra
