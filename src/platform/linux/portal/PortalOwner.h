#pragma once

#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QObject>
#include <QString>

class QDBusMessage;

namespace driftmark {

// Which connection on the bus is the desktop's portal: the unique name that owns
// org.freedesktop.portal.Desktop, followed as it changes (a portal started on demand, or restarted). Any
// connection may send a signal with the portal's path and interface; only one sent by this name is the
// portal's. The owner is asked for without waiting, so a signal that comes before the answer is not the
// portal's yet.
class PortalOwner final : public QObject {
    Q_OBJECT

public:
    explicit PortalOwner(const QDBusConnection& bus, QObject* parent = nullptr);

    // Whether the portal, as it is known now, sent `message`.
    bool sent(const QDBusMessage& message) const;

private:
    QDBusServiceWatcher watcher_;
    // Empty while the name has no owner or the first answer has not come.
    QString owner_;
};

} // namespace driftmark
