#include "settings/ShortcutController.h"

#include "KeyboardShortcuts/Module.h"
#include "app/KeyboardShortcutsManager.h"
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
    if (name == copyToClipboardName()) {
        context_.shortcuts.reset({context_.keyboardShortcutsManager.copyToClipboard()});
        context_.logger.info("Keyboard shortcut cleared by user");
        return;
    }
    context_.shortcuts.reset({KeyboardShortcuts::Name(name.toStdString())});
}

QObject* ShortcutController::makeRecorder(QQuickItem* field, const QString& name) {
    if (field == nullptr) {
        return nullptr;
    }
    auto* recorder = new ShortcutRecorder(context_, field, name);
    QQmlEngine::setObjectOwnership(recorder, QQmlEngine::CppOwnership);
    return recorder;
}

} // namespace driftmark
