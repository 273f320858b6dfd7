#pragma once

#include <QObject>
#include <QString>
#include <QVariantList>

namespace driftmark {

class AppLogger;

// What the about pane and the about window show: name, version, where the program lives, the website
// and the credits.
class AboutController final : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString appName READ appName CONSTANT)
    Q_PROPERTY(QString appVersion READ appVersion CONSTANT)
    Q_PROPERTY(QString appPath READ appPath CONSTANT)
    Q_PROPERTY(QString websiteHost READ websiteHost CONSTANT)
    Q_PROPERTY(QVariantList credits READ credits CONSTANT)
public:
    static constexpr const char* website = "https://driftmark.app";

    explicit AboutController(AppLogger& logger, QObject* parent = nullptr);

    QString appName() const { return QStringLiteral("Driftmark"); }
    QString appVersion() const;
    QString appPath() const;
    QString websiteHost() const;
    // The libraries Driftmark is built on: name, what it does here, licence.
    QVariantList credits() const;

    Q_INVOKABLE void openWebsite();
    Q_INVOKABLE void aboutWindowShown();

private:
    AppLogger& logger_;
};

} // namespace driftmark
