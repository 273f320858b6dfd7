#pragma once

#include "KeyboardShortcuts/Menu.h"
#include "KeyboardShortcuts/Shortcut.h"

#include <set>

namespace driftmark {
class KeyboardLayout;
class SystemShortcutList;
} // namespace driftmark

namespace driftmark::KeyboardShortcuts {

// The checks a shortcut passes before the recorder stores it.

// The item of the application's main menu that already uses the shortcut; none without a main menu.
const MenuItem* conflictingMenuItem(const Shortcut& shortcut, const Menu* mainMenu,
                                    const KeyboardLayout& layout);

// macOS 15.0 and 15.1 refuse hot keys whose only modifier is Option (Shift aside) to sandboxed
// applications.
struct OperatingSystemVersion {
    int majorVersion = 0;
    int minorVersion = 0;
};
bool isOptionOnlyRestricted(const Shortcut& shortcut, OperatingSystemVersion version, bool isSandboxed);

// Whether the desktop reserves the shortcut. Plain F12 is never reported.
bool matchesSystemShortcut(const Shortcut& shortcut, const SystemShortcutList& list);

// The platform's characters for the function keys F1 to F35, U+F704 to U+F726.
const std::set<char32_t>& functionKeys();
bool isFunctionKey(Key key);

// Whether the recorder would take the shortcut at all: it needs Control, Option or Command, unless its
// key is a function key. Shift and Fn alone are not enough.
bool recorderAccepts(const Shortcut& shortcut);

} // namespace driftmark::KeyboardShortcuts
