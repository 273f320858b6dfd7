#pragma once

#include "platform/KeyEquivalentMenuItem.h"

class QAction;

namespace driftmark {

// Shows a key equivalent as the shortcut text of a QAction that lives in a menu only, with the modifiers
// the user presses on Linux (Command is the Super key, which Qt calls Meta). The shortcut only shows: the
// hot key delivers the keystroke, and an action of a popup menu alone never matches a widget-shortcut
// context, so Qt does not trigger the action from the keyboard as well.
class QActionKeyEquivalent final : public KeyEquivalentMenuItem {
public:
    explicit QActionKeyEquivalent(QAction& action);

    void setKeyEquivalent(const std::string& key, std::uint64_t modifierFlags) override;

private:
    QAction& action_;
};

} // namespace driftmark
