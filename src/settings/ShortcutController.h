#pragma once

#include "settings/SettingsContext.h"

#include <QObject>
#include <QString>
#include <optional>
#include <string>

class QQuickItem;

namespace driftmark::KeyboardShortcuts {
struct Name;
}

namespace driftmark {

// The stored shortcuts as the panes see them: the names of an entry's and of the older shortcut,
// whether a name has one, and clearing it; and, for the recorders, who holds a name's shortcut. Tells the
// views when any stored shortcut changed.
class ShortcutController final : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString copyToClipboardName READ copyToClipboardName CONSTANT)
public:
    ShortcutController(const SettingsContext& context, QObject* parent = nullptr);
    ~ShortcutController() override;

    QString copyToClipboardName() const;
    Q_INVOKABLE QString menuItemName(const QString& itemId) const;
    Q_INVOKABLE bool hasShortcut(const QString& name) const;
    // The name keeps no shortcut, also after a restart (the older one does not get its default back).
    // The older shortcut's clearing is logged; an entry's is not.
    Q_INVOKABLE void clearShortcut(const QString& name);
    // The recorder behind a recorder field; it belongs to the field.
    Q_INVOKABLE QObject* makeRecorder(QQuickItem* field, const QString& name);

Q_SIGNALS:
    // Any name's stored shortcut changed.
    void shortcutsChanged();

private:
    // "the “Title” entry" for an entry's name, the older shortcut by what it does; nothing for a name
    // whose entry is gone.
    std::optional<std::string> holderDescription(const KeyboardShortcuts::Name& name) const;

    SettingsContext context_;
    std::optional<std::uint64_t> observer_;
};

} // namespace driftmark
