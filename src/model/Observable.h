#pragma once

#include "model/Signal.h"
#include "model/Subscription.h"

#include <functional>
#include <utility>

namespace driftmark {

// A value whose every change is announced before it takes effect: first the about-to-change signal,
// then the new value to each subscriber; only then does value() return it. Subscribers therefore use
// the value they are handed, never value(), inside their handlers.
template <class T>
class Observable {
public:
    explicit Observable(T initial = T{})
        : value_(std::move(initial)) {}
    Observable(const Observable&) = delete;
    Observable& operator=(const Observable&) = delete;

    const T& value() const { return value_; }

    // Delivers the current value at once, during this call, then every new value.
    Subscription subscribe(std::function<void(const T&)> handler) {
        auto subscription = changes_.connect(handler);
        handler(value_);
        return subscription;
    }

    Subscription subscribeToAboutToChange(std::function<void()> handler) {
        return aboutToChange_.connect(std::move(handler));
    }

    // One change, announced whether or not the value differs.
    void set(T newValue) {
        aboutToChange_.emit();
        changes_.emit(newValue);
        value_ = std::move(newValue);
    }

private:
    T value_;
    Signal<> aboutToChange_;
    Signal<const T&> changes_;
};

} // namespace driftmark
