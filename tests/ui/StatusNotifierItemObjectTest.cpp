#include "platform/linux/sni/StatusNotifierItemObject.h"

#include "PeerBus.h"

#include <QDBusArgument>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace driftmark {
namespace {

TEST(StatusNotifierItemObjectTest, FixedProperties) {
    const StatusNotifierItemObject object(
        QStringLiteral("driftmark-X"), QDBusObjectPath(QStringLiteral("/MenuBar")), {[] {}, [](int, int) {}});
    EXPECT_EQ(object.id(), QStringLiteral("driftmark-X"));
    EXPECT_EQ(object.category(), QStringLiteral("ApplicationStatus"));
    EXPECT_EQ(object.status(), QStringLiteral("Active"));
    EXPECT_EQ(object.iconName(), QString());
    EXPECT_FALSE(object.itemIsMenu());
    EXPECT_EQ(object.menu().path(), QStringLiteral("/MenuBar"));
}

TEST(StatusNotifierItemObjectTest, TheTooltipsFirstLineIsTheTitleTheRestTheBody) {
    StatusNotifierItemObject object(QStringLiteral("id"), QDBusObjectPath(QStringLiteral("/MenuBar")),
                                    {[] {}, [](int, int) {}});
    QSignalSpy titles(&object, &StatusNotifierItemObject::NewTitle);
    QSignalSpy toolTips(&object, &StatusNotifierItemObject::NewToolTip);

    object.setToolTip(QStringLiteral("Mail <me>\nPaste to: Editor\n✓"));
    EXPECT_EQ(object.title(), QStringLiteral("Mail <me>"));
    EXPECT_EQ(object.toolTip().title, QStringLiteral("Mail <me>"));
    EXPECT_EQ(object.toolTip().body, QStringLiteral("Paste to: Editor\n✓"));
    EXPECT_TRUE(object.toolTip().pixmaps.isEmpty());
    EXPECT_EQ(titles.count(), 1);
    EXPECT_EQ(toolTips.count(), 1);

    // Only the body changes: no new title.
    object.setToolTip(QStringLiteral("Mail <me>"));
    EXPECT_EQ(object.toolTip().body, QString());
    EXPECT_EQ(titles.count(), 1);
    EXPECT_EQ(toolTips.count(), 2);

    // Nothing changes: nothing is sent.
    object.setToolTip(QStringLiteral("Mail <me>"));
    EXPECT_EQ(toolTips.count(), 2);
}

TEST(StatusNotifierItemObjectTest, MarkupInTheBodyIsShownAsText) {
    StatusNotifierItemObject object(QStringLiteral("id"), QDBusObjectPath(QStringLiteral("/MenuBar")),
                                    {[] {}, [](int, int) {}});
    object.setToolTip(QStringLiteral("T\n<b>a & b</b>"));
    EXPECT_EQ(object.toolTip().body, QStringLiteral("&lt;b&gt;a &amp; b&lt;/b&gt;"));
}

TEST(StatusNotifierItemObjectTest, ANewIconIsAnnounced) {
    StatusNotifierItemObject object(QStringLiteral("id"), QDBusObjectPath(QStringLiteral("/MenuBar")),
                                    {[] {}, [](int, int) {}});
    QSignalSpy icons(&object, &StatusNotifierItemObject::NewIcon);
    object.setIcon({StatusNotifierPixmap{1, 1, QByteArray::fromHex("ff000000")}});
    EXPECT_EQ(icons.count(), 1);
    ASSERT_EQ(object.iconPixmap().size(), 1);
    EXPECT_EQ(object.iconPixmap().front().pixels, QByteArray::fromHex("ff000000"));
}

TEST(StatusNotifierItemObjectTest, ClicksReachTheHandlersAndTheOthersDoNothing) {
    int activations = 0;
    std::vector<std::pair<int, int>> menus;
    StatusNotifierItemObject object(
        QStringLiteral("id"), QDBusObjectPath(QStringLiteral("/MenuBar")),
        {[&] { ++activations; }, [&](int x, int y) { menus.emplace_back(x, y); }});
    object.Activate(10, 20);
    object.ContextMenu(30, 40);
    object.SecondaryActivate(1, 2);
    object.Scroll(120, QStringLiteral("vertical"));
    EXPECT_EQ(activations, 1);
    EXPECT_EQ(menus, (std::vector<std::pair<int, int>>{{30, 40}}));
}

// As a host sees the item: every property with its D-Bus type, and the methods a click calls.
TEST(StatusNotifierItemObjectTest, EveryPropertyAndMethodIsExported) {
    int activations = 0;
    StatusNotifierItemObject object(QStringLiteral("driftmark-X"),
                                    QDBusObjectPath(QStringLiteral("/MenuBar")),
                                    {[&] { ++activations; }, [](int, int) {}});
    object.setIcon({StatusNotifierPixmap{1, 1, QByteArray::fromHex("ff102030")}});
    object.setToolTip(QStringLiteral("Title\nBody"));
    test::PeerBus bus(object, QStringLiteral("/StatusNotifierItem"));
    ASSERT_TRUE(bus.valid());

    const QString xml = bus.introspection();
    EXPECT_TRUE(xml.contains(QStringLiteral("interface name=\"org.kde.StatusNotifierItem\"")));
    for (const char* property :
         {"<property name=\"Id\" type=\"s\"", "<property name=\"Category\" type=\"s\"",
          "<property name=\"Status\" type=\"s\"", "<property name=\"Title\" type=\"s\"",
          "<property name=\"IconName\" type=\"s\"", "<property name=\"IconPixmap\" type=\"a(iiay)\"",
          "<property name=\"ToolTip\" type=\"(sa(iiay)ss)\"", "<property name=\"ItemIsMenu\" type=\"b\"",
          "<property name=\"Menu\" type=\"o\"", "<property name=\"AttentionIconPixmap\" type=\"a(iiay)\""}) {
        EXPECT_TRUE(xml.contains(QLatin1String(property))) << property;
    }
    for (const char* member :
         {"<method name=\"Activate\">", "<method name=\"ContextMenu\">",
          "<method name=\"SecondaryActivate\">", "<method name=\"Scroll\">", "<signal name=\"NewIcon\">",
          "<signal name=\"NewToolTip\">", "<signal name=\"NewTitle\">"}) {
        EXPECT_TRUE(xml.contains(QLatin1String(member))) << member;
    }
    EXPECT_FALSE(xml.contains(QStringLiteral("objectName")));

    const QDBusMessage pixmap =
        bus.call(QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"),
                 {QStringLiteral("org.kde.StatusNotifierItem"), QStringLiteral("IconPixmap")});
    ASSERT_EQ(pixmap.type(), QDBusMessage::ReplyMessage) << pixmap.errorMessage().toStdString();
    const auto pixmaps =
        qdbus_cast<StatusNotifierPixmaps>(pixmap.arguments().at(0).value<QDBusVariant>().variant());
    ASSERT_EQ(pixmaps.size(), 1);
    EXPECT_EQ(pixmaps.front().pixels, QByteArray::fromHex("ff102030"));

    const QDBusMessage toolTip =
        bus.call(QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"),
                 {QStringLiteral("org.kde.StatusNotifierItem"), QStringLiteral("ToolTip")});
    ASSERT_EQ(toolTip.type(), QDBusMessage::ReplyMessage) << toolTip.errorMessage().toStdString();
    const auto tip =
        qdbus_cast<StatusNotifierToolTip>(toolTip.arguments().at(0).value<QDBusVariant>().variant());
    EXPECT_EQ(tip.title, QStringLiteral("Title"));
    EXPECT_EQ(tip.body, QStringLiteral("Body"));

    bus.call(QStringLiteral("org.kde.StatusNotifierItem"), QStringLiteral("Activate"), {3, 4});
    EXPECT_EQ(activations, 1);
}

} // namespace
} // namespace driftmark
