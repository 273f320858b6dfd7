#include "settings/ShortcutController.h"

#include "KeyboardShortcuts/Module.h"
#include "app/KeyboardShortcutsManager.h"
#include "model/MenuItemManager.h"
#include "model/Uuid.h"
#include "settings/ShortcutRecorder.h"
#include "support/AppLogger.h"

#include <QQmlEngine>

namespace driftmark {

ShortcutController::ShortcutController(const SettingsContext& context, QObject* parent)
    : QObject(parent)
    , context_(context) {
    observer_ = context_.shortcuts.notificationCenter().addObserver(
        KeyboardShortcuts::shortcutByNameDidChange,
        [this](const KeyboardShortcuts::Notification&) { Q_EMIT shortcutsChanged(); });
}

ShortcutController::~ShortcutController() {
    if (observer_) {
        context_.shortcuts.notificationCenter().removeObserver(*observer_);
    }
}

QString ShortcutController::copyToClipboardName() const {
    return QString::fromStdString(context_.keyboardShortcutsManager.copyToClipboard().rawValue);
}

QString ShortcutController::menuItemName(const QString& itemId) const {
    const auto id = Uuid::parse(itemId.toStdString());
    return id ? QString::fromStdString(KeyboardShortcutsManager::menuItemName(*id).rawValue) : QString();
}

bool ShortcutController::hasShortcut(const QString& name) const {
    return !name.isEmpty() &&
           context_.shortcuts.getShortcut(KeyboardShortcuts::Name(name.toStdString())).has_value();
}

void ShortcutController::clearShortcut(const QString& name) {
    if (name.isEmpty()) {
        return;
    }
    context_.shortcuts.setShortcut(std::nullopt, context_.keyboardShortcutsManager.name(name.toStdString()));
    if (name == copyToClipboardName()) {
        context_.logger.info("Keyboard shortcut cleared by user");
    }
}

QObject* ShortcutController::makeRecorder(QQuickItem* field, const QString& name) {
    if (field == nullptr) {
        return nullptr;
    }
    auto* recorder =
        new ShortcutRecorder(context_, field, name, [this](const KeyboardShortcuts::Name& holder) {
            return holderDescription(holder);
        });
    QQmlEngine::setObjectOwnership(recorder, QQmlEngine::CppOwnership);
    return recorder;
}

std::optional<std::string> ShortcutController::holderDescription(const KeyboardShortcuts::Name& name) const {
    if (name == context_.keyboardShortcutsManager.copyToClipboard()) {
        return std::string("the first entry's shortcut (Copy to Clipboard, under General)");
    }
    for (const MenuBarItem& item : context_.menuItemManager.items()) {
        if (KeyboardShortcutsManager::menuItemName(item.id()) == name) {
            return item.title.empty() ? std::string("an entry without a title")
                                      : "the “" + item.title + "” entry";
        }
    }
    return std::nullopt;
}

} // namespace driftmark
