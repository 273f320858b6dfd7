#pragma once

#include "platform/SystemLog.h"
#include "platform/WindowService.h"

#include <memory>

namespace driftmark {

class PreferencesStore;

// The settings and about windows: each created on its first request, then kept and shown again. The
// settings window's size is remembered for the next start. Main thread only.
class AppWindows final : public WindowDelegate {
public:
    static constexpr const char* widthKey = "settingsWindowWidth";
    static constexpr const char* heightKey = "settingsWindowHeight";
    static constexpr Size defaultSettingsSize{800, 820};
    static constexpr const char* settingsTitle = "Settings driftmark.app";

    AppWindows(WindowService& windows, PreferencesStore& userDefaults);
    AppWindows(const AppWindows&) = delete;
    AppWindows& operator=(const AppWindows&) = delete;

    void openSettings();
    void openAbout();
    void windowDidResize(const PlatformWindow& window) override;

    const PlatformWindow* settingsWindow() const { return settingsWindow_.get(); }

private:
    std::unique_ptr<PlatformWindow> makeSettingsWindow();

    WindowService& windows_;
    PreferencesStore& userDefaults_;
    std::unique_ptr<PlatformWindow> settingsWindow_;
    std::unique_ptr<PlatformWindow> aboutWindow_;
};

} // namespace driftmark
