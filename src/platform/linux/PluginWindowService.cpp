#include "platform/linux/PluginWindowService.h"

#include "settings/SettingsWindowFactory.h"

#include <QCoreApplication>
#include <QDir>
#include <QPluginLoader>
#include <iostream>

namespace driftmark {

std::unique_ptr<PlatformWindow> PluginWindowService::makeWindow(const WindowConfiguration& configuration,
                                                                WindowDelegate* delegate) {
    SettingsWindowFactory* windows = factory();
    return windows != nullptr ? windows->makeWindow(configuration, delegate) : nullptr;
}

void PluginWindowService::activateIgnoringOtherApps() {
    if (factory_ != nullptr) {
        factory_->activateIgnoringOtherApps();
    }
}

SettingsWindowFactory* PluginWindowService::factory() {
    if (factory_ != nullptr || loadFailed_ || !contextProvider_) {
        return factory_;
    }
    // Beside the executable in the build tree; where the install put it, relative to the executable, once
    // installed (the same relative path holds under any prefix and any staging folder).
    const QDir executableFolder(QCoreApplication::applicationDirPath());
    const QString name = QString::fromLatin1(libraryName);
    QString lastError;
    for (const QString& candidate :
         {executableFolder.filePath(name),
          executableFolder.filePath(QStringLiteral(DRIFTMARK_PLUGIN_DIR_FROM_EXECUTABLE "/") + name)}) {
        // The loader keeps the library for the rest of the run: its windows live that long.
        QPluginLoader loader(candidate);
        if (auto* windows = qobject_cast<SettingsWindowFactory*>(loader.instance())) {
            factory_ = windows;
            factory_->setContext(contextProvider_());
            return factory_;
        }
        lastError = loader.errorString();
    }
    loadFailed_ = true;
    std::cerr << "driftmark-menubar: cannot show the settings and about windows: " << lastError.toStdString()
              << std::endl;
    return nullptr;
}

} // namespace driftmark
