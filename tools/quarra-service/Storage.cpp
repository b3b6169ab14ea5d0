#include "Storage.hpp"

#include <map>

#include "HttpJson.hpp"
#include "Identifiers.hpp"

namespace quarra::service {
namespace {

constexpr const char* kSchema = R"sql(
PRAGMA journal_mode = WAL;
PRAGMA foreign_keys = ON;
CREATE TABLE IF NOT EXISTS sessions (
  id TEXT PRIMARY KEY,
  account TEXT NOT NULL,
  customer_name TEXT NOT NULL,
  device_id TEXT NOT NULL,
  ip_v4_address TEXT NOT NULL,
  ip_v6_address TEXT NOT NULL,
  remote_address TEXT NOT NULL,
  user_agent TEXT NOT NULL,
  created_at TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS reports (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  session_id TEXT NOT NULL REFERENCES sessions(id),
  api_name TEXT NOT NULL,
  report_key TEXT NOT NULL,
  envelope TEXT NOT NULL,
  received_at TEXT NOT NULL);
CREATE INDEX IF NOT EXISTS reports_by_session ON reports(session_id);
CREATE TABLE IF NOT EXISTS report_keys (
  idempotency_key TEXT PRIMARY KEY,
  report_id INTEGER NOT NULL REFERENCES reports(id),
  repeats INTEGER NOT NULL DEFAULT 0);
CREATE TABLE IF NOT EXISTS log_records (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  session_key TEXT NOT NULL,
  log_data TEXT NOT NULL,
  received_at TEXT NOT NULL);
CREATE INDEX IF NOT EXISTS log_records_by_session ON log_records(session_key);
CREATE TABLE IF NOT EXISTS transaction_events (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  session_id TEXT NOT NULL REFERENCES sessions(id),
  unique_cart_id TEXT NOT NULL,
  event_type TEXT NOT NULL,
  request TEXT NOT NULL,
  received_at TEXT NOT NULL);
CREATE INDEX IF NOT EXISTS transaction_events_by_session ON transaction_events(session_id);
CREATE TABLE IF NOT EXISTS transactions (
  session_id TEXT NOT NULL REFERENCES sessions(id),
  order_number TEXT NOT NULL,
  unique_cart_id TEXT NOT NULL,
  evaluation_step TEXT NOT NULL,
  amount REAL NOT NULL,
  currency_code TEXT NOT NULL,
  score INTEGER NOT NULL,
  decision TEXT NOT NULL,
  status TEXT NOT NULL,
  payment_status TEXT NOT NULL DEFAULT '',
  comments TEXT NOT NULL DEFAULT '',
  request TEXT NOT NULL,
  created_at TEXT NOT NULL,
  updated_at TEXT NOT NULL,
  PRIMARY KEY (session_id, order_number));
PRAGMA user_version = 1;
)sql";

// A stored document parsed back; text that no longer parses is shown as it is.
nlohmann::json storedDocument(const std::string& text) {
    auto parsed = parseJsonText(text);
    return parsed ? *parsed : nlohmann::json(text);
}

nlohmann::json sessionJson(const Database::Statement& row) {
    return {{"id", row.text(0)},           {"account", row.text(1)},       {"customerName", row.text(2)},
            {"deviceId", row.text(3)},     {"ipV4Address", row.text(4)},   {"ipV6Address", row.text(5)},
            {"remoteAddress", row.text(6)}, {"userAgent", row.text(7)},    {"createdAt", row.text(8)}};
}

constexpr const char* kSessionColumns =
    "id, account, customer_name, device_id, ip_v4_address, ip_v6_address, remote_address, user_agent, created_at";

}  // namespace

Storage::Storage(const std::filesystem::path& file) : db_(file) { db_.execute(kSchema); }

void Storage::addSession(const SessionRecord& s) {
    std::lock_guard lock(mutex_);
    db_.run(std::string("INSERT INTO sessions (") + kSessionColumns + ") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)",
            {s.id, s.account, s.customerName, s.deviceId, s.ipV4Address, s.ipV6Address, s.remoteAddress, s.userAgent,
             s.createdAt});
}

std::optional<SessionRecord> Storage::session(const std::string& id) {
    std::lock_guard lock(mutex_);
    auto row = db_.prepare(std::string("SELECT ") + kSessionColumns + " FROM sessions WHERE id = ?", {id});
    if (!row.step()) return std::nullopt;
    return SessionRecord{row.text(0), row.text(1), row.text(2), row.text(3), row.text(4),
                         row.text(5), row.text(6), row.text(7), row.text(8)};
}

bool Storage::addReport(const std::string& sessionId, const std::string& apiName, const std::string& reportKey,
                        const std::string& envelope, const std::string& idempotencyKey) {
    std::lock_guard lock(mutex_);
    if (!idempotencyKey.empty()) {
        // A key seen before: the report is already stored; count the repeat.
        if (db_.run("UPDATE report_keys SET repeats = repeats + 1 WHERE idempotency_key = ?", {idempotencyKey}) > 0) {
            return false;
        }
    }
    db_.run("INSERT INTO reports (session_id, api_name, report_key, envelope, received_at) VALUES (?, ?, ?, ?, ?)",
            {sessionId, apiName, reportKey, envelope, nowTimestamp()});
    if (!idempotencyKey.empty()) {
        db_.run("INSERT INTO report_keys (idempotency_key, report_id) VALUES (?, last_insert_rowid())", {idempotencyKey});
    }
    return true;
}

void Storage::addLogRecord(const std::string& sessionKey, const std::string& logData) {
    std::lock_guard lock(mutex_);
    db_.run("INSERT INTO log_records (session_key, log_data, received_at) VALUES (?, ?, ?)",
            {sessionKey, logData, nowTimestamp()});
}

void Storage::addTransactionEvent(const std::string& sessionId, const std::string& uniqueCartId,
                                  const std::string& eventType, const std::string& request) {
    std::lock_guard lock(mutex_);
    db_.run("INSERT INTO transaction_events (session_id, unique_cart_id, event_type, request, received_at) "
            "VALUES (?, ?, ?, ?, ?)",
            {sessionId, uniqueCartId, eventType, request, nowTimestamp()});
}

void Storage::saveEvaluation(const EvaluationRecord& e) {
    std::lock_guard lock(mutex_);
    auto now = nowTimestamp();
    db_.run("INSERT INTO transactions (session_id, order_number, unique_cart_id, evaluation_step, amount, "
            "currency_code, score, decision, status, request, created_at, updated_at) "
            "VALUES (?, ?, ?, ?, ?, ?, ?, ?, 'Evaluated', ?, ?, ?) "
            "ON CONFLICT (session_id, order_number) DO UPDATE SET unique_cart_id = excluded.unique_cart_id, "
            "evaluation_step = excluded.evaluation_step, amount = excluded.amount, "
            "currency_code = excluded.currency_code, score = excluded.score, decision = excluded.decision, "
            "status = 'Evaluated', request = excluded.request, updated_at = excluded.updated_at",
            {e.sessionId, e.orderNumber, e.uniqueCartId, e.evaluationStep, e.amount, e.currencyCode,
             std::int64_t{e.score}, e.decision, e.request, now, now});
}

bool Storage::updateStatus(const std::string& sessionId, const std::string& orderNumber, const std::string& status,
                           const std::string& paymentStatus, const std::string& comments) {
    std::lock_guard lock(mutex_);
    return db_.run("UPDATE transactions SET status = ?, payment_status = ?, comments = ?, updated_at = ? "
                   "WHERE session_id = ? AND order_number = ?",
                   {status, paymentStatus, comments, nowTimestamp(), sessionId, orderNumber}) > 0;
}

nlohmann::json Storage::sessionsOverview() {
    std::lock_guard lock(mutex_);
    auto rows = db_.prepare(std::string("SELECT ") + kSessionColumns +
                            ", (SELECT COUNT(*) FROM reports r WHERE r.session_id = s.id)"
                            ", (SELECT COUNT(*) FROM log_records l WHERE l.session_key = s.id)"
                            ", (SELECT COUNT(*) FROM transaction_events e WHERE e.session_id = s.id)"
                            ", (SELECT COUNT(*) FROM transactions t WHERE t.session_id = s.id)"
                            ", (SELECT COALESCE(SUM(k.repeats), 0) FROM report_keys k JOIN reports r ON r.id = k.report_id"
                            " WHERE r.session_id = s.id)"
                            " FROM sessions s ORDER BY created_at, rowid");
    auto sessions = nlohmann::json::array();
    while (rows.step()) {
        auto session = sessionJson(rows);
        session["reportCount"] = rows.integer(9);
        session["logRecordCount"] = rows.integer(10);
        session["transactionEventCount"] = rows.integer(11);
        session["transactionCount"] = rows.integer(12);
        session["repeatsAbsorbed"] = rows.integer(13);
        session["reportsByKind"] = nlohmann::json::object();
        sessions.push_back(std::move(session));
    }
    // Counts per report key, for the debugger's overview.
    std::map<std::string, std::size_t> positions;
    for (std::size_t i = 0; i < sessions.size(); ++i) positions[sessions[i]["id"].get<std::string>()] = i;
    auto kinds = db_.prepare("SELECT session_id, report_key, COUNT(*) FROM reports GROUP BY session_id, report_key");
    while (kinds.step()) {
        auto found = positions.find(kinds.text(0));
        if (found != positions.end()) sessions[found->second]["reportsByKind"][kinds.text(1)] = kinds.integer(2);
    }
    return {{"sessions", std::move(sessions)}};
}

std::optional<nlohmann::json> Storage::sessionDetail(const std::string& id) {
    std::lock_guard lock(mutex_);
    auto sessionRow = db_.prepare(std::string("SELECT ") + kSessionColumns + " FROM sessions WHERE id = ?", {id});
    if (!sessionRow.step()) return std::nullopt;
    nlohmann::json detail{{"session", sessionJson(sessionRow)}};

    auto reports = nlohmann::json::array();
    std::int64_t repeats = 0;
    auto reportRows = db_.prepare(
        "SELECT r.id, r.api_name, r.report_key, r.envelope, r.received_at, COALESCE(k.idempotency_key, ''), "
        "COALESCE(k.repeats, 0) FROM reports r LEFT JOIN report_keys k ON k.report_id = r.id "
        "WHERE r.session_id = ? ORDER BY r.id",
        {id});
    while (reportRows.step()) {
        reports.push_back({{"id", reportRows.integer(0)},
                           {"apiName", reportRows.text(1)},
                           {"reportKey", reportRows.text(2)},
                           {"envelope", storedDocument(reportRows.text(3))},
                           {"receivedAt", reportRows.text(4)},
                           {"idempotencyKey", reportRows.text(5)},
                           {"repeats", reportRows.integer(6)}});
        repeats += reportRows.integer(6);
    }
    detail["reports"] = std::move(reports);
    detail["repeatsAbsorbed"] = repeats;
    detail["logRecords"] = logRecordsLocked(" WHERE session_key = ?", {id});

    auto events = nlohmann::json::array();
    auto eventRows = db_.prepare(
        "SELECT id, unique_cart_id, event_type, request, received_at FROM transaction_events "
        "WHERE session_id = ? ORDER BY id",
        {id});
    while (eventRows.step()) {
        events.push_back({{"id", eventRows.integer(0)},
                          {"uniqueCartId", eventRows.text(1)},
                          {"eventType", eventRows.text(2)},
                          {"request", storedDocument(eventRows.text(3))},
                          {"receivedAt", eventRows.text(4)}});
    }
    detail["transactionEvents"] = std::move(events);

    auto transactions = nlohmann::json::array();
    auto transactionRows = db_.prepare(
        "SELECT order_number, unique_cart_id, evaluation_step, amount, currency_code, score, decision, status, "
        "payment_status, comments, request, created_at, updated_at FROM transactions WHERE session_id = ? "
        "ORDER BY created_at, rowid",
        {id});
    while (transactionRows.step()) {
        transactions.push_back({{"orderNumber", transactionRows.text(0)},
                                {"uniqueCartId", transactionRows.text(1)},
                                {"evaluationStep", transactionRows.text(2)},
                                {"amount", transactionRows.real(3)},
                                {"currencyCode", transactionRows.text(4)},
                                {"score", transactionRows.integer(5)},
                                {"evaluationDecision", transactionRows.text(6)},
                                {"status", transactionRows.text(7)},
                                {"paymentStatus", transactionRows.text(8)},
                                {"comments", transactionRows.text(9)},
                                {"request", storedDocument(transactionRows.text(10))},
                                {"createdAt", transactionRows.text(11)},
                                {"updatedAt", transactionRows.text(12)}});
    }
    detail["transactions"] = std::move(transactions);
    return detail;
}

nlohmann::json Storage::logRecords() {
    std::lock_guard lock(mutex_);
    return {{"logRecords", logRecordsLocked("", {})}};
}

nlohmann::json Storage::logRecordsLocked(const std::string& where, const std::vector<SqlValue>& parameters) {
    auto records = nlohmann::json::array();
    auto rows = db_.prepare("SELECT id, session_key, log_data, received_at FROM log_records" + where + " ORDER BY id",
                            parameters);
    while (rows.step()) {
        records.push_back({{"id", rows.integer(0)},
                           {"sessionKey", rows.text(1)},
                           {"logData", storedDocument(rows.text(2))},
                           {"receivedAt", rows.text(3)}});
    }
    return records;
}

}  // namespace quarra::service
