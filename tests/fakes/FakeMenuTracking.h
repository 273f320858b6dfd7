#pragma once

#include "platform/MenuTracking.h"

#include <map>
#include <utility>

namespace driftmark::test {

// Lets the test open and close "a menu", which calls the observers of that phase.
class FakeMenuTracking final : public MenuTracking {
public:
    ObserverHandle addObserver(Phase phase, std::function<void()> handler) override {
        observers.emplace(++lastHandle_, std::make_pair(phase, std::move(handler)));
        return lastHandle_;
    }
    void removeObserver(ObserverHandle handle) override { observers.erase(handle); }

    void open() { notify(Phase::didBegin); }
    void close() { notify(Phase::didEnd); }

    std::map<ObserverHandle, std::pair<Phase, std::function<void()>>> observers;

private:
    void notify(Phase phase) {
        const auto current = observers;
        for (const auto& [handle, observer] : current) {
            if (observer.first == phase) {
                observer.second();
            }
        }
    }

    ObserverHandle lastHandle_ = 0;
};

} // namespace driftmark::test
