#pragma once

#include "platform/linux/tray/ContextMenuPresenter.h"
#include "platform/linux/tray/TrayDisplay.h"
#include "platform/linux/tray/TrayHost.h"

#include <QAbstractNativeEventFilter>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace driftmark {

class TrayIconButton;

// What the tray icons of this process share: Qt's X connection, the tray they dock into, their order,
// the raw X events that concern them and the context menu. The icons dock in the order they were
// created, and again in that order whenever a tray starts or replaces the previous one.
class TrayDock final : public QAbstractNativeEventFilter {
public:
    // Needs a QApplication; says once on standard error and in the log when no tray runs yet.
    explicit TrayDock(std::function<void()> pointerMoved);
    ~TrayDock() override;
    TrayDock(const TrayDock&) = delete;
    TrayDock& operator=(const TrayDock&) = delete;

    const TrayDisplay& display() const { return display_; }
    // Adds an icon after the others and docks it when a tray runs.
    void add(TrayIconButton& icon);
    void remove(TrayIconButton& icon);
    void requestDock(xcb_window_t window) const;
    void pointerMoved() const;
    ContextMenuPresenter& menus() { return menus_; }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    void redock();

    TrayDisplay display_;
    std::unique_ptr<TrayHost> host_; // absent without an X connection
    std::vector<TrayIconButton*> icons_;
    ContextMenuPresenter menus_;
    std::function<void()> pointerMoved_;
};

} // namespace driftmark
