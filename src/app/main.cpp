#include "KeyboardShortcuts/Module.h"
#include "app/AppDelegate.h"
#include "app/KeyboardShortcutsManager.h"
#include "model/MenuItemManager.h"
#include "platform/Clock.h"
#include "platform/MainQueue.h"
#include "platform/linux/EventLoop.h"
#include "platform/linux/LinuxPlatform.h"
#include "platform/linux/PluginWindowService.h"
#include "platform/linux/dbus/SingleInstance.h"
#include "support/AppLogger.h"
#include "support/DelegateLogWriter.h"
#include "support/FilePreferencesStore.h"
#include "support/LaunchAtLogin.h"
#include "support/LogCalendar.h"
#include "support/LogFiles.h"

#include <iostream>
#include <memory>

int main(int argc, char** argv) {
    using namespace driftmark;

    if (const auto problem = EventLoop::displayProblem()) {
        std::cerr << "driftmark-menubar: " << *problem << std::endl;
        return 1;
    }
    EventLoop loop(argc, argv);

    // One Driftmark per session: a later start opens this one's settings window and leaves. The claim
    // comes before anything docks an icon or grabs a key. The callback does not own the delegate.
    std::weak_ptr<AppDelegate> runningDelegate;
    SingleInstance instance([&runningDelegate] {
        if (const auto delegate = runningDelegate.lock()) {
            delegate->openSettings();
        }
    });
    if (!instance.claim()) {
        std::cout << instance.handOverToRunning() << std::endl;
        return 0;
    }

    LinuxPlatform platform(FilePreferencesStore::standard(), [](const std::string& problem) {
        std::cerr << problem << std::endl;
        AppLogger::shared().warning(problem);
    });
    const PlatformServices services = platform.services();
    DelegateLogWriter delegateLog(LogFiles::shared(), SystemClock::shared(), services.systemLog,
                                  LogCalendar{});

    KeyboardShortcuts::Module::configureShared(
        {FilePreferencesStore::standard(), services.mainQueue, platform.hotKeyService(),
         platform.keyboardLayout(), platform.systemShortcutList(), platform.menuTracking(), std::cout});

    // The entry store loads (or migrates) before launching finishes.
    const auto delegate =
        AppDelegate::create(MenuItemManager::shared(), AppLogger::shared(), delegateLog, services,
                            []() -> KeyboardShortcutsManager& { return KeyboardShortcutsManager::shared(); });
    runningDelegate = delegate;
    platform.windowService().setContextProvider([&platform, services] {
        return SettingsContext{MenuItemManager::shared(),
                               KeyboardShortcuts::Module::shared(),
                               KeyboardShortcutsManager::shared(),
                               LaunchAtLogin::shared(),
                               AppLogger::shared(),
                               FilePreferencesStore::standard(),
                               services.accessibilityTrust,
                               services.application,
                               services.mainQueue,
                               platform.localEventMonitors(),
                               platform.hotKeyService(),
                               platform.keyboardLayout()};
    });
    services.mainQueue.async([&delegate] { delegate->applicationDidFinishLaunching(); });

    const int status = loop.run();
    // Before the application object goes: Qt hands the clipboard to a clipboard manager then.
    delegate->applicationWillTerminate();
    AppLogger::shared().flush();
    return status;
}
