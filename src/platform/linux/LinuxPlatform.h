#pragma once

#include "platform/PlatformServices.h"
#include "platform/linux/DisplayServerChoice.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace driftmark {

class HotKeyService;
class KeyboardLayout;
class LocalEventMonitorService;
class MenuTracking;
class PreferencesStore;
class PluginWindowService;
class SystemShortcutList;

// The desktop's implementation of every platform service, built once the application object exists.
// Objects that hold status items must be destroyed before this.
class LinuxPlatform {
public:
    // `warn` hears what keeps a service from working yet, such as a missing tray; `hotKeyLost` hears of a
    // registered hot key whose grab another program took (its virtual key code, hot-key modifier bits
    // and the server's error code).
    // Qt runs on `server`.
    LinuxPlatform(DisplayServer server, PreferencesStore& userDefaults,
                  const std::function<void(const std::string&)>& warn,
                  const std::function<void(std::uint32_t, std::uint32_t, std::int32_t)>& hotKeyLost);
    ~LinuxPlatform();
    LinuxPlatform(const LinuxPlatform&) = delete;
    LinuxPlatform& operator=(const LinuxPlatform&) = delete;

    PlatformServices services();

    // What the global keyboard shortcuts need of the desktop.
    HotKeyService& hotKeyService();
    const KeyboardLayout& keyboardLayout();
    const SystemShortcutList& systemShortcutList();
    MenuTracking& menuTracking();
    // The windows need the application's objects before the first one opens.
    PluginWindowService& windowService();
    LocalEventMonitorService& localEventMonitors();
    // What the desktop keeps from working and why, for the settings window; empty when nothing does.
    const std::string& desktopNotice() const;

private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
};

} // namespace driftmark
