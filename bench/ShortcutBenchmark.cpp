#include "KeyboardShortcuts/Key.h"
#include "KeyboardShortcuts/ModifierFlags.h"
#include "KeyboardShortcuts/Name.h"
#include "KeyboardShortcuts/Shortcut.h"
#include "fakes/KeyboardShortcutsTestbed.h"

#include <array>
#include <benchmark/benchmark.h>
#include <cstdint>
#include <string>

namespace driftmark::KeyboardShortcuts {
namespace {

constexpr std::array<Key, 10> digitKeys = {Key::one, Key::two,   Key::three, Key::four, Key::five,
                                           Key::six, Key::seven, Key::eight, Key::nine, Key::zero};

// Ten names, one per entry, each with its own Control-Option-digit shortcut and one key-down action
// that counts its runs.
struct TenShortcuts {
    test::KeyboardShortcutsTestbed bed;
    std::int64_t runs = 0;

    TenShortcuts() {
        for (std::size_t i = 0; i < digitKeys.size(); ++i) {
            const Name name = bed.module.makeName("menuItem_" + std::to_string(i));
            bed.module.setShortcut(shortcut(i), name);
            bed.module.onKeyDown(name, [this] { ++runs; });
        }
    }

    static Shortcut shortcut(std::size_t index) {
        return Shortcut(digitKeys.at(index), ModifierFlags::control | ModifierFlags::option);
    }
};

// The module's own share of a press: every name's stored shortcut is compared with the pressed one,
// then the matching action runs. The last name is pressed, so no comparison is skipped.
void handleOnKeyDownWithTenNames(benchmark::State& state) {
    TenShortcuts shortcuts;
    const Shortcut pressed = TenShortcuts::shortcut(digitKeys.size() - 1);
    for (auto _ : state) {
        shortcuts.bed.module.handleOnKeyDown(pressed);
    }
    if (shortcuts.runs != static_cast<std::int64_t>(state.iterations())) {
        state.SkipWithError("the pressed shortcut did not run its action once per press");
    }
}
BENCHMARK(handleOnKeyDownWithTenNames);

// The whole in-process path of a press, from the hot-key event the platform delivers through the
// hot-key table to the action.
void hotKeyPressWithTenNames(benchmark::State& state) {
    TenShortcuts shortcuts;
    const Shortcut pressed = TenShortcuts::shortcut(digitKeys.size() - 1);
    const auto keyCode = static_cast<std::uint32_t>(pressed.carbonKeyCode);
    const auto modifiers = static_cast<std::uint32_t>(pressed.carbonModifiers);
    for (auto _ : state) {
        benchmark::DoNotOptimize(shortcuts.bed.hotKeys.press(keyCode, modifiers));
    }
    if (shortcuts.runs != static_cast<std::int64_t>(state.iterations())) {
        state.SkipWithError("the hot key did not reach its action once per press");
    }
}
BENCHMARK(hotKeyPressWithTenNames);

} // namespace
} // namespace driftmark::KeyboardShortcuts
