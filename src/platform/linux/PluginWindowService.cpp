#include "platform/linux/PluginWindowService.h"

#include "settings/SettingsWindowFactory.h"

#include <QCoreApplication>
#include <QDir>
#include <QMessageBox>
#include <QPluginLoader>

namespace driftmark {

std::unique_ptr<PlatformWindow> PluginWindowService::makeWindow(const WindowConfiguration& configuration,
                                                                WindowDelegate* delegate) {
    return factory().makeWindow(configuration, delegate);
}

void PluginWindowService::activateIgnoringOtherApps() {
    if (factory_ != nullptr) {
        factory_->activateIgnoringOtherApps();
    }
}

void PluginWindowService::showUnavailableNotice(const std::string& headline, const std::string& reason) {
    // One notice at a time: another failure brings the open one forward with its own words.
    if (notice_ == nullptr) {
        notice_ = new QMessageBox;
        notice_->setAttribute(Qt::WA_DeleteOnClose);
        notice_->setWindowTitle(QStringLiteral("Driftmark"));
        notice_->setIcon(QMessageBox::Warning);
        notice_->setStandardButtons(QMessageBox::Ok);
        notice_->setWindowModality(Qt::NonModal);
    }
    notice_->setText(QString::fromStdString(headline));
    notice_->setInformativeText(QString::fromStdString(reason));
    notice_->show();
    notice_->raise();
    notice_->activateWindow();
}

SettingsWindowFactory& PluginWindowService::factory() {
    if (factory_ != nullptr) {
        return *factory_;
    }
    if (!loadFailure_.empty()) {
        throw WindowUnavailable(loadFailure_);
    }
    if (!contextProvider_) {
        throw WindowUnavailable("the windows were asked for before start-up was done");
    }
    // Beside the executable in the build tree; where the install put it, relative to the executable, once
    // installed (the same relative path holds under any prefix and any staging folder).
    const QDir executableFolder(QCoreApplication::applicationDirPath());
    const QString name = QString::fromLatin1(libraryName);
    QStringList errors;
    for (const QString& candidate :
         {executableFolder.filePath(name),
          executableFolder.filePath(QStringLiteral(DRIFTMARK_PLUGIN_DIR_FROM_EXECUTABLE "/") + name)}) {
        // The loader keeps the library for the rest of the run: its windows live that long.
        QPluginLoader loader(candidate);
        if (auto* windows = qobject_cast<SettingsWindowFactory*>(loader.instance())) {
            factory_ = windows;
            factory_->setContext(contextProvider_());
            return *factory_;
        }
        errors << loader.errorString().simplified();
    }
    loadFailure_ =
        "the settings library cannot be loaded: " + errors.join(QStringLiteral("; ")).toStdString();
    throw WindowUnavailable(loadFailure_);
}

} // namespace driftmark
