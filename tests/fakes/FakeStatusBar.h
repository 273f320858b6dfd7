#pragma once

#include "fakes/Timeline.h"
#include "platform/StatusBar.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace driftmark::test {

class FakeStatusBar;
class FakeStatusItem;

class FakeStatusBarButton final : public StatusBarButton {
public:
    struct AlphaAnimation {
        double alpha;
        double duration;
    };

    explicit FakeStatusBarButton(FakeStatusItem& item)
        : item_(item) {}

    void setImage(const DiscIcon& icon) override;
    void setToolTip(const std::string& text) override { toolTip = text; }
    void setAction(std::function<void(MouseEventType)> newAction) override { action = std::move(newAction); }
    void setTag(std::int64_t tag) override { tag_ = tag; }
    std::int64_t tag() const override { return tag_; }
    std::optional<Rect> screenFrame() const override { return frame; }
    // Completes at once.
    void animateAlphaValue(double alpha, double duration, std::function<void()> completion) override;
    void performClick() override;

    // The user releasing a mouse button over the button: pops up an attached menu instead of acting.
    void click(MouseEventType type);

    std::optional<DiscIcon> image;
    int imageChanges = 0;
    std::string toolTip;
    std::function<void(MouseEventType)> action;
    std::optional<Rect> frame;
    std::vector<AlphaAnimation> alphaAnimations;
    int performedClicks = 0;

private:
    FakeStatusItem& item_;
    std::int64_t tag_ = 0;
};

class FakeStatusItem final : public StatusItem {
public:
    FakeStatusItem(FakeStatusBar& bar, bool withButton);
    ~FakeStatusItem() override;

    void setAutosaveName(const std::string& name) override;
    StatusBarButton* button() override { return button_.get(); }
    void setMenu(std::optional<Menu> newMenu) override { menu = std::move(newMenu); }

    FakeStatusBarButton* fakeButton() { return button_.get(); }
    FakeStatusBar& bar() { return bar_; }

    std::string autosaveName;
    std::optional<Menu> menu;

private:
    FakeStatusBar& bar_;
    std::unique_ptr<FakeStatusBarButton> button_;
};

// Hands out items and knows the live ones, in creation order. Item names, removals, pop-ups and
// button flashes go on the timeline as "statusBar: ...". Must outlive the items it handed out.
class FakeStatusBar final : public StatusBar {
public:
    explicit FakeStatusBar(Timeline& sharedTimeline)
        : timeline(sharedTimeline) {}

    std::unique_ptr<StatusItem> statusItem() override;
    void removeStatusItem(StatusItem& item) override;

    const std::vector<FakeStatusItem*>& items() const { return items_; }
    // The live item with that autosave name, or null.
    FakeStatusItem* item(const std::string& autosaveName) const;
    std::vector<std::string> autosaveNames() const;

    // When false, new items come without a button.
    bool createsButtons = true;
    std::vector<std::string> removed;
    std::vector<Menu> poppedMenus;
    Timeline& timeline;

private:
    friend class FakeStatusItem;
    std::vector<FakeStatusItem*> items_;
};

} // namespace driftmark::test
