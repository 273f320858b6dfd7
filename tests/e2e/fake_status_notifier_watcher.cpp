// A StatusNotifierWatcher for the end-to-end tests: owns org.kde.StatusNotifierWatcher on the session bus
// (a private one) with no host behind it, and answers RegisterStatusNotifierItem as the first argument
// says:
//   refuse   with an error, as a watcher does that takes no items from this program
//   accept   by taking the item, which it lists in RegisteredStatusNotifierItems until its name goes
// Each registration is written to standard output, one line each: "refused NAME" or "registered NAME".
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QStringList>
#include <cstring>
#include <iostream>

namespace {

const QString watcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString watcherPath = QStringLiteral("/StatusNotifierWatcher");
const QString propertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");

void say(const QString& line) {
    std::cout << line.toStdString() << std::endl;
}

class FakeStatusNotifierWatcher final : public QDBusVirtualObject {
public:
    FakeStatusNotifierWatcher(QDBusConnection bus, bool accepts)
        : bus_(std::move(bus))
        , accepts_(accepts)
        , owners_(QString(), bus_, QDBusServiceWatcher::WatchForUnregistration) {
        QObject::connect(&owners_, &QDBusServiceWatcher::serviceUnregistered, &owners_,
                         [this](const QString& name) { drop(name); });
    }

    QString introspect(const QString&) const override { return {}; }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection&) override {
        if (message.path() != watcherPath) {
            return false;
        }
        const QVariantList arguments = message.arguments();
        if (message.interface() == watcherService &&
            message.member() == QStringLiteral("RegisterStatusNotifierItem") && arguments.size() == 1) {
            registerItem(message, arguments[0].toString());
        } else if (message.interface() == propertiesInterface && message.member() == QStringLiteral("Get") &&
                   arguments.size() == 2 &&
                   arguments[1].toString() == QStringLiteral("RegisteredStatusNotifierItems")) {
            bus_.send(message.createReply(QVariant::fromValue(QDBusVariant(items_))));
        } else {
            bus_.send(message.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod"),
                                               QStringLiteral("no such method")));
        }
        return true;
    }

private:
    void registerItem(const QDBusMessage& message, const QString& item) {
        if (!accepts_) {
            say(QStringLiteral("refused ") + item);
            bus_.send(message.createErrorReply(QStringLiteral("org.example.Watcher.Error.Refused"),
                                               QStringLiteral("this watcher takes no items")));
            return;
        }
        say(QStringLiteral("registered ") + item);
        if (!items_.contains(item)) {
            items_.append(item);
            owners_.addWatchedService(item);
        }
        bus_.send(message.createReply());
        bus_.send(QDBusMessage::createSignal(watcherPath, watcherService,
                                             QStringLiteral("StatusNotifierItemRegistered"))
                  << item);
    }

    void drop(const QString& name) {
        if (items_.removeAll(name) > 0) {
            owners_.removeWatchedService(name);
            bus_.send(QDBusMessage::createSignal(watcherPath, watcherService,
                                                 QStringLiteral("StatusNotifierItemUnregistered"))
                      << name);
        }
    }

    QDBusConnection bus_;
    bool accepts_;
    QStringList items_;
    QDBusServiceWatcher owners_;
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    if (argc != 2 || (std::strcmp(argv[1], "refuse") != 0 && std::strcmp(argv[1], "accept") != 0)) {
        std::cerr << "usage: " << argv[0] << " refuse|accept" << std::endl;
        return 2;
    }
    QDBusConnection bus = QDBusConnection::sessionBus();
    FakeStatusNotifierWatcher watcher(bus, std::strcmp(argv[1], "accept") == 0);
    if (!bus.registerVirtualObject(watcherPath, &watcher) ||
        bus.interface()
                ->registerService(watcherService, QDBusConnectionInterface::DontQueueService,
                                  QDBusConnectionInterface::DontAllowReplacement)
                .value() != QDBusConnectionInterface::ServiceRegistered) {
        std::cerr << "cannot own " << watcherService.toStdString() << std::endl;
        return 1;
    }
    say(QStringLiteral("ready"));
    return QCoreApplication::exec();
}
