#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <optional>

namespace driftmark::KeyboardShortcuts {

enum class EventType { keyDown, keyUp };

// Where a stream's events wait until they are read; it keeps every event, without bound.
class EventBuffer {
public:
    explicit EventBuffer(std::optional<EventType> only)
        : only_(only) {}

    // Ignored once the stream has ended, and for other types when the stream takes only one.
    void yield(EventType event);

private:
    friend class EventStream;
    std::optional<EventType> only_;
    std::deque<EventType> events_;
    std::function<void(EventType)> handler_;
    bool finished_ = false;
};

// The key events of one name, from one main-queue turn after the stream was made until it ends. Ending it
// (finish() or destruction) lets go of the name's hot key one main-queue turn later, unless a handler or
// another stream still uses it.
class EventStream {
public:
    EventStream(std::shared_ptr<EventBuffer> buffer, std::function<void()> onTermination);
    EventStream(EventStream&& other) noexcept;
    EventStream& operator=(EventStream&& other) noexcept;
    EventStream(const EventStream&) = delete;
    EventStream& operator=(const EventStream&) = delete;
    ~EventStream();

    // The oldest event not read yet.
    std::optional<EventType> next();
    // Hands every waiting event to the handler, then each new one as it comes.
    void setHandler(std::function<void(EventType)> handler);
    void finish();

private:
    std::shared_ptr<EventBuffer> buffer_;
    std::function<void()> onTermination_;
};

} // namespace driftmark::KeyboardShortcuts
