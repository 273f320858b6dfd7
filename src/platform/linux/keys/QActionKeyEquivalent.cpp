#include "platform/linux/keys/QActionKeyEquivalent.h"

#include "platform/linux/keys/MenuKeySequence.h"

#include <QAction>
#include <QKeySequence>

namespace driftmark {

QActionKeyEquivalent::QActionKeyEquivalent(QAction& action)
    : action_(action) {
    action_.setShortcutContext(Qt::WidgetShortcut);
    action_.setShortcutVisibleInContextMenu(true);
}

void QActionKeyEquivalent::setKeyEquivalent(const std::string& key, std::uint64_t modifierFlags) {
    const auto sequence = portableKeySequence(key, modifierFlags);
    action_.setShortcut(
        sequence ? QKeySequence::fromString(QString::fromStdString(*sequence), QKeySequence::PortableText)
                 : QKeySequence());
}

} // namespace driftmark
