#include "platform/linux/ContextMenuPresenter.h"

#include "platform/linux/ScreenCoordinates.h"
#include "platform/linux/SymbolIcons.h"
#include "platform/linux/TrayLayout.h"

#include <QAction>
#include <QCursor>
#include <QGuiApplication>
#include <QKeySequence>
#include <QScreen>

namespace driftmark {

namespace {

// A menu title is not markup: '&' would mark a mnemonic and a tab would start the shortcut column.
QString menuTitle(const std::string& title) {
    return QString::fromStdString(title)
        .replace(QLatin1Char('&'), QStringLiteral("&&"))
        .replace(QLatin1Char('\t'), QLatin1Char(' '));
}

// Key equivalents use the platform's default modifier, Ctrl on Linux. They are only shown, in the
// shortcut column after the tab, and not registered as shortcuts anywhere.
QString menuText(const MenuEntry& entry) {
    QString text = menuTitle(entry.title);
    if (!entry.keyEquivalent.empty()) {
        const QKeySequence sequence(QStringLiteral("Ctrl+") +
                                    QString::fromStdString(entry.keyEquivalent).toUpper());
        text += QLatin1Char('\t') + sequence.toString(QKeySequence::NativeText);
    }
    return text;
}

QMenu* buildMenu(const Menu& menu) {
    auto* widget = new QMenu;
    for (const MenuEntry& entry : menu.entries) {
        if (entry.isSeparator) {
            widget->addSeparator();
            continue;
        }
        QAction* action = widget->addAction(symbolIcon(entry.symbolName), menuText(entry));
        QObject::connect(action, &QAction::triggered, widget, [entry] {
            if (entry.action) {
                entry.action(entry);
            }
        });
    }
    return widget;
}

QPoint menuPosition(const QMenu& menu, std::optional<Rect> anchor) {
    if (!anchor) {
        return QCursor::pos();
    }
    const QRect icon = toLogicalRect(*anchor);
    const QScreen* screen = QGuiApplication::screenAt(icon.center());
    const QRect area = screen != nullptr ? screen->geometry() : QGuiApplication::primaryScreen()->geometry();
    const QSize size = menu.sizeHint();
    const Point origin =
        contextMenuOrigin(Rect{static_cast<double>(icon.x()), static_cast<double>(icon.y()),
                               static_cast<double>(icon.width()), static_cast<double>(icon.height())},
                          size.width(), size.height(),
                          Rect{static_cast<double>(area.x()), static_cast<double>(area.y()),
                               static_cast<double>(area.width()), static_cast<double>(area.height())});
    return {static_cast<int>(origin.x), static_cast<int>(origin.y)};
}

} // namespace

ContextMenuPresenter::~ContextMenuPresenter() {
    delete menu_.data();
}

void ContextMenuPresenter::popup(const Menu& menu, std::optional<Rect> anchor) {
    if (menu_) {
        menu_->close();
    }
    menu_ = buildMenu(menu);
    // Deleted once closed: a chosen entry's action has run by the time the deferred deletion comes.
    QObject::connect(menu_.data(), &QMenu::aboutToHide, menu_.data(), &QObject::deleteLater);
    menu_->popup(menuPosition(*menu_, anchor));
}

} // namespace driftmark
