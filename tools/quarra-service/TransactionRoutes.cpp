// The transaction platform: events per session, evaluation with the rule in
// Scoring.hpp, and the status change of an evaluated order.
#include "HttpJson.hpp"
#include "Identifiers.hpp"
#include "Routes.hpp"
#include "Scoring.hpp"
#include "TransactionDocuments.hpp"

namespace quarra::service {
namespace {

using Json = nlohmann::json;

constexpr const char* kApiVersion = "1.0";

// The session named in a request, when it exists and belongs to the caller's
// account; otherwise a 404 ErrorModel has been answered.
std::optional<SessionRecord> ownedSession(ServiceContext& context, const std::string& id, const std::string& account,
                                          httplib::Response& res) {
    auto session = context.storage.session(id);
    if (!session || session->account != account) {
        sendError(res, ReplyStyle::platform, 404, "Unknown transactionId: " + id);
        return std::nullopt;
    }
    return session;
}

// Bearer, JSON body and document checks shared by the three calls.
std::optional<Json> checkedRequest(ServiceContext& context, const httplib::Request& req, httplib::Response& res,
                                   std::optional<std::string>& account,
                                   std::optional<std::string> (*problemIn)(const Json&)) {
    account = requireBearer(context, req, res);
    if (!account) return std::nullopt;
    auto body = readJsonObject(req, res);
    if (!body) return std::nullopt;
    if (auto problem = problemIn(*body)) {
        sendError(res, ReplyStyle::platform, 400, *problem);
        return std::nullopt;
    }
    return body;
}

void transactionEvent(ServiceContext& context, const httplib::Request& req, httplib::Response& res) {
    std::optional<std::string> account;
    auto body = checkedRequest(context, req, res, account, problemInTransactionEvent);
    if (!body) return;
    auto session = ownedSession(context, req.matches[1].str(), *account, res);
    if (!session) return;
    context.storage.addTransactionEvent(session->id, (*body)["uniqueCartId"].get<std::string>(),
                                        (*body)["eventType"].get<std::string>(), req.body);
    sendJson(res, 200, {{"apiVersion", kApiVersion}, {"time", nowTimestamp()}, {"data", {{"transactionId", session->id}}}});
}

void evaluate(ServiceContext& context, const httplib::Request& req, httplib::Response& res) {
    std::optional<std::string> account;
    auto body = checkedRequest(context, req, res, account, problemInEvaluation);
    if (!body) return;
    auto session = ownedSession(context, req.matches[1].str(), *account, res);
    if (!session) return;

    auto evaluation = scoreEvaluation(*body, context.settings.guaranteeThreshold);
    context.storage.saveEvaluation({
        .sessionId = session->id,
        .orderNumber = (*body)["orderNumber"].get<std::string>(),
        .uniqueCartId = (*body)["uniqueCartId"].get<std::string>(),
        .evaluationStep = (*body)["transactionEvaluationStep"].get<std::string>(),
        .amount = (*body)["totalAmount"]["amount"].get<double>(),
        .currencyCode = (*body)["totalAmount"]["currencyCode"].get<std::string>(),
        .score = evaluation.score,
        .decision = evaluation.decision,
        .request = req.body,
    });

    auto insights = Json::array();
    for (const auto& insight : evaluation.insights) insights.push_back({{"description", insight}});
    sendJson(res, 200,
             {{"apiVersion", kApiVersion},
              {"time", nowTimestamp()},
              {"data",
               {{"transactionId", session->id},
                {"score", evaluation.score},
                {"isGuaranteeable", evaluation.guaranteeable ? "true" : "false"},
                {"evaluationDecision", evaluation.decision},
                {"scoreInsights", std::move(insights)}}}});
}

void transactionStatus(ServiceContext& context, const httplib::Request& req, httplib::Response& res) {
    std::optional<std::string> account;
    auto body = checkedRequest(context, req, res, account, problemInCancellation);
    if (!body) return;
    auto session = ownedSession(context, (*body)["transactionId"].get<std::string>(), *account, res);
    if (!session) return;
    auto orderNumber = (*body)["orderNumber"].get<std::string>();
    auto orderStatus = (*body)["orderStatus"].get<std::string>();
    auto status = orderStatus.empty() ? std::string("Cancelled") : orderStatus;
    if (!context.storage.updateStatus(session->id, orderNumber, status, (*body)["paymentStatus"].get<std::string>(),
                                      (*body)["comments"].get<std::string>())) {
        return sendError(res, ReplyStyle::platform, 404, "Unknown orderNumber: " + orderNumber);
    }
    sendJson(res, 200, {{"apiVersion", kApiVersion}, {"time", nowTimestamp()}, {"data", {{"transactionStatus", status}}}});
}

}  // namespace

void installTransactionRoutes(httplib::Server& server, ServiceContext& context) {
    server.Patch("/api/v1/transactions/transactionStatus", withFaults(context, [&context](const auto& req, auto& res) {
                     transactionStatus(context, req, res);
                 }));
    server.Post(R"(/api/v1/transactions/evaluate/([^/]*))", withFaults(context, [&context](const auto& req, auto& res) {
                    evaluate(context, req, res);
                }));
    server.Put(R"(/api/v1/transactions/([^/]*))", withFaults(context, [&context](const auto& req, auto& res) {
                   transactionEvent(context, req, res);
               }));
}

}  // namespace quarra::service
