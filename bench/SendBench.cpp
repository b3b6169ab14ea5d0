// What a report costs the host's thread, and how fast reports reach a local
// HTTPS collector compared with a bare libcurl multi client.
#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <condition_variable>
#include <mutex>

#include <quarra/testing/MemorySecureItemStore.hpp>

#include "base/JsonText.hpp"
#include "collector/Engine.hpp"
#include "support/CapturingConsole.hpp"
#include "support/HttpsTestServer.hpp"
#include "support/TempDir.hpp"

namespace quarra {
namespace {

constexpr const char* kAccepted = R"({"ResponseCode":"0","ResponseText":"stored"})";

JSONDictionary sevenEntryEvent() {
    return JSONDictionary{{"event", "ButtonClick"},      {"trackingAction", "LoginAttempt"}, {"force", "0.5"},
                          {"x", "120.5"},                {"y", "480.0"},                    {"oriantation", "portrait"},
                          {"time", "2026-12-06 09:00:00.000"}};
}

// The library's engine over the real curl client and a local collector, with
// a session as if it had started: reports go through the public facade. The
// outbox is the durable one on disk, or, with `durable` false, memory only.
struct LocalCollector {
    explicit LocalCollector(bool durable = true)
        : server({{"POST", "/api/data/collect/.*",
                   [](const httplib::Request&, httplib::Response& response) {
                       response.set_content(kAccepted, "application/json");
                   }}}),
          urls(BaseUrls::from(ServiceOrigins{server.baseUrl(), server.baseUrl(), server.baseUrl(), server.baseUrl()})) {
        Options options;
        options.origins = ServiceOrigins{server.baseUrl(), server.baseUrl(), server.baseUrl(), server.baseUrl()};
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

    DataCollectorService& service() { return engine->service(); }

    testing::HttpsTestServer server;
    BaseUrls urls;
    testing::TempDir directory;
    std::unique_ptr<Engine> engine;
};

// Counts completions and lets the benchmark wait for a number of them.
struct Countdown {
    void done() {
        std::lock_guard lock(mutex);
        ++count;
        changed.notify_all();
    }
    bool waitFor(size_t target, std::chrono::seconds limit) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, limit, [&] { return count >= target; });
    }
    std::mutex mutex;
    std::condition_variable changed;
    size_t count = 0;
};

// (a) The host thread's time in sendUserEvents for a seven-entry report.
void BM_SendUserEventsCallerTime(benchmark::State& state) {
    LocalCollector collector;
    auto counted = std::make_shared<Countdown>();
    const auto event = sevenEntryEvent();
    size_t sent = 0;
    for (auto _ : state) {
        collector.service().sendUserEvents(event, [counted](bool) { counted->done(); });
        ++sent;
    }
    // After the timed loop: every report must still be answered.
    if (!counted->waitFor(sent, std::chrono::seconds(120))) state.SkipWithError("reports were not all answered");
}
BENCHMARK(BM_SendUserEventsCallerTime)->Iterations(2000)->Repetitions(5)->ReportAggregatesOnly(true);

constexpr size_t kThroughputReports = 20'000;

// (b) Delivery of 20,000 reports through the library, until every answer is
// in: over the durable outbox (every report written ahead), and over memory.
void BM_DeliveryThroughputLibrary(benchmark::State& state) {
    LocalCollector collector(state.range(0) != 0);
    const auto event = sevenEntryEvent();
    for (auto _ : state) {
        auto counted = std::make_shared<Countdown>();
        for (size_t i = 0; i < kThroughputReports; ++i) {
            collector.service().sendUserEvents(event, [counted](bool) { counted->done(); });
        }
        if (!counted->waitFor(kThroughputReports, std::chrono::seconds(300))) state.SkipWithError("time-out");
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kThroughputReports));
}
BENCHMARK(BM_DeliveryThroughputLibrary)
    ->ArgName("durable")
    ->Arg(1)
    ->Arg(0)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Resident memory of this process, in bytes.
long residentBytes() {
    long pages = 0, resident = 0;
    if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(statm);
    }
    return resident * ::sysconf(_SC_PAGESIZE);
}

// (c) What a queued report costs: 10,000 reports made before any session
// wait in the outbox; bytes on disk and resident memory per report.
void BM_QueuedReportFootprint(benchmark::State& state) {
    constexpr size_t kQueued = 10'000;
    for (auto _ : state) {
        LocalCollector collector;
        collector.engine->collector->setSessionKey("");  // no session: everything waits
        const long before = residentBytes();
        auto counted = std::make_shared<Countdown>();
        const auto event = sevenEntryEvent();
        for (size_t i = 0; i < kQueued; ++i) {
            collector.service().sendUserEvents(event, [counted](bool) { counted->done(); });
        }
        if (!counted->waitFor(kQueued, std::chrono::seconds(120))) state.SkipWithError("time-out");
        collector.service().flush(std::chrono::seconds(60));
        const long after = residentBytes();
        uint64_t onDisk = 0;
        for (const auto& file : std::filesystem::directory_iterator(collector.directory.path())) {
            if (file.path().filename().string().rfind("outbox.sqlite", 0) == 0) onDisk += file.file_size();
        }
        state.counters["queued"] = static_cast<double>(collector.service().health().queued);
        state.counters["diskBytesPerReport"] = static_cast<double>(onDisk) / kQueued;
        state.counters["rssBytesPerReport"] = static_cast<double>(after - before) / kQueued;
    }
}
BENCHMARK(BM_QueuedReportFootprint)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same bodies posted by a bare libcurl multi client with the library's
// settings: one multi handle, at most 6 connections to the host.
void BM_DeliveryThroughputRawCurl(benchmark::State& state) {
    LocalCollector collector;  // only its server is used
    JSONDictionary envelope = {{"events", JSONDictionary::array({sevenEntryEvent()})},
                               {"sessionId", "bench-session"},
                               {"clientName", CollectionService::kClientName}};
    const std::string body = compactJSON(envelope).value();
    const std::string url = collector.urls.collectorProduction + "userEvents";
    const std::string caFile = testing::testCAFile().string();
    for (auto _ : state) {
        CURLM* multi = curl_multi_init();
        curl_multi_setopt(multi, CURLMOPT_MAX_HOST_CONNECTIONS, 6L);
        curl_multi_setopt(multi, CURLMOPT_PIPELINING, CURLPIPE_MULTIPLEX);
        curl_slist* headers = curl_slist_append(nullptr, "Content-Type: application/json");
        auto discard = +[](char*, size_t size, size_t count, void*) { return size * count; };
        auto addOne = [&] {
            CURL* easy = curl_easy_init();
            curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
            curl_easy_setopt(easy, CURLOPT_POSTFIELDS, body.c_str());
            curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE, static_cast<long>(body.size()));
            curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers);
            curl_easy_setopt(easy, CURLOPT_CAINFO, caFile.c_str());
            curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_2TLS);
            curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, discard);
            curl_multi_add_handle(multi, easy);
        };
        // A window of transfers keeps the 6 connections busy without making
        // libcurl walk a list of thousands of waiting handles.
        constexpr size_t kWindow = 64;
        size_t added = 0;
        for (; added < kWindow && added < kThroughputReports; ++added) addOne();
        size_t finished = 0;
        while (finished < kThroughputReports) {
            int running = 0;
            curl_multi_perform(multi, &running);
            int queued = 0;
            while (CURLMsg* message = curl_multi_info_read(multi, &queued)) {
                if (message->msg != CURLMSG_DONE) continue;
                curl_multi_remove_handle(multi, message->easy_handle);
                curl_easy_cleanup(message->easy_handle);
                ++finished;
                if (added < kThroughputReports) {
                    addOne();
                    ++added;
                }
            }
            if (finished < kThroughputReports) curl_multi_poll(multi, nullptr, 0, 100, nullptr);
        }
        curl_slist_free_all(headers);
        curl_multi_cleanup(multi);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kThroughputReports));
}
BENCHMARK(BM_DeliveryThroughputRawCurl)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace quarra
