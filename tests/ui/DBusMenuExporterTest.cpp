#include "platform/linux/sni/DBusMenuExporter.h"

#include "PeerBus.h"
#include "platform/KeyEquivalentMenuItem.h"
#include "platform/linux/keys/MenuKeySequence.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusPendingCallWatcher>
#include <QProcess>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace driftmark {
namespace {

// Counts how often the menu is asked for; its entries record the entries their actions ran with.
struct MenuSource {
    int requests = 0;
    int openings = 0;
    std::vector<std::string> chosen;
    std::optional<Menu> menu;

    DBusMenuExporter::MenuSource source() {
        return [this](bool opening) -> std::optional<Menu> {
            ++requests;
            openings += opening ? 1 : 0;
            return menu;
        };
    }

    MenuEntry entry(std::string title) {
        return MenuEntry{false,
                         std::move(title),
                         {},
                         {},
                         [this](const MenuEntry& entry) { chosen.push_back(entry.title); },
                         {}};
    }
};

std::unique_ptr<MenuSource> sourceWithCopyAndQuit() {
    auto source = std::make_unique<MenuSource>();
    source->menu = Menu{{source->entry("Copy"), MenuEntry::separator(), source->entry("Quit")}};
    return source;
}

TEST(DBusMenuExporterTest, TheFirstLayoutAsksForTheMenuAndLaterOnesDoNot) {
    const auto source = sourceWithCopyAndQuit();
    DBusMenuExporter exporter(source->source());
    DBusMenuLayoutItem layout;
    const uint revision = exporter.GetLayout(0, -1, {}, layout);
    EXPECT_EQ(source->requests, 1);
    EXPECT_EQ(layout.children.size(), 3);
    EXPECT_EQ(exporter.GetLayout(0, -1, {}, layout), revision);
    exporter.GetGroupProperties({}, {});
    exporter.GetProperty(1, QStringLiteral("label"));
    EXPECT_EQ(source->requests, 1);
    EXPECT_EQ(source->openings, 0) << "fetching the layout ahead is no request to see the menu";
}

TEST(DBusMenuExporterTest, EachOpeningAsksAgainAndAnnouncesTheNewLayout) {
    const auto source = sourceWithCopyAndQuit();
    DBusMenuExporter exporter(source->source());
    QSignalSpy updates(&exporter, &DBusMenuExporter::LayoutUpdated);
    DBusMenuLayoutItem layout;
    const uint first = exporter.GetLayout(0, -1, {}, layout);

    source->menu->entries.push_back(source->entry("About"));
    EXPECT_TRUE(exporter.AboutToShow(0));
    EXPECT_EQ(source->requests, 2);
    EXPECT_EQ(source->openings, 1);
    ASSERT_EQ(updates.count(), 1);
    const uint second = updates.front().at(0).toUInt();
    EXPECT_GT(second, first);
    EXPECT_EQ(updates.front().at(1).toInt(), 0);
    EXPECT_EQ(exporter.GetLayout(0, -1, {}, layout), second);
    EXPECT_EQ(layout.children.size(), 4);

    // Items have no submenus to update.
    EXPECT_FALSE(exporter.AboutToShow(1));
    EXPECT_EQ(source->requests, 2);
}

TEST(DBusMenuExporterTest, AnOpeningThatChangesNothingVisibleKeepsTheLayoutButTakesTheNewActions) {
    const auto source = sourceWithCopyAndQuit();
    DBusMenuExporter exporter(source->source());
    QSignalSpy updates(&exporter, &DBusMenuExporter::LayoutUpdated);
    DBusMenuLayoutItem layout;
    const uint revision = exporter.GetLayout(0, -1, {}, layout);

    std::vector<std::string> fresh;
    source->menu->entries[2].action = [&fresh](const MenuEntry& entry) { fresh.push_back(entry.title); };
    EXPECT_FALSE(exporter.AboutToShow(0));
    EXPECT_EQ(source->requests, 2);
    EXPECT_EQ(updates.count(), 0);
    EXPECT_EQ(exporter.GetLayout(0, -1, {}, layout), revision);

    exporter.Event(3, QStringLiteral("clicked"), QDBusVariant(QVariant(0)), 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(fresh, std::vector<std::string>{"Quit"});
    EXPECT_TRUE(source->chosen.empty());
}

TEST(DBusMenuExporterTest, AGroupOpeningReportsUnknownItems) {
    const auto source = sourceWithCopyAndQuit();
    DBusMenuExporter exporter(source->source());
    QList<int> errors;
    const QList<int> updates = exporter.AboutToShowGroup({0, 1, 7}, errors);
    EXPECT_EQ(updates, QList<int>{0});
    EXPECT_EQ(errors, QList<int>{7});
}

TEST(DBusMenuExporterTest, AClickRunsTheEntrysActionAfterTheAnswer) {
    const auto source = sourceWithCopyAndQuit();
    DBusMenuExporter exporter(source->source());
    exporter.AboutToShow(0);
    exporter.Event(3, QStringLiteral("clicked"), QDBusVariant(QVariant(0)), 0);
    exporter.Event(1, QStringLiteral("hovered"), QDBusVariant(QVariant(0)), 0);
    EXPECT_TRUE(source->chosen.empty());
    QCoreApplication::processEvents();
    EXPECT_EQ(source->chosen, std::vector<std::string>{"Quit"});
}

TEST(DBusMenuExporterTest, AGroupOfEventsRunsEachKnownOne) {
    const auto source = sourceWithCopyAndQuit();
    DBusMenuExporter exporter(source->source());
    exporter.AboutToShow(0);
    const QList<int> errors =
        exporter.EventGroup({DBusMenuEvent{1, QStringLiteral("clicked"), QDBusVariant(QVariant(0)), 0},
                             DBusMenuEvent{9, QStringLiteral("clicked"), QDBusVariant(QVariant(0)), 0},
                             DBusMenuEvent{0, QStringLiteral("closed"), QDBusVariant(QVariant(0)), 0}});
    EXPECT_EQ(errors, QList<int>{9});
    QCoreApplication::processEvents();
    EXPECT_EQ(source->chosen, std::vector<std::string>{"Copy"});
}

TEST(DBusMenuExporterTest, NoMenuIsAnEmptyOne) {
    MenuSource source;
    DBusMenuExporter exporter(source.source());
    DBusMenuLayoutItem layout;
    exporter.GetLayout(0, -1, {}, layout);
    EXPECT_EQ(source.requests, 1);
    EXPECT_TRUE(layout.children.isEmpty());
    EXPECT_EQ(exporter.GetGroupProperties({}, {}).size(), 1);
}

TEST(DBusMenuExporterTest, TheMenusFixedProperties) {
    MenuSource source;
    DBusMenuExporter exporter(source.source());
    EXPECT_EQ(exporter.version(), 3U);
    EXPECT_EQ(exporter.textDirection(), QStringLiteral("ltr"));
    EXPECT_EQ(exporter.status(), QStringLiteral("normal"));
    EXPECT_TRUE(exporter.iconThemePath().isEmpty());
    EXPECT_EQ(source.requests, 0);
}

TEST(DBusMenuExporterTest, ChangedShortcutsAreAnnounced) {
    MenuSource source;
    KeyEquivalentMenuItem* shown = nullptr;
    MenuEntry copy = source.entry("Copy");
    copy.shownKeyEquivalent = [&shown](KeyEquivalentMenuItem& item) -> std::shared_ptr<void> {
        shown = &item;
        return nullptr;
    };
    source.menu = Menu{{copy}};
    DBusMenuExporter exporter(source.source());
    exporter.AboutToShow(0);
    QSignalSpy properties(&exporter, &DBusMenuExporter::ItemsPropertiesUpdated);
    ASSERT_NE(shown, nullptr);
    shown->setKeyEquivalent("c", menuKeySequence::controlFlag | menuKeySequence::shiftFlag);
    ASSERT_EQ(properties.count(), 1);
    const auto updated = properties.front().at(0).value<DBusMenuItemPropertiesList>();
    ASSERT_EQ(updated.size(), 1);
    EXPECT_EQ(updated.front().id, 1);
    EXPECT_EQ(updated.front().properties.value(QStringLiteral("shortcut")).value<DBusMenuShortcut>(),
              (DBusMenuShortcut{{QStringLiteral("Control"), QStringLiteral("Shift"), QStringLiteral("C")}}));
}

// Over a private peer-to-peer connection, as a host sees it: every method is there (QtDBus drops those
// with types it does not know), and the layout arrives whole.
class DBusMenuOverTheWireTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(bus_.valid()); }

    QDBusMessage call(const QString& interface, const QString& method, const QVariantList& arguments) {
        return bus_.call(interface, method, arguments);
    }

    std::unique_ptr<MenuSource> source_ = sourceWithCopyAndQuit();
    DBusMenuExporter exporter_{source_->source()};
    test::PeerBus bus_{exporter_, QStringLiteral("/MenuBar")};
};

TEST_F(DBusMenuOverTheWireTest, EveryMethodSignalAndPropertyIsExported) {
    const QString xml = bus_.introspection();
    EXPECT_TRUE(xml.contains(QStringLiteral("interface name=\"com.canonical.dbusmenu\"")));
    for (const char* name : {"GetLayout", "GetGroupProperties", "GetProperty", "Event", "EventGroup",
                             "AboutToShow", "AboutToShowGroup"}) {
        EXPECT_TRUE(xml.contains(QStringLiteral("<method name=\"%1\">").arg(QLatin1String(name)))) << name;
    }
    for (const char* name : {"LayoutUpdated", "ItemsPropertiesUpdated"}) {
        EXPECT_TRUE(xml.contains(QStringLiteral("<signal name=\"%1\">").arg(QLatin1String(name)))) << name;
    }
    for (const char* name : {"Version", "TextDirection", "Status", "IconThemePath"}) {
        EXPECT_TRUE(xml.contains(QStringLiteral("<property name=\"%1\"").arg(QLatin1String(name)))) << name;
    }
    EXPECT_TRUE(xml.contains(QStringLiteral("type=\"(ia{sv}av)\" direction=\"out\"")));
    EXPECT_TRUE(xml.contains(QStringLiteral("type=\"a(isvu)\" direction=\"in\"")));
    EXPECT_FALSE(xml.contains(QStringLiteral("objectName")));
}

TEST_F(DBusMenuOverTheWireTest, TheLayoutArrivesWhole) {
    const QDBusMessage reply =
        call(QStringLiteral("com.canonical.dbusmenu"), QStringLiteral("GetLayout"), {0, -1, QStringList{}});
    ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
    ASSERT_EQ(reply.arguments().size(), 2);
    EXPECT_EQ(reply.signature(), QStringLiteral("u(ia{sv}av)"));
    const auto layout = qdbus_cast<DBusMenuLayoutItem>(reply.arguments().at(1));
    ASSERT_EQ(layout.children.size(), 3);
    EXPECT_EQ(layout.children.at(2).id, 3);
    EXPECT_EQ(layout.children.at(2).properties.value(QStringLiteral("label")).toString(),
              QStringLiteral("Quit"));
    EXPECT_EQ(layout.children.at(1).properties.value(QStringLiteral("type")).toString(),
              QStringLiteral("separator"));
}

TEST_F(DBusMenuOverTheWireTest, AnUnknownItemIsAnError) {
    const QDBusMessage reply = call(QStringLiteral("com.canonical.dbusmenu"), QStringLiteral("GetProperty"),
                                    {42, QStringLiteral("label")});
    EXPECT_EQ(reply.type(), QDBusMessage::ErrorMessage);
}

TEST_F(DBusMenuOverTheWireTest, AClickOverTheWireRunsTheAction) {
    call(QStringLiteral("com.canonical.dbusmenu"), QStringLiteral("AboutToShow"), {0});
    const QDBusMessage reply =
        call(QStringLiteral("com.canonical.dbusmenu"), QStringLiteral("Event"),
             {1, QStringLiteral("clicked"), QVariant::fromValue(QDBusVariant(QVariant(QString()))), 0U});
    ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
    QCoreApplication::processEvents();
    EXPECT_EQ(source_->chosen, std::vector<std::string>{"Copy"});
}

TEST_F(DBusMenuOverTheWireTest, AShortcutGoesByItsKeySymbolName) {
    source_->menu = Menu{{MenuEntry{false, "Settings", ",", {}, {}, {}}}};
    call(QStringLiteral("com.canonical.dbusmenu"), QStringLiteral("AboutToShow"), {0});
    const QDBusMessage reply =
        call(QStringLiteral("com.canonical.dbusmenu"), QStringLiteral("GetLayout"), {0, -1, QStringList{}});
    ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
    const auto layout = qdbus_cast<DBusMenuLayoutItem>(reply.arguments().at(1));
    ASSERT_EQ(layout.children.size(), 1);
    EXPECT_EQ(
        qdbus_cast<DBusMenuShortcut>(layout.children.at(0).properties.value(QStringLiteral("shortcut"))),
        (DBusMenuShortcut{{QStringLiteral("Control"), QStringLiteral("comma")}}));
}

TEST(DBusMenuHostKeysTest, TheHostsDBusMenuLibraryTellsItsKeyNames) {
    EXPECT_EQ(dbusMenuKeyNamesFromMaps(
                  "7f00-7f10 r-xp 0 08:01 12 /usr/lib/x86_64-linux-gnu/libdbusmenu-gtk3.so.4.0.12\n"
                  "7f10-7f20 r-xp 0 08:01 13 /usr/lib/x86_64-linux-gnu/libgtk-3.so.0\n"),
              DBusMenuKeyNames::keySymbols);
    EXPECT_EQ(dbusMenuKeyNamesFromMaps(
                  "7f00-7f10 r-xp 0 08:01 12 /usr/lib/x86_64-linux-gnu/libQt5Core.so.5\n"
                  "7f10-7f20 r-xp 0 08:01 13 /usr/lib/x86_64-linux-gnu/libdbusmenu-qt5.so.2\n"),
              DBusMenuKeyNames::qt);
    // A Qt program that loaded GTK for its looks still reads Qt's names through Qt's dbusmenu.
    EXPECT_EQ(dbusMenuKeyNamesFromMaps("7f00-7f10 r-xp 0 08:01 12 /usr/lib/x86_64-linux-gnu/libgtk-3.so.0\n"
                                       "7f10-7f20 r-xp 0 08:01 13 /usr/lib/libdbusmenu-lxqt.so.0\n"),
              DBusMenuKeyNames::qt);
}

TEST(DBusMenuHostKeysTest, AQtProgramWithoutTheLibraryReadsQtsNamesAndAnyOtherKeySymbolNames) {
    EXPECT_EQ(
        dbusMenuKeyNamesFromMaps("7f00-7f10 r-xp 0 08:01 12 /usr/lib/x86_64-linux-gnu/libQt6Core.so.6\n"),
        DBusMenuKeyNames::qt);
    EXPECT_EQ(
        dbusMenuKeyNamesFromMaps("7f00-7f10 r-xp 0 08:01 12 /usr/lib/x86_64-linux-gnu/libglib-2.0.so.0\n"),
        DBusMenuKeyNames::keySymbols);
    EXPECT_EQ(dbusMenuKeyNamesFromMaps(""), DBusMenuKeyNames::keySymbols);
}

TEST(DBusMenuHostKeysTest, AQtHostGetsTheCharacterInEveryItem) {
    const DBusMenuShortcut comma{{QStringLiteral("Control"), QStringLiteral("comma")}};
    DBusMenuLayoutItem root{
        0,
        {},
        {DBusMenuLayoutItem{1, {{QStringLiteral("shortcut"), QVariant::fromValue(comma)}}, {}},
         DBusMenuLayoutItem{2, {{QStringLiteral("label"), QStringLiteral("Quit")}}, {}}}};
    const DBusMenuLayoutItem forQt = dbusMenuLayoutFor(DBusMenuKeyNames::qt, root);
    EXPECT_EQ(forQt.children.at(0).properties.value(QStringLiteral("shortcut")).value<DBusMenuShortcut>(),
              (DBusMenuShortcut{{QStringLiteral("Control"), QStringLiteral(",")}}));
    EXPECT_EQ(forQt.children.at(1).properties, root.children.at(1).properties);
    const DBusMenuLayoutItem forGtk = dbusMenuLayoutFor(DBusMenuKeyNames::keySymbols, root);
    EXPECT_EQ(forGtk.children.at(0).properties.value(QStringLiteral("shortcut")).value<DBusMenuShortcut>(),
              comma);
}

// On a bus daemon of the test's own, the exporter looks at the process that calls it: this Qt program
// gets Qt's names, GLib's gdbus (no Qt) the key symbol names.
class DBusMenuOnAPrivateBusTest : public testing::Test {
protected:
    void SetUp() override {
        daemon_.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--session"), QStringLiteral("--nofork"),
                                                      QStringLiteral("--print-address")});
        ASSERT_TRUE(daemon_.waitForStarted(5000));
        QByteArray address;
        for (int round = 0; round < 100 && !address.contains('\n'); ++round) {
            daemon_.waitForReadyRead(50);
            address += daemon_.readAllStandardOutput();
        }
        address_ = QString::fromUtf8(address.trimmed());
        ASSERT_FALSE(address_.isEmpty());
        QDBusConnection exporterSide =
            QDBusConnection::connectToBus(address_, QStringLiteral("menu-exporter"));
        ASSERT_TRUE(exporterSide.isConnected());
        ASSERT_TRUE(exporterSide.registerObject(QStringLiteral("/MenuBar"), &exporter_,
                                                QDBusConnection::ExportAllSlots |
                                                    QDBusConnection::ExportAllSignals |
                                                    QDBusConnection::ExportAllProperties));
        service_ = exporterSide.baseService();
        ASSERT_TRUE(QDBusConnection::connectToBus(address_, QStringLiteral("menu-host")).isConnected());
        source_.menu = Menu{{MenuEntry{false, "Settings", ",", {}, {}, {}}}};
    }

    void TearDown() override {
        QDBusConnection::disconnectFromBus(QStringLiteral("menu-exporter"));
        QDBusConnection::disconnectFromBus(QStringLiteral("menu-host"));
        daemon_.kill();
        daemon_.waitForFinished(5000);
    }

    MenuSource source_;
    DBusMenuExporter exporter_{source_.source()};
    QProcess daemon_;
    QString address_;
    QString service_;
};

TEST_F(DBusMenuOnAPrivateBusTest, AQtHostGetsTheCharacter) {
    QDBusMessage message =
        QDBusMessage::createMethodCall(service_, QStringLiteral("/MenuBar"),
                                       QStringLiteral("com.canonical.dbusmenu"), QStringLiteral("GetLayout"));
    message.setArguments({0, -1, QStringList{}});
    QDBusPendingCallWatcher watcher(QDBusConnection(QStringLiteral("menu-host")).asyncCall(message));
    QSignalSpy finished(&watcher, &QDBusPendingCallWatcher::finished);
    if (!watcher.isFinished()) {
        ASSERT_TRUE(finished.wait(5000));
    }
    const QDBusMessage reply = watcher.reply();
    ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
    const auto layout = qdbus_cast<DBusMenuLayoutItem>(reply.arguments().at(1));
    ASSERT_EQ(layout.children.size(), 1);
    EXPECT_EQ(
        qdbus_cast<DBusMenuShortcut>(layout.children.at(0).properties.value(QStringLiteral("shortcut"))),
        (DBusMenuShortcut{{QStringLiteral("Control"), QStringLiteral(",")}}));
}

TEST_F(DBusMenuOnAPrivateBusTest, AHostWithoutQtGetsTheKeySymbolName) {
    QProcess gdbus;
    gdbus.start(QStringLiteral("gdbus"),
                {QStringLiteral("call"), QStringLiteral("--address"), address_, QStringLiteral("--dest"),
                 service_, QStringLiteral("--object-path"), QStringLiteral("/MenuBar"),
                 QStringLiteral("--method"), QStringLiteral("com.canonical.dbusmenu.GetLayout"),
                 QStringLiteral("--"), QStringLiteral("0"), QStringLiteral("-1"), QStringLiteral("[]")});
    ASSERT_TRUE(gdbus.waitForStarted(5000));
    // The exporter answers from this thread's event loop.
    QSignalSpy finished(&gdbus, &QProcess::finished);
    ASSERT_TRUE(finished.wait(10000));
    const QString output = QString::fromUtf8(gdbus.readAllStandardOutput());
    EXPECT_TRUE(output.contains(QStringLiteral("<[['Control', 'comma']]>")))
        << output.toStdString() << gdbus.readAllStandardError().toStdString();
}

} // namespace
} // namespace driftmark
