#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

namespace driftmark {

// Tells once that another program has asked for the plain text of a selection Driftmark owns, as a
// paste does. The selection's published contents report each request to a listener that may outlive
// the notice; the notice tells on a later turn of the event loop, after the request has been answered,
// since what it tells may replace the contents being served.
class TextReadNotice final {
public:
    using RequestListener = std::function<void(std::string_view type)>;

    // `read` runs at the next request for plain text; a later call replaces it, an empty one cancels it.
    void await(std::function<void()> read);
    // For contents being published: to be called with each type another program asks them for.
    RequestListener requestListener() const;

private:
    struct State {
        std::function<void()> read;
        // Counts the calls of await(): a request reported for one is not another's.
        std::uint64_t awaited = 0;
    };

    std::shared_ptr<State> state_ = std::make_shared<State>();
};

} // namespace driftmark
