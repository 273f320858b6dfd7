#pragma once

#include "KeyboardShortcuts/Module.h"
#include "fakes/FakeHotKeyService.h"
#include "fakes/FakeKeyboardLayout.h"
#include "fakes/FakeMenuTracking.h"
#include "fakes/FakeSystemShortcutList.h"
#include "fakes/ManualMainQueue.h"
#include "support/MemoryPreferencesStore.h"

#include <sstream>

namespace driftmark::test {

// A shortcut module over fakes, with the fakes at hand. Standard output is collected in `output`.
struct KeyboardShortcutsTestbed {
    MemoryPreferencesStore userDefaults;
    ManualMainQueue mainQueue;
    FakeHotKeyService hotKeys;
    FakeKeyboardLayout layout;
    FakeSystemShortcutList systemShortcuts;
    FakeMenuTracking menuTracking;
    std::ostringstream output;
    KeyboardShortcuts::Module module{
        {userDefaults, mainQueue, hotKeys, layout, systemShortcuts, menuTracking, output}};

    // The hot-key ids registered for a combination, in registration order.
    std::vector<std::uint32_t> hotKeyIds(std::uint32_t keyCode, std::uint32_t modifiers) const {
        std::vector<std::uint32_t> ids;
        for (const auto& [id, hotKey] : module.carbonKeyboardShortcuts().hotKeys()) {
            if (hotKey.shortcut.carbonKeyCode == keyCode && hotKey.shortcut.carbonModifiers == modifiers) {
                ids.push_back(id);
            }
        }
        return ids;
    }
};

} // namespace driftmark::test
