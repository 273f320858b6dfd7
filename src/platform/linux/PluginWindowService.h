#pragma once

#include "platform/WindowService.h"
#include "settings/SettingsContext.h"

#include <functional>
#include <string>

namespace driftmark {

class SettingsWindowFactory;

// The windows come from the settings library, loaded with Qt Quick on the first request, so that a
// Driftmark that never shows a window never pays for Qt Quick.
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

private:
    SettingsWindowFactory* factory();

    std::function<SettingsContext()> contextProvider_;
    SettingsWindowFactory* factory_ = nullptr;
    bool loadFailed_ = false;
};

} // namespace driftmark
