#pragma once

#include <QAbstractNativeEventFilter>
#include <cstdint>
#include <functional>

struct xcb_connection_t;

namespace driftmark {

// Reports changes of the keyboard mapping on Qt's X connection: a new layout or keyboard (XKB), or a new
// key or modifier map (the core MappingNotify, which servers without XKB send). Listens for as long as it
// lives.
class X11KeyboardMappingWatcher final : public QAbstractNativeEventFilter {
public:
    X11KeyboardMappingWatcher(xcb_connection_t* connection, std::function<void()> changed);
    ~X11KeyboardMappingWatcher() override;
    X11KeyboardMappingWatcher(const X11KeyboardMappingWatcher&) = delete;
    X11KeyboardMappingWatcher& operator=(const X11KeyboardMappingWatcher&) = delete;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    std::function<void()> changed_;
    // The type of the first XKB event; 0 when the server has no XKB.
    std::uint8_t xkbEventBase_ = 0;
};

} // namespace driftmark
