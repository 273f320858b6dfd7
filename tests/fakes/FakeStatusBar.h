#pragma once

#include "fakes/Timeline.h"
#include "platform/StatusBar.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace driftmark::test {

class FakeStatusBar;

class FakeStatusItem final : public StatusItem {
public:
    struct AlphaAnimation {
        double alpha;
        double duration;
    };

    FakeStatusItem(FakeStatusBar& bar, StatusItemNames names);
    ~FakeStatusItem() override;

    void setImage(const DiscIcon& icon) override;
    void setToolTip(const std::string& text) override { toolTip = text; }
    void setHandlers(StatusItemHandlers newHandlers) override { handlers = std::move(newHandlers); }
    // Completes at once.
    void animateAlphaValue(double alpha, double duration, std::function<void()> completion) override;

    // The user's requests, as a tray host reports them. A menu the item answers with is recorded as
    // popped up.
    void activate();
    std::optional<Menu> requestContextMenu(std::optional<Point> position = std::nullopt);
    void pointerEnters();

    StatusItemNames names;
    std::optional<DiscIcon> image;
    int imageChanges = 0;
    std::string toolTip;
    StatusItemHandlers handlers;
    std::vector<AlphaAnimation> alphaAnimations;

private:
    FakeStatusBar& bar_;
};

// Hands out items and knows the live ones, in creation order. Item names, removals, pop-ups and
// flashes go on the timeline as "statusBar: ...". Must outlive the items it handed out.
class FakeStatusBar final : public StatusBar {
public:
    explicit FakeStatusBar(Timeline& sharedTimeline)
        : timeline(sharedTimeline) {}

    std::unique_ptr<StatusItem> statusItem(const StatusItemNames& names) override;
    void removeStatusItem(StatusItem& item) override;
    void arrange(const std::vector<StatusItem*>& items) override;

    const std::vector<FakeStatusItem*>& items() const { return items_; }
    // The live item with that autosave name, or null.
    FakeStatusItem* item(const std::string& autosaveName) const;
    std::vector<std::string> autosaveNames() const;

    std::vector<std::string> removed;
    std::vector<Menu> poppedMenus;
    // The autosave names of the last arrangement asked for.
    std::vector<std::string> arrangement;
    Timeline& timeline;

private:
    friend class FakeStatusItem;
    std::vector<FakeStatusItem*> items_;
};

} // namespace driftmark::test
