#include "settings/AboutController.h"

#include "app/SettingsView.h"
#include "support/AppLogger.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QUrl>
#include <QVariantMap>

namespace driftmark {

AboutController::AboutController(AppLogger& logger, QObject* parent)
    : QObject(parent)
    , logger_(logger) {}

QString AboutController::appVersion() const {
    return QString::fromStdString(SettingsView::appVersion());
}

QString AboutController::appPath() const {
    return QCoreApplication::applicationFilePath();
}

QString AboutController::websiteHost() const {
    return QUrl(QString::fromLatin1(website)).host();
}

QVariantList AboutController::credits() const {
    const auto credit = [](const char* name, const char* role, const char* licence) {
        return QVariantMap{{QStringLiteral("name"), QString::fromUtf8(name)},
                           {QStringLiteral("role"), QString::fromUtf8(role)},
                           {QStringLiteral("licence"), QString::fromUtf8(licence)}};
    };
    return {credit("Qt 6", "windows, tray menus and the clipboard", "LGPL-3.0"),
            credit("XCB and libxkbcommon", "tray icons, shortcuts and keyboard layouts", "MIT"),
            credit("ICU", "dates and text boundaries", "Unicode-3.0"),
            credit("JSON for Modern C++", "the preferences file", "MIT"),
            credit("libuuid", "entry identifiers", "BSD-3-Clause"),
            credit("libsystemd", "the system journal", "LGPL-2.1-or-later")};
}

void AboutController::openWebsite() {
    const QUrl url(QString::fromLatin1(website));
    if (!url.isValid()) {
        return;
    }
    logger_.info("Opening website: " + url.host().toStdString());
    QDesktopServices::openUrl(url);
}

void AboutController::aboutWindowShown() {
    logger_.info("About window opened");
}

} // namespace driftmark
