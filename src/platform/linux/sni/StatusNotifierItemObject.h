#pragma once

#include "platform/linux/sni/StatusNotifierTypes.h"

#include <QDBusObjectPath>
#include <QObject>
#include <functional>

namespace driftmark {

// What a tray host sees of one status item on the bus (org.kde.StatusNotifierItem): its identity, icon,
// tooltip and menu, and the calls by which the host passes on the user's clicks.
class StatusNotifierItemObject final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierItem")
    Q_PROPERTY(QString Id READ id)
    Q_PROPERTY(QString Category READ category)
    Q_PROPERTY(QString Status READ status)
    Q_PROPERTY(QString Title READ title)
    Q_PROPERTY(QString IconName READ iconName)
    Q_PROPERTY(driftmark::StatusNotifierPixmaps IconPixmap READ iconPixmap)
    Q_PROPERTY(QString IconThemePath READ iconName)
    Q_PROPERTY(QString OverlayIconName READ iconName)
    Q_PROPERTY(driftmark::StatusNotifierPixmaps OverlayIconPixmap READ noPixmaps)
    Q_PROPERTY(QString AttentionIconName READ iconName)
    Q_PROPERTY(driftmark::StatusNotifierPixmaps AttentionIconPixmap READ noPixmaps)
    Q_PROPERTY(driftmark::StatusNotifierToolTip ToolTip READ toolTip)
    Q_PROPERTY(bool ItemIsMenu READ itemIsMenu)
    Q_PROPERTY(QDBusObjectPath Menu READ menu)

public:
    struct Handlers {
        std::function<void()> activate;
        std::function<void(int x, int y)> contextMenu;
    };

    // `menu` is the path of the item's exported menu on the same connection.
    StatusNotifierItemObject(QString id, QDBusObjectPath menu, Handlers handlers);

    QString id() const;
    QString category() const;
    QString status() const;
    QString title() const;
    // Empty: the icon comes as pixels, and needs no overlay and no attention icon.
    QString iconName() const;
    StatusNotifierPixmaps iconPixmap() const;
    StatusNotifierPixmaps noPixmaps() const;
    StatusNotifierToolTip toolTip() const;
    bool itemIsMenu() const;
    QDBusObjectPath menu() const;

    void setIcon(StatusNotifierPixmaps pixmaps);
    // The first line is the title, the rest the body.
    void setToolTip(const QString& text);

public Q_SLOTS:
    void Activate(int x, int y);
    void ContextMenu(int x, int y);
    void SecondaryActivate(int x, int y);
    void Scroll(int delta, const QString& orientation);

Q_SIGNALS:
    void NewIcon();
    void NewToolTip();
    void NewTitle();

private:
    QString id_;
    QDBusObjectPath menu_;
    Handlers handlers_;
    StatusNotifierPixmaps pixmaps_;
    StatusNotifierToolTip toolTip_;
};

} // namespace driftmark
