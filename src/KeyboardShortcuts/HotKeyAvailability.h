#pragma once

#include "KeyboardShortcuts/Shortcut.h"
#include "platform/HotKeyService.h"

#include <cstdint>
#include <optional>

namespace driftmark::KeyboardShortcuts {

// "RCTR", the signature of trial registrations. The module's own hot keys use another one, so a press that
// slips in while a trial registration exists is never taken for one of them.
inline constexpr std::uint32_t trialHotKeySignature = 0x52435452;

// Why the desktop would refuse the shortcut as a hot key of this process, found by registering it and
// giving it back at once; none when it is free. X11 keeps no list of other programs' shortcuts, so asking
// is the only way to learn that another client holds a combination (it answers BadAccess, 10). A
// combination this process holds already counts as free.
std::optional<std::int32_t> hotKeyRefusal(HotKeyService& service, const Shortcut& shortcut);

} // namespace driftmark::KeyboardShortcuts
