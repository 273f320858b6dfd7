#include "model/Observable.h"

#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace driftmark {
namespace {

TEST(ObservableTest, SubscribingDeliversTheCurrentValueDuringTheCall) {
    Observable<int> value(7);
    std::vector<int> received;
    const auto subscription = value.subscribe([&](int v) { received.push_back(v); });
    EXPECT_EQ(received, std::vector<int>{7});
}

TEST(ObservableTest, AnnouncesEachChangeBeforeItTakesEffect) {
    Observable<std::string> value("old");
    std::vector<std::string> events;
    const auto about = value.subscribeToAboutToChange([&] { events.push_back("about:" + value.value()); });
    const auto changes =
        value.subscribe([&](const std::string& v) { events.push_back(v + "/" + value.value()); });
    events.clear();

    value.set("new");
    value.set("new");
    EXPECT_EQ(value.value(), "new");
    EXPECT_EQ(events, (std::vector<std::string>{"about:old", "new/old", "about:new", "new/new"}));
}

TEST(ObservableTest, DestroyedSubscriptionsStopDeliveryAndMayOutliveTheObservable) {
    auto value = std::make_unique<Observable<int>>(0);
    int calls = 0;
    std::optional<Subscription> kept = value->subscribe([&](int) { ++calls; });
    Subscription moved = value->subscribeToAboutToChange([&] { ++calls; });
    {
        const auto dropped = value->subscribe([&](int) { calls += 100; });
        calls = 0;
    }
    value->set(1);
    EXPECT_EQ(calls, 2);

    Subscription target = std::move(moved);
    target.cancel();
    target.cancel();
    value->set(2);
    EXPECT_EQ(calls, 3);

    value.reset();
    kept.reset();
}

TEST(ObservableTest, HandlersMaySubscribeAndUnsubscribeDuringDelivery) {
    Observable<int> value(0);
    std::vector<std::string> events;
    std::optional<Subscription> self;
    std::optional<Subscription> later;
    std::optional<Subscription> added;

    self = value.subscribe([&](int v) {
        events.push_back("self " + std::to_string(v));
        if (v == 1) {
            self.reset();
            later.reset();
            added = value.subscribe([&](int w) { events.push_back("added " + std::to_string(w)); });
        }
    });
    later = value.subscribe([&](int v) { events.push_back("later " + std::to_string(v)); });
    events.clear();

    value.set(1);
    EXPECT_EQ(events, (std::vector<std::string>{"self 1", "added 0"}));
    events.clear();
    value.set(2);
    EXPECT_EQ(events, (std::vector<std::string>{"added 2"}));
}

} // namespace
} // namespace driftmark
