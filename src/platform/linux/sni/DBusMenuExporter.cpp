#include "platform/linux/sni/DBusMenuExporter.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QGuiApplication>
#include <QMetaObject>

namespace driftmark {

namespace {

constexpr uint protocolVersion = 3;
constexpr int rootId = 0;

} // namespace

DBusMenuExporter::DBusMenuExporter(MenuSource menuSource)
    : menuSource_(std::move(menuSource)) {
    registerDBusMenuTypes();
}

DBusMenuExporter::~DBusMenuExporter() = default;

uint DBusMenuExporter::version() const {
    return protocolVersion;
}

QString DBusMenuExporter::textDirection() const {
    return QGuiApplication::isRightToLeft() ? QStringLiteral("rtl") : QStringLiteral("ltr");
}

QString DBusMenuExporter::status() const {
    return QStringLiteral("normal");
}

QStringList DBusMenuExporter::iconThemePath() const {
    return {};
}

// Hosts that fetch the layout as soon as the item shows up get the menu of that moment; the next
// AboutToShow brings it up to date.
const DBusMenuLayout& DBusMenuExporter::layout() {
    if (!layout_) {
        takeMenu(false);
    }
    return *layout_;
}

// Returns whether the host must fetch the layout again: a menu that shows the same as before only
// brings its fresh actions.
bool DBusMenuExporter::takeMenu(bool opening) {
    const std::optional<Menu> menu = menuSource_ ? menuSource_(opening) : std::nullopt;
    auto layout = std::make_unique<DBusMenuLayout>(
        menu.value_or(Menu{}), [this](int id, const QVariantMap& properties) {
            Q_EMIT ItemsPropertiesUpdated(
                {DBusMenuItemProperties{id, dbusMenuPropertiesFor(lastHostKeyNames_, properties)}}, {});
        });
    const bool changed = !layout_ || !layout->showsSameAs(*layout_);
    layout_ = std::move(layout);
    if (changed) {
        ++revision_;
    }
    return changed;
}

uint DBusMenuExporter::GetLayout(int parentId, int recursionDepth, const QStringList& propertyNames,
                                 DBusMenuLayoutItem& layout) {
    if (const auto item = this->layout().item(parentId, recursionDepth, propertyNames)) {
        layout = dbusMenuLayoutFor(callerKeyNames(), *item);
    } else {
        sendUnknownId(parentId);
    }
    return revision_;
}

DBusMenuItemPropertiesList DBusMenuExporter::GetGroupProperties(const QList<int>& ids,
                                                                const QStringList& propertyNames) {
    const DBusMenuLayout& current = layout();
    const DBusMenuKeyNames names = callerKeyNames();
    DBusMenuItemPropertiesList items;
    for (const int id : ids.isEmpty() ? current.ids() : ids) {
        if (const auto properties = current.properties(id, propertyNames)) {
            items.append(DBusMenuItemProperties{id, dbusMenuPropertiesFor(names, *properties)});
        }
    }
    return items;
}

QDBusVariant DBusMenuExporter::GetProperty(int id, const QString& name) {
    const auto properties = layout().properties(id, {name});
    if (!properties) {
        sendUnknownId(id);
        return {};
    }
    if (!properties->contains(name)) {
        sendError(QStringLiteral("No property %1 on menu item %2").arg(name).arg(id));
        return {};
    }
    return QDBusVariant(dbusMenuPropertiesFor(callerKeyNames(), *properties).value(name));
}

DBusMenuKeyNames DBusMenuExporter::callerKeyNames() {
    if (!calledFromDBus()) {
        return DBusMenuKeyNames::keySymbols;
    }
    const QString caller = message().service();
    auto found = hostKeyNames_.find(caller);
    if (found == hostKeyNames_.end()) {
        found = hostKeyNames_.insert(caller, dbusMenuKeyNamesOf(connection(), caller));
    }
    lastHostKeyNames_ = found.value();
    return lastHostKeyNames_;
}

void DBusMenuExporter::Event(int id, const QString& eventId, const QDBusVariant&, uint) {
    if (!handleEvent(id, eventId)) {
        sendUnknownId(id);
    }
}

QList<int> DBusMenuExporter::EventGroup(const DBusMenuEventList& events) {
    QList<int> idErrors;
    for (const DBusMenuEvent& event : events) {
        if (!handleEvent(event.id, event.eventId)) {
            idErrors.append(event.id);
        }
    }
    return idErrors;
}

// The action runs once the host has its answer, with a copy of the entry: it may remove this very item.
bool DBusMenuExporter::handleEvent(int id, const QString& eventId) {
    if (id == rootId) {
        return true;
    }
    const MenuEntry* entry = layout_ ? layout_->entry(id) : nullptr;
    if (entry == nullptr) {
        return false;
    }
    if (eventId == QStringLiteral("clicked") && entry->action) {
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [chosen = *entry] { chosen.action(chosen); }, Qt::QueuedConnection);
    }
    return true;
}

// Each opening of the menu asks for it afresh: the titles follow the entry and the previous window.
// The layout is announced only when it changed, so that the host does not rebuild the open menu under
// the user's pointer for nothing.
bool DBusMenuExporter::AboutToShow(int id) {
    if (id != rootId || !takeMenu(true)) {
        return false;
    }
    Q_EMIT LayoutUpdated(revision_, rootId);
    return true;
}

QList<int> DBusMenuExporter::AboutToShowGroup(const QList<int>& ids, QList<int>& idErrors) {
    QList<int> updatesNeeded;
    for (const int id : ids) {
        if (id != rootId && (!layout_ || layout_->entry(id) == nullptr)) {
            idErrors.append(id);
        } else if (AboutToShow(id)) {
            updatesNeeded.append(id);
        }
    }
    return updatesNeeded;
}

void DBusMenuExporter::sendUnknownId(int id) {
    sendError(QStringLiteral("No menu item %1").arg(id));
}

// Direct calls, as from tests, get the empty answer alone.
void DBusMenuExporter::sendError(const QString& message) {
    if (calledFromDBus()) {
        sendErrorReply(QDBusError::InvalidArgs, message);
    }
}

} // namespace driftmark
