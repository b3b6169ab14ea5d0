#pragma once
// Sample orders and a wired-up transaction client over the simulated session.
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <quarra/KeychainWrapper.hpp>
#include <quarra/QuarraManager.hpp>

#include "base/ConsoleLog.hpp"
#include "base/JsonText.hpp"
#include <quarra/testing/MemorySecureItemStore.hpp>
#include <quarra/testing/FakeClock.hpp>
#include <quarra/testing/ManualExecutor.hpp>
#include <quarra/testing/SimulatedHttpClient.hpp>
#include "support/CapturingConsole.hpp"
#include "transactions/QuarraAssembly.hpp"
#include "transactions/TransactionEventService.hpp"

namespace quarra::testing {

inline const std::string kTransactionsUrl = "https://platform.test/api/v1/transactions/";

inline IngAddress sampleAddress(const std::string& firstName = "Ada") {
    return IngAddress(firstName, "Lovelace", "1 Main St", "Apt 2", "2", "1", "Main", "Old Town", "Springfield",
                      "IL", "62701", "US");
}

inline TotalAmount usd(double amount) { return TotalAmount(amount, "USD"); }

inline ResponseCodes sampleResponseCodes() { return ResponseCodes("Y", "00", "M"); }

inline CreditCard sampleCard(std::optional<ResponseCodes> codes = sampleResponseCodes(),
                             const std::string& paymentID = "pay-1") {
    return CreditCard("411111", "1111", paymentID, "stripe", sampleAddress(), usd(25.5), std::move(codes));
}

inline PayPal samplePayPal() { return PayPal(sampleAddress("Grace"), usd(4.5), "payer-9"); }

inline Shipping sampleShipping() {
    return Shipping("courier", "UPS", "2024-05-01", "express", usd(5), "Locker 4", "10:00", sampleAddress(),
                    "+15550100", "ada@example.com");
}

inline CustomData sampleCustomData() { return CustomData("loyalty", "gold", "text", "tier", "Tier", true, 0, 10); }

// An order with two cards (both with response codes) and one PayPal payment.
struct SampleOrder {
    std::vector<CustomData> customData{sampleCustomData()};
    std::string uniqueCartID = "cart-7";
    std::string orderNumber = "order-42";
    std::string customerOrderStatus = "placed";
    TotalAmount totalAmount = usd(30);
    TotalAmount discountAmount = usd(0.5);
    Payments payment{{sampleCard(), sampleCard(ResponseCodes("N", "05", "N"), "pay-2")}, {samplePayPal()}};
    std::vector<Shipping> shiping{sampleShipping()};
};

// A keychain over memory that counts the text reads of each key.
class CountingKeychain final : public KeychainWrapper {
public:
    CountingKeychain() : KeychainWrapper("test.transactions", std::nullopt, std::make_shared<MemorySecureItemStore>()) {}

    std::optional<std::string> string(const std::string& key, Accessibility accessibility = {},
                                      bool isSynchronizable = false) const override {
        {
            std::lock_guard lock(mutex_);
            ++reads_[key];
        }
        return KeychainWrapper::string(key, accessibility, isSynchronizable);
    }

    int reads(const std::string& key) const {
        std::lock_guard lock(mutex_);
        auto found = reads_.find(key);
        return found == reads_.end() ? 0 : found->second;
    }

private:
    mutable std::mutex mutex_;
    mutable std::map<std::string, int> reads_;
};

// Records every answer a host completion handler receives.
class Answers {
public:
    TransactionCompletion handler() {
        return [this](const std::string& text) {
            std::lock_guard lock(mutex_);
            texts_.push_back(text);
        };
    }
    std::vector<std::string> texts() const {
        std::lock_guard lock(mutex_);
        return texts_;
    }

private:
    mutable std::mutex mutex_;
    std::vector<std::string> texts_;
};

// The transaction client over a simulated session whose answers run when the
// test drives `callbacks`. Tests must drain `callbacks` before the end.
struct TransactionHarness {
    TransactionHarness() {
        keychain.set(std::string("txn-123"), "transactionId");
        keychain.set(std::string("token-abc"), "accessToken");
    }

    std::shared_ptr<ManualExecutor> callbacks = std::make_shared<ManualExecutor>();
    std::shared_ptr<SimulatedHttpClient> http = std::make_shared<SimulatedHttpClient>(callbacks);
    CountingKeychain keychain;
    std::shared_ptr<CapturingConsole> sink = std::make_shared<CapturingConsole>();
    std::shared_ptr<const Console> console = std::make_shared<const Console>(sink, std::make_shared<FakeClock>());
    std::shared_ptr<TransactionEventService> service =
        std::make_shared<TransactionEventService>(std::make_shared<NetworkClient>(http), keychain, kTransactionsUrl);
    std::unique_ptr<QuarraManager> manager = std::make_unique<QuarraManager>(QuarraAssembly::make(service, console));

    // The body of the n-th request as JSON.
    JSONDictionary sentBody(size_t index) const {
        auto requests = http->requests();
        if (index >= requests.size() || !requests[index].body) return nullptr;
        return parseJSON(*requests[index].body).value_or(nullptr);
    }

    void completeOrder(const SampleOrder& order, AuthType authType, TransactionCompletion handler) {
        manager->completeTransactionPostAuth(order.customData, order.uniqueCartID, order.orderNumber,
                                             order.customerOrderStatus, order.totalAmount, order.discountAmount,
                                             order.payment, order.shiping, authType, std::move(handler));
    }
    void preAuthThenComplete(const SampleOrder& order, AuthType authType, TransactionCompletion handler) {
        manager->completeTransactionPostAuthFallowedByPreAuth(
            order.customData, order.uniqueCartID, order.orderNumber, order.customerOrderStatus, order.totalAmount,
            order.discountAmount, order.payment, order.shiping, authType, std::move(handler));
    }
    void sendEvent(TransactionCompletion handler, double normalAmount = 19.99) {
        manager->transactionEvent("SKU-1", 2, normalAmount, "USD", 1.5, "EUR", true, "book", "cart-7",
                                  "A book", "addToCart", std::move(handler));
    }
    void cancel(TransactionCompletion handler) {
        manager->cancelOrder("refunded", "order-42", "caller-txn-9", "cancelled", "changed mind", std::move(handler));
    }
};

}  // namespace quarra::testing
