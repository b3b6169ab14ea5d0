#pragma once
// The order's outcome: what the fraud check decided and the receipt. The
// page is tracked by a call as the purchase confirmation.
#include <QWidget>
#include <memory>
#include <optional>

#include <quarra/tracking/TrackingContextRef.hpp>

#include "Cart.hpp"
#include "DemoOrder.hpp"
#include "EvaluationTap.hpp"

namespace Ui {
class OrderResultPage;
}

namespace demo {

class OrderResultPage : public QWidget {
    Q_OBJECT

public:
    OrderResultPage(const std::shared_ptr<const quarra::TrackingContext>& tracking, QWidget* parent = nullptr);
    ~OrderResultPage() override;

    Ui::OrderResultPage& form() { return *ui_; }
    void showPlacing(const Cart& cart, const Buyer& buyer);
    // `answer` is the transaction client's text; `evaluation` the platform's verdict when one came.
    void showOutcome(const QString& answer, const std::optional<Evaluation>& evaluation);
    bool answered() const { return answered_; }

private:
    std::unique_ptr<Ui::OrderResultPage> ui_;
    bool answered_ = false;
};

}  // namespace demo
