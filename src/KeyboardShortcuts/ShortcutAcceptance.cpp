#include "KeyboardShortcuts/ShortcutAcceptance.h"

#include "KeyboardShortcuts/SpecialKey.h"
#include "KeyboardShortcuts/SystemShortcuts.h"

#include <algorithm>

namespace driftmark::KeyboardShortcuts {

namespace {

constexpr char32_t firstFunctionKey = U'\uF704';
constexpr int functionKeyCount = 35;

} // namespace

const MenuItem* conflictingMenuItem(const Shortcut& shortcut, const Menu* mainMenu,
                                    const KeyboardLayout& layout) {
    return mainMenu ? menuItemWithMatchingShortcut(shortcut, *mainMenu, layout) : nullptr;
}

bool isOptionOnlyRestricted(const Shortcut& shortcut, OperatingSystemVersion version, bool isSandboxed) {
    const bool affectedSystem =
        version.majorVersion == 15 && (version.minorVersion == 0 || version.minorVersion == 1);
    const ModifierFlags considered = ModifierFlags::capsLock | ModifierFlags::control |
                                     ModifierFlags::option | ModifierFlags::command | ModifierFlags::function;
    return affectedSystem && isSandboxed && (shortcut.modifiers() & considered) == ModifierFlags::option;
}

bool matchesSystemShortcut(const Shortcut& shortcut, const SystemShortcutList& list) {
    if (shortcut.carbonKeyCode == Key::f12.rawValue && shortcut.carbonModifiers == 0) {
        return false;
    }
    const auto reserved = systemShortcuts(list);
    return std::find(reserved.begin(), reserved.end(), shortcut) != reserved.end();
}

const std::set<char32_t>& functionKeys() {
    static const std::set<char32_t> keys = [] {
        std::set<char32_t> built;
        for (int index = 0; index < functionKeyCount; ++index) {
            built.insert(firstFunctionKey + static_cast<char32_t>(index));
        }
        return built;
    }();
    return keys;
}

bool isFunctionKey(Key key) {
    const auto special = specialKey(key);
    const auto number = special ? functionKeyNumber(*special) : std::nullopt;
    return number && functionKeys().contains(firstFunctionKey + static_cast<char32_t>(*number - 1));
}

bool recorderAccepts(const Shortcut& shortcut) {
    const ModifierFlags required = ModifierFlags::control | ModifierFlags::option | ModifierFlags::command;
    return !(shortcut.modifiers() & required).empty() || isFunctionKey(shortcut.key());
}

} // namespace driftmark::KeyboardShortcuts
