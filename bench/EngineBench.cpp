// What the first calls into the library cost the host's thread on a fresh
// data directory: building the library (the first defaultService()) and
// authenticateUser. The work they start runs on the library's threads.
#include <benchmark/benchmark.h>

#include "collector/Engine.hpp"
#include "support/CapturingConsole.hpp"
#include "support/TempDir.hpp"

namespace quarra {
namespace {

Options freshOptions(const testing::TempDir& directory) {
    Options options;
    options.dataDirectory = directory.path() / "data";
    // Nothing listens there: only the caller's side is measured.
    const std::string nowhere = "https://127.0.0.1:9";
    options.origins = ServiceOrigins{nowhere, nowhere, nowhere, nowhere};
    options.console = std::make_shared<testing::CapturingConsole>();
    return options;
}

void BM_FirstUseBuildsTheLibrary(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto directory = std::make_unique<testing::TempDir>();
        auto options = freshOptions(*directory);
        state.ResumeTiming();
        auto engine = std::make_unique<Engine>(std::move(options));
        state.PauseTiming();
        engine.reset();
        directory.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FirstUseBuildsTheLibrary)->Unit(benchmark::kMicrosecond)->Iterations(200);

void BM_AuthenticateUserCallerTime(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto directory = std::make_unique<testing::TempDir>();
        auto engine = std::make_unique<Engine>(freshOptions(*directory));
        state.ResumeTiming();
        engine->service().authenticateUser("bench", "secret", "Acme", {});
        state.PauseTiming();
        engine->shutdown(std::chrono::milliseconds(0));
        engine.reset();
        directory.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_AuthenticateUserCallerTime)->Unit(benchmark::kMicrosecond)->Iterations(200);

}  // namespace
}  // namespace quarra
