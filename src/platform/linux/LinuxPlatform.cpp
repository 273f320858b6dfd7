#include "platform/linux/LinuxPlatform.h"

#include "platform/linux/JournalSystemLog.h"
#include "platform/linux/PluginWindowService.h"
#include "platform/linux/QtApplication.h"
#include "platform/linux/QtMainQueue.h"
#include "platform/linux/TrayStatusBar.h"
#include "platform/linux/keys/QtLocalEventMonitorService.h"
#include "platform/linux/keys/X11HotKeyService.h"
#include "platform/linux/keys/X11SystemShortcutList.h"
#include "platform/linux/keys/XkbKeyboardLayout.h"
#include "platform/linux/tray/QtMenuTracking.h"
#include "platform/linux/x11/EwmhWorkspace.h"
#include "platform/linux/x11/QtClipboard.h"
#include "platform/linux/x11/X11Context.h"
#include "platform/linux/x11/XTestAccessibilityTrust.h"
#include "platform/linux/x11/XTestKeyEventPoster.h"

namespace driftmark {

struct LinuxPlatform::Parts {
    Parts(PreferencesStore& preferences, const std::function<void(const std::string&)>& warn,
          const X11HotKeyService::LostGrabReporter& hotKeyLost)
        : statusBar(warn)
        , hotKeyService(x11, hotKeyLost)
        , userDefaults(preferences) {}

    // The X11 services share Qt's connection, its screen and the atoms interned for them.
    const X11Context& x11 = X11Context::shared();
    JournalSystemLog systemLog;
    XTestAccessibilityTrust accessibilityTrust{x11};
    QtClipboard clipboard;
    QtClipboard primarySelection{QClipboard::Selection};
    XTestKeyEventPoster keyEventPoster;
    EwmhWorkspace workspace{x11};
    TrayStatusBar statusBar;
    QtMainQueue mainQueue;
    QtApplication application;
    XkbKeyboardLayout keyboardLayout{x11};
    X11HotKeyService hotKeyService;
    X11SystemShortcutList systemShortcutList;
    QtMenuTracking menuTracking;
    PluginWindowService windows;
    QtLocalEventMonitorService localEventMonitors;
    PreferencesStore& userDefaults;
};

LinuxPlatform::LinuxPlatform(
    PreferencesStore& userDefaults, const std::function<void(const std::string&)>& warn,
    const std::function<void(std::uint32_t, std::uint32_t, std::int32_t)>& hotKeyLost)
    : parts_(std::make_unique<Parts>(userDefaults, warn, hotKeyLost)) {}

LinuxPlatform::~LinuxPlatform() = default;

PlatformServices LinuxPlatform::services() {
    return PlatformServices{
        parts_->systemLog,      parts_->accessibilityTrust, parts_->clipboard, parts_->primarySelection,
        parts_->keyEventPoster, parts_->workspace,          parts_->statusBar, parts_->mainQueue,
        parts_->application,    parts_->userDefaults,       parts_->windows};
}

} // namespace driftmark

namespace driftmark {

HotKeyService& LinuxPlatform::hotKeyService() {
    return parts_->hotKeyService;
}

const KeyboardLayout& LinuxPlatform::keyboardLayout() {
    return parts_->keyboardLayout;
}

const SystemShortcutList& LinuxPlatform::systemShortcutList() {
    return parts_->systemShortcutList;
}

MenuTracking& LinuxPlatform::menuTracking() {
    return parts_->menuTracking;
}

PluginWindowService& LinuxPlatform::windowService() {
    return parts_->windows;
}

LocalEventMonitorService& LinuxPlatform::localEventMonitors() {
    return parts_->localEventMonitors;
}

} // namespace driftmark
