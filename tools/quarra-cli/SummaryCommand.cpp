// quarra-cli summary: what a local quarra-service stored, in a few lines.
#include <cinttypes>
#include <cstdio>
#include <map>

#include <fmt/format.h>

#include "AdminClient.hpp"
#include "Commands.hpp"

namespace quarra::cli {
namespace {

std::string textOf(const JSONDictionary& object, const char* key) {
    auto found = object.find(key);
    if (found == object.end()) return "";
    if (found->is_string()) return found->get<std::string>();
    return found->dump();
}

const JSONDictionary& arrayOf(const JSONDictionary& object, const char* key) {
    static const JSONDictionary kEmpty = JSONDictionary::array();
    auto found = object.find(key);
    return found != object.end() && found->is_array() ? *found : kEmpty;
}

std::string amountText(const JSONDictionary& transaction) {
    auto amount = transaction.find("amount");
    if (amount == transaction.end() || !amount->is_number()) return "?";
    return fmt::format("{:.2f} {}", amount->get<double>(), textOf(transaction, "currencyCode"));
}

void printSession(const JSONDictionary& detail) {
    const auto& session = detail.contains("session") && detail["session"].is_object() ? detail["session"] : detail;
    fmt::print("  Session {}  account {}, customer \"{}\"\n", textOf(session, "id"), textOf(session, "account"),
               textOf(session, "customerName"));

    std::map<std::string, int> perKind;
    for (const auto& report : arrayOf(detail, "reports")) {
        if (report.is_object()) ++perKind[textOf(report, "reportKey")];
    }
    fmt::print("    Reports: {}\n", arrayOf(detail, "reports").size());
    for (const auto& [kind, count] : perKind) fmt::print("      {:<20} {}\n", kind, count);
    if (auto repeats = detail.find("repeatsAbsorbed"); repeats != detail.end() && repeats->is_number_integer() &&
                                                       repeats->get<int64_t>() > 0) {
        fmt::print("    Repeats absorbed (sent again, stored once): {}\n", repeats->get<int64_t>());
    }
    fmt::print("    Log records: {}\n", arrayOf(detail, "logRecords").size());
    fmt::print("    Transaction events: {}\n", arrayOf(detail, "transactionEvents").size());

    const auto& transactions = arrayOf(detail, "transactions");
    fmt::print("    Transactions: {}\n", transactions.size());
    for (const auto& transaction : transactions) {
        if (!transaction.is_object()) continue;
        fmt::print("      order {}  {}  {}  score {}  {}  status {}\n", textOf(transaction, "orderNumber"),
                   textOf(transaction, "evaluationStep"), amountText(transaction), textOf(transaction, "score"),
                   textOf(transaction, "evaluationDecision"), textOf(transaction, "status"));
    }
}

}  // namespace

int printSummary(const SummaryArguments& arguments) {
    AdminClient admin(arguments.serviceUrl, arguments.caFile);
    auto overview = admin.get("/admin/sessions");
    if (!overview.body) {
        complain(overview.problem);
        return kExitTimedOut;
    }
    const auto& sessions = arrayOf(*overview.body, "sessions");
    fmt::print("What the service stored: {} session{}\n", sessions.size(), sessions.size() == 1 ? "" : "s");
    for (const auto& session : sessions) {
        auto id = session.is_object() ? textOf(session, "id") : "";
        if (id.empty()) continue;
        auto detail = admin.get("/admin/sessions/" + id);
        if (!detail.body) {
            complain(detail.problem);
            return kExitTimedOut;
        }
        printSession(*detail.body);
    }
    if (auto logs = admin.get("/admin/logs"); logs.body) {
        fmt::print("  Log records in all (with or without a session): {}\n", arrayOf(*logs.body, "logRecords").size());
    }
    std::fflush(stdout);
    return kExitOk;
}

}  // namespace quarra::cli
