#pragma once

#include <algorithm>
#include <vector>

namespace driftmark {

// What it takes to bring a StatusNotifierWatcher's items into the entries' order. Hosts add items in the
// order they were registered, and a watcher has no way to move or forget one but for its bus name to go.
template <typename Item>
struct RegistrationPlan {
    // Every item leaves the bus and comes back under a new name, then all are registered in order.
    bool reregisterAll = false;
    // What to register, in this order, after the items the watcher has.
    std::vector<Item> toRegister;
};

// `registered`: the items the watcher has (or is being given), in registration order; `arranged`: every
// item, in the entries' order. Items that left the bus count no longer: the others keep their places.
template <typename Item>
RegistrationPlan<Item> planRegistrations(const std::vector<Item>& registered,
                                         const std::vector<Item>& arranged) {
    std::vector<Item> stillThere;
    for (const Item& item : registered) {
        if (std::find(arranged.begin(), arranged.end(), item) != arranged.end()) {
            stillThere.push_back(item);
        }
    }
    const bool inOrder = std::equal(stillThere.begin(), stillThere.end(), arranged.begin(),
                                    arranged.begin() + static_cast<std::ptrdiff_t>(stillThere.size()));
    if (!inOrder) {
        return {true, arranged};
    }
    return {false, std::vector<Item>(arranged.begin() + static_cast<std::ptrdiff_t>(stillThere.size()),
                                     arranged.end())};
}

} // namespace driftmark
