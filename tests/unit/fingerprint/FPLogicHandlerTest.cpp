#include <gtest/gtest.h>

#include <mutex>

#include "config/SessionConfigManager.hpp"
#include "fingerprint/FPLogicHandler.hpp"

namespace quarra {
namespace {

using Ids = std::pair<std::optional<std::string>, std::optional<std::string>>;

class MemoryStorage final : public DataStorageProtocol {
public:
    void saveVisitorId(const std::string& value) override {
        std::lock_guard lock(mutex_);
        visitor_ = value;
    }
    void saveRequestId(const std::string& value) override {
        std::lock_guard lock(mutex_);
        request_ = value;
    }
    std::optional<std::string> visitorId() const override {
        std::lock_guard lock(mutex_);
        return visitor_;
    }
    std::optional<std::string> requestId() const override {
        std::lock_guard lock(mutex_);
        return request_;
    }

private:
    mutable std::mutex mutex_;
    std::optional<std::string> visitor_, request_;
};

// Answers every fetch later, when the test says so, with the scripted pair.
class ScriptedDataSource final : public FingerprintDataSource {
public:
    void fetchVisitorId(Completion completion) override { pending.push_back(std::move(completion)); }
    void answer(Ids ids) {
        auto waiting = std::move(pending);
        pending.clear();
        for (auto& completion : waiting) completion(ids.first, ids.second);
    }
    std::vector<Completion> pending;
};

struct Flags {
    std::optional<bool> fppEnable, flushStoredData, visitorIDExpired;
};

struct Outcome {
    bool fetched = false;
    int completions = 0;
    Ids reported;
    Ids stored;
};

class FPLogicHandlerTest : public ::testing::Test {
protected:
    Outcome run(Flags flags, std::optional<Ids> storedBefore, Ids freshAnswer) {
        SessionConfiguration configuration;
        configuration.fppEnable = flags.fppEnable;
        configuration.flushStoredData = flags.flushStoredData;
        configuration.visitorIDExpired = flags.visitorIDExpired;
        configuration.fPJSApiToken = "key";
        config.replace(configuration);
        storage = std::make_shared<MemoryStorage>();
        if (storedBefore) {
            if (storedBefore->first) storage->saveVisitorId(*storedBefore->first);
            if (storedBefore->second) storage->saveRequestId(*storedBefore->second);
        }
        source = std::make_shared<ScriptedDataSource>();
        auto handler = FPLogicHandler::create(storage, source, nullptr, &config);

        Outcome outcome;
        handler->collectFingerprint([&](auto visitorId, auto requestId) {
            ++outcome.completions;
            outcome.reported = {visitorId, requestId};
        });
        outcome.fetched = !source->pending.empty();
        source->answer(freshAnswer);
        outcome.stored = {storage->visitorId(), storage->requestId()};
        return outcome;
    }

    SessionConfigManager config;
    std::shared_ptr<MemoryStorage> storage;
    std::shared_ptr<ScriptedDataSource> source;
};

const Ids kOld{"OldVisitor", "OldRequest"};
const Ids kNew{"NewVisitor", "NewRequest"};
const Ids kFailed{std::nullopt, std::nullopt};
const Ids kNothing{std::nullopt, std::nullopt};

TEST_F(FPLogicHandlerTest, DecisionTable) {
    struct Case {
        const char* what;
        Flags flags;
        std::optional<Ids> stored;
        Ids fresh;
        bool fetched;
        int completions;
        Ids reported;
        Ids storedAfter;
    };
    const Case cases[] = {
        {"no configuration applied", {}, kOld, kNew, false, 0, kNothing, kOld},
        {"enabled, no flags, empty store: nothing at all", {true, false, false}, std::nullopt, kNew, false, 0, kNothing,
         kNothing},
        {"enabled, no flags, stored: the stored pair at once", {true, false, false}, kOld, kNew, false, 1, kOld, kOld},
        {"enabled, stored visitor without request", {true, false, false}, Ids{"OldVisitor", std::nullopt}, kNew, false,
         1, Ids{"OldVisitor", std::nullopt}, Ids{"OldVisitor", std::nullopt}},
        {"disabled, stored: nothing", {false, false, false}, kOld, kNew, false, 0, kNothing, kOld},
        {"flush while disabled: nothing even when expired", {false, true, true}, kOld, kNew, false, 0, kNothing, kOld},
        {"flush, enabled flag absent: nothing", {std::nullopt, true, std::nullopt}, kOld, kNew, false, 0, kNothing,
         kOld},
        {"flush, enabled: fresh identification", {true, true, false}, kOld, kNew, true, 1, kNew, kNew},
        {"expired, enabled: fresh identification", {true, false, true}, std::nullopt, kNew, true, 1, kNew, kNew},
        {"expired, disabled: nothing", {false, false, true}, kOld, kNew, false, 0, kNothing, kOld},
        {"fresh identification fails, earlier identifiers stored", {true, false, true}, kOld, kFailed, true, 1, kOld,
         kOld},
        {"fresh identification fails, nothing stored", {true, true, false}, std::nullopt, kFailed, true, 1, kNothing,
         kNothing},
        {"empty new request identifier keeps the old one", {true, false, true}, kOld, Ids{"NewVisitor", ""}, true, 1,
         Ids{"NewVisitor", "OldRequest"}, Ids{"NewVisitor", "OldRequest"}},
        {"empty new visitor identifier keeps the old one", {true, true, false}, kOld, Ids{"", "NewRequest"}, true, 1,
         Ids{"OldVisitor", "NewRequest"}, Ids{"OldVisitor", "NewRequest"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto outcome = run(c.flags, c.stored, c.fresh);
        EXPECT_EQ(outcome.fetched, c.fetched);
        EXPECT_EQ(outcome.completions, c.completions);
        EXPECT_EQ(outcome.reported, c.reported);
        EXPECT_EQ(outcome.stored, c.storedAfter);
    }
}

TEST_F(FPLogicHandlerTest, AHandlerReleasedBeforeTheAnswerStoresAndReportsNothing) {
    SessionConfiguration configuration;
    configuration.fppEnable = true;
    configuration.visitorIDExpired = true;
    config.replace(configuration);
    storage = std::make_shared<MemoryStorage>();
    source = std::make_shared<ScriptedDataSource>();
    int completions = 0;
    {
        auto handler = FPLogicHandler::create(storage, source, nullptr, &config);
        handler->collectFingerprint([&](auto, auto) { ++completions; });
    }
    source->answer(kNew);
    EXPECT_EQ(completions, 0);
    EXPECT_FALSE(storage->visitorId());
}

TEST_F(FPLogicHandlerTest, EachStartRunsTheDecisionAgainstTheLatestConfiguration) {
    storage = std::make_shared<MemoryStorage>();
    source = std::make_shared<ScriptedDataSource>();
    auto handler = FPLogicHandler::create(storage, source, nullptr, &config);
    std::vector<Ids> reports;
    auto record = [&](auto visitorId, auto requestId) { reports.push_back({visitorId, requestId}); };

    SessionConfiguration configuration;
    configuration.fppEnable = true;
    configuration.visitorIDExpired = true;
    config.replace(configuration);
    handler->collectFingerprint(record);
    source->answer(kNew);

    configuration.visitorIDExpired = false;
    config.replace(configuration);
    handler->collectFingerprint(record);  // the identifiers kept by the first run
    EXPECT_TRUE(source->pending.empty());
    EXPECT_EQ(reports, (std::vector<Ids>{kNew, kNew}));
}

}  // namespace
}  // namespace quarra
