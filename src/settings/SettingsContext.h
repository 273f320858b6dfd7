#pragma once

#include <string>

namespace driftmark {

class AccessibilityTrust;
class AppLogger;
class Application;
class HotKeyService;
class KeyboardLayout;
class KeyboardShortcutsManager;
class LaunchAtLogin;
class LocalEventMonitorService;
class MainQueue;
class MenuItemManager;
class PreferencesStore;

namespace KeyboardShortcuts {
class Module;
}

// The running application's objects that the settings and about windows work on. The windows are built
// in a library loaded on first use, so they are handed the process's own instances rather than reaching
// for them; every one outlives the windows.
struct SettingsContext {
    MenuItemManager& menuItemManager;
    KeyboardShortcuts::Module& shortcuts;
    KeyboardShortcutsManager& keyboardShortcutsManager;
    LaunchAtLogin& launchAtLogin;
    AppLogger& logger;
    PreferencesStore& userDefaults;
    AccessibilityTrust& accessibilityTrust;
    Application& application;
    MainQueue& mainQueue;
    LocalEventMonitorService& localEventMonitors;
    HotKeyService& hotKeys;
    const KeyboardLayout& keyboardLayout;
    // What the desktop keeps from working and why (on a Wayland desktop); empty when nothing does.
    const std::string& desktopNotice;
};

} // namespace driftmark
