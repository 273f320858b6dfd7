#include "fakes/FakeStatusBar.h"

#include <algorithm>
#include <cstdio>

namespace driftmark::test {

void FakeStatusBarButton::setImage(const DiscIcon& icon) {
    image = icon;
    ++imageChanges;
}

void FakeStatusBarButton::animateAlphaValue(double alpha, double duration, std::function<void()> completion) {
    alphaAnimations.push_back({alpha, duration});
    char detail[64];
    std::snprintf(detail, sizeof detail, "alpha %.1f over %.1f", alpha, duration);
    item_.bar().timeline.record("statusBar", detail);
    if (completion) {
        completion();
    }
}

void FakeStatusBarButton::performClick() {
    ++performedClicks;
    if (item_.menu) {
        item_.bar().poppedMenus.push_back(*item_.menu);
        item_.bar().timeline.record("statusBar", "menu of " + item_.autosaveName);
    }
}

void FakeStatusBarButton::click(MouseEventType type) {
    if (item_.menu) {
        performClick();
    } else if (action) {
        action(type);
    }
}

FakeStatusItem::FakeStatusItem(FakeStatusBar& bar, bool withButton)
    : bar_(bar)
    , button_(withButton ? std::make_unique<FakeStatusBarButton>(*this) : nullptr) {
    bar_.items_.push_back(this);
}

FakeStatusItem::~FakeStatusItem() {
    std::erase(bar_.items_, this);
}

void FakeStatusItem::setAutosaveName(const std::string& name) {
    autosaveName = name;
    bar_.timeline.record("statusBar", "item " + name);
}

std::unique_ptr<StatusItem> FakeStatusBar::statusItem() {
    return std::make_unique<FakeStatusItem>(*this, createsButtons);
}

void FakeStatusBar::removeStatusItem(StatusItem& item) {
    const auto& name = static_cast<FakeStatusItem&>(item).autosaveName;
    removed.push_back(name);
    timeline.record("statusBar", "remove " + name);
}

FakeStatusItem* FakeStatusBar::item(const std::string& autosaveName) const {
    const auto found = std::find_if(items_.begin(), items_.end(), [&](const FakeStatusItem* item) {
        return item->autosaveName == autosaveName;
    });
    return found == items_.end() ? nullptr : *found;
}

std::vector<std::string> FakeStatusBar::autosaveNames() const {
    std::vector<std::string> names;
    for (const FakeStatusItem* item : items_) {
        names.push_back(item->autosaveName);
    }
    return names;
}

} // namespace driftmark::test
