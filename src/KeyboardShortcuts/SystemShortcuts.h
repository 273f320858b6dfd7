#pragma once

#include "KeyboardShortcuts/Shortcut.h"

#include <vector>

namespace driftmark {
class SystemShortcutList;
}

namespace driftmark::KeyboardShortcuts {

// The enabled shortcuts the desktop reserves, read anew on every call, modifiers normalised.
std::vector<Shortcut> systemShortcuts(const SystemShortcutList& list);

} // namespace driftmark::KeyboardShortcuts
