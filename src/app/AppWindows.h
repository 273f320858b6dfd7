#pragma once

#include "platform/SystemLog.h"
#include "platform/WindowService.h"

#include <memory>
#include <optional>
#include <string>

namespace driftmark {

class PreferencesStore;

// The settings and about windows: each created on its first request, then kept and shown again. The
// settings window's size is remembered for the next start. A window that cannot be built is asked for
// again on the next request. Main thread only.
class AppWindows final : public WindowDelegate {
public:
    // Why the window did not open, as one line; empty when it is shown.
    using Failure = std::optional<std::string>;

    static constexpr const char* widthKey = "settingsWindowWidth";
    static constexpr const char* heightKey = "settingsWindowHeight";
    static constexpr Size defaultSettingsSize{800, 820};
    static constexpr const char* settingsTitle = "Settings driftmark.app";

    AppWindows(WindowService& windows, PreferencesStore& userDefaults);
    AppWindows(const AppWindows&) = delete;
    AppWindows& operator=(const AppWindows&) = delete;

    Failure openSettings();
    Failure openAbout();
    void windowDidResize(const PlatformWindow& window) override;

    const PlatformWindow* settingsWindow() const { return settingsWindow_.get(); }

private:
    std::unique_ptr<PlatformWindow> makeSettingsWindow();
    std::unique_ptr<PlatformWindow> makeAboutWindow();
    // Makes the window if there is none yet, then shows it in front.
    Failure show(std::unique_ptr<PlatformWindow>& window,
                 std::unique_ptr<PlatformWindow> (AppWindows::*make)());

    WindowService& windows_;
    PreferencesStore& userDefaults_;
    std::unique_ptr<PlatformWindow> settingsWindow_;
    std::unique_ptr<PlatformWindow> aboutWindow_;
};

} // namespace driftmark
