#include "KeyboardShortcuts/LocalEventMonitor.h"

#include "fakes/FakeLocalEventMonitorService.h"

#include <gtest/gtest.h>

namespace driftmark::KeyboardShortcuts {
namespace {

const LocalEvent keyDown{LocalEvent::keyDown, 40, 0, {}};
const LocalEvent mouseUp{LocalEvent::leftMouseUp, 0, 0, {3, 4}};

TEST(LocalEventMonitor, SeesItsEventTypesFromStartUntilItGoes) {
    test::FakeLocalEventMonitorService service;
    int seen = 0;
    {
        LocalEventMonitor monitor(service, eventMask(LocalEvent::keyDown) | eventMask(LocalEvent::keyUp),
                                  [&](const LocalEvent&) -> std::optional<LocalEvent> {
                                      ++seen;
                                      return std::nullopt;
                                  });
        EXPECT_TRUE(service.monitors.empty());
        EXPECT_EQ(&monitor.start(), &monitor);
        EXPECT_EQ(service.monitors.begin()->second.first, 0xC00U);
        EXPECT_FALSE(service.send(keyDown));
        EXPECT_TRUE(service.send(mouseUp));
        EXPECT_EQ(seen, 1);
    }
    EXPECT_TRUE(service.monitors.empty());
    EXPECT_TRUE(service.send(keyDown));
    EXPECT_EQ(seen, 1);
}

TEST(LocalEventMonitor, StartingAgainReplacesTheEarlierMonitor) {
    test::FakeLocalEventMonitorService service;
    int seen = 0;
    LocalEventMonitor monitor(service, 1044, [&](const LocalEvent& event) -> std::optional<LocalEvent> {
        ++seen;
        return event;
    });
    monitor.start().start();
    EXPECT_EQ(service.monitors.size(), 1U);
    EXPECT_EQ(service.send(mouseUp)->locationInWindow.x, 3);
    EXPECT_EQ(seen, 1);
}

} // namespace
} // namespace driftmark::KeyboardShortcuts
