#pragma once
// The transaction client answers the shop with the order's transaction
// identifier only; the decision and score are in the platform's reply. This
// HTTP client wraps the library's own and keeps each evaluation reply it
// passes on, so the order page can show what the platform decided.
#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>
#include <mutex>
#include <optional>

#include <quarra/HttpClient.hpp>

namespace demo {

struct Evaluation {
    QString decision;     // "Guaranteeable", ...
    qint64 score = 0;     // 0 (no risk) to 100
    QStringList reasons;  // the score's insights
};

class EvaluationTap final : public quarra::HttpClient {
public:
    explicit EvaluationTap(std::shared_ptr<quarra::HttpClient> inner);

    // Any thread; the request itself is untouched.
    void send(quarra::HttpRequest request, Completion completion) override;
    // The evaluation answered under `transactionId`, if one passed. Any thread.
    std::optional<Evaluation> evaluationOf(const QString& transactionId) const;
    // The library stops only its own HTTP client when it shuts down; this one
    // is the shop's to stop, after that shutdown and before the process exits.
    // Requests still on the wire end as "cancelled"; later ones fail at once.
    void close();

private:
    void keep(const std::string& body);

    mutable std::mutex mutex_;
    std::shared_ptr<quarra::HttpClient> inner_;  // none once closed
    QHash<QString, Evaluation> byTransaction_;
};

}  // namespace demo
