#pragma once

#include "platform/StatusBar.h"
#include "platform/linux/sni/DBusMenuHostKeys.h"
#include "platform/linux/sni/DBusMenuLayout.h"
#include "platform/linux/sni/DBusMenuTypes.h"

#include <QDBusContext>
#include <QHash>
#include <QObject>
#include <functional>
#include <memory>
#include <optional>

namespace driftmark {

// A status item's context menu for the tray host to show itself (com.canonical.dbusmenu). The menu is
// asked for when the host is about to show it, or when the host wants the layout before it has ever
// been asked for; a chosen entry's action runs after the host's call has been answered. Shortcuts go to
// each host in the key names it reads.
class DBusMenuExporter final : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.canonical.dbusmenu")
    Q_PROPERTY(uint Version READ version)
    Q_PROPERTY(QString TextDirection READ textDirection)
    Q_PROPERTY(QString Status READ status)
    Q_PROPERTY(QStringList IconThemePath READ iconThemePath)

public:
    // Called with `opening` true when the host is about to show the menu to the user, false when it
    // only fetches the layout ahead.
    using MenuSource = std::function<std::optional<Menu>(bool opening)>;

    explicit DBusMenuExporter(MenuSource menuSource);
    ~DBusMenuExporter() override;

    uint version() const;
    QString textDirection() const;
    QString status() const;
    QStringList iconThemePath() const;

public Q_SLOTS:
    uint GetLayout(int parentId, int recursionDepth, const QStringList& propertyNames,
                   driftmark::DBusMenuLayoutItem& layout);
    driftmark::DBusMenuItemPropertiesList GetGroupProperties(const QList<int>& ids,
                                                             const QStringList& propertyNames);
    QDBusVariant GetProperty(int id, const QString& name);
    void Event(int id, const QString& eventId, const QDBusVariant& data, uint timestamp);
    QList<int> EventGroup(const driftmark::DBusMenuEventList& events);
    bool AboutToShow(int id);
    QList<int> AboutToShowGroup(const QList<int>& ids, QList<int>& idErrors);

Q_SIGNALS:
    void LayoutUpdated(uint revision, int parent);
    void ItemsPropertiesUpdated(const driftmark::DBusMenuItemPropertiesList& updatedProps,
                                const driftmark::DBusMenuItemPropertyNamesList& removedProps);

private:
    const DBusMenuLayout& layout();
    bool takeMenu(bool opening);
    bool handleEvent(int id, const QString& eventId);
    void sendUnknownId(int id);
    void sendError(const QString& message);
    // The key names the calling host reads; changes are announced in those of the host that asked last.
    DBusMenuKeyNames callerKeyNames();

    MenuSource menuSource_;
    std::unique_ptr<DBusMenuLayout> layout_;
    uint revision_ = 0;
    QHash<QString, DBusMenuKeyNames> hostKeyNames_;
    DBusMenuKeyNames lastHostKeyNames_ = DBusMenuKeyNames::keySymbols;
};

} // namespace driftmark
