#pragma once

#include <QByteArray>
#include <QDBusArgument>
#include <QList>
#include <QMetaType>
#include <QString>

namespace driftmark {

// One picture of a StatusNotifierItem icon: ARGB32 pixels, each in network byte order (D-Bus "(iiay)").
struct StatusNotifierPixmap {
    int width = 0;
    int height = 0;
    QByteArray pixels;
};

using StatusNotifierPixmaps = QList<StatusNotifierPixmap>;

// A StatusNotifierItem's tooltip (D-Bus "(sa(iiay)ss)"): an icon, a title and a body that may hold markup.
struct StatusNotifierToolTip {
    QString iconName;
    StatusNotifierPixmaps pixmaps;
    QString title;
    QString body;
};

QDBusArgument& operator<<(QDBusArgument& argument, const StatusNotifierPixmap& pixmap);
const QDBusArgument& operator>>(const QDBusArgument& argument, StatusNotifierPixmap& pixmap);
QDBusArgument& operator<<(QDBusArgument& argument, const StatusNotifierToolTip& toolTip);
const QDBusArgument& operator>>(const QDBusArgument& argument, StatusNotifierToolTip& toolTip);

// QtDBus leaves out every method, property and signal whose types it does not know: call this before
// exporting an item.
void registerStatusNotifierTypes();

} // namespace driftmark

Q_DECLARE_METATYPE(driftmark::StatusNotifierPixmap)
Q_DECLARE_METATYPE(driftmark::StatusNotifierToolTip)
