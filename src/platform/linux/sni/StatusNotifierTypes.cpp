#include "platform/linux/sni/StatusNotifierTypes.h"

#include "platform/linux/sni/DBusValueCheck.h"

#include <QDBusMetaType>

namespace driftmark {

QDBusArgument& operator<<(QDBusArgument& argument, const StatusNotifierPixmap& pixmap) {
    argument.beginStructure();
    argument << pixmap.width << pixmap.height << pixmap.pixels;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, StatusNotifierPixmap& pixmap) {
    pixmap = {};
    if (!DBusValueCheck::readable(argument, "(iiay)", "status notifier icon")) {
        return argument;
    }
    argument.beginStructure();
    argument >> pixmap.width >> pixmap.height >> pixmap.pixels;
    argument.endStructure();
    return argument;
}

QDBusArgument& operator<<(QDBusArgument& argument, const StatusNotifierToolTip& toolTip) {
    argument.beginStructure();
    argument << toolTip.iconName << toolTip.pixmaps << toolTip.title << toolTip.body;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, StatusNotifierToolTip& toolTip) {
    toolTip = {};
    if (!DBusValueCheck::readable(argument, "(sa(iiay)ss)", "status notifier tooltip")) {
        return argument;
    }
    argument.beginStructure();
    argument >> toolTip.iconName >> toolTip.pixmaps >> toolTip.title >> toolTip.body;
    argument.endStructure();
    return argument;
}

void registerStatusNotifierTypes() {
    static const bool registered = [] {
        qDBusRegisterMetaType<StatusNotifierPixmap>();
        qDBusRegisterMetaType<StatusNotifierPixmaps>();
        qDBusRegisterMetaType<StatusNotifierToolTip>();
        // QtDBus finds the types of properties by the names they are declared with.
        qRegisterMetaType<StatusNotifierPixmaps>("driftmark::StatusNotifierPixmaps");
        return true;
    }();
    static_cast<void>(registered);
}

} // namespace driftmark
