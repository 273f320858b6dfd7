#include "app/AppWindows.h"

#include "platform/PreferencesStore.h"

namespace driftmark {

AppWindows::AppWindows(WindowService& windows, PreferencesStore& userDefaults)
    : windows_(windows)
    , userDefaults_(userDefaults) {}

AppWindows::Failure AppWindows::openSettings() {
    return show(settingsWindow_, &AppWindows::makeSettingsWindow);
}

AppWindows::Failure AppWindows::openAbout() {
    return show(aboutWindow_, &AppWindows::makeAboutWindow);
}

AppWindows::Failure AppWindows::show(std::unique_ptr<PlatformWindow>& window,
                                     std::unique_ptr<PlatformWindow> (AppWindows::*make)()) {
    if (!window) {
        try {
            window = (this->*make)();
        } catch (const WindowUnavailable& unavailable) {
            return std::string(unavailable.what());
        }
        window->center();
    }
    window->makeKeyAndOrderFront();
    windows_.activateIgnoringOtherApps();
    return std::nullopt;
}

std::unique_ptr<PlatformWindow> AppWindows::makeSettingsWindow() {
    // A stored size that is missing, zero or negative falls back to the default; one beyond the
    // window's limits is left to the window to clamp.
    double width = userDefaults_.doubleValue(widthKey);
    double height = userDefaults_.doubleValue(heightKey);
    width = width > 0 ? width : defaultSettingsSize.width;
    height = height > 0 ? height : defaultSettingsSize.height;

    WindowConfiguration configuration;
    configuration.content = WindowContent::settingsView;
    configuration.contentSize = {width, height};
    configuration.style = {.titled = true,
                           .closable = true,
                           .miniaturizable = true,
                           .resizable = true,
                           .fullSizeContentView = true};
    configuration.title = settingsTitle;
    configuration.minSize = Size{700, 500};
    configuration.maxSize = Size{1000, 900};
    return windows_.makeWindow(configuration, this);
}

std::unique_ptr<PlatformWindow> AppWindows::makeAboutWindow() {
    WindowConfiguration configuration;
    configuration.content = WindowContent::aboutView;
    configuration.contentSize = {380, 380};
    configuration.style = {.titled = true, .closable = true, .fullSizeContentView = true};
    configuration.title = "About Driftmark";
    configuration.titlebarAppearsTransparent = true;
    configuration.titleHidden = true;
    configuration.movableByWindowBackground = true;
    return windows_.makeWindow(configuration, nullptr);
}

void AppWindows::windowDidResize(const PlatformWindow& window) {
    if (&window != settingsWindow_.get()) {
        return;
    }
    const Size size = window.size();
    userDefaults_.set(widthKey, size.width);
    userDefaults_.set(heightKey, size.height);
}

} // namespace driftmark
