#pragma once

#include "KeyboardShortcuts/Menu.h"

namespace driftmark {

// The application's own menu as far as shortcuts go: the entries of the status items' context menu that
// show a key equivalent (Settings, Quit), with Control, the modifier the menu shows them with. A
// recorder refuses these combinations.
KeyboardShortcuts::Menu applicationMenu();

} // namespace driftmark
