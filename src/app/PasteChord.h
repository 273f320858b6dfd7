#pragma once

#include "platform/KeyEventPoster.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace driftmark {

// A key chord that makes a window paste, as the Smart Paste keystroke posts it.
struct PasteChord {
    // As the log shows it: "Ctrl+Shift+V".
    std::string_view name;
    // As the preferences spell it: "ctrl+shift+v".
    std::string_view storedName;
    // Physical key position and exact modifiers; the platform turns Command into Control.
    std::uint16_t virtualKey;
    std::uint64_t flags;
    // The window pastes the PRIMARY selection rather than the clipboard.
    bool pastesPrimarySelection;
};

// Key positions on the ANSI layout: V, and Help, where PC keyboards have Insert.
inline constexpr std::uint16_t pasteChordVKey = 9;
inline constexpr std::uint16_t pasteChordInsertKey = 114;

// Constants for the whole run: the steps of a paste hold on to them by reference.
inline constexpr PasteChord controlV{"Ctrl+V", "ctrl+v", pasteChordVKey, keyEventFlagCommand, false};
// Terminal emulators leave Ctrl+V to the program inside, as a control character.
inline constexpr PasteChord controlShiftV{"Ctrl+Shift+V", "ctrl+shift+v", pasteChordVKey,
                                          keyEventFlagCommand | keyEventFlagShift, false};
inline constexpr PasteChord shiftInsert{"Shift+Insert", "shift+insert", pasteChordInsertKey,
                                        keyEventFlagShift, true};

inline constexpr std::array<const PasteChord*, 3> pasteChords = {&controlV, &controlShiftV, &shiftInsert};

} // namespace driftmark
