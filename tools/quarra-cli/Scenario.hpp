#pragma once
// A scenario: the account to authenticate and the steps to play, checked
// completely before the first step runs.
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include <quarra/AuthType.hpp>
#include <quarra/Json.hpp>
#include <quarra/TransactionDocuments.hpp>

#include "StepTiming.hpp"
#include "TrackingScenario.hpp"

namespace quarra::cli {

// Waits for the session key and for the start of collection it triggers.
struct AuthenticateStep {
    Milliseconds timeout = kDefaultStepTimeout;
};

// Switches the manual path monitor. With a time-out, waits for the session
// key that the authentication completion receives after the change.
struct NetworkStep {
    bool satisfied = true;
    std::optional<Milliseconds> timeout;
};

struct LocationStep {
    double latitude = 0;
    double longitude = 0;
    Milliseconds timeout = kDefaultStepTimeout;
};

enum class ReportKind { userEvents, activityStream, accelerometer };

// A finished report dictionary, as a tracking control would hand it over.
struct ReportStep {
    ReportKind kind = ReportKind::userEvents;
    JSONDictionary event;
    Milliseconds timeout = kDefaultStepTimeout;
};

struct TransactionEventStep {
    std::string productCode;
    int64_t quantity = 0;
    double normalAmount = 0;
    std::string normalCurrencyCode;
    double discountAmount = 0;
    std::string discountCurrencyCode;
    bool giftCard = false;
    std::string productType;
    std::string uniqueCartID;
    std::string productDescription;
    std::string eventType;
    Milliseconds timeout = kDefaultStepTimeout;
};

// completeTransactionPostAuth, or with preAuthFirst its variant that
// pre-authorises the order first.
struct OrderCompletionStep {
    bool preAuthFirst = false;
    std::vector<CustomData> customData;
    std::string uniqueCartID;
    std::string orderNumber;
    std::string customerOrderStatus;
    TotalAmount totalAmount{0, ""};
    TotalAmount discountAmount{0, ""};
    Payments payment{{}, {}};
    std::vector<Shipping> shiping;
    AuthType authType = AuthType::unowned;
    Milliseconds timeout = kDefaultStepTimeout;
};

struct CancelOrderStep {
    std::string paymentStatus;
    std::string orderNumber;
    std::optional<std::string> transactionId;  // absent: the latest session key
    std::string orderStatus;
    std::string comments;
    Milliseconds timeout = kDefaultStepTimeout;
};

struct IgnoreDataCollectionStep {
    bool value = false;
};

struct WaitStep {
    Milliseconds duration{0};
};

// Until no report is in flight and the queue is empty.
struct DrainStep {
    Milliseconds timeout = kDefaultStepTimeout;
};

// The library's delivery snapshot, as it stands.
struct HealthStep {};

using StepAction = std::variant<AuthenticateStep, NetworkStep, LocationStep, ReportStep, TransactionEventStep,
                                OrderCompletionStep, CancelOrderStep, IgnoreDataCollectionStep, WaitStep, DrainStep,
                                HealthStep,
                                TextFieldStep, TextWatcherStep, TapButtonStep, AccelerometerSampleStep, PickerStep,
                                ScreenStep, TaggedScreenStep>;

struct Step {
    std::size_t number = 0;  // 1 for the first step
    std::string name;        // the "do" text
    StepAction action;
};

struct Scenario {
    std::string user;
    std::string secret;
    std::string customer;
    std::vector<Step> steps;
};

struct ScenarioRules {
    bool manualNetwork = false;    // "network" steps need the manual monitor
    bool scriptedSensors = false;  // "accelerometerSample" steps need the scripted accelerometer
};

// The scenario, or one message naming the first problem, e.g.
// step 3 ("location"): "latitude" must be a number from -90 to 90
std::variant<Scenario, std::string> parseScenario(const std::string& text, ScenarioRules rules);

}  // namespace quarra::cli
