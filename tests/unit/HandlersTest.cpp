#include "KeyboardShortcuts/Module.h"
#include "KeyboardShortcuts/NotificationCenter.h"
#include "fakes/KeyboardShortcutsTestbed.h"

#include <algorithm>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace driftmark::KeyboardShortcuts {
namespace {

using testing::ElementsAre;
using testing::IsEmpty;
using testing::UnorderedElementsAre;

constexpr std::uint32_t commandBit = 0x100;
const Shortcut commandK(Key::k, ModifierFlags::command);
const Shortcut optionCommandC(Key::c, ModifierFlags::option | ModifierFlags::command);

class Handlers : public testing::Test {
protected:
    Name named(const std::string& rawValue, const Shortcut& shortcut) {
        const Name name = bed.module.makeName(rawValue);
        bed.module.setShortcut(shortcut, name);
        return name;
    }

    std::function<void()> record(std::string text) {
        return [this, text = std::move(text)] { calls.push_back(text); };
    }

    test::KeyboardShortcutsTestbed bed;
    std::vector<std::string> calls;
};

TEST_F(Handlers, EveryActionOfEveryNameWithThePressedShortcutRunsInOrderAdded) {
    const Name first = named("first", commandK);
    const Name second = named("second", commandK);
    const Name other = named("other", optionCommandC);
    bed.module.onKeyDown(first, record("first 1"));
    bed.module.onKeyDown(first, record("first 2"));
    bed.module.onKeyDown(second, record("second"));
    bed.module.onKeyDown(other, record("other"));
    bed.module.onKeyUp(first, record("first up"));

    EXPECT_TRUE(bed.hotKeys.press(40, commandBit));
    EXPECT_THAT(calls, testing::IsSupersetOf({"first 1", "first 2", "second"}));
    EXPECT_EQ(calls.size(), 3U);
    const auto firstOne = std::find(calls.begin(), calls.end(), "first 1");
    EXPECT_EQ(*(firstOne + 1), "first 2");

    calls.clear();
    EXPECT_TRUE(bed.hotKeys.release(40, commandBit));
    EXPECT_THAT(calls, ElementsAre("first up"));
}

TEST_F(Handlers, AnActionFiresUnderTheNameCurrentShortcutOnly) {
    const Name name = named("x", commandK);
    const Name keeper = named("keeper", commandK);
    bed.module.onKeyDown(name, record("x"));
    bed.module.onKeyDown(keeper, record("keeper"));
    bed.userDefaults.set("KeyboardShortcuts_x", std::string(R"({"carbonKeyCode":8,"carbonModifiers":2304})"));
    EXPECT_TRUE(bed.hotKeys.press(40, commandBit));
    EXPECT_THAT(calls, ElementsAre("keeper"));
}

TEST_F(Handlers, WhilePausedKeysAreTakenButRunNothing) {
    const Name name = named("x", commandK);
    bed.module.onKeyDown(name, record("action"));
    EventStream stream = bed.module.events(name);
    bed.mainQueue.runPending();
    bed.module.setPaused(true);
    EXPECT_TRUE(bed.hotKeys.press(40, commandBit));
    EXPECT_THAT(calls, IsEmpty());
    EXPECT_FALSE(stream.next());
    EXPECT_EQ(bed.hotKeys.registered.size(), 1U);

    bed.module.setPaused(false);
    EXPECT_TRUE(bed.hotKeys.press(40, commandBit));
    EXPECT_THAT(calls, ElementsAre("action"));
}

TEST_F(Handlers, ClosuresRunBeforeStreams) {
    const Name streamed = named("streamed", commandK);
    const Name closured = named("closured", commandK);
    EventStream stream = bed.module.events(streamed);
    stream.setHandler([this](EventType) { calls.push_back("stream"); });
    bed.mainQueue.runPending();
    bed.module.onKeyDown(closured, record("closure"));
    bed.hotKeys.press(40, commandBit);
    EXPECT_THAT(calls, ElementsAre("closure", "stream"));
}

TEST_F(Handlers, AStreamStartsAndEndsOneMainQueueTurnLater) {
    const Name name = named("x", commandK);
    bed.module.disable({name});
    EventStream stream = bed.module.events(name);
    EXPECT_THAT(bed.hotKeys.registered, IsEmpty());
    bed.mainQueue.runPending();
    EXPECT_EQ(bed.hotKeys.registered.size(), 1U);

    bed.hotKeys.press(40, commandBit);
    bed.hotKeys.release(40, commandBit);
    bed.hotKeys.press(40, commandBit);
    EXPECT_EQ(stream.next(), EventType::keyDown);
    EXPECT_EQ(stream.next(), EventType::keyUp);
    EXPECT_EQ(stream.next(), EventType::keyDown);
    EXPECT_FALSE(stream.next());

    stream.finish();
    EXPECT_EQ(bed.hotKeys.registered.size(), 1U);
    bed.mainQueue.runPending();
    EXPECT_THAT(bed.hotKeys.registered, IsEmpty());
    EXPECT_THAT(bed.module.registeredShortcuts(), IsEmpty());
}

TEST_F(Handlers, AFilteredStreamTakesOneTypeAndHandsOverWhatWaited) {
    const Name name = named("x", commandK);
    EventStream ups = bed.module.events(EventType::keyUp, name);
    bed.mainQueue.runPending();
    bed.hotKeys.press(40, commandBit);
    bed.hotKeys.release(40, commandBit);
    bed.hotKeys.press(40, commandBit);
    bed.hotKeys.release(40, commandBit);
    std::vector<EventType> seen;
    ups.setHandler([&](EventType event) { seen.push_back(event); });
    EXPECT_THAT(seen, ElementsAre(EventType::keyUp, EventType::keyUp));
    bed.hotKeys.release(40, commandBit);
    EXPECT_EQ(seen.size(), 3U);
}

TEST_F(Handlers, EndingTheLastStreamKeepsAHotKeyThatAClosureUses) {
    const Name streamed = named("streamed", commandK);
    const Name closured = named("closured", commandK);
    bed.module.onKeyUp(closured, record("closure"));
    {
        EventStream stream = bed.module.events(streamed);
        bed.mainQueue.runPending();
    }
    bed.mainQueue.runPending();
    EXPECT_THAT(bed.module.registeredShortcuts(), UnorderedElementsAre(commandK));
    EXPECT_TRUE(bed.hotKeys.release(40, commandBit));
    EXPECT_THAT(calls, ElementsAre("closure"));
}

TEST_F(Handlers, RemoveAllHandlersKeepsHotKeysThatAStreamUses) {
    const Name streamed = named("streamed", commandK);
    const Name closured = named("closured", optionCommandC);
    bed.module.onKeyDown(streamed, record("streamed"));
    bed.module.onKeyDown(closured, record("closured"));
    EventStream stream = bed.module.events(streamed);
    bed.mainQueue.runPending();

    bed.module.removeAllHandlers();
    EXPECT_THAT(bed.module.registeredShortcuts(), UnorderedElementsAre(commandK));
    bed.hotKeys.press(40, commandBit);
    EXPECT_THAT(calls, IsEmpty());
    EXPECT_EQ(stream.next(), EventType::keyDown);
}

TEST_F(Handlers, DisableAndEnableKeepTheActions) {
    const Name name = named("x", commandK);
    bed.module.onKeyDown(name, record("action"));
    bed.module.disable({name});
    EXPECT_FALSE(bed.hotKeys.press(40, commandBit));
    EXPECT_TRUE(bed.module.getShortcut(name));
    bed.module.enable({name});
    EXPECT_TRUE(bed.hotKeys.press(40, commandBit));
    EXPECT_THAT(calls, ElementsAre("action"));
}

TEST_F(Handlers, SwitchingOffTwiceTouchesTheHotKeysOnce) {
    const Name name = named("x", commandK);
    bed.module.onKeyDown(name, record("action"));
    bed.module.setEnabled(false);
    bed.module.setEnabled(false);
    EXPECT_THAT(bed.hotKeys.deliveryChanges, ElementsAre(KeyEventDelivery::hotKeys, KeyEventDelivery::none));
    EXPECT_EQ(bed.hotKeys.unregistered.size(), 1U);
    EXPECT_FALSE(bed.hotKeys.press(40, commandBit));

    bed.module.setEnabled(true);
    EXPECT_TRUE(bed.hotKeys.press(40, commandBit));
    EXPECT_THAT(calls, ElementsAre("action"));
}

TEST_F(Handlers, AnOpenMenuGetsItsKeysMatchedAndLosesOnlyRegisteredOnes) {
    const Name name = named("x", commandK);
    bed.module.onKeyDown(name, record("action"));
    const auto idsBefore = bed.hotKeyIds(40, commandBit);

    bed.menuTracking.open();
    bed.menuTracking.open();
    EXPECT_TRUE(bed.module.isMenuOpen());
    EXPECT_THAT(bed.hotKeys.deliveryChanges,
                ElementsAre(KeyEventDelivery::hotKeys, KeyEventDelivery::rawKeys));
    EXPECT_EQ(bed.hotKeys.typeInMenu({RawKeyEvent::Kind::down, 40, commandBit | 0x400}),
              EventHandling::handled);
    EXPECT_EQ(bed.hotKeys.typeInMenu({RawKeyEvent::Kind::down, 38, commandBit}), EventHandling::notHandled);
    EXPECT_THAT(calls, ElementsAre("action"));

    bed.menuTracking.close();
    EXPECT_FALSE(bed.module.isMenuOpen());
    EXPECT_EQ(bed.hotKeys.delivery, KeyEventDelivery::hotKeys);
    EXPECT_EQ(bed.hotKeyIds(40, commandBit), idsBefore);
    EXPECT_EQ(bed.hotKeys.registered.begin()->second.hotKeyId.id, idsBefore.at(0));
}

TEST_F(Handlers, MenusAreFollowedFromTheFirstNameUntilTheModuleGoes) {
    EXPECT_THAT(bed.menuTracking.observers, IsEmpty());
    {
        test::KeyboardShortcutsTestbed other;
        other.module.makeName("x");
        other.module.makeName("y");
        EXPECT_EQ(other.menuTracking.observers.size(), 2U);
        other.menuTracking.open();
        EXPECT_TRUE(other.module.isMenuOpen());
    }
    bed.module.makeName("x");
    bed.menuTracking.open();
    EXPECT_TRUE(bed.module.isMenuOpen());
}

TEST(NotificationCenter, ObserversAddedOrRemovedDuringAPostFollowTheRule) {
    NotificationCenter center;
    std::vector<std::string> calls;
    NotificationCenter::ObserverToken second = 0;
    center.addObserver("n", [&](const Notification&) {
        calls.push_back("first");
        center.removeObserver(second);
        center.addObserver("n", [&](const Notification&) { calls.push_back("late"); });
    });
    second = center.addObserver("n", [&](const Notification&) { calls.push_back("second"); });
    center.addObserver("other", [&](const Notification&) { calls.push_back("other"); });
    center.post({"n", {}});
    EXPECT_THAT(calls, ElementsAre("first"));
    calls.clear();
    center.post({"n", {}});
    EXPECT_THAT(calls, ElementsAre("first", "late"));
}

TEST(SharedModule, IsBuiltOnceFromTheServicesGivenFirst) {
    // Lives for the rest of the process, as the shared module does.
    static auto* const first = new test::KeyboardShortcutsTestbed;
    test::KeyboardShortcutsTestbed second;
    const Module::Services services{first->userDefaults, first->mainQueue,       first->hotKeys,
                                    first->layout,       first->systemShortcuts, first->menuTracking,
                                    first->output};
    Module& shared = Module::configureShared(services);
    EXPECT_EQ(&Module::shared(), &shared);
    EXPECT_EQ(&Module::configureShared({second.userDefaults, second.mainQueue, second.hotKeys, second.layout,
                                        second.systemShortcuts, second.menuTracking, second.output}),
              &shared);
    Module::shared().setShortcut(commandK, Name("sharedName"));
    EXPECT_TRUE(first->userDefaults.object("KeyboardShortcuts_sharedName"));
    EXPECT_FALSE(second.userDefaults.object("KeyboardShortcuts_sharedName"));
}

} // namespace
} // namespace driftmark::KeyboardShortcuts
