#include "collector/HealthRecorder.hpp"

namespace quarra {

void HealthRecorder::failed(const std::string& operation, const APIError& error) {
    {
        std::lock_guard lock(mutex_);
        lastError_ = Health::Error{operation, error.code, error.message, clock_->now()};
    }
    // The status or the transport's reason, never the request: no credential
    // and no report reaches the console.
    const std::string reason = error.code + " " + error.message;
    if (operation == "accessToken" || operation == "initiate") {
        console_->log("Sign-in failed at " + operation + ": " + reason);
    } else if (operation == "log") {
        console_->log("Log record not delivered: " + reason);
    } else {
        console_->log("Report not delivered (" + (error.apiName.empty() ? operation : error.apiName) + "): " + reason);
    }
}

void HealthRecorder::accepted() {
    std::lock_guard lock(mutex_);
    lastAccepted_ = clock_->now();
}

void HealthRecorder::session(Health::Session state) {
    std::lock_guard lock(mutex_);
    session_ = state;
}

void HealthRecorder::fill(Health& health) const {
    std::lock_guard lock(mutex_);
    health.lastError = lastError_;
    health.lastAccepted = lastAccepted_;
    health.session = session_;
}

}  // namespace quarra
