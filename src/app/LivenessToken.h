#pragma once

#include <memory>
#include <utility>

namespace driftmark {

// Owned by an object that hands callbacks to the platform or the main queue: a guarded callback does
// nothing once its owner, and with it the token, is gone.
class LivenessToken {
public:
    LivenessToken() = default;
    LivenessToken(const LivenessToken&) = delete;
    LivenessToken& operator=(const LivenessToken&) = delete;

    template <class Callback>
    auto guard(Callback callback) const {
        return [alive = std::weak_ptr<const void>(alive_), callback = std::move(callback)](auto&&... args) {
            if (!alive.expired()) {
                callback(std::forward<decltype(args)>(args)...);
            }
        };
    }

    // As guard(), for callbacks that answer: a gone owner answers `fallback`.
    template <class Result, class Callback>
    auto guard(Result fallback, Callback callback) const {
        return [alive = std::weak_ptr<const void>(alive_), fallback = std::move(fallback),
                callback = std::move(callback)](auto&&... args) -> Result {
            if (alive.expired()) {
                return fallback;
            }
            return callback(std::forward<decltype(args)>(args)...);
        };
    }

private:
    std::shared_ptr<const void> alive_ = std::make_shared<int>(0);
};

} // namespace driftmark
