#include "app/AppWindows.h"

#include "platform/PreferencesStore.h"

namespace driftmark {

AppWindows::AppWindows(WindowService& windows, PreferencesStore& userDefaults)
    : windows_(windows)
    , userDefaults_(userDefaults) {}

void AppWindows::openSettings() {
    if (!settingsWindow_) {
        settingsWindow_ = makeSettingsWindow();
    }
    if (settingsWindow_) {
        settingsWindow_->makeKeyAndOrderFront();
    }
    windows_.activateIgnoringOtherApps();
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
    auto window = windows_.makeWindow(configuration, this);
    if (window) {
        window->center();
    }
    return window;
}

void AppWindows::openAbout() {
    if (!aboutWindow_) {
        WindowConfiguration configuration;
        configuration.content = WindowContent::aboutView;
        configuration.contentSize = {380, 380};
        configuration.style = {.titled = true, .closable = true, .fullSizeContentView = true};
        configuration.title = "About Driftmark";
        configuration.titlebarAppearsTransparent = true;
        configuration.titleHidden = true;
        configuration.movableByWindowBackground = true;
        aboutWindow_ = windows_.makeWindow(configuration, nullptr);
        if (aboutWindow_) {
            aboutWindow_->center();
        }
    }
    if (aboutWindow_) {
        aboutWindow_->makeKeyAndOrderFront();
    }
    windows_.activateIgnoringOtherApps();
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
