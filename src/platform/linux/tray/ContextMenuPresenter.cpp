#include "platform/linux/tray/ContextMenuPresenter.h"

#include "platform/linux/keys/QActionKeyEquivalent.h"
#include "platform/linux/tray/SymbolIcons.h"
#include "platform/linux/tray/TrayLayout.h"
#include "platform/linux/x11/ScreenCoordinates.h"

#include <QAction>
#include <QCursor>
#include <QGuiApplication>
#include <QKeySequence>
#include <QScreen>
#include <QShortcut>
#include <memory>

namespace driftmark {

namespace {

// A menu title is not markup: '&' would mark a mnemonic and a tab would start the shortcut column.
QString menuTitle(const std::string& title) {
    return QString::fromStdString(title)
        .replace(QLatin1Char('&'), QStringLiteral("&&"))
        .replace(QLatin1Char('\t'), QLatin1Char(' '));
}

// Key equivalents use the platform's default modifier, Ctrl on Linux.
QKeySequence keySequence(const MenuEntry& entry) {
    return QKeySequence(QStringLiteral("Ctrl+") + QString::fromStdString(entry.keyEquivalent).toUpper());
}

// The key equivalent shows in the shortcut column after the tab.
QString menuText(const MenuEntry& entry) {
    QString text = menuTitle(entry.title);
    if (!entry.keyEquivalent.empty()) {
        text += QLatin1Char('\t') + keySequence(entry).toString(QKeySequence::NativeText);
    }
    return text;
}

// Qt never matches the shortcut of an action that lives only in a popup menu, so a shortcut of the menu
// window itself stands in for it while the menu is open. Like a click, it closes the menu first.
void addKeyEquivalent(QMenu& menu, QAction& action, const MenuEntry& entry) {
    auto* shortcut = new QShortcut(keySequence(entry), &menu);
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, &action, [&menu, &action] {
        menu.close();
        action.trigger();
    });
}

// The action's shortcut text, kept up to date by the entry's own binding. Declared after the item, the
// binding goes first.
struct ShownShortcut {
    std::unique_ptr<QActionKeyEquivalent> item;
    std::shared_ptr<void> binding;
};

QMenu* buildMenu(const Menu& menu) {
    auto* widget = new QMenu;
    for (const MenuEntry& entry : menu.entries) {
        if (entry.isSeparator) {
            widget->addSeparator();
            continue;
        }
        QAction* action = widget->addAction(symbolIcon(entry.symbolName), menuText(entry));
        std::shared_ptr<ShownShortcut> shown;
        if (entry.shownKeyEquivalent) {
            shown = std::make_shared<ShownShortcut>();
            shown->item = std::make_unique<QActionKeyEquivalent>(*action);
            shown->binding = entry.shownKeyEquivalent(*shown->item);
        }
        // The connection ends with the action or the menu, and takes the shown shortcut along: its
        // binding lives exactly as long as the menu entry it updates.
        QObject::connect(action, &QAction::triggered, widget, [entry, shown] {
            if (entry.action) {
                entry.action(entry);
            }
        });
        if (!entry.keyEquivalent.empty()) {
            addKeyEquivalent(*widget, *action, entry);
        }
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
