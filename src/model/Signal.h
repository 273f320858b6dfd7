#pragma once

#include "model/Subscription.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace driftmark {

// Synchronous callbacks in connection order. A handler may connect or disconnect handlers, itself
// included, while it is being called: one connected during an emission waits for the next emission, one
// disconnected during it is not called again, not even later in the same emission.
template <class... Args>
class Signal {
public:
    Signal() = default;
    Signal(const Signal&) = delete;
    Signal& operator=(const Signal&) = delete;

    Subscription connect(std::function<void(Args...)> handler) {
        const std::uint64_t id = slots_->nextId++;
        slots_->connected.push_back({id, std::make_shared<Handler>(std::move(handler))});
        return Subscription([weakSlots = std::weak_ptr<Slots>(slots_), id] {
            if (const auto slots = weakSlots.lock()) {
                std::erase_if(slots->connected, [id](const Slot& slot) { return slot.id == id; });
            }
        });
    }

    void emit(const Args&... args) const {
        // Copies, so that the handlers stay alive and the list may change while they run.
        const std::shared_ptr<Slots> slots = slots_;
        const std::vector<Slot> snapshot = slots->connected;
        for (const Slot& slot : snapshot) {
            if (slots->isConnected(slot.id)) {
                (*slot.handler)(args...);
            }
        }
    }

private:
    using Handler = std::function<void(Args...)>;
    struct Slot {
        std::uint64_t id;
        std::shared_ptr<Handler> handler;
    };
    struct Slots {
        std::vector<Slot> connected;
        std::uint64_t nextId = 0;

        bool isConnected(std::uint64_t id) const {
            return std::any_of(connected.begin(), connected.end(),
                               [id](const Slot& slot) { return slot.id == id; });
        }
    };

    std::shared_ptr<Slots> slots_ = std::make_shared<Slots>();
};

} // namespace driftmark
