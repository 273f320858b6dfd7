#include "KeyboardShortcuts/RecorderCocoa.h"

#include "KeyboardShortcuts/HotKeyAvailability.h"
#include "KeyboardShortcuts/Module.h"
#include "KeyboardShortcuts/Texts.h"
#include "app/ApplicationMenu.h"
#include "fakes/FakeLocalEventMonitorService.h"
#include "fakes/FakeRecorderField.h"
#include "fakes/KeyboardShortcutsTestbed.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <string>

namespace driftmark::KeyboardShortcuts {
namespace {

using testing::ElementsAre;
using testing::HasSubstr;
using testing::IsEmpty;

const Shortcut controlOptionK(Key::k, ModifierFlags::control | ModifierFlags::option);
const Shortcut commandShiftJ(Key::j, ModifierFlags::command | ModifierFlags::shift);
const Shortcut f6(Key::f6, ModifierFlags{});
const Shortcut shiftF6(Key::f6, ModifierFlags::shift);

LocalEvent keyDown(Key key, ModifierFlags modifiers = {}) {
    return {LocalEvent::keyDown, static_cast<std::uint16_t>(key.rawValue), modifiers.rawValue, {}};
}

LocalEvent mouseUp(int type, double x, double y) {
    return {type, 0, 0, {x, y}};
}

class RecorderCocoaTest : public testing::Test {
protected:
    RecorderCocoaTest() {
        bed.module.notificationCenter().addObserver(
            recorderActiveStatusDidChange, [this](const Notification& note) {
                activeStatuses.push_back(std::get<bool>(note.userInfo.at("isActive")));
            });
    }

    void makeRecorder(std::optional<Menu> menu = std::nullopt) {
        recorder = std::make_unique<RecorderCocoa>(
            bed.module, events, field, name,
            [this](const std::optional<Shortcut>& shortcut) { changes.push_back(shortcut); }, std::move(menu),
            [this](const Name& holder) -> std::optional<std::string> {
                const auto found = holders.find(holder.rawValue);
                return found == holders.end() ? std::nullopt : std::optional<std::string>(found->second);
            });
        field.control = recorder.get();
    }

    void showInWindow() { recorder->viewDidMoveToWindow(true); }

    // A click on the field as the view reports it: the press gives it the focus, the release on it is
    // reported. True when the field then records.
    bool clickField() {
        field.click();
        recorder->fieldClicked();
        return recorder->isRecording();
    }

    void startRecording(std::optional<Menu> menu = std::nullopt) {
        makeRecorder(std::move(menu));
        showInWindow();
        ASSERT_TRUE(clickField());
        ASSERT_TRUE(recorder->isRecording());
    }

    // The field takes the focus without a click: Tab moved onto it, or its window came back.
    void focusWithoutClick() {
        ASSERT_TRUE(field.click());
        ASSERT_TRUE(field.hasFocus);
    }

    std::optional<LocalEvent> press(Key key, ModifierFlags modifiers = {}) {
        return events.send(keyDown(key, modifiers));
    }

    std::optional<Shortcut> stored() const { return bed.module.getShortcut(name); }

    // The hot keys the module holds, as (key code, modifiers).
    std::vector<std::pair<std::uint32_t, std::uint32_t>> moduleHotKeys() const {
        std::vector<std::pair<std::uint32_t, std::uint32_t>> combinations;
        for (const auto& [handle, registration] : bed.hotKeys.registered) {
            if (registration.hotKeyId.signature == CarbonKeyboardShortcuts::hotKeySignature) {
                combinations.emplace_back(registration.keyCode, registration.modifiers);
            }
        }
        return combinations;
    }

    test::KeyboardShortcutsTestbed bed;
    test::FakeLocalEventMonitorService events;
    test::FakeRecorderField field;
    Name name = bed.module.makeName("menuItem_1");
    // What the recorder is told about the holders of other names' shortcuts.
    std::map<std::string, std::string> holders;
    std::vector<bool> activeStatuses;
    std::vector<std::optional<Shortcut>> changes;
    std::unique_ptr<RecorderCocoa> recorder;
};

TEST_F(RecorderCocoaTest, ShowsTheStoredShortcutWhileIdle) {
    bed.module.setShortcut(controlOptionK, name);
    makeRecorder();
    EXPECT_EQ(field.text, "⌃⌥K");
    EXPECT_EQ(recorder->text(), "⌃⌥K");
    EXPECT_TRUE(field.clearButtonVisible);
    EXPECT_EQ(field.placeholder, "Record Shortcut");
    EXPECT_EQ(recorder->placeholder(), "Record Shortcut");
    EXPECT_TRUE(field.caretVisible);
    EXPECT_FALSE(recorder->isRecording());
    EXPECT_EQ(RecorderCocoa::minimumWidth, 130);
}

TEST_F(RecorderCocoaTest, WithoutAShortcutTheFieldIsEmptyWithoutClearButton) {
    makeRecorder();
    EXPECT_EQ(field.text, "");
    EXPECT_FALSE(field.clearButtonVisible);
    EXPECT_FALSE(recorder->isClearButtonVisible());
}

TEST_F(RecorderCocoaTest, TheFocusAloneDoesNotRecord) {
    makeRecorder();
    showInWindow();
    focusWithoutClick();
    EXPECT_FALSE(recorder->isRecording());
    EXPECT_FALSE(bed.module.isPaused());
    EXPECT_FALSE(field.keyboardGrabbed);
    EXPECT_EQ(field.placeholder, "Record Shortcut");
    EXPECT_THAT(activeStatuses, IsEmpty());
    // A combination typed now goes on to the window, and nothing is stored.
    EXPECT_TRUE(press(Key::y, ModifierFlags::control | ModifierFlags::option));
    EXPECT_TRUE(press(Key::f9));
    EXPECT_EQ(stored(), std::nullopt);
    EXPECT_THAT(changes, IsEmpty());
    // So does Tab, which moves the focus on.
    EXPECT_TRUE(press(Key::tab));
    EXPECT_FALSE(recorder->isRecording());
}

TEST_F(RecorderCocoaTest, AClickOnTheFocusedFieldRecords) {
    makeRecorder();
    showInWindow();
    focusWithoutClick();
    // Clicks elsewhere in the window go through and start nothing.
    EXPECT_TRUE(events.send(mouseUp(LocalEvent::leftMouseUp, 300, 50)));
    EXPECT_TRUE(events.send(mouseUp(LocalEvent::rightMouseUp, 150, 50)));
    EXPECT_FALSE(recorder->isRecording());
    recorder->fieldClicked();
    EXPECT_TRUE(recorder->isRecording());
    EXPECT_TRUE(bed.module.isPaused());
}

TEST_F(RecorderCocoaTest, AClickWhoseFocusArrivesLaterRecordsThen) {
    makeRecorder();
    showInWindow();
    field.focusDeferred = true;
    recorder->fieldClicked();
    EXPECT_FALSE(recorder->isRecording());
    field.deliverPendingFocus();
    EXPECT_TRUE(recorder->isRecording());
}

TEST_F(RecorderCocoaTest, AClickWhileAnAlertIsOpenDoesNothing) {
    startRecording(applicationMenu());
    press(Key::q, ModifierFlags::control);
    recorder->fieldClicked();
    EXPECT_FALSE(recorder->isRecording());
    EXPECT_FALSE(field.hasFocus);
}

TEST_F(RecorderCocoaTest, SpaceOrReturnOnTheFocusedFieldRecords) {
    for (const Key key : {Key::space, Key::return_, Key::keypadEnter}) {
        makeRecorder();
        showInWindow();
        focusWithoutClick();
        // With a modifier it is no request to record.
        EXPECT_FALSE(recorder->keyDown(keyDown(key, ModifierFlags::control)));
        EXPECT_FALSE(recorder->keyDown(keyDown(key, ModifierFlags::shift)));
        EXPECT_FALSE(recorder->isRecording());
        EXPECT_TRUE(recorder->keyDown(keyDown(key, ModifierFlags::capsLock)));
        EXPECT_TRUE(recorder->isRecording()) << key.rawValue;
        EXPECT_EQ(field.placeholder, "Press Shortcut");
        // The key that started it is no shortcut.
        EXPECT_EQ(field.beeps, 0);
        EXPECT_EQ(stored(), std::nullopt);
        recorder.reset();
        field.control = nullptr;
        field.hasFocus = false;
    }
}

TEST_F(RecorderCocoaTest, TheWindowComingBackDoesNotRecord) {
    startRecording();
    recorder->windowDidResignKey();
    EXPECT_FALSE(recorder->isRecording());
    // The window gives its focus item the focus back.
    field.blur();
    focusWithoutClick();
    EXPECT_FALSE(recorder->isRecording());
    EXPECT_TRUE(press(Key::y, ModifierFlags::control | ModifierFlags::option));
    EXPECT_EQ(stored(), std::nullopt);
    EXPECT_THAT(activeStatuses, ElementsAre(true, false));
}

TEST_F(RecorderCocoaTest, OtherKeysOfTheFocusedFieldAreNotTaken) {
    makeRecorder();
    showInWindow();
    focusWithoutClick();
    EXPECT_FALSE(recorder->keyDown(keyDown(Key::tab)));
    EXPECT_FALSE(recorder->keyDown(keyDown(Key::a)));
    EXPECT_FALSE(recorder->keyDown(keyDown(Key::escape)));
    EXPECT_FALSE(recorder->keyDown({LocalEvent::keyDown, LocalEvent::noKeyCode, 0, {}}));
    EXPECT_FALSE(recorder->isRecording());
}

TEST_F(RecorderCocoaTest, SpaceWhileAnAlertIsOpenIsTheAlerts) {
    startRecording(applicationMenu());
    press(Key::q, ModifierFlags::control);
    EXPECT_FALSE(recorder->keyDown(keyDown(Key::space)));
    EXPECT_FALSE(recorder->isRecording());
}

TEST_F(RecorderCocoaTest, AFieldShownAgainDoesNotRecordWhenItGetsTheFocus) {
    startRecording();
    recorder->viewDidMoveToWindow(false);
    EXPECT_TRUE(events.monitors.empty());
    field.hasFocus = false;
    showInWindow();
    focusWithoutClick();
    EXPECT_FALSE(recorder->isRecording());
}

TEST_F(RecorderCocoaTest, RecordingPausesShortcutsGrabsTheKeyboardAndSaysSo) {
    startRecording();
    EXPECT_TRUE(bed.module.isPaused());
    EXPECT_THAT(activeStatuses, ElementsAre(true));
    EXPECT_EQ(field.placeholder, "Press Shortcut");
    EXPECT_FALSE(field.caretVisible);
    EXPECT_TRUE(field.keyboardGrabbed);
    ASSERT_EQ(events.monitors.size(), 1U);
    EXPECT_EQ(events.monitors.begin()->second.first, 1044U);

    // Taking the focus again changes nothing.
    EXPECT_TRUE(recorder->becomeFirstResponder());
    EXPECT_EQ(events.monitors.size(), 1U);
    EXPECT_THAT(activeStatuses, ElementsAre(true));
}

TEST_F(RecorderCocoaTest, EscapeEndsRecordingWithoutChange) {
    bed.module.setShortcut(controlOptionK, name);
    startRecording();
    EXPECT_FALSE(press(Key::escape));
    EXPECT_FALSE(recorder->isRecording());
    // The field keeps the focus, so that the keyboard goes on from it.
    EXPECT_TRUE(field.hasFocus);
    EXPECT_FALSE(bed.module.isPaused());
    EXPECT_FALSE(field.keyboardGrabbed);
    EXPECT_THAT(activeStatuses, ElementsAre(true, false));
    EXPECT_EQ(field.placeholder, "Record Shortcut");
    EXPECT_TRUE(field.caretVisible);
    EXPECT_EQ(stored(), controlOptionK);
    EXPECT_EQ(field.text, "⌃⌥K");
    EXPECT_THAT(changes, IsEmpty());
    // The next chord is no longer recorded; Space starts again.
    EXPECT_TRUE(press(Key::j, ModifierFlags::command | ModifierFlags::shift));
    EXPECT_EQ(stored(), controlOptionK);
    EXPECT_TRUE(recorder->keyDown(keyDown(Key::space)));
    EXPECT_TRUE(recorder->isRecording());
}

TEST_F(RecorderCocoaTest, TabEndsRecordingAndGoesOnToMoveTheFocus) {
    startRecording();
    const auto passed = press(Key::tab);
    ASSERT_TRUE(passed);
    EXPECT_EQ(passed->keyCode, Key::tab.rawValue);
    EXPECT_FALSE(recorder->isRecording());
    EXPECT_EQ(stored(), std::nullopt);
    EXPECT_EQ(field.beeps, 0);
}

TEST_F(RecorderCocoaTest, ShiftTabIsRefusedLikeAnyShiftedKey) {
    startRecording();
    EXPECT_FALSE(press(Key::tab, ModifierFlags::shift));
    EXPECT_EQ(field.beeps, 1);
    EXPECT_TRUE(recorder->isRecording());
}

TEST_F(RecorderCocoaTest, DeleteClearsTheShortcutAndKeepsRecording) {
    bed.module.setShortcut(controlOptionK, name);
    startRecording();
    EXPECT_FALSE(press(Key::delete_));
    EXPECT_EQ(stored(), std::nullopt);
    EXPECT_FALSE(bed.module.userDefaultsContains(name));
    EXPECT_THAT(moduleHotKeys(), IsEmpty());
    EXPECT_THAT(changes, ElementsAre(std::nullopt));
    EXPECT_EQ(field.text, "");
    EXPECT_FALSE(field.clearButtonVisible);
    EXPECT_TRUE(recorder->isRecording());
    EXPECT_TRUE(bed.module.isPaused());
}

TEST_F(RecorderCocoaTest, ForwardDeleteClearsToo) {
    bed.module.setShortcut(f6, name);
    startRecording();
    EXPECT_FALSE(press(Key::deleteForward));
    EXPECT_EQ(stored(), std::nullopt);
    EXPECT_THAT(changes, ElementsAre(std::nullopt));
}

TEST_F(RecorderCocoaTest, DeleteWithNothingShownChangesNothing) {
    startRecording();
    EXPECT_FALSE(press(Key::delete_));
    EXPECT_THAT(changes, IsEmpty());
    EXPECT_FALSE(bed.module.userDefaultsContains(name));
    EXPECT_TRUE(recorder->isRecording());
}

TEST_F(RecorderCocoaTest, KeysWithoutControlOptionOrCommandBeepAndStoreNothing) {
    startRecording();
    EXPECT_FALSE(press(Key::a));
    EXPECT_FALSE(press(Key::a, ModifierFlags::shift));
    EXPECT_FALSE(press(Key::a, ModifierFlags::capsLock));
    EXPECT_FALSE(press(Key::five));
    EXPECT_FALSE(press(Key::upArrow, ModifierFlags::function));
    EXPECT_FALSE(press(Key::return_));
    EXPECT_FALSE(press(Key::delete_, ModifierFlags::shift));
    EXPECT_EQ(field.beeps, 7);
    EXPECT_EQ(stored(), std::nullopt);
    EXPECT_THAT(changes, IsEmpty());
    EXPECT_TRUE(recorder->isRecording());
    EXPECT_TRUE(field.alerts.empty());
}

TEST_F(RecorderCocoaTest, AFunctionKeyAloneIsStored) {
    startRecording();
    EXPECT_FALSE(press(Key::f6));
    EXPECT_EQ(stored(), f6);
    EXPECT_THAT(changes, ElementsAre(f6));
    EXPECT_EQ(field.text, "F6");
    EXPECT_TRUE(field.clearButtonVisible);
    EXPECT_THAT(moduleHotKeys(), ElementsAre(std::pair<std::uint32_t, std::uint32_t>(97, 0)));
    EXPECT_FALSE(recorder->isRecording());
    EXPECT_FALSE(bed.module.isPaused());
    EXPECT_FALSE(field.keyboardGrabbed);
    EXPECT_EQ(field.beeps, 0);
    // The field keeps the focus without recording: the next key is not taken.
    EXPECT_TRUE(field.hasFocus);
    EXPECT_TRUE(press(Key::f7));
    EXPECT_EQ(stored(), f6);
}

TEST_F(RecorderCocoaTest, AShiftedFunctionKeyIsStored) {
    startRecording();
    press(Key::f6, ModifierFlags::shift);
    EXPECT_EQ(stored(), shiftF6);
    EXPECT_EQ(field.text, "⇧F6");
}

TEST_F(RecorderCocoaTest, ACombinationReplacesTheStoredOneWithoutLockOrDeviceBits) {
    bed.module.setShortcut(commandShiftJ, name);
    startRecording();
    press(Key::k,
          ModifierFlags::control | ModifierFlags::option | ModifierFlags::capsLock | ModifierFlags{0x20});
    EXPECT_EQ(stored(), controlOptionK);
    EXPECT_THAT(changes, ElementsAre(controlOptionK));
    EXPECT_EQ(field.text, "⌃⌥K");
    EXPECT_THAT(moduleHotKeys(), ElementsAre(std::pair<std::uint32_t, std::uint32_t>(40, 0x1800)));
}

TEST_F(RecorderCocoaTest, AKeyWithoutVirtualKeyCodeBeeps) {
    startRecording();
    EXPECT_FALSE(events.send({LocalEvent::keyDown, 0xFFFF, ModifierFlags::control.rawValue, {}}));
    EXPECT_FALSE(events.send({LocalEvent::keyDown, 0xFFFF, 0, {}}));
    EXPECT_EQ(field.beeps, 2);
    EXPECT_EQ(stored(), std::nullopt);
    EXPECT_TRUE(bed.hotKeys.attempts.empty());
    EXPECT_TRUE(recorder->isRecording());
}

TEST_F(RecorderCocoaTest, AnApplicationMenuShortcutIsReportedAndRecordingResumes) {
    startRecording(applicationMenu());
    EXPECT_FALSE(press(Key::q, ModifierFlags::control));
    ASSERT_EQ(field.alerts.size(), 1U);
    EXPECT_EQ(field.alerts[0].messageText,
              "This keyboard shortcut cannot be used as it's already used by the “Quit” menu item.");
    EXPECT_EQ(field.alerts[0].informativeText, std::nullopt);
    EXPECT_THAT(field.alerts[0].buttonTitles, ElementsAre("OK"));
    // Recording stops while the alert is open, and the field cannot be clicked into it.
    EXPECT_FALSE(recorder->isRecording());
    EXPECT_FALSE(bed.module.isPaused());
    EXPECT_FALSE(field.keyboardGrabbed);
    EXPECT_FALSE(field.click());

    field.answer(AlertResponse::firstButton);
    EXPECT_TRUE(recorder->isRecording());
    EXPECT_TRUE(bed.module.isPaused());
    EXPECT_TRUE(field.keyboardGrabbed);
    EXPECT_THAT(activeStatuses, ElementsAre(true, false, true));
    EXPECT_EQ(stored(), std::nullopt);
    EXPECT_THAT(changes, IsEmpty());
    EXPECT_TRUE(bed.hotKeys.attempts.empty());
}

TEST_F(RecorderCocoaTest, EveryApplicationMenuKeyEquivalentIsReported) {
    startRecording(applicationMenu());
    press(Key::comma, ModifierFlags::control);
    ASSERT_EQ(field.alerts.size(), 1U);
    EXPECT_THAT(field.alerts[0].messageText, HasSubstr("“Settings”"));
    field.answer(AlertResponse::firstButton);
    // Without Control it is not the menu's.
    press(Key::q, ModifierFlags::command);
    EXPECT_EQ(field.alerts.size(), 1U);
    EXPECT_EQ(stored(), Shortcut(Key::q, ModifierFlags::command));
}

TEST_F(RecorderCocoaTest, ACombinationAnotherProgramHoldsIsReported) {
    bed.hotKeys.refused[{40, 0x1800}] = 10;
    startRecording();
    EXPECT_FALSE(press(Key::k, ModifierFlags::control | ModifierFlags::option));
    ASSERT_EQ(field.alerts.size(), 1U);
    EXPECT_EQ(field.alerts[0].messageText, localizedText("keyboard_shortcut_used_by_system"));
    EXPECT_THAT(field.alerts[0].messageText, HasSubstr("another application"));
    EXPECT_EQ(field.alerts[0].informativeText, localizedText("keyboard_shortcuts_can_be_changed"));
    EXPECT_THAT(field.alerts[0].buttonTitles, ElementsAre("OK", "Use Anyway"));
    ASSERT_EQ(bed.hotKeys.attempts.size(), 1U);
    EXPECT_EQ(bed.hotKeys.attempts[0].hotKeyId.signature, trialHotKeySignature);
    EXPECT_FALSE(recorder->isRecording());
    EXPECT_EQ(stored(), std::nullopt);
}

TEST_F(RecorderCocoaTest, OkLeavesTheHeldCombinationUnstored) {
    bed.hotKeys.refused[{40, 0x1800}] = 10;
    startRecording();
    press(Key::k, ModifierFlags::control | ModifierFlags::option);
    field.answer(AlertResponse::firstButton);
    EXPECT_TRUE(recorder->isRecording());
    EXPECT_EQ(stored(), std::nullopt);
    EXPECT_THAT(changes, IsEmpty());
    EXPECT_EQ(field.text, "");
}

TEST_F(RecorderCocoaTest, UseAnywayStoresTheHeldCombination) {
    bed.hotKeys.refused[{40, 0x1800}] = 10;
    startRecording();
    press(Key::k, ModifierFlags::control | ModifierFlags::option);
    field.answer(AlertResponse::secondButton);
    EXPECT_EQ(stored(), controlOptionK);
    EXPECT_THAT(changes, ElementsAre(controlOptionK));
    EXPECT_EQ(field.text, "⌃⌥K");
    EXPECT_FALSE(recorder->isRecording());
    EXPECT_FALSE(bed.module.isPaused());
    EXPECT_FALSE(field.keyboardGrabbed);
    // The module tried to take it and said why it could not.
    EXPECT_THAT(bed.output.str(), HasSubstr("Error registering hotkey ⌃⌥K: 10"));
}

TEST_F(RecorderCocoaTest, ADesktopShortcutIsReported) {
    bed.systemShortcuts.entries.push_back({true, Key::j.rawValue, 0x300});
    startRecording();
    press(Key::j, ModifierFlags::command | ModifierFlags::shift);
    ASSERT_EQ(field.alerts.size(), 1U);
    EXPECT_THAT(field.alerts[0].buttonTitles, ElementsAre("OK", "Use Anyway"));
    field.answer(AlertResponse::secondButton);
    EXPECT_EQ(stored(), commandShiftJ);
}

TEST_F(RecorderCocoaTest, TheTrialRegistrationOfAFreeCombinationIsGivenBack) {
    startRecording();
    press(Key::k, ModifierFlags::control | ModifierFlags::option);
    ASSERT_EQ(bed.hotKeys.attempts.size(), 2U);
    EXPECT_EQ(bed.hotKeys.attempts[0].hotKeyId.signature, trialHotKeySignature);
    EXPECT_EQ(bed.hotKeys.attempts[1].hotKeyId.signature, CarbonKeyboardShortcuts::hotKeySignature);
    EXPECT_EQ(bed.hotKeys.unregistered.size(), 1U);
    ASSERT_EQ(bed.hotKeys.registered.size(), 1U);
    EXPECT_EQ(bed.hotKeys.registered.begin()->second.hotKeyId.signature,
              CarbonKeyboardShortcuts::hotKeySignature);
    EXPECT_TRUE(field.alerts.empty());
}

TEST_F(RecorderCocoaTest, AnotherNamesShortcutIsReportedWithItsHolder) {
    const Name other = bed.module.makeName("copyToClipboard", commandShiftJ);
    holders["copyToClipboard"] = "the first entry's shortcut";
    int runs = 0;
    bed.module.onKeyDown(other, [&] { ++runs; });
    startRecording();
    bed.hotKeys.press(38, 0x300);
    EXPECT_FALSE(press(Key::j, ModifierFlags::command | ModifierFlags::shift));
    EXPECT_EQ(runs, 0);
    ASSERT_EQ(field.alerts.size(), 1U);
    EXPECT_EQ(field.alerts[0].messageText,
              "This keyboard shortcut is already used by the first entry's shortcut.");
    EXPECT_EQ(field.alerts[0].informativeText, "If you use it here as well, pressing it does both.");
    EXPECT_THAT(field.alerts[0].buttonTitles, ElementsAre("OK", "Use Anyway"));
    EXPECT_FALSE(recorder->isRecording());
    EXPECT_EQ(stored(), std::nullopt);

    // OK stores nothing and records again.
    field.answer(AlertResponse::firstButton);
    EXPECT_TRUE(recorder->isRecording());
    EXPECT_EQ(stored(), std::nullopt);
    EXPECT_THAT(changes, IsEmpty());
    EXPECT_EQ(bed.module.getShortcut(other), commandShiftJ);
}

TEST_F(RecorderCocoaTest, UseAnywayStoresAnotherNamesShortcut) {
    const Name other = bed.module.makeName("menuItem_2");
    bed.module.setShortcut(controlOptionK, other);
    holders["menuItem_2"] = "the “Second” entry";
    startRecording();
    press(Key::k, ModifierFlags::control | ModifierFlags::option);
    ASSERT_EQ(field.alerts.size(), 1U);
    EXPECT_EQ(field.alerts[0].messageText, "This keyboard shortcut is already used by the “Second” entry.");
    field.answer(AlertResponse::secondButton);
    EXPECT_EQ(stored(), controlOptionK);
    EXPECT_THAT(changes, ElementsAre(controlOptionK));
    EXPECT_EQ(field.text, "⌃⌥K");
    EXPECT_FALSE(recorder->isRecording());
    EXPECT_FALSE(bed.module.isPaused());
    EXPECT_EQ(bed.module.getShortcut(other), controlOptionK);
}

TEST_F(RecorderCocoaTest, TheNamesOwnShortcutAndNamesNobodyUsesAreNoConflict) {
    bed.module.setShortcut(controlOptionK, name);
    holders["menuItem_1"] = "this very entry";
    // A name whose entry is gone keeps its stored value, but nobody uses it.
    bed.module.setShortcut(commandShiftJ, bed.module.makeName("menuItem_gone"));
    startRecording();
    press(Key::k, ModifierFlags::control | ModifierFlags::option);
    EXPECT_TRUE(field.alerts.empty());
    EXPECT_EQ(stored(), controlOptionK);
    ASSERT_TRUE(clickField());
    press(Key::j, ModifierFlags::command | ModifierFlags::shift);
    EXPECT_TRUE(field.alerts.empty());
    EXPECT_EQ(stored(), commandShiftJ);
}

TEST_F(RecorderCocoaTest, AnExistingShortcutIsRecordedInsteadOfRun) {
    const Name other = bed.module.makeName("copyToClipboard", commandShiftJ);
    int runs = 0;
    bed.module.onKeyDown(other, [&] { ++runs; });
    startRecording();
    bed.hotKeys.press(38, 0x300);
    EXPECT_EQ(runs, 0);
    press(Key::j, ModifierFlags::command | ModifierFlags::shift);
    EXPECT_EQ(stored(), commandShiftJ);
    EXPECT_TRUE(field.alerts.empty());
    bed.hotKeys.release(38, 0x300);
    bed.hotKeys.press(38, 0x300);
    EXPECT_EQ(runs, 1);
}

TEST_F(RecorderCocoaTest, AClickOutsideTheFieldEndsRecordingAndGoesThrough) {
    startRecording();
    // The field spans x 100…230, y 40…62; 3 points around it still count as the field.
    const auto passed = events.send(mouseUp(LocalEvent::leftMouseUp, 233.5, 50));
    ASSERT_TRUE(passed);
    EXPECT_EQ(passed->locationInWindow.x, 233.5);
    EXPECT_FALSE(recorder->isRecording());
    EXPECT_FALSE(bed.module.isPaused());
}

TEST_F(RecorderCocoaTest, ARightClickAboveTheFieldEndsRecordingToo) {
    startRecording();
    EXPECT_TRUE(events.send(mouseUp(LocalEvent::rightMouseUp, 150, 36)));
    EXPECT_FALSE(recorder->isRecording());
}

TEST_F(RecorderCocoaTest, AClickOnOrNearTheFieldIsSwallowed) {
    startRecording();
    EXPECT_FALSE(events.send(mouseUp(LocalEvent::leftMouseUp, 150, 50)));
    EXPECT_FALSE(events.send(mouseUp(LocalEvent::leftMouseUp, 97.5, 38)));
    EXPECT_FALSE(events.send(mouseUp(LocalEvent::rightMouseUp, 232, 64.5)));
    EXPECT_TRUE(recorder->isRecording());
    EXPECT_EQ(field.blurs, 0);
}

TEST_F(RecorderCocoaTest, ClearingTheTextRemovesTheShortcutAndStartsRecording) {
    bed.module.setShortcut(controlOptionK, name);
    makeRecorder();
    showInWindow();
    field.text = "";
    recorder->controlTextDidChange("");
    EXPECT_EQ(stored(), std::nullopt);
    EXPECT_THAT(moduleHotKeys(), IsEmpty());
    EXPECT_THAT(changes, ElementsAre(std::nullopt));
    EXPECT_FALSE(field.clearButtonVisible);
    EXPECT_TRUE(recorder->isRecording());
    EXPECT_TRUE(field.hasFocus);
}

TEST_F(RecorderCocoaTest, TheClearButtonClearsTheField) {
    bed.module.setShortcut(controlOptionK, name);
    makeRecorder();
    showInWindow();
    recorder->clearButtonClicked();
    EXPECT_EQ(field.text, "");
    EXPECT_EQ(recorder->text(), "");
    EXPECT_EQ(stored(), std::nullopt);
    EXPECT_THAT(changes, ElementsAre(std::nullopt));
    EXPECT_TRUE(recorder->isRecording());
}

TEST_F(RecorderCocoaTest, EditedTextThatIsNotEmptyStoresNothing) {
    bed.module.setShortcut(controlOptionK, name);
    makeRecorder();
    recorder->controlTextDidChange("⌃⌥");
    EXPECT_EQ(stored(), controlOptionK);
    EXPECT_THAT(changes, IsEmpty());
    EXPECT_TRUE(field.clearButtonVisible);
    EXPECT_EQ(field.focusRequests, 0);
}

TEST_F(RecorderCocoaTest, AChangeMadeElsewhereIsShown) {
    makeRecorder();
    bed.module.setShortcut(commandShiftJ, name);
    EXPECT_EQ(field.text, "⇧⌘J");
    EXPECT_TRUE(field.clearButtonVisible);
    bed.module.setShortcut(controlOptionK, bed.module.makeName("menuItem_2"));
    EXPECT_EQ(field.text, "⇧⌘J");
    bed.module.setShortcut(std::nullopt, name);
    EXPECT_EQ(field.text, "");
    EXPECT_FALSE(field.clearButtonVisible);
    EXPECT_THAT(changes, IsEmpty());
}

TEST_F(RecorderCocoaTest, AnotherNameShowsItsShortcutAndIsRecordedFor) {
    const Name second = bed.module.makeName("menuItem_2");
    bed.module.setShortcut(commandShiftJ, second);
    startRecording();
    recorder->setShortcutName(second);
    EXPECT_EQ(recorder->shortcutName().rawValue, "menuItem_2");
    EXPECT_EQ(field.text, "⇧⌘J");
    EXPECT_TRUE(recorder->isRecording());
    press(Key::k, ModifierFlags::control | ModifierFlags::option);
    EXPECT_EQ(bed.module.getShortcut(second), controlOptionK);
    EXPECT_EQ(stored(), std::nullopt);
    // Changes to the first name are no longer shown.
    bed.module.setShortcut(f6, name);
    EXPECT_EQ(field.text, "⌃⌥K");
}

TEST_F(RecorderCocoaTest, DestroyedWhileAnAlertIsOpenTheAnswerDoesNothing) {
    bed.hotKeys.refused[{40, 0x1800}] = 10;
    startRecording();
    press(Key::k, ModifierFlags::control | ModifierFlags::option);
    ASSERT_TRUE(field.openAlert);
    recorder.reset();
    field.control = nullptr;
    const int focusRequests = field.focusRequests;
    field.answer(AlertResponse::secondButton);
    EXPECT_EQ(field.focusRequests, focusRequests);
    EXPECT_EQ(stored(), std::nullopt);
    EXPECT_THAT(changes, IsEmpty());
    EXPECT_TRUE(events.monitors.empty());
    EXPECT_FALSE(bed.module.isPaused());
}

TEST_F(RecorderCocoaTest, DestroyedWhileRecordingItLetsGoOfEverything) {
    startRecording();
    recorder.reset();
    field.control = nullptr;
    EXPECT_TRUE(events.monitors.empty());
    EXPECT_FALSE(bed.module.isPaused());
    EXPECT_FALSE(field.keyboardGrabbed);
    EXPECT_THAT(activeStatuses, ElementsAre(true, false));
    // Neither the queue nor the notifications reach it any more.
    bed.module.setShortcut(f6, name);
    EXPECT_EQ(field.text, "");
    bed.mainQueue.runPending();
}

TEST_F(RecorderCocoaTest, ClearingANameWithADefaultKeepsItCleared) {
    name = bed.module.makeName("copyToClipboard", controlOptionK);
    startRecording();
    EXPECT_FALSE(press(Key::delete_));
    EXPECT_EQ(stored(), std::nullopt);
    EXPECT_EQ(bed.userDefaults.object("KeyboardShortcuts_copyToClipboard"), PreferenceValue(false));
    // As at the next start: the default does not come back.
    bed.module.makeName("copyToClipboard", controlOptionK);
    EXPECT_EQ(stored(), std::nullopt);
}

TEST_F(RecorderCocoaTest, TheWindowLosingKeyStatusEndsRecording) {
    startRecording();
    recorder->windowDidResignKey();
    EXPECT_FALSE(recorder->isRecording());
    EXPECT_FALSE(field.keyboardGrabbed);
    EXPECT_THAT(activeStatuses, ElementsAre(true, false));
}

TEST_F(RecorderCocoaTest, LeavingTheWindowEndsRecording) {
    startRecording();
    recorder->viewDidMoveToWindow(false);
    EXPECT_FALSE(recorder->isRecording());
    EXPECT_FALSE(bed.module.isPaused());
    EXPECT_FALSE(field.keyboardGrabbed);
    EXPECT_TRUE(events.monitors.empty());
}

TEST_F(RecorderCocoaTest, LosingFocusEndsRecordingOnce) {
    startRecording();
    recorder->controlTextDidEndEditing();
    recorder->controlTextDidEndEditing();
    EXPECT_THAT(activeStatuses, ElementsAre(true, false));
}

TEST_F(RecorderCocoaTest, RecordingResumesWhenTheWindowIsBackAfterTheAlert) {
    startRecording(applicationMenu());
    press(Key::q, ModifierFlags::control);
    // The alert took the window's key status; focus asked for now arrives when the window is back.
    recorder->windowDidResignKey();
    field.focusDeferred = true;
    field.answer(AlertResponse::firstButton);
    EXPECT_FALSE(recorder->isRecording());
    field.deliverPendingFocus();
    EXPECT_TRUE(recorder->isRecording());
}

TEST_F(RecorderCocoaTest, FocusAskedForAfterTheAlertDoesNotRecordOnceTheWindowIsLeft) {
    startRecording(applicationMenu());
    press(Key::q, ModifierFlags::control);
    field.focusDeferred = true;
    field.answer(AlertResponse::firstButton);
    // The user goes to another window before the focus arrives, and comes back later.
    recorder->windowDidResignKey();
    field.deliverPendingFocus();
    EXPECT_TRUE(field.hasFocus);
    EXPECT_FALSE(recorder->isRecording());
}

TEST(RecorderTexts, FormatsTheMenuItemTitleIntoItsText) {
    EXPECT_EQ(formattedText("used by the “%@” menu item", "Quit"), "used by the “Quit” menu item");
    EXPECT_EQ(formattedText("no argument", "Quit"), "no argument");
    EXPECT_EQ(localizedText("record_shortcut"), "Record Shortcut");
    EXPECT_EQ(localizedText("press_shortcut"), "Press Shortcut");
    EXPECT_EQ(localizedText("ok"), "OK");
    EXPECT_EQ(localizedText("force_use_shortcut"), "Use Anyway");
    EXPECT_NE(localizedText("keyboard_shortcut_disallowed"), "keyboard_shortcut_disallowed");
}

TEST(HotKeyAvailability, AFreeCombinationIsTakenAndGivenBack) {
    test::FakeHotKeyService service;
    EXPECT_EQ(hotKeyRefusal(service, controlOptionK), std::nullopt);
    ASSERT_EQ(service.attempts.size(), 1U);
    EXPECT_EQ(service.attempts[0].keyCode, 40U);
    EXPECT_EQ(service.attempts[0].modifiers, 0x1800U);
    EXPECT_EQ(service.attempts[0].hotKeyId.signature, trialHotKeySignature);
    EXPECT_NE(trialHotKeySignature, CarbonKeyboardShortcuts::hotKeySignature);
    EXPECT_TRUE(service.registered.empty());
    EXPECT_EQ(service.unregistered.size(), 1U);
}

TEST(HotKeyAvailability, AHeldCombinationReportsTheRefusal) {
    test::FakeHotKeyService service;
    service.refused[{40, 0x1800}] = 10;
    EXPECT_EQ(hotKeyRefusal(service, controlOptionK), 10);
    EXPECT_TRUE(service.unregistered.empty());
}

} // namespace
} // namespace driftmark::KeyboardShortcuts
