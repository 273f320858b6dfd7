#pragma once

#include <functional>
#include <utility>

namespace driftmark {

// Keeps a handler connected for as long as it lives. Safe to outlive what it is connected to.
class [[nodiscard]] Subscription {
public:
    Subscription() = default;
    explicit Subscription(std::function<void()> cancel)
        : cancel_(std::move(cancel)) {}
    ~Subscription() { cancel(); }

    Subscription(const Subscription&) = delete;
    Subscription& operator=(const Subscription&) = delete;
    Subscription(Subscription&& other) noexcept
        : cancel_(std::exchange(other.cancel_, nullptr)) {}
    Subscription& operator=(Subscription&& other) noexcept {
        if (this != &other) {
            cancel();
            cancel_ = std::exchange(other.cancel_, nullptr);
        }
        return *this;
    }

    // Disconnects now; later calls and the destructor do nothing.
    void cancel() {
        if (const auto pending = std::exchange(cancel_, nullptr)) {
            pending();
        }
    }

private:
    std::function<void()> cancel_;
};

} // namespace driftmark
