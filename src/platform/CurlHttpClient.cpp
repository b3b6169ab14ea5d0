// The libcurl client: every transfer runs on one network thread that owns a
// multi handle, so connections (and HTTP/2 streams) are shared across requests.
#include <curl/curl.h>
#include <pthread.h>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <utility>
#include <vector>

#include <quarra/HttpClient.hpp>

#include "platform/CurlHttpClient.hpp"
#include "platform/CurlTransfer.hpp"
#include "platform/OriginQueues.hpp"

namespace quarra {
namespace {

constexpr int kLongestPollMs = 1000;
// Transfers handed to libcurl at once; the rest wait their turn on the network thread.
constexpr size_t kMaxActiveTransfers = 64;
// Requests one origin may have on the wire over HTTP/2: streams share its connections.
constexpr size_t kMultiplexedPerHost = kMaxActiveTransfers;
const char* const kCancelled = "cancelled";
// Connections kept open in all, per origin limit included: a few origins'
// worth, so that a busy one does not close another's idle connections.
constexpr long kOriginsKeptOpen = 4;
// Finished easy handles kept for the next transfers: while busy, one per
// transfer libcurl may run (a handle made and freed per request costs more
// than the request's own work); once idle, a few. Each holds its buffers (tens
// of kilobytes), so an idle client does not keep them all.
constexpr size_t kSpareHandlesBusy = kMaxActiveTransfers;
constexpr size_t kSpareHandlesIdle = 8;

struct Pending {
    HttpRequest request;
    HttpClient::Completion completion;
};

// A completion and the result it is due, run with no lock held.
struct Finished {
    HttpClient::Completion completion;
    HttpResult result;
};

HttpResult failed(std::string error) { return HttpResult{.body = std::nullopt, .response = std::nullopt, .error = std::move(error)}; }

void deliver(std::vector<Finished>& finished) {
    for (auto& item : finished) {
        if (!item.completion) continue;
        try {
            item.completion(std::move(item.result));
        } catch (...) {
            // A throwing completion must not take the network thread down.
        }
    }
    finished.clear();
}

}  // namespace

// What the network thread needs. Shared with the client, so that the thread
// can finish on its own when the client is let go from one of its completions.
class CurlHttpClient::Core {
public:
    Core(CurlClientOptions options, std::function<void()> started)
        : options_(std::move(options)),
          started_(std::move(started)),
          waiting_(static_cast<size_t>(std::max(1L, options_.maxConnectionsPerHost)), kMultiplexedPerHost) {}
    ~Core() {
        // Every easy handle goes before the multi handle and the share they use.
        for (auto& [handle, active] : active_) curl_multi_remove_handle(multi_, handle);
        active_.clear();
        releaseSpareHandles();
        if (multi_) curl_multi_cleanup(multi_);
        if (share_) curl_share_cleanup(share_);
    }
    Core(const Core&) = delete;
    Core& operator=(const Core&) = delete;

    void setSelf(const std::shared_ptr<Core>& self) { self_ = self; }

    // Takes the request unless the client is shutting down (false, and the
    // request is left in `pending`). The first request starts the thread.
    bool enqueue(Pending& pending) {
        bool startThread = false;
        bool wakeThread = false;
        {
            std::lock_guard lock(mutex_);
            if (stopping_) return false;
            // The network thread takes the whole list before it next sleeps:
            // it is woken only while it sleeps, once per sleep, so a batch of
            // requests costs one wake (a system call) or none.
            wakeThread = multi_ ? std::exchange(wakeable_, false) : incoming_.empty();
            incoming_.push_back(std::move(pending));
            startThread = !threadStarted_;
            threadStarted_ = true;
        }
        if (startThread) {
            std::lock_guard lock(threadMutex_);
            thread_ = std::thread([self = self_.lock()] { self->run(); });
        } else if (wakeThread) {
            wake();
        }
        return true;
    }

    void stop() {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        wake();
        std::lock_guard lock(threadMutex_);
        if (!thread_.joinable()) return;
        if (thread_.get_id() == std::this_thread::get_id()) {
            thread_.detach();  // let go from one of our own completions: the thread ends by itself
        } else {
            thread_.join();
        }
    }

private:
    void run() {
        pthread_setname_np(pthread_self(), options_.threadName.substr(0, 15).c_str());
        // Set up here rather than in the host's first call: the TLS library
        // reads its configuration from disk.
        initialiseCurlOnce();
        if (started_) started_();
        CURLM* multi = curl_multi_init();
        if (multi) {
            curl_multi_setopt(multi, CURLMOPT_PIPELINING, CURLPIPE_MULTIPLEX);
            curl_multi_setopt(multi, CURLMOPT_MAX_HOST_CONNECTIONS, options_.maxConnectionsPerHost);
            curl_multi_setopt(multi, CURLMOPT_MAXCONNECTS, std::max(1L, options_.maxConnectionsPerHost) * kOriginsKeptOpen);
        }
        // The multi handle shares connections and names; the share adds TLS
        // sessions, so a new connection resumes rather than handshakes again.
        // Only this thread touches it: no lock callbacks.
        share_ = curl_share_init();
        if (share_) {
            curl_share_setopt(share_, CURLSHOPT_SHARE, CURL_LOCK_DATA_SSL_SESSION);
            curl_share_setopt(share_, CURLSHOPT_SHARE, CURL_LOCK_DATA_DNS);
        }
        {
            std::lock_guard lock(mutex_);
            multi_ = multi;
        }
        std::vector<Finished> finished;
        for (;;) {
            std::deque<Pending> fresh;
            bool stopping = false;
            {
                std::lock_guard lock(mutex_);
                fresh.swap(incoming_);
                stopping = stopping_;
            }
            if (stopping) {
                cancelAll(fresh, finished);
                releaseSpareHandles();
                deliver(finished);
                return;
            }
            for (auto& pending : fresh) {
                const std::string& origin = origins_.originOf(pending.request.url);  // before the request moves
                waiting_.push(origin, std::move(pending));
            }
            start(finished);
            if (multi) {
                // Finished transfers make room for waiting ones: start them
                // before polling, or the poll would sleep with requests
                // waiting and no transfer on the wire to wake it.
                for (;;) {
                    int running = 0;
                    curl_multi_perform(multi, &running);
                    const size_t before = active_.size();
                    collectDone(finished);
                    deliver(finished);
                    if (waiting_.waiting() == 0 || active_.size() == before) break;
                    start(finished);
                }
            }
            deliver(finished);
            if (active_.empty() && waiting_.waiting() == 0) releaseSpareHandles(kSpareHandlesIdle);
            if (multi) {
                // No longer than libcurl's next timer asks for; new work wakes the poll.
                long due = -1;
                curl_multi_timeout(multi, &due);
                const int waitMs = due < 0 || due > kLongestPollMs ? kLongestPollMs : static_cast<int>(due);
                if (startSleeping()) {
                    curl_multi_poll(multi, nullptr, 0, waitMs, nullptr);
                    std::lock_guard lock(mutex_);
                    wakeable_ = false;
                }
            } else {
                waitWithoutMulti();
            }
        }
    }

    void wake() {
        std::lock_guard lock(mutex_);
        if (multi_) {
            curl_multi_wakeup(multi_);
        } else {
            idle_.notify_all();
        }
    }

    // Hands waiting requests to the multi handle when a connection can take
    // them at once (see OriginQueues), at most kMaxActiveTransfers in all:
    // libcurl walks its whole list of transfers on every call, so thousands
    // of queued reports would otherwise slow every transfer down.
    void start(std::vector<Finished>& finished) {
        while (active_.size() < kMaxActiveTransfers || !multi_) {
            auto next = waiting_.next();
            if (!next) return;
            auto& [origin, pending] = *next;
            if (!multi_) {
                waiting_.finished(origin, false);
                finished.push_back({std::move(pending.completion), failed("Could not start the HTTP client")});
                continue;
            }
            auto transfer = CurlTransfer::make(std::move(pending.request), std::move(pending.completion));
            std::string error;
            auto [reuse, sameShape] = takeSpareHandle(transfer->shape());
            if (!transfer->configure(CurlTransferSettings{.caFile = options_.caFile, .share = share_}, error, reuse,
                                     sameShape)) {
                waiting_.finished(origin, false);
                finished.push_back({transfer->takeCompletion(), failed(error)});
                continue;
            }
            if (curl_multi_add_handle(multi_, transfer->handle()) != CURLM_OK) {
                waiting_.finished(origin, false);
                finished.push_back({transfer->takeCompletion(), failed("Could not start the transfer")});
                continue;
            }
            CURL* handle = transfer->handle();
            active_.emplace(handle, Active{std::move(transfer), std::move(origin)});
        }
    }

    void collectDone(std::vector<Finished>& finished) {
        int left = 0;
        while (CURLMsg* message = curl_multi_info_read(multi_, &left)) {
            if (message->msg != CURLMSG_DONE) continue;
            auto found = active_.find(message->easy_handle);
            if (found == active_.end()) continue;
            Active done = std::move(found->second);
            active_.erase(found);
            const CURLcode code = message->data.result;  // read before the handle is removed
            waiting_.finished(done.origin, done.transfer->answeredMultiplexed());
            curl_multi_remove_handle(multi_, done.transfer->handle());
            finished.push_back({done.transfer->takeCompletion(), done.transfer->result(code)});
            // A new easy handle per request costs an allocation of several
            // kilobytes and its caches; the next transfer takes this one.
            if (spare_.size() < kSpareHandlesBusy) spare_.push_back({done.transfer->releaseHandle(), done.transfer->shape()});
        }
    }

    // A spare handle for a request of `shape`: one whose last request had the
    // same shape if there is one (its options stand), else any; none when
    // there are no spares.
    std::pair<CURL*, bool> takeSpareHandle(const std::string& shape) {
        if (spare_.empty()) return {nullptr, false};
        auto match = std::find_if(spare_.rbegin(), spare_.rend(), [&](const Spare& spare) { return spare.shape == shape; });
        const bool sameShape = match != spare_.rend();
        auto taken = sameShape ? std::prev(match.base()) : std::prev(spare_.end());
        CURL* easy = taken->easy;
        spare_.erase(taken);
        return {easy, sameShape};
    }

    void releaseSpareHandles(size_t keep = 0) {
        while (spare_.size() > keep) {
            curl_easy_cleanup(spare_.back().easy);
            spare_.pop_back();
        }
    }

    void cancelAll(std::deque<Pending>& fresh, std::vector<Finished>& finished) {
        for (auto& [handle, active] : active_) {
            curl_multi_remove_handle(multi_, handle);
            finished.push_back({active.transfer->takeCompletion(), failed(kCancelled)});
        }
        active_.clear();
        for (auto& pending : fresh) finished.push_back({std::move(pending.completion), failed(kCancelled)});
        waiting_.takeAll([&](Pending pending) { finished.push_back({std::move(pending.completion), failed(kCancelled)}); });
    }

    // Whether to sleep in the poll: not while requests wait to be taken in
    // (one that came after the list was taken may not have woken us).
    bool startSleeping() {
        std::lock_guard lock(mutex_);
        if (stopping_ || !incoming_.empty()) return false;
        wakeable_ = true;
        return true;
    }

    // Without a multi handle every request fails at once; just wait for work.
    void waitWithoutMulti() {
        std::unique_lock lock(mutex_);
        idle_.wait(lock, [this] { return stopping_ || !incoming_.empty(); });
    }

    const CurlClientOptions options_;
    const std::function<void()> started_;
    std::weak_ptr<Core> self_;
    std::mutex mutex_;  // guards the six below
    std::condition_variable idle_;
    std::deque<Pending> incoming_;
    bool stopping_ = false;
    bool threadStarted_ = false;
    // The network thread is in (or about to enter) its poll and nobody has
    // woken it from it yet.
    bool wakeable_ = false;
    CURLM* multi_ = nullptr;  // written once by the network thread
    std::mutex threadMutex_;  // guards thread_
    std::thread thread_;
    // Network thread only.
    struct Active {
        std::unique_ptr<CurlTransfer> transfer;
        std::string origin;
    };
    std::unordered_map<CURL*, Active> active_;
    OriginQueues<Pending> waiting_;
    OriginMemo origins_;
    // Easy handles of finished transfers, with the shape of the request each
    // last ran (see CurlTransfer::configure).
    struct Spare {
        CURL* easy;
        std::string shape;
    };
    std::vector<Spare> spare_;
    CURLSH* share_ = nullptr;
};

CurlHttpClient::CurlHttpClient(CurlClientOptions options, std::function<void()> started)
    : core_(std::make_shared<Core>(std::move(options), std::move(started))) {
    core_->setSelf(core_);
}

CurlHttpClient::~CurlHttpClient() { core_->stop(); }

void CurlHttpClient::send(HttpRequest request, Completion completion) {
    Pending pending{std::move(request), std::move(completion)};
    if (core_->enqueue(pending)) return;
    if (pending.completion) pending.completion(failed(kCancelled));
}

void CurlHttpClient::shutdown() { core_->stop(); }

std::shared_ptr<HttpClient> makeCurlHttpClient(CurlClientOptions options) {
    return std::make_shared<CurlHttpClient>(std::move(options));
}

}  // namespace quarra
