#include "collector/HealthRecorder.hpp"

namespace quarra {

void HealthRecorder::failed(const std::string& operation, const APIError& error) {
    {
        std::lock_guard lock(mutex_);
        lastError_ = Health::Error{operation, error.code, error.message, clock_->now()};
    }
    if (operation == "accessToken" || operation == "initiate") {
        // The transport's reason or the status, never the request: no credential reaches the console.
        console_->log("Sign-in failed at " + operation + ": " + error.code + " " + error.message);
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
