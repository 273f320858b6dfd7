#pragma once

#include "platform/WindowService.h"

#include <QtPlugin>
#include <memory>

namespace driftmark {

struct SettingsContext;

// What the settings library offers the program that loads it: the application's Qt Quick windows.
class SettingsWindowFactory {
public:
    virtual ~SettingsWindowFactory() = default;
    // Called once, before the first window.
    virtual void setContext(const SettingsContext& context) = 0;
    virtual std::unique_ptr<PlatformWindow> makeWindow(const WindowConfiguration& configuration,
                                                       WindowDelegate* delegate) = 0;
    virtual void activateIgnoringOtherApps() = 0;
};

} // namespace driftmark

#define DriftmarkSettingsWindowFactory_iid "app.driftmark.menubar.SettingsWindowFactory/1"
Q_DECLARE_INTERFACE(driftmark::SettingsWindowFactory, DriftmarkSettingsWindowFactory_iid)
