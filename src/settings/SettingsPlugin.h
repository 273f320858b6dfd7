#pragma once

#include "settings/LocalUrlInterceptor.h"
#include "settings/SettingsContext.h"
#include "settings/SettingsWindowFactory.h"

#include <QObject>
#include <QPointer>
#include <optional>

class QQmlEngine;
class QQuickWindow;

namespace driftmark {

// The library's entry point: builds the Qt Quick engine on the first window and makes the settings and
// about windows from their QML views.
class SettingsPlugin final : public QObject, public SettingsWindowFactory {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID DriftmarkSettingsWindowFactory_iid)
    Q_INTERFACES(driftmark::SettingsWindowFactory)
public:
    ~SettingsPlugin() override;
    void setContext(const SettingsContext& context) override;
    std::unique_ptr<PlatformWindow> makeWindow(const WindowConfiguration& configuration,
                                               WindowDelegate* delegate) override;
    void activateIgnoringOtherApps() override;

private:
    QQmlEngine& engine();

    std::optional<SettingsContext> context_;
    // Belongs to the application object, so it goes before Qt does at exit.
    QPointer<QQmlEngine> engine_;
    QPointer<QQuickWindow> frontWindow_;
    LocalUrlInterceptor urlInterceptor_;
};

} // namespace driftmark
