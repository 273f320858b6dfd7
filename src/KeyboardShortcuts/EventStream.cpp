#include "KeyboardShortcuts/EventStream.h"

#include <utility>

namespace driftmark::KeyboardShortcuts {

void EventBuffer::yield(EventType event) {
    if (finished_ || (only_ && *only_ != event)) {
        return;
    }
    if (handler_) {
        // A copy, as the handler may end the stream and so drop itself.
        const auto handler = handler_;
        handler(event);
    } else {
        events_.push_back(event);
    }
}

EventStream::EventStream(std::shared_ptr<EventBuffer> buffer, std::function<void()> onTermination)
    : buffer_(std::move(buffer))
    , onTermination_(std::move(onTermination)) {}

EventStream::EventStream(EventStream&& other) noexcept
    : buffer_(std::move(other.buffer_))
    , onTermination_(std::exchange(other.onTermination_, nullptr)) {}

EventStream& EventStream::operator=(EventStream&& other) noexcept {
    if (this != &other) {
        finish();
        buffer_ = std::move(other.buffer_);
        onTermination_ = std::exchange(other.onTermination_, nullptr);
    }
    return *this;
}

EventStream::~EventStream() {
    finish();
}

std::optional<EventType> EventStream::next() {
    if (!buffer_ || buffer_->events_.empty()) {
        return std::nullopt;
    }
    const EventType event = buffer_->events_.front();
    buffer_->events_.pop_front();
    return event;
}

void EventStream::setHandler(std::function<void(EventType)> handler) {
    if (!buffer_) {
        return;
    }
    buffer_->handler_ = std::move(handler);
    while (buffer_->handler_ && !buffer_->events_.empty()) {
        const EventType event = buffer_->events_.front();
        buffer_->events_.pop_front();
        const auto current = buffer_->handler_;
        current(event);
    }
}

void EventStream::finish() {
    if (!buffer_ || buffer_->finished_) {
        return;
    }
    buffer_->finished_ = true;
    buffer_->handler_ = nullptr;
    if (const auto terminate = std::exchange(onTermination_, nullptr)) {
        terminate();
    }
}

} // namespace driftmark::KeyboardShortcuts
