#include "Scoring.hpp"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

namespace quarra::service {
namespace {

constexpr int kPerHundred = 5;
constexpr int kAmountCap = 50;
constexpr int kDeclinedAuthorization = 50;
constexpr int kFailedAddressCheck = 15;
constexpr int kFailedCardCheck = 15;
constexpr int kNoPayment = 30;
constexpr int kMaximumScore = 100;

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string money(double amount, const std::string& currency) {
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", amount);
    return std::string(text) + (currency.empty() ? "" : " " + currency);
}

}  // namespace

Evaluation scoreEvaluation(const nlohmann::json& request, int threshold) {
    Evaluation evaluation;
    auto add = [&evaluation](int points, std::string why) {
        evaluation.score += points;
        evaluation.insights.push_back(std::move(why) + " (+" + std::to_string(points) + ")");
    };

    double total = request["totalAmount"]["amount"].get<double>();
    // Hundreds counted in floating point and capped before converting, so a
    // huge total cannot overflow the integer.
    int amountPoints = static_cast<int>(std::min<double>(kAmountCap, std::floor(total / 100.0) * kPerHundred));
    if (amountPoints > 0) {
        add(amountPoints, "Order total " + money(total, request["totalAmount"]["currencyCode"].get<std::string>()));
    }

    const auto& cards = request["payments"]["creditCards"];
    for (const auto& card : cards) {
        auto codes = card.find("responseCodes");
        if (codes == card.end()) continue;
        auto lastFour = card["lastFour"].get<std::string>();
        auto authorization = lowerCase((*codes)["authorization"].get<std::string>());
        if (authorization != "00" && authorization != "approved") {
            add(kDeclinedAuthorization, "Authorization not approved for card ending " + lastFour);
        }
        if (lowerCase((*codes)["addressVerification"].get<std::string>()) == "n") {
            add(kFailedAddressCheck, "Address verification failed for card ending " + lastFour);
        }
        if (lowerCase((*codes)["cardVerificationValue"].get<std::string>()) == "n") {
            add(kFailedCardCheck, "Card verification failed for card ending " + lastFour);
        }
    }
    if (cards.empty() && request["payments"]["payPal"].empty()) add(kNoPayment, "No payment method");

    evaluation.score = std::min(evaluation.score, kMaximumScore);
    evaluation.guaranteeable = evaluation.score < threshold;
    evaluation.decision = evaluation.guaranteeable ? "Guaranteeable" : "NotGuaranteeable";
    if (evaluation.insights.empty()) evaluation.insights.push_back("No risk signals");
    return evaluation;
}

}  // namespace quarra::service
