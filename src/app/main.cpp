#include "KeyboardShortcuts/CarbonKeyboardShortcuts.h"
#include "KeyboardShortcuts/Module.h"
#include "KeyboardShortcuts/Shortcut.h"
#include "app/AppDelegate.h"
#include "app/CommandLine.h"
#include "app/KeyboardShortcutsManager.h"
#include "app/RemoteControl.h"
#include "model/MenuItemManager.h"
#include "platform/Clock.h"
#include "platform/MainQueue.h"
#include "platform/OutsideText.h"
#include "platform/linux/EventLoop.h"
#include "platform/linux/LinuxPlatform.h"
#include "platform/linux/PluginWindowService.h"
#include "platform/linux/SessionDisplay.h"
#include "platform/linux/dbus/RemoteClient.h"
#include "platform/linux/dbus/SingleInstance.h"
#include "support/AppLogger.h"
#include "support/DelegateLogWriter.h"
#include "support/FilePreferencesStore.h"
#include "support/LaunchAtLogin.h"
#include "support/LogCalendar.h"
#include "support/LogFiles.h"

#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    using namespace driftmark;

    // Before the display check: help, version and the control options need no display.
    const CommandLine::Parsed parsed = CommandLine::parse(std::vector<std::string>(argv + 1, argv + argc));
    if (parsed.error) {
        // The message echoes the argument it is about, which may hold anything.
        std::cerr << CommandLine::programName << ": "
                  << OutsideText::excerpt(*parsed.error, OutsideText::messageLimit) << '\n'
                  << CommandLine::usageHint() << std::endl;
        return CommandLine::exitUsage;
    }
    const CommandLine::Options& options = parsed.options;
    if (options.command == CommandLine::Command::help) {
        std::cout << CommandLine::help() << std::flush;
        return 0;
    }
    if (options.command == CommandLine::Command::version) {
        std::cout << CommandLine::programName << " " << DRIFTMARK_VERSION << std::endl;
        return 0;
    }
    if (const auto request = CommandLine::remoteRequest(options.command)) {
        return CommandLine::report(RemoteClient().send(*request, options.entry), std::cout, std::cerr);
    }
    // Set while no other thread runs; the platform reads them as it chooses the display and the tray.
    if (options.tray) {
        ::setenv(CommandLine::trayVariable, options.tray->c_str(), 1);
    }
    if (options.displayServer) {
        ::setenv(CommandLine::displayServerVariable, options.displayServer->c_str(), 1);
    }

    // What keeps a part of Driftmark from working goes to standard error and to the log.
    const auto warn = [](const std::string& problem) {
        // Problems name values from the environment and from other programs.
        std::cerr << OutsideText::excerpt(problem, OutsideText::messageLimit) << std::endl;
        AppLogger::shared().warning(problem);
    };
    const SessionDisplay display = SessionDisplay::choose(warn);
    if (const auto& problem = display.problem()) {
        std::cerr << "driftmark-menubar: " << *problem << std::endl;
        return 1;
    }
    EventLoop loop(argc, argv, display.server());

    // One Driftmark per session: a later start opens this one's settings window and leaves, and the
    // control options of later starts reach this one's remote control. The claim comes before anything
    // docks an icon or grabs a key; requests find no control until start-up has made it.
    std::unique_ptr<RemoteControl> remoteControl;
    SingleInstance instance([&remoteControl] { return remoteControl.get(); });
    if (!instance.claim()) {
        const SessionClaim::Answer answer = instance.handOverToRunning();
        // One that answers nothing holds the session for good (it may hang as it quits): this start ends
        // it and runs instead.
        const bool tookOver =
            answer.request == SessionClaim::Request::unanswered && instance.takeOverFromUnresponsive();
        if (!tookOver) {
            // The one that runs could not show its settings window: this start failed at what it was for.
            if (answer.request == SessionClaim::Request::refused ||
                answer.request == SessionClaim::Request::unanswered) {
                std::cerr << SessionClaim::alreadyRunningLine(answer) << std::endl;
                return 1;
            }
            std::cout << SessionClaim::alreadyRunningLine(answer) << std::endl;
            return 0;
        }
    }

    // A lost grab is reported as a refused registration: nothing else would show that the hot key is dead.
    LinuxPlatform platform(display.server(), FilePreferencesStore::standard(), warn,
                           [&platform](std::uint32_t keyCode, std::uint32_t modifiers, std::int32_t status) {
                               KeyboardShortcuts::CarbonKeyboardShortcuts::reportRegistrationFailure(
                                   std::cout, KeyboardShortcuts::Shortcut(keyCode, modifiers),
                                   platform.keyboardLayout(), status);
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
    remoteControl =
        std::make_unique<RemoteControl>(MenuItemManager::shared(), KeyboardShortcuts::Module::shared(),
                                        *delegate, services.application, services.systemLog, delegateLog);
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
                               platform.keyboardLayout(),
                               platform.desktopNotice()};
    });
    services.mainQueue.async([&delegate] { delegate->applicationDidFinishLaunching(); });

    const int status = loop.run();
    // Before the application object goes: Qt hands the clipboard to a clipboard manager then.
    delegate->applicationWillTerminate();
    AppLogger::shared().flush();
    // What is left is tearing down, which the loop bounds in time.
    loop.quitWorkDone(status);
    return status;
}
