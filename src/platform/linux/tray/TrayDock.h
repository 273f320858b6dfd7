#pragma once

#include "platform/linux/tray/ContextMenuPresenter.h"
#include "platform/linux/tray/TrayHost.h"
#include "platform/linux/x11/X11Context.h"

#include <QAbstractNativeEventFilter>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace driftmark {

class XEmbedStatusItem;

// What the tray icons of this process share: Qt's X connection, the tray they dock into, their order,
// the raw X events that concern them and the context menu. The icons dock in the order they were
// created, and again in that order whenever a tray starts or replaces the previous one.
class TrayDock final : public QAbstractNativeEventFilter {
public:
    // Works on the shared context of Qt's connection, so needs a QApplication; tells `warn` once when no
    // tray runs yet.
    explicit TrayDock(const std::function<void(const std::string&)>& warn);
    ~TrayDock() override;
    TrayDock(const TrayDock&) = delete;
    TrayDock& operator=(const TrayDock&) = delete;

    // The X display the icons live on.
    const X11Context& display() const { return x11_; }
    // Adds an icon after the others and docks it when a tray runs.
    void add(XEmbedStatusItem& icon);
    void remove(XEmbedStatusItem& icon);
    void requestDock(xcb_window_t window) const;
    ContextMenuPresenter& menus() { return menus_; }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    void redock();

    const X11Context& x11_;
    std::unique_ptr<TrayHost> host_; // absent without an X connection
    std::vector<XEmbedStatusItem*> icons_;
    ContextMenuPresenter menus_;
};

} // namespace driftmark
