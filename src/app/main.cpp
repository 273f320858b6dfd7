#include "KeyboardShortcuts/Module.h"
#include "app/AppDelegate.h"
#include "app/KeyboardShortcutsManager.h"
#include "model/MenuItemManager.h"
#include "platform/Clock.h"
#include "platform/MainQueue.h"
#include "platform/linux/EventLoop.h"
#include "platform/linux/LinuxPlatform.h"
#include "support/AppLogger.h"
#include "support/DelegateLogWriter.h"
#include "support/FilePreferencesStore.h"
#include "support/LogCalendar.h"
#include "support/LogFiles.h"

#include <iostream>

int main(int argc, char** argv) {
    using namespace driftmark;

    if (const auto problem = EventLoop::displayProblem()) {
        std::cerr << "driftmark-menubar: " << *problem << std::endl;
        return 1;
    }
    EventLoop loop(argc, argv);
    LinuxPlatform platform;
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
    services.mainQueue.async([&delegate] { delegate->applicationDidFinishLaunching(); });

    const int status = loop.run();
    AppLogger::shared().flush();
    return status;
}
