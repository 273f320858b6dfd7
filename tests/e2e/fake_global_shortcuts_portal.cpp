// A global-shortcuts portal for the end-to-end tests: owns org.freedesktop.portal.Desktop on the session
// bus (a private one) and plays the portal of one of two generations, chosen by the first argument:
//   kde527   registers the shortcuts of CreateSession's "shortcuts" option; BindShortcuts changes nothing
//   bind     ignores that option; BindShortcuts registers the shortcuts given
//   none     a portal without global shortcuts: it owns the name, so that no installed portal is started
//            in its place, and knows no such interface
// Each call is answered through a Request object's Response signal, as real portals do, and written to
// standard output, one line each:
//   create-session SESSION [ID=TRIGGER...]   with the shortcuts of the option
//   list SESSION
//   bind SESSION [ID=TRIGGER...]
//   registered SESSION [ID=TRIGGER...]       the shortcuts the session has from now on
//   close SESSION
// SESSION is the last part of the session's path. Standard input takes one command a line:
//   activate ID | deactivate ID   the shortcut's Activated or Deactivated signal, for the session made last
//                                 that has it → "activated SESSION ID" (or deactivated), or "no-session ID"
#include "platform/linux/portal/PortalShortcut.h"
#include "wayland/StandardInputLines.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVirtualObject>
#include <QStringList>
#include <iostream>
#include <map>
#include <sstream>
#include <string>

namespace {

using driftmark::PortalShortcut;
using driftmark::PortalShortcutList;

const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString shortcutsInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString sessionInterface = QStringLiteral("org.freedesktop.portal.Session");

void say(const QString& line) {
    std::cout << line.toStdString() << std::endl;
}

QVariantMap mapOf(const QVariant& value) {
    return value.canConvert<QDBusArgument>() ? qdbus_cast<QVariantMap>(value.value<QDBusArgument>())
                                             : value.toMap();
}

PortalShortcutList shortcutsOf(const QVariant& value) {
    return value.canConvert<QDBusArgument>() ? qdbus_cast<PortalShortcutList>(value.value<QDBusArgument>())
                                             : value.value<PortalShortcutList>();
}

QString describe(const PortalShortcutList& shortcuts) {
    QStringList words;
    for (const PortalShortcut& shortcut : shortcuts) {
        words << shortcut.id + QLatin1Char('=') +
                     shortcut.properties.value(QStringLiteral("preferred_trigger")).toString();
    }
    return words.join(QLatin1Char(' '));
}

QString lastPart(const QString& path) {
    return path.section(QLatin1Char('/'), -1);
}

class FakeGlobalShortcutsPortal final : public QDBusVirtualObject {
public:
    FakeGlobalShortcutsPortal(QDBusConnection bus, bool hasShortcuts, bool registersOnCreation)
        : bus_(std::move(bus))
        , hasShortcuts_(hasShortcuts)
        , registersOnCreation_(registersOnCreation) {}

    QString introspect(const QString&) const override { return {}; }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection&) override {
        const QString member = message.member();
        if (message.interface() == sessionInterface && member == QStringLiteral("Close")) {
            say(QStringLiteral("close ") + lastPart(message.path()));
            sessions_.erase(message.path());
            bus_.send(message.createReply());
            return true;
        }
        if (message.interface() != shortcutsInterface || message.path() != portalPath) {
            return false;
        }
        if (!hasShortcuts_) {
            say(QStringLiteral("unknown ") + member);
            bus_.send(message.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod"),
                                               QStringLiteral("No such interface ") + shortcutsInterface));
            return true;
        }
        const QVariantList arguments = message.arguments();
        if (member == QStringLiteral("CreateSession") && arguments.size() == 1) {
            createSession(message, mapOf(arguments[0]));
        } else if (member == QStringLiteral("ListShortcuts") && arguments.size() == 2) {
            const QString session = arguments[0].value<QDBusObjectPath>().path();
            say(QStringLiteral("list ") + lastPart(session));
            answer(message, mapOf(arguments[1]), {{QStringLiteral("shortcuts"), listed(session)}});
        } else if (member == QStringLiteral("BindShortcuts") && arguments.size() == 4) {
            bindShortcuts(message, arguments);
        } else {
            bus_.send(message.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod"),
                                               QStringLiteral("no such method")));
        }
        return true;
    }

    void signal(const std::string& line) {
        std::istringstream words(line);
        std::string command;
        std::string id;
        words >> command >> id;
        const QString shortcutId = QString::fromStdString(id);
        QString holder;
        for (const auto& [session, registered] : sessions_) {
            for (const PortalShortcut& shortcut : registered.shortcuts) {
                if (shortcut.id == shortcutId &&
                    (holder.isEmpty() || registered.number > sessions_[holder].number)) {
                    holder = session;
                }
            }
        }
        if (holder.isEmpty()) {
            say(QStringLiteral("no-session ") + shortcutId);
            return;
        }
        const bool activate = command == "activate";
        auto message = QDBusMessage::createSignal(portalPath, shortcutsInterface,
                                                  activate ? QStringLiteral("Activated")
                                                           : QStringLiteral("Deactivated"));
        message << QVariant::fromValue(QDBusObjectPath(holder)) << shortcutId << qulonglong{0}
                << QVariantMap();
        bus_.send(message);
        say(QString::fromStdString(command == "activate" ? "activated " : "deactivated ") + lastPart(holder) +
            QLatin1Char(' ') + shortcutId);
    }

private:
    struct Session {
        int number = 0;
        PortalShortcutList shortcuts;
    };

    static QString senderPart(const QDBusMessage& message) {
        QString sender = message.service();
        sender.remove(QLatin1Char(':'));
        sender.replace(QLatin1Char('.'), QLatin1Char('_'));
        return sender;
    }

    // Replies with the request's path, then answers through the request's Response signal.
    void answer(const QDBusMessage& message, const QVariantMap& options, const QVariantMap& results) {
        const QString request = portalPath + QStringLiteral("/request/") + senderPart(message) +
                                QLatin1Char('/') + options.value(QStringLiteral("handle_token")).toString();
        bus_.send(message.createReply(QVariant::fromValue(QDBusObjectPath(request))));
        auto response = QDBusMessage::createSignal(request, QStringLiteral("org.freedesktop.portal.Request"),
                                                   QStringLiteral("Response"));
        response << uint{0} << results;
        bus_.send(response);
    }

    void createSession(const QDBusMessage& message, const QVariantMap& options) {
        const QString session = portalPath + QStringLiteral("/session/") + senderPart(message) +
                                QLatin1Char('/') +
                                options.value(QStringLiteral("session_handle_token")).toString();
        const PortalShortcutList offered = shortcutsOf(options.value(QStringLiteral("shortcuts")));
        say(QStringLiteral("create-session ") + lastPart(session) + QLatin1Char(' ') + describe(offered));
        sessions_[session] = {++sessionCount_, registersOnCreation_ ? offered : PortalShortcutList()};
        if (registersOnCreation_) {
            say(QStringLiteral("registered ") + lastPart(session) + QLatin1Char(' ') + describe(offered));
        }
        answer(message, options, {{QStringLiteral("session_handle"), session}});
    }

    void bindShortcuts(const QDBusMessage& message, const QVariantList& arguments) {
        const QString session = arguments[0].value<QDBusObjectPath>().path();
        const PortalShortcutList shortcuts = shortcutsOf(arguments[1]);
        say(QStringLiteral("bind ") + lastPart(session) + QLatin1Char(' ') + describe(shortcuts));
        if (!registersOnCreation_ && sessions_.contains(session)) {
            sessions_[session].shortcuts = shortcuts;
            say(QStringLiteral("registered ") + lastPart(session) + QLatin1Char(' ') + describe(shortcuts));
        }
        answer(message, mapOf(arguments[3]), {{QStringLiteral("shortcuts"), listed(session)}});
    }

    QVariant listed(const QString& session) {
        PortalShortcutList shortcuts;
        if (const auto found = sessions_.find(session); found != sessions_.end()) {
            for (const PortalShortcut& shortcut : found->second.shortcuts) {
                shortcuts.append({shortcut.id,
                                  {{QStringLiteral("description"),
                                    shortcut.properties.value(QStringLiteral("description"))},
                                   {QStringLiteral("trigger_description"),
                                    shortcut.properties.value(QStringLiteral("preferred_trigger"))}}});
            }
        }
        return QVariant::fromValue(shortcuts);
    }

    QDBusConnection bus_;
    bool hasShortcuts_;
    bool registersOnCreation_;
    std::map<QString, Session> sessions_;
    int sessionCount_ = 0;
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (mode != QStringLiteral("kde527") && mode != QStringLiteral("bind") &&
        mode != QStringLiteral("none")) {
        std::cerr << "usage: fake_global_shortcuts_portal kde527|bind|none" << std::endl;
        return 2;
    }
    PortalShortcut::registerDBusTypes();
    QDBusConnection bus = QDBusConnection::sessionBus();
    FakeGlobalShortcutsPortal portal(bus, mode != QStringLiteral("none"), mode == QStringLiteral("kde527"));
    if (!bus.registerVirtualObject(portalPath, &portal, QDBusConnection::SubPath) ||
        !bus.registerService(QStringLiteral("org.freedesktop.portal.Desktop"))) {
        std::cerr << "the portal's name or object is taken: " << bus.lastError().message().toStdString()
                  << std::endl;
        return 1;
    }
    StandardInputLines commands([&portal](const std::string& line) { portal.signal(line); });
    say(QStringLiteral("ready"));
    return application.exec();
}
