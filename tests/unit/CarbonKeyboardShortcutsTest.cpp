#include "KeyboardShortcuts/CarbonKeyboardShortcuts.h"

#include "fakes/FakeHotKeyService.h"
#include "fakes/FakeKeyboardLayout.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sstream>

namespace driftmark::KeyboardShortcuts {
namespace {

using testing::ElementsAre;
using testing::IsEmpty;

constexpr std::uint32_t commandBit = 0x100;
constexpr std::uint32_t capsLockBit = 0x400;
const Shortcut commandK(Key::k, ModifierFlags::command);
const Shortcut optionCommandC(Key::c, ModifierFlags::option | ModifierFlags::command);

class CarbonKeyboardShortcutsTest : public testing::Test {
protected:
    void add(const Shortcut& shortcut) {
        carbon.register_(
            shortcut,
            [this](const Shortcut& pressed) {
                calls.push_back("down " + std::to_string(pressed.carbonKeyCode));
            },
            [this](const Shortcut& released) {
                calls.push_back("up " + std::to_string(released.carbonKeyCode));
            });
    }

    std::vector<std::uint32_t> ids() const {
        std::vector<std::uint32_t> result;
        for (const auto& [id, hotKey] : carbon.hotKeys()) {
            result.push_back(id);
        }
        return result;
    }

    // The ids the fake desktop currently holds, in handle order.
    std::vector<std::uint32_t> grabbedIds() const {
        std::vector<std::uint32_t> result;
        for (const auto& [handle, registration] : service.registered) {
            result.push_back(registration.hotKeyId.id);
        }
        return result;
    }

    test::FakeHotKeyService service;
    test::FakeKeyboardLayout layout;
    Switches switches;
    std::ostringstream output;
    CarbonKeyboardShortcuts carbon{service, layout, switches, output};
    std::vector<std::string> calls;
};

TEST_F(CarbonKeyboardShortcutsTest, EachRegistrationGetsANewIdAndUnregisterRemovesThemAll) {
    add(commandK);
    add(commandK);
    add(optionCommandC);
    EXPECT_THAT(ids(), ElementsAre(1U, 2U, 3U));
    EXPECT_EQ(service.attempts[0].hotKeyId, (HotKeyId{CarbonKeyboardShortcuts::hotKeySignature, 1}));
    EXPECT_EQ(service.attempts[0].modifiers, commandBit);

    carbon.unregister(commandK);
    EXPECT_THAT(ids(), ElementsAre(3U));
    EXPECT_THAT(grabbedIds(), ElementsAre(3U));
    carbon.unregister(Shortcut(Key::z, ModifierFlags::command));
    EXPECT_THAT(ids(), ElementsAre(3U));
}

TEST_F(CarbonKeyboardShortcutsTest, ARefusedRegistrationIsReportedAndItsIdStaysUsed) {
    service.refused[{40, commandBit}] = -9878;
    add(commandK);
    EXPECT_EQ(output.str(), "Error registering hotkey ⌘K: -9878\n");
    EXPECT_THAT(ids(), IsEmpty());
    add(optionCommandC);
    EXPECT_THAT(ids(), ElementsAre(2U));
}

TEST_F(CarbonKeyboardShortcutsTest, TheFirstRegistrationInstallsTheHandlerForHotKeyEvents) {
    EXPECT_EQ(service.handler, nullptr);
    add(commandK);
    EXPECT_NE(service.handler, nullptr);
    EXPECT_THAT(service.deliveryChanges, ElementsAre(KeyEventDelivery::hotKeys));
    add(optionCommandC);
    EXPECT_THAT(service.deliveryChanges, ElementsAre(KeyEventDelivery::hotKeys));
}

TEST_F(CarbonKeyboardShortcutsTest, WithoutAHandlerNothingIsSwitchedAndInstallingIsTriedAgain) {
    service.canInstallEventHandler = false;
    add(commandK);
    EXPECT_THAT(ids(), ElementsAre(1U));
    switches.isEnabled = false;
    carbon.updateEventHandler();
    EXPECT_THAT(service.deliveryChanges, IsEmpty());
    EXPECT_THAT(grabbedIds(), ElementsAre(1U));

    service.canInstallEventHandler = true;
    add(optionCommandC);
    EXPECT_NE(service.handler, nullptr);
    EXPECT_THAT(service.deliveryChanges, ElementsAre(KeyEventDelivery::none));
}

TEST_F(CarbonKeyboardShortcutsTest, PressAndReleaseReachTheActionsOfTheirId) {
    add(commandK);
    EXPECT_TRUE(service.press(40, commandBit));
    EXPECT_TRUE(service.release(40, commandBit));
    EXPECT_THAT(calls, ElementsAre("down 40", "up 40"));
}

TEST_F(CarbonKeyboardShortcutsTest, ForeignOrUnknownHotKeysAreNotHandled) {
    add(commandK);
    const HotKeyEvent foreign{HotKeyEvent::Kind::pressed, {0x41424344, 1}};
    const HotKeyEvent unknown{HotKeyEvent::Kind::pressed, {CarbonKeyboardShortcuts::hotKeySignature, 9}};
    EXPECT_EQ(service.deliver(foreign), EventHandling::notHandled);
    EXPECT_EQ(service.deliver(unknown), EventHandling::notHandled);
    EXPECT_THAT(calls, IsEmpty());
}

TEST_F(CarbonKeyboardShortcutsTest, DisablingSuspendsEveryHotKeyAndDeliversNothing) {
    add(commandK);
    add(optionCommandC);
    switches.isEnabled = false;
    carbon.updateEventHandler();
    EXPECT_THAT(grabbedIds(), IsEmpty());
    EXPECT_THAT(ids(), ElementsAre(1U, 2U));
    EXPECT_EQ(service.delivery, KeyEventDelivery::none);
    EXPECT_FALSE(service.press(40, commandBit));
    EXPECT_FALSE(service.typeInMenu({RawKeyEvent::Kind::down, 40, commandBit}));
    EXPECT_THAT(calls, IsEmpty());
}

TEST_F(CarbonKeyboardShortcutsTest, LeavingMenuTrackingRegistersAgainUnderTheFirstIds) {
    add(commandK);
    add(optionCommandC);
    switches.isMenuOpen = true;
    carbon.updateEventHandler();
    EXPECT_THAT(grabbedIds(), IsEmpty());
    EXPECT_EQ(service.delivery, KeyEventDelivery::rawKeys);

    switches.isMenuOpen = false;
    carbon.updateEventHandler();
    EXPECT_THAT(grabbedIds(), ElementsAre(1U, 2U));
    EXPECT_EQ(service.delivery, KeyEventDelivery::hotKeys);
    EXPECT_EQ(service.attempts.size(), 4U);
    EXPECT_TRUE(service.press(8, 0x900));
    EXPECT_THAT(calls, ElementsAre("down 8"));
}

TEST_F(CarbonKeyboardShortcutsTest, AHotKeyThatCannotBeResumedIsDropped) {
    add(commandK);
    add(optionCommandC);
    switches.isEnabled = false;
    carbon.updateEventHandler();
    service.refused[{40, commandBit}] = -9878;
    switches.isEnabled = true;
    carbon.updateEventHandler();
    EXPECT_EQ(output.str(), "Error registering hotkey ⌘K: -9878\n");
    EXPECT_THAT(ids(), ElementsAre(2U));
    EXPECT_THAT(grabbedIds(), ElementsAre(2U));
}

TEST_F(CarbonKeyboardShortcutsTest, InAMenuRawKeysMatchWithNormalisedModifiers) {
    add(commandK);
    switches.isMenuOpen = true;
    carbon.updateEventHandler();
    EXPECT_EQ(service.typeInMenu({RawKeyEvent::Kind::down, 40, commandBit | capsLockBit}),
              EventHandling::handled);
    EXPECT_EQ(service.typeInMenu({RawKeyEvent::Kind::up, 40, commandBit}), EventHandling::handled);
    EXPECT_THAT(calls, ElementsAre("down 40", "up 40"));

    EXPECT_EQ(service.typeInMenu({RawKeyEvent::Kind::down, 40, 0}), EventHandling::notHandled);
    EXPECT_EQ(service.typeInMenu({RawKeyEvent::Kind::down, 41, commandBit}), EventHandling::notHandled);
    EXPECT_EQ(calls.size(), 2U);
}

TEST_F(CarbonKeyboardShortcutsTest, KeysOnlyAFunctionKeyMayGoWithoutARealModifier) {
    add(Shortcut(Key::f12, {}));
    add(Shortcut(Key::f6, ModifierFlags::shift));
    add(Shortcut(Key::a, {}));
    add(Shortcut(Key::upArrow, ModifierFlags::shift | ModifierFlags::function));
    EXPECT_EQ(service.attempts.size(), 2U);
    EXPECT_THAT(ids(), ElementsAre(1U, 2U));
    EXPECT_EQ(output.str(), "Error registering hotkey A: -9870\nError registering hotkey ⇧🌐\uFE0E↑: -9870\n");
}

TEST_F(CarbonKeyboardShortcutsTest, ValuesThatDoNotFitThirtyTwoBitsAreRefused) {
    add(Shortcut::asStored(0x100000028, commandBit));
    add(Shortcut::asStored(-1, commandBit));
    add(Shortcut::asStored(40, 0x100000100));
    EXPECT_THAT(service.attempts, IsEmpty());
    EXPECT_THAT(ids(), IsEmpty());
    add(Shortcut::asStored(40, 0xFFFF0100));
    EXPECT_EQ(service.attempts.size(), 1U);
    EXPECT_EQ(service.attempts[0].modifiers, 0xFFFF0100U);
    EXPECT_THAT(ids(), ElementsAre(4U));
}

} // namespace
} // namespace driftmark::KeyboardShortcuts
