#pragma once

#include "app/PasteChord.h"
#include "platform/SystemLog.h"

#include <optional>
#include <string>
#include <string_view>

namespace driftmark {

class DelegateLogWriter;
class PreferencesStore;

// Chooses the chord that pastes into a window, by the class part of its WM_CLASS, matched without regard
// to case: Ctrl+V unless a built-in table of terminal emulators or the user's own table under
// `pasteChords` says otherwise. The user's table is a string holding a JSON object from class names to
// chords, e.g. {"XTerm": "shift+insert", "MyTerm": "ctrl+shift+v"}; it is read at every choice, and what
// cannot be understood in it is ignored with a log line.
class PasteChordTable final {
public:
    static constexpr std::string_view preferencesKey = "pasteChords";

    PasteChordTable(const PreferencesStore& preferences, SystemLog& systemLog, DelegateLogWriter& logWriter);

    // Logs the choice: "Paste chord for XTerm: Shift+Insert".
    const PasteChord& chordFor(const std::optional<std::string>& windowClass) const;

private:
    // The user's chord for the class, if the table names one that can be understood.
    const PasteChord* userChord(const std::string& windowClass) const;
    void report(const std::string& problem) const;

    const PreferencesStore& preferences_;
    CategoryLog logger_;
    DelegateLogWriter& logWriter_;
};

} // namespace driftmark
