#include "fakes/FakeStatusBar.h"

#include <algorithm>
#include <cstdio>

namespace driftmark::test {

FakeStatusItem::FakeStatusItem(FakeStatusBar& bar, StatusItemNames itemNames)
    : names(std::move(itemNames))
    , bar_(bar) {
    bar_.items_.push_back(this);
    bar_.timeline.record("statusBar", "item " + names.autosaveName);
}

FakeStatusItem::~FakeStatusItem() {
    std::erase(bar_.items_, this);
}

void FakeStatusItem::setImage(const DiscIcon& icon) {
    image = icon;
    ++imageChanges;
}

void FakeStatusItem::animateAlphaValue(double alpha, double duration, std::function<void()> completion) {
    alphaAnimations.push_back({alpha, duration});
    char detail[64];
    std::snprintf(detail, sizeof detail, "alpha %.1f over %.1f", alpha, duration);
    bar_.timeline.record("statusBar", detail);
    if (completion) {
        completion();
    }
}

void FakeStatusItem::activate() {
    if (const auto handler = handlers.activated) {
        handler();
    }
}

std::optional<Menu> FakeStatusItem::requestContextMenu(std::optional<Point> position) {
    const auto handler = handlers.contextMenuRequested;
    std::optional<Menu> menu = handler ? handler(position) : std::nullopt;
    if (menu) {
        bar_.poppedMenus.push_back(*menu);
        bar_.timeline.record("statusBar", "menu of " + names.autosaveName);
    }
    return menu;
}

void FakeStatusItem::pointerEnters() {
    if (const auto handler = handlers.pointerEntered) {
        handler();
    }
}

std::unique_ptr<StatusItem> FakeStatusBar::statusItem(const StatusItemNames& names) {
    return std::make_unique<FakeStatusItem>(*this, names);
}

void FakeStatusBar::removeStatusItem(StatusItem& item) {
    const auto& name = static_cast<FakeStatusItem&>(item).names.autosaveName;
    removed.push_back(name);
    timeline.record("statusBar", "remove " + name);
}

void FakeStatusBar::arrange(const std::vector<StatusItem*>& items) {
    arrangement.clear();
    for (const StatusItem* item : items) {
        arrangement.push_back(static_cast<const FakeStatusItem*>(item)->names.autosaveName);
    }
}

FakeStatusItem* FakeStatusBar::item(const std::string& autosaveName) const {
    const auto found = std::find_if(items_.begin(), items_.end(), [&](const FakeStatusItem* item) {
        return item->names.autosaveName == autosaveName;
    });
    return found == items_.end() ? nullptr : *found;
}

std::vector<std::string> FakeStatusBar::autosaveNames() const {
    std::vector<std::string> names;
    for (const FakeStatusItem* item : items_) {
        names.push_back(item->names.autosaveName);
    }
    return names;
}

} // namespace driftmark::test
