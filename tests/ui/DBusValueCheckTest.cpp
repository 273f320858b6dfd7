#include "platform/linux/sni/DBusValueCheck.h"

#include "PeerBus.h"
#include "platform/linux/sni/DBusMenuTypes.h"
#include "platform/linux/sni/StatusNotifierTypes.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace driftmark {
namespace {

// Answers every call with its own arguments: what the test sends comes back as another program's
// values, to be read.
class Echo final : public QDBusVirtualObject {
public:
    QString introspect(const QString&) const override { return {}; }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        return QDBusConnection(connection).send(message.createReply(message.arguments()));
    }
};

class DBusValueCheckTest : public ::testing::Test {
protected:
    void SetUp() override {
        registerStatusNotifierTypes();
        registerDBusMenuTypes();
        DBusValueCheck::setListener([this](const std::string& report) { reports.push_back(report); });
        ASSERT_TRUE(peer.valid());
    }

    void TearDown() override { DBusValueCheck::setListener({}); }

    // The value as it arrives from another program; of a compound type, so that it comes to be read.
    QDBusArgument received(const QVariant& value) {
        const QDBusMessage reply = peer.call(QStringLiteral("test.Echo"), QStringLiteral("Echo"), {value});
        EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
        const QVariant answer = reply.arguments().value(0);
        EXPECT_EQ(answer.metaType(), QMetaType::fromType<QDBusArgument>());
        return answer.value<QDBusArgument>();
    }

    // An array holding one such structure, as a variant.
    static QVariant structures(const QString& text, int number) {
        QDBusArgument shape;
        shape.beginArray(qMetaTypeId<QDBusVariant>());
        shape << QDBusVariant(structure(text, number));
        shape.endArray();
        return QVariant::fromValue(shape);
    }

    static QVariant structure(const QString& text, int number) {
        QDBusArgument shape;
        shape.beginStructure();
        shape << text << number;
        shape.endStructure();
        return QVariant::fromValue(shape);
    }

    std::vector<std::string> reports;
    Echo echo;
    test::PeerBus peer{echo, QStringLiteral("/echo")};
};

TEST_F(DBusValueCheckTest, ValuesOfTheRightTypeAreRead) {
    const StatusNotifierToolTip toolTip{QStringLiteral("icon"),
                                        {StatusNotifierPixmap{1, 1, QByteArray(4, 'x')}},
                                        QStringLiteral("Title"),
                                        QStringLiteral("Body")};
    const auto read = qdbus_cast<StatusNotifierToolTip>(received(QVariant::fromValue(toolTip)));
    EXPECT_EQ(read.title, QStringLiteral("Title"));
    EXPECT_EQ(read.body, QStringLiteral("Body"));
    ASSERT_EQ(read.pixmaps.size(), 1);
    EXPECT_EQ(read.pixmaps.front().pixels, QByteArray(4, 'x'));
    EXPECT_TRUE(reports.empty());
}

TEST_F(DBusValueCheckTest, AToolTipOfAnotherTypeIsAbsentAndReportedOnce) {
    const auto first = qdbus_cast<StatusNotifierToolTip>(received(structure(QStringLiteral("Title"), 7)));
    EXPECT_EQ(first.title, QString());
    EXPECT_EQ(first.iconName, QString());
    const auto second = qdbus_cast<StatusNotifierToolTip>(received(structures(QStringLiteral("Title"), 7)));
    EXPECT_EQ(second.title, QString());
    ASSERT_EQ(reports.size(), 1U);
    EXPECT_NE(
        reports.front().find("status notifier tooltip of D-Bus type \"(si)\" instead of \"(sa(iiay)ss)\""),
        std::string::npos)
        << reports.front();
}

// A list reads as many values as it holds: one of the wrong type is an empty one.
TEST_F(DBusValueCheckTest, AnIconOfAnotherTypeInAListIsEmpty) {
    const auto read = qdbus_cast<StatusNotifierPixmaps>(received(structures(QStringLiteral("x"), 4)));
    ASSERT_EQ(read.size(), 1);
    EXPECT_EQ(read.front().width, 0);
    EXPECT_TRUE(read.front().pixels.isEmpty());
    EXPECT_EQ(reports.size(), 1U);
}

TEST_F(DBusValueCheckTest, ALayoutsChildrenThatAreNoItemsAreLeftOut) {
    QDBusArgument layout;
    layout.beginStructure();
    layout << 0 << QVariantMap{{QStringLiteral("label"), QStringLiteral("root")}};
    layout.beginArray(qMetaTypeId<QDBusVariant>());
    layout << QDBusVariant(QStringLiteral("no item"));
    layout << QDBusVariant(QVariant::fromValue(DBusMenuLayoutItem{1, {}, {}}));
    layout << QDBusVariant(structure(QStringLiteral("no item either"), 2));
    layout << QDBusVariant(QVariant::fromValue(DBusMenuLayoutItem{3, {}, {}}));
    layout.endArray();
    layout.endStructure();

    const auto read = qdbus_cast<DBusMenuLayoutItem>(received(QVariant::fromValue(layout)));
    EXPECT_EQ(read.properties.value(QStringLiteral("label")).toString(), QStringLiteral("root"));
    ASSERT_EQ(read.children.size(), 2);
    EXPECT_EQ(read.children.at(0).id, 1);
    EXPECT_EQ(read.children.at(1).id, 3);
    ASSERT_EQ(reports.size(), 1U);
    EXPECT_NE(reports.front().find("dbusmenu layout of D-Bus type \"s\""), std::string::npos)
        << reports.front();
}

TEST_F(DBusValueCheckTest, MenuValuesOfAnotherTypeAreAbsent) {
    const QDBusArgument wrong = received(structure(QStringLiteral("x"), 4));
    EXPECT_EQ(qdbus_cast<DBusMenuLayoutItem>(wrong).children.size(), 0);
    EXPECT_EQ(qdbus_cast<DBusMenuItemProperties>(received(structure(QStringLiteral("x"), 4))).id, 0);
    EXPECT_EQ(qdbus_cast<DBusMenuItemPropertyNames>(received(structure(QStringLiteral("x"), 4))).id, 0);
    EXPECT_EQ(qdbus_cast<DBusMenuEvent>(received(structure(QStringLiteral("x"), 4))).id, 0);
    const auto events = qdbus_cast<DBusMenuEventList>(received(structures(QStringLiteral("clicked"), 4)));
    ASSERT_EQ(events.size(), 1);
    EXPECT_EQ(events.front().eventId, QString());
    EXPECT_EQ(reports.size(), 4U) << "one report for each kind of value";
}

} // namespace
} // namespace driftmark
