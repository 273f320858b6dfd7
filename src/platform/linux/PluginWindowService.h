#pragma once

#include "platform/WindowService.h"
#include "settings/SettingsContext.h"

#include <QPointer>
#include <functional>
#include <string>

class QMessageBox;

namespace driftmark {

class SettingsWindowFactory;

// The windows come from the settings library, loaded with Qt Quick on the first request, so that a
// Driftmark that never shows a window never pays for Qt Quick. A library that cannot be loaded makes
// every window unavailable, for the same reason each time.
class PluginWindowService final : public WindowService {
public:
    // Where the library is looked for: beside the executable (a build tree), then in the installed
    // lib/driftmark-menubar folder.
    static constexpr const char* libraryName = "driftmark-settings";

    // Asked on the first window, so that the objects it names are built no earlier than they would be.
    void setContextProvider(std::function<SettingsContext()> provider) {
        contextProvider_ = std::move(provider);
    }

    std::unique_ptr<PlatformWindow> makeWindow(const WindowConfiguration& configuration,
                                               WindowDelegate* delegate) override;
    void activateIgnoringOtherApps() override;
    void showUnavailableNotice(const std::string& headline, const std::string& reason) override;

private:
    // Throws WindowUnavailable when the library cannot be loaded.
    SettingsWindowFactory& factory();

    std::function<SettingsContext()> contextProvider_;
    SettingsWindowFactory* factory_ = nullptr;
    // Why the library could not be loaded, once it could not.
    std::string loadFailure_;
    QPointer<QMessageBox> notice_;
};

} // namespace driftmark
