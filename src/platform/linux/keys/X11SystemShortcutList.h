#pragma once

#include "platform/SystemShortcutList.h"

namespace driftmark {

// X11 has no list of the desktop's shortcuts: a window manager or daemon holds them as key grabs, and the
// server tells no client about another's grabs. The list is therefore empty; a combination that is taken
// shows when its registration is refused with BadAccess.
class X11SystemShortcutList final : public SystemShortcutList {
public:
    std::vector<SystemHotKey> symbolicHotKeys() const override { return {}; }
};

} // namespace driftmark
