#include "ActivityPanel.hpp"

#include <QHeaderView>

#include "ui_ActivityPanel.h"

namespace demo {
namespace {

const QColor kGreen(0x2e, 0x7d, 0x32);
const QColor kRed(0xc6, 0x28, 0x28);
const QColor kGrey(0x75, 0x75, 0x75);

QString sessionText(quarra::DataCollectorService::Health::Session session) {
    using Session = quarra::DataCollectorService::Health::Session;
    switch (session) {
        case Session::online:
            return "online";
        case Session::offlineFromCache:
            return "offline, from cache";
        case Session::none:
            break;
    }
    return "no session";
}

}  // namespace

ActivityPanel::ActivityPanel(QWidget* parent) : QWidget(parent), ui_(std::make_unique<Ui::ActivityPanel>()) {
    ui_->setupUi(this);
    QHeaderView* header = ui_->sent->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(1, QHeaderView::Stretch);
    header->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    ui_->score->setTextVisible(true);
}

ActivityPanel::~ActivityPanel() = default;

void ActivityPanel::follow(quarra::qt::Collector& collector) {
    connect(&collector, &quarra::qt::Collector::sessionKeyReceived, this, &ActivityPanel::showSession);
    connect(&collector, &quarra::qt::Collector::collectionStarted, this, [this](bool started) {
        if (!started) ui_->session->setText("<b style='color:#c62828'>●</b> Collection switched off by the service");
    });
    connect(&collector, &quarra::qt::Collector::reportSettled, this, &ActivityPanel::countOutcome);
    connect(&collector, &quarra::qt::Collector::healthChanged, this,
            [this, &collector] { showHealth(collector.health()); });
}

void ActivityPanel::showSession(const QString& sessionKey) {
    sessionReady_ = !sessionKey.isEmpty();
    ui_->session->setText(sessionReady_ ? "<b style='color:#2e7d32'>●</b> Session open · collecting fraud signals"
                                        : "<b style='color:#c62828'>●</b> Offline: signals wait in the outbox");
}

void ActivityPanel::reportSent(int row, const ReportDigest& digest) {
    auto* item = new QTreeWidgetItem(ui_->sent, {digest.kind, digest.what, "sending…"});
    item->setToolTip(1, digest.what);
    item->setForeground(2, kGrey);
    rows_.insert(row, item);
    ++pending_;
    ui_->sent->scrollToItem(item);
    emit grew();
}

void ActivityPanel::reportAnswered(int row, bool accepted) {
    QTreeWidgetItem* item = rows_.value(row);
    if (!item || item->text(2) != "sending…") return;
    --pending_;
    item->setText(2, accepted ? "accepted" : "not accepted");
    if (!accepted) item->setToolTip(2, "Refused, queued for a resend or given up: the totals below tell which.");
    item->setForeground(2, accepted ? kGreen : kRed);
}

void ActivityPanel::countOutcome(quarra::qt::Collector::Report, quarra::qt::Collector::Outcome outcome) {
    ++outcomes_[outcome];
    showTotals();
}

void ActivityPanel::showTotals() {
    using Outcome = quarra::qt::Collector::Outcome;
    QString text = QString("<b>%1</b> signals accepted by the service").arg(outcomes_.value(Outcome::accepted));
    if (int queued = outcomes_.value(Outcome::queued)) text += QString(", <b>%1</b> queued for a resend").arg(queued);
    if (int refused = outcomes_.value(Outcome::refused)) text += QString(", <b>%1</b> refused").arg(refused);
    if (int dropped = outcomes_.value(Outcome::dropped)) text += QString(", <b>%1</b> given up").arg(dropped);
    if (!healthText_.isEmpty()) text += "<br><span style='color:#616161'>" + healthText_ + "</span>";
    ui_->delivery->setText(text);
}

void ActivityPanel::showHealth(const quarra::DataCollectorService::Health& health) {
    QString text = QString("Library totals: %1 reports handed in, %2 accepted").arg(health.submitted).arg(health.accepted);
    if (health.inFlight > 0) text += QString(", %1 on the way").arg(health.inFlight);
    if (health.queued > 0) text += QString(", %1 queued for a resend").arg(health.queued);
    text += " · session " + sessionText(health.session);
    healthText_ = text;
    showTotals();
}

void ActivityPanel::orderSent() {
    ui_->decision->setText("Evaluating…");
    ui_->decision->setStyleSheet({});
    ui_->reasons->setText("–");
    ui_->score->setValue(0);
}

void ActivityPanel::orderAnswered(const QString& answer, const std::optional<Evaluation>& evaluation) {
    if (!evaluation) {
        ui_->decision->setText(answer);
        ui_->decision->setStyleSheet("color: #c62828;");
        return;
    }
    const bool good = evaluation->decision == "Guaranteeable";
    ui_->decision->setText(evaluation->decision);
    ui_->decision->setStyleSheet(QString("font-weight: 600; color: %1;").arg(good ? "#2e7d32" : "#c62828"));
    ui_->score->setValue(int(evaluation->score));
    ui_->reasons->setText(evaluation->reasons.join("\n"));
}

}  // namespace demo
