#include "app/PasteChordTable.h"

#include "platform/OutsideText.h"
#include "platform/PreferencesStore.h"
#include "support/DelegateLogWriter.h"
#include "support/JsonLimits.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace driftmark {

namespace {

// A table names a handful of window classes; anything near this size was not written for it.
constexpr JsonLimits tableLimits(64 * 1024);

// Windows that do not paste with Ctrl+V, by their class names in lower case.
constexpr std::array<std::pair<std::string_view, const PasteChord*>, 20> builtInChords = {{
    // Ctrl+V reaches the shell as a control character; these paste the clipboard with Shift added.
    {"alacritty", &controlShiftV},
    {"foot", &controlShiftV},
    {"gnome-terminal", &controlShiftV},
    {"guake", &controlShiftV},
    {"kitty", &controlShiftV},
    {"konsole", &controlShiftV},
    {"lxterminal", &controlShiftV},
    {"mate-terminal", &controlShiftV},
    {"org.wezfurlong.wezterm", &controlShiftV},
    {"qterminal", &controlShiftV},
    {"roxterm", &controlShiftV},
    {"sakura", &controlShiftV},
    {"terminator", &controlShiftV},
    {"terminology", &controlShiftV},
    {"tilda", &controlShiftV},
    {"tilix", &controlShiftV},
    {"xfce4-terminal", &controlShiftV},
    // These have no clipboard paste key by default: Shift+Insert pastes the PRIMARY selection.
    {"urxvt", &shiftInsert},
    {"uxterm", &shiftInsert},
    {"xterm", &shiftInsert},
}};

std::string lowerCase(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char character) { return static_cast<char>(std::tolower(character)); });
    return lower;
}

// The chord a stored name means: case and spaces do not matter, "Ctrl + Shift + V" is understood.
const PasteChord* storedChord(std::string_view stored) {
    std::string name = lowerCase(stored);
    std::erase(name, ' ');
    const auto found = std::find_if(pasteChords.begin(), pasteChords.end(),
                                    [&name](const PasteChord* chord) { return chord->storedName == name; });
    return found == pasteChords.end() ? nullptr : *found;
}

std::string knownChordNames() {
    std::string names;
    for (std::size_t index = 0; index < pasteChords.size(); ++index) {
        names += index == 0 ? "" : index + 1 == pasteChords.size() ? " or " : ", ";
        names += pasteChords[index]->storedName;
    }
    return names;
}

} // namespace

PasteChordTable::PasteChordTable(const PreferencesStore& preferences, SystemLog& systemLog,
                                 DelegateLogWriter& logWriter)
    : preferences_(preferences)
    , logger_(systemLog, "SmartPaste")
    , logWriter_(logWriter) {}

const PasteChord& PasteChordTable::chordFor(const std::optional<std::string>& windowClass) const {
    const std::string shown = windowClass ? *windowClass : "a window without a class";
    const PasteChord* chord = windowClass ? userChord(*windowClass) : nullptr;
    const bool own = chord != nullptr;
    if (chord == nullptr && windowClass) {
        const std::string lower = lowerCase(*windowClass);
        const auto found = std::find_if(builtInChords.begin(), builtInChords.end(),
                                        [&lower](const auto& entry) { return entry.first == lower; });
        chord = found == builtInChords.end() ? nullptr : found->second;
    }
    if (chord == nullptr) {
        chord = &controlV;
    }
    const std::string choice = "Paste chord for " + shown + ": " + std::string(chord->name) +
                               (own ? " (from " + std::string(preferencesKey) + ")" : "");
    logger_.debug(choice);
    logWriter_.logToFile(choice);
    return *chord;
}

const PasteChord* PasteChordTable::userChord(const std::string& windowClass) const {
    const auto stored = preferences_.object(std::string(preferencesKey));
    if (!stored) {
        return nullptr;
    }
    const auto* text = std::get_if<std::string>(&*stored);
    const JsonLimits::Reading table = text != nullptr ? tableLimits.read(*text) : JsonLimits::Reading{};
    if (!table.overLimit.empty()) {
        report("Paste chord table ignored: " + std::string(preferencesKey) + " " + table.overLimit + ": " +
               OutsideText::measuredExcerpt(*text));
        return nullptr;
    }
    if (!table.value.is_object()) {
        report("Paste chord table ignored: " + std::string(preferencesKey) +
               " is not a string holding a JSON object of window classes and chords");
        return nullptr;
    }
    const std::string wanted = lowerCase(windowClass);
    const PasteChord* chosen = nullptr;
    for (const auto& [name, value] : table.value.items()) {
        const PasteChord* chord =
            value.is_string() ? storedChord(value.get_ref<const std::string&>()) : nullptr;
        if (chord == nullptr) {
            report("Paste chord for " + OutsideText::measuredExcerpt(name) +
                   " ignored: " + OutsideText::measuredExcerpt(value.dump()) +
                   " is not " + knownChordNames());
        } else if (lowerCase(name) == wanted) {
            chosen = chord;
        }
    }
    return chosen;
}

void PasteChordTable::report(const std::string& problem) const {
    logger_.error(problem);
    logWriter_.logToFile(problem);
}

} // namespace driftmark
