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
//   unanswered METHOD REQUEST                a request left without its Response (see "silent")
// SESSION and REQUEST are the last parts of the session's and the request's paths. Standard input takes one
// command a line:
//   activate ID | deactivate ID   the shortcut's Activated or Deactivated signal, for the session made last
//                                 that has it → "activated SESSION ID" (or deactivated), or "no-session ID"
//   wrong KIND                    from now on one kind of data goes out with a D-Bus type no portal uses:
//                                 request-handle (the call's reply s, not o), response (Response as (s)),
//                                 session-handle (a u), list-shortcuts and bind-shortcuts (the results'
//                                 shortcuts as a(ss)), signals (Activated and Deactivated as (oss)); or
//                                 off → "wrong KIND"
//   silent METHOD                 from now on METHOD's requests get their reply but never a Response; the
//                                 portal does what they ask all the same; "silent off" ends it → "silent ..."
//   forge activate ID             a second connection of this program sends the Activated signal the
//                                 portal would send → "forged SESSION ID" (or "no-session ID")
//   forge respond                 the second connection sends the Response the portal withheld last, as
//                                 the portal would have → "forged-response REQUEST" (or "nothing-withheld")
#include "platform/linux/portal/PortalShortcut.h"
#include "wayland/StandardInputLines.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVirtualObject>
#include <QList>
#include <QStringList>
#include <iostream>
#include <map>
#include <sstream>
#include <string>

namespace {

using driftmark::PortalShortcut;
using driftmark::PortalShortcutList;

// A shortcut of the wrong D-Bus type, (ss): an id and its trigger.
struct WrongShortcut {
    QString id;
    QString trigger;
};

QDBusArgument& operator<<(QDBusArgument& argument, const WrongShortcut& shortcut) {
    argument.beginStructure();
    argument << shortcut.id << shortcut.trigger;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, WrongShortcut& shortcut) {
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.trigger;
    argument.endStructure();
    return argument;
}

} // namespace

Q_DECLARE_METATYPE(WrongShortcut)

namespace {

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
    FakeGlobalShortcutsPortal(QDBusConnection bus, QDBusConnection forger, bool hasShortcuts,
                              bool registersOnCreation)
        : bus_(std::move(bus))
        , forger_(std::move(forger))
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
            answer(message, mapOf(arguments[1]),
                   {{QStringLiteral("shortcuts"),
                     wrong_ == "list-shortcuts" ? wronglyTyped(session) : listed(session)}});
        } else if (member == QStringLiteral("BindShortcuts") && arguments.size() == 4) {
            bindShortcuts(message, arguments);
        } else {
            bus_.send(message.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod"),
                                               QStringLiteral("no such method")));
        }
        return true;
    }

    void command(const std::string& line) {
        std::istringstream words(line);
        std::string command;
        std::string argument;
        std::string id;
        words >> command >> argument >> id;
        if (command == "activate" || command == "deactivate") {
            signal(bus_, command == "activate", QString::fromStdString(argument));
        } else if (command == "wrong") {
            wrong_ = argument;
            say(QStringLiteral("wrong ") + QString::fromStdString(argument));
        } else if (command == "silent") {
            silent_ = QString::fromStdString(argument);
            say(QStringLiteral("silent ") + silent_);
        } else if (command == "forge" && argument == "activate") {
            signal(forger_, true, QString::fromStdString(id));
        } else if (command == "forge" && argument == "respond") {
            forgeResponse();
        } else {
            say(QStringLiteral("unknown command: ") + QString::fromStdString(line));
        }
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

    // The shortcut's signal, from `connection`, for the session made last that has the shortcut.
    void signal(const QDBusConnection& connection, bool activate, const QString& shortcutId) {
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
        auto message = QDBusMessage::createSignal(portalPath, shortcutsInterface,
                                                  activate ? QStringLiteral("Activated")
                                                           : QStringLiteral("Deactivated"));
        message << QVariant::fromValue(QDBusObjectPath(holder)) << shortcutId;
        if (wrong_ == "signals") {
            message << QStringLiteral("0");
        } else {
            message << qulonglong{0} << QVariantMap();
        }
        connection.send(message);
        const bool forged = connection.baseService() != bus_.baseService();
        say(QString::fromLatin1(forged     ? "forged "
                                : activate ? "activated "
                                           : "deactivated ") +
            lastPart(holder) + QLatin1Char(' ') + shortcutId);
    }

    // Replies with the request's path, then answers through the request's Response signal, unless the
    // method is silent.
    void answer(const QDBusMessage& message, const QVariantMap& options, const QVariantMap& results) {
        const QString request = portalPath + QStringLiteral("/request/") + senderPart(message) +
                                QLatin1Char('/') + options.value(QStringLiteral("handle_token")).toString();
        bus_.send(wrong_ == "request-handle"
                      ? message.createReply(request)
                      : message.createReply(QVariant::fromValue(QDBusObjectPath(request))));
        auto response = QDBusMessage::createSignal(request, QStringLiteral("org.freedesktop.portal.Request"),
                                                   QStringLiteral("Response"));
        if (wrong_ == "response") {
            response << QStringLiteral("done");
        } else {
            response << uint{0} << results;
        }
        if (message.member() == silent_) {
            withheld_ = response;
            say(QStringLiteral("unanswered ") + message.member() + QLatin1Char(' ') + lastPart(request));
            return;
        }
        bus_.send(response);
    }

    void forgeResponse() {
        if (withheld_.type() != QDBusMessage::SignalMessage) {
            say(QStringLiteral("nothing-withheld"));
            return;
        }
        forger_.send(withheld_);
        say(QStringLiteral("forged-response ") + lastPart(withheld_.path()));
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
        answer(message, options,
               {{QStringLiteral("session_handle"),
                 wrong_ == "session-handle" ? QVariant::fromValue(uint{7}) : QVariant(session)}});
    }

    void bindShortcuts(const QDBusMessage& message, const QVariantList& arguments) {
        const QString session = arguments[0].value<QDBusObjectPath>().path();
        const PortalShortcutList shortcuts = shortcutsOf(arguments[1]);
        say(QStringLiteral("bind ") + lastPart(session) + QLatin1Char(' ') + describe(shortcuts));
        if (!registersOnCreation_ && sessions_.contains(session)) {
            sessions_[session].shortcuts = shortcuts;
            say(QStringLiteral("registered ") + lastPart(session) + QLatin1Char(' ') + describe(shortcuts));
        }
        answer(message, mapOf(arguments[3]),
               {{QStringLiteral("shortcuts"),
                 wrong_ == "bind-shortcuts" ? wronglyTyped(session) : listed(session)}});
    }

    QVariant wronglyTyped(const QString& session) {
        QList<WrongShortcut> shortcuts;
        if (const auto found = sessions_.find(session); found != sessions_.end()) {
            for (const PortalShortcut& shortcut : found->second.shortcuts) {
                shortcuts.append(
                    {shortcut.id, shortcut.properties.value(QStringLiteral("preferred_trigger")).toString()});
            }
        }
        return QVariant::fromValue(shortcuts);
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
    // Another connection on the same bus, as any other program has: what it sends is not the portal's.
    QDBusConnection forger_;
    bool hasShortcuts_;
    bool registersOnCreation_;
    std::string wrong_ = "off";
    QString silent_ = QStringLiteral("off");
    QDBusMessage withheld_;
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
    qDBusRegisterMetaType<WrongShortcut>();
    qDBusRegisterMetaType<QList<WrongShortcut>>();
    QDBusConnection bus = QDBusConnection::sessionBus();
    const QDBusConnection forger =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("forger"));
    FakeGlobalShortcutsPortal portal(bus, forger, mode != QStringLiteral("none"),
                                     mode == QStringLiteral("kde527"));
    if (!bus.registerVirtualObject(portalPath, &portal, QDBusConnection::SubPath) ||
        !bus.registerService(QStringLiteral("org.freedesktop.portal.Desktop"))) {
        std::cerr << "the portal's name or object is taken: " << bus.lastError().message().toStdString()
                  << std::endl;
        return 1;
    }
    StandardInputLines commands([&portal](const std::string& line) { portal.command(line); });
    say(QStringLiteral("ready"));
    return application.exec();
}
