#pragma once
// Everything the service keeps: sessions, reports, log records, transaction
// events and evaluated transactions, in one SQLite file. Every operation is
// serialised by one mutex; failures throw std::runtime_error.
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "Database.hpp"

namespace quarra::service {

struct SessionRecord {
    std::string id;  // the transaction identifier handed out by the initiate call
    std::string account;
    std::string customerName;
    std::string deviceId;
    std::string ipV4Address;
    std::string ipV6Address;
    std::string remoteAddress;
    std::string userAgent;
    std::string createdAt;
};

struct EvaluationRecord {
    std::string sessionId;
    std::string orderNumber;
    std::string uniqueCartId;
    std::string evaluationStep;
    double amount = 0;
    std::string currencyCode;
    int score = 0;
    std::string decision;
    std::string request;  // the evaluation document as received
};

class Storage {
public:
    explicit Storage(const std::filesystem::path& file);

    void addSession(const SessionRecord& session);
    std::optional<SessionRecord> session(const std::string& id);

    // Stores a report, unless one with the same idempotency key (when given)
    // is stored already: that repeat is only counted. True when stored.
    bool addReport(const std::string& sessionId, const std::string& apiName, const std::string& reportKey,
                   const std::string& envelope, const std::string& idempotencyKey = {});
    void addLogRecord(const std::string& sessionKey, const std::string& logData);
    void addTransactionEvent(const std::string& sessionId, const std::string& uniqueCartId,
                             const std::string& eventType, const std::string& request);

    // A later evaluation of the same order replaces the earlier one.
    void saveEvaluation(const EvaluationRecord& evaluation);
    // False when the session holds no evaluated order of that number.
    bool updateStatus(const std::string& sessionId, const std::string& orderNumber, const std::string& status,
                      const std::string& paymentStatus, const std::string& comments);

    // Views for the admin endpoints; stored documents are returned parsed.
    nlohmann::json sessionsOverview();
    std::optional<nlohmann::json> sessionDetail(const std::string& id);
    nlohmann::json logRecords();

private:
    nlohmann::json logRecordsLocked(const std::string& where, const std::vector<SqlValue>& parameters);

    std::mutex mutex_;
    Database db_;
};

}  // namespace quarra::service
