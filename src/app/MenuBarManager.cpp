#include "app/MenuBarManager.h"

#include "KeyboardShortcuts/MenuItemShortcutBinding.h"
#include "app/KeyboardShortcutsManager.h"
#include "app/StatusItemMenu.h"
#include "model/MenuItemManager.h"
#include "platform/AccessibilityTrust.h"
#include "platform/Application.h"

#include <algorithm>
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
    std::vector<MenuBarItem> sorted = items;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const MenuBarItem& a, const MenuBarItem& b) { return a.order < b.order; });
    std::vector<Uuid> arrangement;
    for (const MenuBarItem& item : sorted) {
        arrangement.push_back(item.id());
    }
    // The store announces many lists that show nothing new (each renumbering, each keystroke in a
    // title): the line is for the items coming, going or moving.
    const bool rearranged = arrangement != arrangement_;
    if (rearranged) {
        logger_.info("Updating menu bar items, count: " + std::to_string(items.size()));
    }

    for (const Uuid& id : vanished) {
        removeStatusItem(id);
    }
    for (const MenuBarItem& item : sorted) {
        const auto present = statusItems_.find(item.id());
        if (present == statusItems_.end()) {
            createStatusItem(item);
        } else {
            // Redrawn where it stands; whether a new order moves it is the tray's business.
            const MenuBarItem& shown = shownItems_.at(item.id());
            if (createIcon(shown) != createIcon(item)) {
                present->second->setImage(createIcon(item));
            }
            if (shown.title != item.title) {
                present->second->setToolTip(item.title);
            }
        }
        shownItems_.insert_or_assign(item.id(), item);
    }
    if (rearranged) {
        std::vector<StatusItem*> arranged;
        for (const Uuid& id : arrangement) {
            arranged.push_back(statusItems_.at(id).get());
        }
        services_.statusBar.arrange(arranged);
        arrangement_ = std::move(arrangement);
    }
}

void MenuBarManager::createStatusItem(const MenuBarItem& item) {
    logger_.debug("Creating status item for: " + item.title);
    const Uuid id = item.id();
    std::unique_ptr<StatusItem> statusItem =
        services_.statusBar.statusItem(StatusItemNames{autosaveName(id), hostId(id)});
    statusItem->setImage(createIcon(item));
    statusItem->setToolTip(item.title);
    // Backends may hold on to the handlers a little longer than to the item.
    statusItem->setHandlers(StatusItemHandlers{
        .activated = liveness_.guard([this, id] { statusItemActivated(id); }),
        .contextMenuRequested = liveness_.guard(
            std::optional<Menu>{}, [this, id](std::optional<Point>) { return contextMenuRequested(id); }),
        .currentMenu = liveness_.guard(std::optional<Menu>{}, [this, id] { return currentMenu(id); }),
        .pointerEntered = liveness_.guard([this, id] { rememberPreviousApp(id); }),
    });
    statusItems_[id] = std::move(statusItem);
}

void MenuBarManager::removeStatusItem(const Uuid& id) {
    logger_.debug("Removing status item for id: " + id.toString());
    if (const auto statusItem = statusItems_.find(id); statusItem != statusItems_.end()) {
        services_.statusBar.removeStatusItem(*statusItem->second);
        statusItems_.erase(statusItem);
    }
    shownItems_.erase(id);
    previousApps_.erase(id);
}

DiscIcon MenuBarManager::createIcon(const MenuBarItem& item) {
    return DiscIcon{iconSize, iconInset, item.iconColor.toPlatformColor(), iconStroke, iconLineWidth};
}

std::string MenuBarManager::autosaveName(const Uuid& id) {
    return "DriftmarkMenuItem-" + id.toString();
}

std::string MenuBarManager::hostId(const Uuid& id) {
    return "driftmark-" + id.toString();
}

void MenuBarManager::rememberPreviousApp(const Uuid& id) {
    if (!statusItems_.contains(id)) {
        return;
    }
    std::optional<RunningApplication> previous = services_.workspace.previousApplication();
    if (!previous) {
        return;
    }
    // Our own windows (the settings window, say) are never a paste target.
    if (previous->bundleIdentifier == services_.workspace.ownBundleIdentifier()) {
        return;
    }
    previousApps_[id] = std::move(*previous);
    updateTooltip(id);
}

void MenuBarManager::updateTooltip(const Uuid& id) {
    const auto statusItem = statusItems_.find(id);
    if (statusItem == statusItems_.end()) {
        return;
    }
    const std::optional<MenuBarItem> item = storedItem(id);
    if (!item) {
        return;
    }
    std::string text = item->title;
    if (item->usesSmartPaste) {
        if (const auto app = previousApp(id)) {
            text += "\nPaste to: " + app->localizedName.value_or("Unknown");
        }
        text += services_.accessibilityTrust.isTrusted() ? "\n✓" : "\n⚠️ Permissions needed";
    }
    statusItem->second->setToolTip(text);
}

void MenuBarManager::statusItemActivated(const Uuid& id) {
    const std::optional<MenuBarItem> item = storedItem(id);
    if (!item) {
        return;
    }
    rememberPreviousApp(id);
    logger_.info("Menu bar left click for item: " + item->title);
    if (const auto delegate = delegate_.lock()) {
        delegate->menuBarItemLeftClicked(*item, previousApp(id));
    }
}

std::optional<Menu> MenuBarManager::contextMenuRequested(const Uuid& id) {
    const std::optional<MenuBarItem> item = storedItem(id);
    if (!item || !statusItems_.contains(id)) {
        return std::nullopt;
    }
    rememberPreviousApp(id);
    logger_.info("Menu bar right click for item: " + item->title);
    return contextMenu(*item);
}

std::optional<Menu> MenuBarManager::currentMenu(const Uuid& id) {
    const std::optional<MenuBarItem> item = storedItem(id);
    if (!item) {
        return std::nullopt;
    }
    return contextMenu(*item);
}

Menu MenuBarManager::contextMenu(const MenuBarItem& item) {
    StatusItemMenuActions actions{
        .copy = liveness_.guard([this](const MenuBarItem& chosen) { copyMenuItemClicked(chosen); }),
        .paste = liveness_.guard([this](const MenuBarItem& chosen) { pasteMenuItemClicked(chosen); }),
        .edit = liveness_.guard([this](const MenuBarItem& chosen) { editMenuItemClicked(chosen); }),
        .openSettings = liveness_.guard([this] { openSettingsClicked(); }),
        .openAbout = liveness_.guard([this] { openAboutClicked(); }),
        .quit = [&application = services_.application] { application.terminate(); },
    };
    return makeStatusItemMenu(item, previousApp(item.id()), actions, itemShortcut(item.id()));
}

// Only shown: the item's hot key does the work, so the menu must not act on the keystroke as well. The
// binding keeps the shown shortcut in step with the stored one for as long as the menu holds it.
ShownKeyEquivalent MenuBarManager::itemShortcut(const Uuid& id) const {
    if (shortcuts_ == nullptr) {
        return {};
    }
    return [&shortcuts = *shortcuts_, name = KeyboardShortcutsManager::menuItemName(id)](
               KeyEquivalentMenuItem& shown) -> std::shared_ptr<void> {
        auto binding = std::make_shared<KeyboardShortcuts::MenuItemShortcutBinding>(shortcuts, shown);
        binding->setShortcutFor(name);
        return binding;
    };
}

void MenuBarManager::copyMenuItemClicked(const MenuBarItem& item) {
    if (const auto delegate = delegate_.lock()) {
        delegate->copyToClipboard(item, false);
    }
}

void MenuBarManager::pasteMenuItemClicked(const MenuBarItem& item) {
    if (const auto delegate = delegate_.lock()) {
        delegate->copyToClipboard(item, true);
    }
}

void MenuBarManager::editMenuItemClicked(const MenuBarItem& item) {
    if (const auto delegate = delegate_.lock()) {
        delegate->editMenuItem(item);
    }
}

void MenuBarManager::openSettingsClicked() {
    if (const auto delegate = delegate_.lock()) {
        delegate->openSettings();
    }
}

void MenuBarManager::openAboutClicked() {
    if (const auto delegate = delegate_.lock()) {
        delegate->openAbout();
    }
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
