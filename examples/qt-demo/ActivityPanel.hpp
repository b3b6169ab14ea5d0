#pragma once
// The side panel: what the library sent for this shopper and how the
// service answered, the delivery totals, and the order's evaluation.
#include <QHash>
#include <QWidget>
#include <memory>
#include <optional>

#include <quarra/qt/Collector.hpp>

#include "EvaluationTap.hpp"
#include "ReportDigest.hpp"

class QTreeWidgetItem;

namespace Ui {
class ActivityPanel;
}

namespace demo {

class ActivityPanel : public QWidget {
    Q_OBJECT

public:
    explicit ActivityPanel(QWidget* parent = nullptr);
    ~ActivityPanel() override;

    // Follows the session, the answers and the delivery health the Collector reports.
    void follow(quarra::qt::Collector& collector);

    // A report handed to the collector (`row` names it until its answer).
    void reportSent(int row, const ReportDigest& digest);
    void reportAnswered(int row, bool accepted);

    void orderSent();
    // The transaction client's answer, with the platform's evaluation when it passed.
    void orderAnswered(const QString& answer, const std::optional<Evaluation>& evaluation);

    // Rows still waiting for their answer, and all rows so far.
    int pendingCount() const { return pending_; }
    int rowCount() const { return int(rows_.size()); }
    bool sessionReady() const { return sessionReady_; }

signals:
    // A new row is in; the window scrolls its list to it.
    void grew();

private:
    void showSession(const QString& sessionKey);
    void showHealth(const quarra::DataCollectorService::Health& health);
    void countOutcome(quarra::qt::Collector::Report kind, quarra::qt::Collector::Outcome outcome);
    void showTotals();

    std::unique_ptr<Ui::ActivityPanel> ui_;
    QHash<int, QTreeWidgetItem*> rows_;
    int pending_ = 0;
    QHash<quarra::qt::Collector::Outcome, int> outcomes_;  // what the Collector told the answers apart as
    QString healthText_;  // the library's own totals, from the last health change
    bool sessionReady_ = false;
};

}  // namespace demo
