#include "app/MenuBarManager.h"

#include "model/MenuItemManager.h"

#include <algorithm>
#include <functional>
#include <set>

namespace driftmark {

namespace {

constexpr double iconSize = 18;
constexpr double iconInset = 2;
constexpr double iconLineWidth = 0.5;
constexpr Color iconStroke{0, 0, 0, 0.2};

} // namespace

MenuBarManager::MenuBarManager(const MenuItemManager& menuItemManager, const PlatformServices& services)
    : logger_(services.systemLog, "MenuBarManager")
    , menuItemManager_(menuItemManager)
    , services_(services) {}

void MenuBarManager::updateMenuBarItems(const std::vector<MenuBarItem>& items) {
    logger_.info("Updating menu bar items, count: " + std::to_string(items.size()));

    std::set<Uuid> wanted;
    for (const MenuBarItem& item : items) {
        wanted.insert(item.id());
    }
    std::vector<Uuid> vanished;
    for (const auto& [id, statusItem] : statusItems_) {
        if (!wanted.contains(id)) {
            vanished.push_back(id);
        }
    }
    for (const Uuid& id : vanished) {
        removeStatusItem(id);
    }

    std::vector<MenuBarItem> sorted = items;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const MenuBarItem& a, const MenuBarItem& b) { return a.order < b.order; });
    for (const MenuBarItem& item : sorted) {
        const auto present = statusItems_.find(item.id());
        if (present == statusItems_.end()) {
            createStatusItem(item);
            continue;
        }
        // An existing item is refreshed where it stands: moving it would lose the user's arrangement.
        if (StatusBarButton* button = present->second->button()) {
            button->setImage(createIcon(item));
            button->setToolTip(item.title);
            button->setTag(tag(item.id()));
        }
    }
}

void MenuBarManager::createStatusItem(const MenuBarItem& item) {
    logger_.debug("Creating status item for: " + item.title);
    std::unique_ptr<StatusItem> statusItem = services_.statusBar.statusItem();
    statusItem->setAutosaveName(autosaveName(item.id()));
    if (StatusBarButton* button = statusItem->button()) {
        button->setImage(createIcon(item));
        button->setToolTip(item.title);
        button->setAction([this, button](MouseEventType type) { statusItemClicked(*button, type); });
        button->setTag(tag(item.id()));
    }
    statusItems_[item.id()] = std::move(statusItem);
    setupEventMonitor(item.id());
}

void MenuBarManager::removeStatusItem(const Uuid& id) {
    logger_.debug("Removing status item for id: " + id.toString());
    if (const auto statusItem = statusItems_.find(id); statusItem != statusItems_.end()) {
        services_.statusBar.removeStatusItem(*statusItem->second);
        statusItems_.erase(statusItem);
    }
    if (const auto monitor = eventMonitors_.find(id); monitor != eventMonitors_.end()) {
        services_.pointerMonitor.removeMonitor(monitor->second);
        eventMonitors_.erase(monitor);
    }
    previousApps_.erase(id);
}

DiscIcon MenuBarManager::createIcon(const MenuBarItem& item) {
    return DiscIcon{iconSize, iconInset, item.iconColor.toPlatformColor(), iconStroke, iconLineWidth};
}

std::int64_t MenuBarManager::tag(const Uuid& id) {
    return static_cast<std::int64_t>(std::hash<Uuid>{}(id));
}

std::string MenuBarManager::autosaveName(const Uuid& id) {
    return "DriftmarkMenuItem-" + id.toString();
}

std::optional<MenuBarItem> MenuBarManager::storedItem(const Uuid& id) const {
    const auto& items = menuItemManager_.items();
    const auto found =
        std::find_if(items.begin(), items.end(), [&id](const MenuBarItem& item) { return item.id() == id; });
    if (found == items.end()) {
        return std::nullopt;
    }
    return *found;
}

std::optional<RunningApplication> MenuBarManager::previousApp(const Uuid& id) const {
    const auto found = previousApps_.find(id);
    if (found == previousApps_.end()) {
        return std::nullopt;
    }
    return found->second;
}

} // namespace driftmark
