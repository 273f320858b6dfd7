#pragma once

#include "fakes/Timeline.h"
#include "platform/WindowService.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace driftmark::test {

// Windows that only remember what was asked of them; requests go on the timeline as
// "windows: ...". A test resizes a window by calling resize(), and sets `unavailable` to the reason the
// views cannot be built for as long as they cannot.
class FakeWindowService final : public WindowService {
public:
    class Window final : public PlatformWindow {
    public:
        Window(FakeWindowService& service, WindowConfiguration made, WindowDelegate* delegate)
            : configuration(std::move(made))
            , service_(service)
            , delegate_(delegate)
            , size_(this->configuration.contentSize) {}

        void center() override { ++centerRequests; }
        void makeKeyAndOrderFront() override {
            ++frontRequests;
            service_.timeline_.record("windows", "makeKeyAndOrderFront " + configuration.title);
        }
        Size size() const override { return size_; }

        // The user or the window manager changes the size; the delegate hears of it.
        void resize(Size size) {
            size_ = size;
            if (delegate_ != nullptr) {
                delegate_->windowDidResize(*this);
            }
        }

        const WindowConfiguration configuration;
        int centerRequests = 0;
        int frontRequests = 0;

    private:
        FakeWindowService& service_;
        WindowDelegate* delegate_;
        Size size_;
    };

    explicit FakeWindowService(Timeline& timeline)
        : timeline_(timeline) {}

    std::unique_ptr<PlatformWindow> makeWindow(const WindowConfiguration& configuration,
                                               WindowDelegate* delegate) override {
        if (unavailable) {
            ++refusals;
            timeline_.record("windows", "makeWindow " + configuration.title + " refused");
            throw WindowUnavailable(*unavailable);
        }
        auto window = std::make_unique<Window>(*this, configuration, delegate);
        made.push_back(window.get());
        timeline_.record("windows", "makeWindow " + configuration.title);
        return window;
    }
    void activateIgnoringOtherApps() override {
        ++activations;
        timeline_.record("windows", "activateIgnoringOtherApps");
    }
    void showUnavailableNotice(const std::string& headline, const std::string& reason) override {
        notices.push_back(headline + " | " + reason);
        timeline_.record("windows", "notice " + headline);
    }

    // Every window made, in order; they live as long as their owner keeps them.
    std::vector<Window*> made;
    int activations = 0;
    std::optional<std::string> unavailable;
    int refusals = 0;
    // Each notice shown, as "HEADLINE | REASON".
    std::vector<std::string> notices;

private:
    Timeline& timeline_;
};

} // namespace driftmark::test
