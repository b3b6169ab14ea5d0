// How fast reports reach a collector that is never the bottleneck (a local
// nginx, see NginxCollector), through the library and through a bare libcurl
// multi client in the same run, over HTTP/1.1 and HTTP/2; and what reports
// waiting in the outbox cost in memory.
//
// Run alone (needs nginx from scripts/setup.sh; without it each benchmark is
// skipped with a message):
//   build/default/bench/quarra-bench --benchmark_filter='^Delivery'
// The anchor keeps SendBench's BM_Delivery* (against cpp-httplib) out. Each
// figure is five batches, then their median and min (for reports_per_s the
// slowest batch); a library benchmark's vs_raw and cpu_vs_raw compare it with
// the median of the raw batches of the same protocol earlier in the same run
// (absent when those were filtered out). QUARRA_DELIVERY_REPORTS sets the
// reports per batch (default 10000). cpu_us_per_report is this process's CPU
// (every thread, nginx not included); connections and requests_per_report
// come from nginx's status page; stall_ms is the longest gap between two
// completions; server_busy is nginx's CPU over the batch's wall time.
// DeliveryPaired runs raw and library batches in turn, seven pairs, and gives
// the medians of the per-pair ratios: the steadiest comparison on a machine
// whose speed drifts. It also splits the library's CPU: its network thread
// (network_cpu_vs_raw compares it with the whole raw client) and its worker;
// and it runs once more with the outbox in memory (durable:0), which shows
// what writing each report ahead to disk costs:
//   build/default/bench/quarra-bench --benchmark_filter='^DeliveryPaired'
// The memory figures reset the peak RSS before each run (/proc/self/clear_refs),
// but it still starts from what earlier benchmarks left resident
// (base_rss_MB); for the smallest base run them on their own:
//   build/default/bench/quarra-bench --benchmark_filter='^DeliveryQueuedMemory'
#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include <quarra/testing/MemorySecureItemStore.hpp>

#include "NginxCollector.hpp"
#include "base/JsonText.hpp"
#include "collector/Engine.hpp"
#include "support/CapturingConsole.hpp"
#include "support/HttpsTestServer.hpp"
#include "support/TempDir.hpp"

namespace quarra {
namespace {

using Clock = std::chrono::steady_clock;
using bench::NginxCollector;

enum class Protocol { http1, http2 };

JSONDictionary sevenEntryEvent() {
    return JSONDictionary{{"event", "ButtonClick"},      {"trackingAction", "LoginAttempt"}, {"force", "0.5"},
                          {"x", "120.5"},                {"y", "480.0"},                    {"oriantation", "portrait"},
                          {"time", "2026-12-06 09:00:00.000"}};
}

int64_t reportsPerBatch() {
    const char* text = std::getenv("QUARRA_DELIVERY_REPORTS");
    const long long value = text ? std::atoll(text) : 0;
    return value > 0 ? value : 10'000;
}

double processCpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// CPU seconds of the library's network thread and worker (by the names it
// gives them), from each thread's /proc schedstat: time on CPU, user and
// kernel. One pass over the process's threads.
struct LibraryThreadsCpu {
    double network = 0;
    double worker = 0;
};
LibraryThreadsCpu libraryThreadsCpu() {
    LibraryThreadsCpu cpu;
    std::error_code error;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task", error)) {
        std::string comm;
        std::getline(std::ifstream(task.path() / "comm"), comm);
        double* sum = comm == "quarra-http" ? &cpu.network : comm == "quarra-worker" ? &cpu.worker : nullptr;
        if (!sum) continue;
        unsigned long long nanoseconds = 0;
        if (std::ifstream(task.path() / "schedstat") >> nanoseconds) *sum += static_cast<double>(nanoseconds) / 1e9;
    }
    return cpu;
}

// Completions as they come: how many, how many failed, and the longest gap
// between two in a row (a stall shows there, not in the average).
class CompletionLog {
public:
    void done(bool ok) {
        const auto now = Clock::now();
        std::lock_guard lock(mutex_);
        if (count_ > 0) longestGap_ = std::max(longestGap_, now - last_);
        last_ = now;
        ++count_;
        if (!ok) ++failed_;
        // Only the last one wakes the waiting thread: a wake per completion
        // would cost the side measured a context switch per report.
        if (count_ == target_) changed_.notify_all();
    }
    bool waitFor(size_t target, std::chrono::seconds limit) {
        std::unique_lock lock(mutex_);
        target_ = target;
        return changed_.wait_for(lock, limit, [&] { return count_ >= target; });
    }
    size_t count() const {
        std::lock_guard lock(mutex_);
        return count_;
    }
    size_t failed() const {
        std::lock_guard lock(mutex_);
        return failed_;
    }
    double longestGapMs() const {
        std::lock_guard lock(mutex_);
        return std::chrono::duration<double, std::milli>(longestGap_).count();
    }

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    size_t count_ = 0;
    size_t target_ = 0;
    size_t failed_ = 0;
    Clock::time_point last_;
    Clock::duration longestGap_{};
};

// One batch's figures, and the counters they become.
struct BatchFigures {
    size_t reports = 0;
    double seconds = 0;
    double cpuSeconds = 0;
    long connections = 0;
    long requests = 0;
    double stallMs = 0;
    double serverCpuSeconds = 0;
    // The library's network thread and worker (zero for the raw client).
    double networkCpuSeconds = 0;
    double workerCpuSeconds = 0;

    double reportsPerSecond() const { return static_cast<double>(reports) / seconds; }
    double cpuMicrosPerReport() const { return cpuSeconds * 1e6 / static_cast<double>(reports); }
    double networkMicrosPerReport() const { return networkCpuSeconds * 1e6 / static_cast<double>(reports); }
    double workerMicrosPerReport() const { return workerCpuSeconds * 1e6 / static_cast<double>(reports); }
};

// The raw client's throughput and CPU per report of each batch, by protocol,
// for the library benchmarks that run after it.
std::map<Protocol, std::vector<BatchFigures>>& rawBatches() {
    static std::map<Protocol, std::vector<BatchFigures>> batches;
    return batches;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

void setCounters(benchmark::State& state, const BatchFigures& figures) {
    state.counters["reports_per_s"] = figures.reportsPerSecond();
    state.counters["cpu_us_per_report"] = figures.cpuMicrosPerReport();
    state.counters["connections"] = static_cast<double>(figures.connections);
    // Above 1: reports went out more than once, or other requests went with them.
    state.counters["requests_per_report"] =
        static_cast<double>(figures.requests) / static_cast<double>(figures.reports);
    state.counters["stall_ms"] = figures.stallMs;
    // Near 1: nginx's one worker was busy all along, and the server set the pace.
    state.counters["server_busy"] = figures.serverCpuSeconds / figures.seconds;
}

// Times one batch: `run` hands in every report and returns once all are
// answered. The log is shared: after a time-out, late completions still find it.
template <typename Run>
bool measureBatch(benchmark::State& state, NginxCollector& nginx, size_t reports, BatchFigures& figures, Run run) {
    const auto servedBefore = nginx.served();
    const double serverCpuBefore = nginx.workerCpuSeconds();
    // Read before the process's CPU, so that reading /proc is not counted in it.
    const LibraryThreadsCpu threadsBefore = libraryThreadsCpu();
    const double cpuBefore = processCpuSeconds();
    const auto start = Clock::now();
    const auto log = std::make_shared<CompletionLog>();
    if (!run(log)) {
        state.SkipWithError("not every report was answered within the time limit");
        return false;
    }
    figures.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    figures.cpuSeconds = processCpuSeconds() - cpuBefore;
    const LibraryThreadsCpu threadsAfter = libraryThreadsCpu();
    figures.networkCpuSeconds = threadsAfter.network - threadsBefore.network;
    figures.workerCpuSeconds = threadsAfter.worker - threadsBefore.worker;
    figures.serverCpuSeconds = nginx.workerCpuSeconds() - serverCpuBefore;
    const auto servedAfter = nginx.served();
    figures.reports = reports;
    // The second reading counts the first one's own connection and request.
    if (servedBefore && servedAfter) {
        figures.connections = servedAfter->connections - servedBefore->connections - 1;
        figures.requests = servedAfter->requests - servedBefore->requests - 1;
    }
    figures.stallMs = log->longestGapMs();
    if (log->failed() > 0) {
        state.SkipWithError((std::to_string(log->failed()) + " reports were not accepted").c_str());
        return false;
    }
    return true;
}

NginxCollector* nginxOrSkip(benchmark::State& state) {
    std::string whyNot;
    NginxCollector* nginx = NginxCollector::shared(whyNot);
    if (!nginx) state.SkipWithError(("no local nginx: " + whyNot).c_str());
    return nginx;
}

std::string originFor(const NginxCollector& nginx, Protocol protocol) {
    return protocol == Protocol::http2 ? nginx.http2Origin() : nginx.http1Origin();
}

// Six connections of one request each, or 64 streams over HTTP/2: what the library allows.
size_t rawInFlight(Protocol protocol) { return protocol == Protocol::http2 ? 64 : 6; }

// Where the raw client posts: the path the library posts user events to.
std::string rawReportURL(const std::string& origin) { return origin + "/api/data/collect/userEvents"; }

double minimum(const std::vector<double>& values) { return *std::min_element(values.begin(), values.end()); }

// ---- the bare libcurl client ----

// The body the library posts for the seven-entry event (about 230 bytes).
std::string userEventsBody() {
    JSONDictionary envelope = {{"events", JSONDictionary::array({sevenEntryEvent()})},
                               {"sessionId", "bench-session"},
                               {"clientName", CollectionService::kClientName}};
    return compactJSON(envelope).value();
}

size_t discardBody(char*, size_t size, size_t count, void*) { return size * count; }

// Posts `reports` bodies with at most `inFlight` on the wire, each easy handle
// set up once and added again as soon as its transfer ends.
bool postRaw(const std::string& url, size_t reports, size_t inFlight, CompletionLog& log) {
    const std::string body = userEventsBody();
    const std::string caFile = testing::testCAFile().string();
    CURLM* multi = curl_multi_init();
    curl_multi_setopt(multi, CURLMOPT_MAX_HOST_CONNECTIONS, 6L);
    curl_multi_setopt(multi, CURLMOPT_PIPELINING, CURLPIPE_MULTIPLEX);
    curl_slist* headers = curl_slist_append(nullptr, "Content-Type: application/json");
    headers = curl_slist_append(headers, "Idempotency-Key: 6f1c2a7e-0b7d-4c55-9a0e-2f1d3c4b5a69");
    headers = curl_slist_append(headers, "Expect:");

    std::vector<CURL*> handles(std::min(inFlight, reports));
    for (CURL*& easy : handles) {
        easy = curl_easy_init();
        curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
        curl_easy_setopt(easy, CURLOPT_POSTFIELDS, body.c_str());
        curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE, static_cast<long>(body.size()));
        curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers);
        curl_easy_setopt(easy, CURLOPT_CAINFO, caFile.c_str());
        // As the library does: HTTP/2 when the server offers it over ALPN.
        curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_2TLS));
        curl_easy_setopt(easy, CURLOPT_PIPEWAIT, 1L);
        curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &discardBody);
        curl_multi_add_handle(multi, easy);
    }
    size_t started = handles.size();
    const auto deadline = Clock::now() + std::chrono::seconds(300);
    while (log.count() < reports && Clock::now() < deadline) {
        int running = 0;
        curl_multi_perform(multi, &running);
        int left = 0;
        while (CURLMsg* message = curl_multi_info_read(multi, &left)) {
            if (message->msg != CURLMSG_DONE) continue;
            CURL* easy = message->easy_handle;
            long status = 0;
            curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
            log.done(message->data.result == CURLE_OK && status == 200);
            curl_multi_remove_handle(multi, easy);
            if (started < reports) {
                curl_multi_add_handle(multi, easy);
                ++started;
            }
        }
        if (log.count() < reports) curl_multi_poll(multi, nullptr, 0, 1000, nullptr);
    }
    for (CURL* easy : handles) {
        curl_multi_remove_handle(multi, easy);
        curl_easy_cleanup(easy);
    }
    curl_slist_free_all(headers);
    curl_multi_cleanup(multi);
    return log.count() >= reports;
}

void DeliveryRaw(benchmark::State& state, Protocol protocol) {
    NginxCollector* nginx = nginxOrSkip(state);
    if (!nginx) return;
    const auto reports = static_cast<size_t>(state.range(0));
    const size_t inFlight = rawInFlight(protocol);
    const std::string url = rawReportURL(originFor(*nginx, protocol));
    BatchFigures figures;
    for (auto _ : state) {
        if (!measureBatch(state, *nginx, reports, figures,
                          [&](const auto& log) { return postRaw(url, reports, inFlight, *log); })) {
            return;
        }
    }
    setCounters(state, figures);
    rawBatches()[protocol].push_back(figures);
}

// ---- the library ----

// The library's engine over its own curl client and durable outbox (or, with
// `durable` false, an outbox in memory only), with a session as if collection
// had started, posting to `origin`.
struct LibraryClient {
    explicit LibraryClient(const std::string& origin, bool durable = true) {
        Options options;
        options.origins = ServiceOrigins{origin, origin, origin, origin};
        options.caFile = testing::testCAFile().string();
        options.dataDirectory = directory.path();
        options.console = std::make_shared<testing::CapturingConsole>();
        EngineParts parts;
        parts.secureStore = std::make_shared<MemorySecureItemStore>();
        if (!durable) parts.eventStore = makeMemoryEventStore();
        engine = std::make_unique<Engine>(std::move(options), std::move(parts));
        SessionConfiguration configuration;
        configuration.apiSetting = {FeatureDetails{.apiName = "userEvents", .enabled = true}};
        engine->config.replace(configuration);
        engine->collector->setSessionKey("bench-session");
    }

    // Hands in `reports` seven-entry reports; true once all are answered.
    bool send(size_t reports, const std::shared_ptr<CompletionLog>& log, std::chrono::seconds limit) {
        const auto event = sevenEntryEvent();
        for (size_t i = 0; i < reports; ++i) {
            engine->service().sendUserEvents(event, [log](bool accepted) { log->done(accepted); });
        }
        return log->waitFor(reports, limit);
    }

    testing::TempDir directory;
    std::unique_ptr<Engine> engine;
};

void DeliveryLibrary(benchmark::State& state, Protocol protocol) {
    NginxCollector* nginx = nginxOrSkip(state);
    if (!nginx) return;
    const auto reports = static_cast<size_t>(state.range(0));
    LibraryClient client(originFor(*nginx, protocol));
    BatchFigures figures;
    for (auto _ : state) {
        if (!measureBatch(state, *nginx, reports, figures, [&](const auto& log) {
                return client.send(reports, log, std::chrono::seconds(300));
            })) {
            return;
        }
    }
    setCounters(state, figures);
    const auto& raw = rawBatches()[protocol];
    if (raw.empty()) return;
    std::vector<double> rawRates, rawCpu;
    for (const auto& batch : raw) {
        rawRates.push_back(batch.reportsPerSecond());
        rawCpu.push_back(batch.cpuMicrosPerReport());
    }
    state.counters["vs_raw"] = figures.reportsPerSecond() / median(rawRates);
    state.counters["cpu_vs_raw"] = figures.cpuMicrosPerReport() / median(rawCpu);
}

// ---- both, batch by batch ----

// Raw and library batches in turn, so that both see the machine in the same
// state: the raw client's speed moves by a third between runs here, and a
// ratio of two separate medians moves with it. The figures are medians of
// the per-pair ratios.
void DeliveryPaired(benchmark::State& state, Protocol protocol) {
    NginxCollector* nginx = nginxOrSkip(state);
    if (!nginx) return;
    const auto reports = static_cast<size_t>(state.range(0));
    const size_t inFlight = rawInFlight(protocol);
    const std::string origin = originFor(*nginx, protocol);
    const std::string url = rawReportURL(origin);
    LibraryClient client(origin, state.range(1) != 0);
    constexpr int kPairs = 7;
    std::vector<double> rateRatios, cpuRatios, rawRates, libraryRates, rawCpu, libraryCpu, networkCpu, workerCpu,
        networkRatios;
    double longestStallMs = 0;
    for (auto _ : state) {
        for (int pair = 0; pair < kPairs; ++pair) {
            BatchFigures raw, library;
            if (!measureBatch(state, *nginx, reports, raw,
                              [&](const auto& log) { return postRaw(url, reports, inFlight, *log); }) ||
                !measureBatch(state, *nginx, reports, library, [&](const auto& log) {
                    return client.send(reports, log, std::chrono::seconds(300));
                })) {
                return;
            }
            rateRatios.push_back(library.reportsPerSecond() / raw.reportsPerSecond());
            cpuRatios.push_back(library.cpuMicrosPerReport() / raw.cpuMicrosPerReport());
            rawRates.push_back(raw.reportsPerSecond());
            libraryRates.push_back(library.reportsPerSecond());
            rawCpu.push_back(raw.cpuMicrosPerReport());
            libraryCpu.push_back(library.cpuMicrosPerReport());
            networkCpu.push_back(library.networkMicrosPerReport());
            workerCpu.push_back(library.workerMicrosPerReport());
            networkRatios.push_back(library.networkMicrosPerReport() / raw.cpuMicrosPerReport());
            longestStallMs = std::max(longestStallMs, library.stallMs);
        }
    }
    state.counters["vs_raw"] = median(rateRatios);
    state.counters["vs_raw_min"] = minimum(rateRatios);
    state.counters["cpu_vs_raw"] = median(cpuRatios);
    state.counters["raw_reports_per_s"] = median(rawRates);
    state.counters["reports_per_s"] = median(libraryRates);
    state.counters["raw_cpu_us_per_report"] = median(rawCpu);
    state.counters["cpu_us_per_report"] = median(libraryCpu);
    // Where the library's CPU goes: its network thread against the whole raw
    // client, and its worker (outbox, answers, bookkeeping) on top.
    state.counters["network_cpu_us_per_report"] = median(networkCpu);
    state.counters["worker_cpu_us_per_report"] = median(workerCpu);
    state.counters["network_cpu_vs_raw"] = median(networkRatios);
    state.counters["stall_ms"] = longestStallMs;  // the library's longest, over every batch
}

// ---- memory of queued reports ----

// From /proc/self/status, in bytes: "VmRSS" now, "VmHWM" the peak.
double statusBytes(const std::string& field) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind(field + ":", 0) == 0) return std::atof(line.c_str() + field.size() + 1) * 1024;
    }
    return 0;
}

// Lets the peak start again from the current RSS (Linux 4.0 and later).
bool resetPeakRss() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.flush();
    return static_cast<bool>(clear);
}

double heapInUse() {
    const auto info = ::mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd);
}

// Reports refused by the collector stay in the outbox: what each one holds in
// memory, and the peak of handing in `reports` of them at once.
void DeliveryQueuedMemory(benchmark::State& state) {
    NginxCollector* nginx = nginxOrSkip(state);
    if (!nginx) return;
    const auto reports = static_cast<size_t>(state.range(0));
    for (auto _ : state) {
        LibraryClient client(nginx->refusingOrigin());
        // One report first, so that the network thread, TLS and the outbox
        // are set up and not counted against the reports.
        if (!client.send(1, std::make_shared<CompletionLog>(), std::chrono::seconds(30))) {
            return state.SkipWithError("the first report got no answer");
        }
        client.engine->service().flush(std::chrono::seconds(30));
        ::malloc_trim(0);
        const bool peakReset = resetPeakRss();
        const double before = statusBytes("VmRSS");
        const double heapBefore = heapInUse();
        const auto queuedBefore = client.engine->service().health().queued;

        if (!client.send(reports, std::make_shared<CompletionLog>(), std::chrono::seconds(600))) {
            return state.SkipWithError("not every report was answered within the time limit");
        }
        client.engine->service().flush(std::chrono::seconds(60));
        const double after = statusBytes("VmRSS");
        ::malloc_trim(0);  // what the allocator still holds from the burst, let go
        const double afterTrim = statusBytes("VmRSS");
        const double heapAfter = heapInUse();
        const auto health = client.engine->service().health();
        const double queued = static_cast<double>(health.queued - queuedBefore);

        state.counters["queued"] = queued;
        state.counters["dropped_bound"] = static_cast<double>(health.dropped.bound);
        // Should be 0: every report handed in is accepted, refused, queued or dropped, once.
        state.counters["health_excess"] =
            static_cast<double>(health.accepted + health.refused + health.queued + health.dropped.total()) -
            static_cast<double>(health.submitted + health.restored);
        state.counters["rss_per_report_B"] = queued > 0 ? (afterTrim - before) / queued : 0;
        state.counters["rss_untrimmed_per_report_B"] = queued > 0 ? (after - before) / queued : 0;
        // What the allocator has handed out and not had back: live data, as
        // opposed to pages it keeps.
        state.counters["heap_per_report_B"] = queued > 0 ? (heapAfter - heapBefore) / queued : 0;
        state.counters["rss_per_submitted_B"] = (afterTrim - before) / static_cast<double>(reports);
        state.counters["base_rss_MB"] = before / 1e6;
        state.counters["peak_rss_MB"] = statusBytes("VmHWM") / 1e6;
        // 0: the peak is the whole process's, earlier benchmarks included.
        state.counters["peak_of_this_run"] = peakReset ? 1 : 0;
    }
}

[[maybe_unused]] const bool registered = [] {
    const int64_t reports = reportsPerBatch();
    const std::pair<const char*, Protocol> protocols[] = {{"http1.1", Protocol::http1}, {"http2", Protocol::http2}};
    for (const auto& [name, protocol] : protocols) {
        // The raw client first: the library's ratios need its figures.
        const std::string raw = std::string("DeliveryRaw/") + name;
        const std::string library = std::string("DeliveryLibrary/") + name;
        for (auto* run : {benchmark::RegisterBenchmark(raw.c_str(), DeliveryRaw, protocol),
                          benchmark::RegisterBenchmark(library.c_str(), DeliveryLibrary, protocol)}) {
            run->ArgName("reports")
                ->Arg(reports)
                ->Iterations(1)
                ->Repetitions(5)
                ->ComputeStatistics("min", minimum)
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime();
        }
    }
    for (const auto& [name, protocol] : protocols) {
        benchmark::RegisterBenchmark((std::string("DeliveryPaired/") + name).c_str(), DeliveryPaired, protocol)
            ->ArgNames({"reports", "durable"})
            ->Args({reports, 1})
            ->Args({reports, 0})
            ->Iterations(1)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    }
    benchmark::RegisterBenchmark("DeliveryQueuedMemory", DeliveryQueuedMemory)
        ->ArgName("reports")
        ->Arg(1'000)
        ->Arg(10'000)
        ->Arg(100'000)
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    return true;
}();

}  // namespace
}  // namespace quarra
