#pragma once
// The evaluation rule (also in the README):
//   +5 for every whole 100 of the order total, at most 50;
//   +50 for each card whose authorization code is neither "00" nor "approved";
//   +15 for each card whose address verification is "N";
//   +15 for each card whose card verification value is "N";
//   +30 when the order carries no card and no PayPal payment.
// The score is capped at 100. Below the threshold (50 unless configured) the
// order is "Guaranteeable", otherwise "NotGuaranteeable".
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace quarra::service {

struct Evaluation {
    int score = 0;
    bool guaranteeable = false;
    std::string decision;               // "Guaranteeable" or "NotGuaranteeable"
    std::vector<std::string> insights;  // one line per rule that added to the score
};

// `request` is an evaluation document that has passed problemInEvaluation().
Evaluation scoreEvaluation(const nlohmann::json& request, int threshold);

}  // namespace quarra::service
