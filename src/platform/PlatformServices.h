#pragma once

namespace driftmark {

class AccessibilityTrust;
class Application;
class Clipboard;
class KeyEventPoster;
class MainQueue;
class PreferencesStore;
class StatusBar;
class SystemLog;
class WindowService;
class Workspace;

// The platform services the application core talks to, handed over in one piece. main() fills it with
// the desktop's implementations, tests with fakes; every service outlives the objects that use it.
struct PlatformServices {
    SystemLog& systemLog;
    AccessibilityTrust& accessibilityTrust;
    Clipboard& clipboard;
    // The X11 PRIMARY selection, which some terminals paste.
    Clipboard& primarySelection;
    KeyEventPoster& keyEventPoster;
    Workspace& workspace;
    StatusBar& statusBar;
    MainQueue& mainQueue;
    Application& application;
    PreferencesStore& userDefaults;
    WindowService& windows;
};

} // namespace driftmark
