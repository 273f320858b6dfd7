#pragma once

#include "platform/Color.h"
#include "platform/Geometry.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace driftmark {

class KeyEquivalentMenuItem;

// What a status button shows: a filled, stroked disc inset into a square canvas. Sizes are in points;
// the platform draws it at whatever pixel size its tray asks for.
struct DiscIcon {
    double size = 18;
    double inset = 2;
    Color fill;
    Color stroke;
    double lineWidth = 0.5;

    bool operator==(const DiscIcon&) const = default;
};

struct MenuEntry;
using MenuAction = std::function<void(const MenuEntry& entry)>;
// Given the platform's item for an entry of a menu being shown, starts showing a key equivalent on it
// and returns what keeps that going; the menu holds it while it shows the item, and lets go of it first.
using ShownKeyEquivalent = std::function<std::shared_ptr<void>(KeyEquivalentMenuItem& item)>;

// One line of a context menu. A separator has no title and no action.
struct MenuEntry {
    bool isSeparator = false;
    std::string title;
    std::string keyEquivalent; // with the platform's default modifier, e.g. "q"
    std::string symbolName;    // an icon named by its symbol catalogue name, e.g. "doc.on.doc"
    MenuAction action;
    // A key equivalent that is only shown, never typed into the menu: a global hot key acts on it.
    // Empty for none.
    ShownKeyEquivalent shownKeyEquivalent;

    static MenuEntry separator() { return MenuEntry{true, {}, {}, {}, {}, {}}; }
};

struct Menu {
    std::vector<MenuEntry> entries;
};

// How a status item tells what the user did with it. Every handler runs on the main thread.
struct StatusItemHandlers {
    // The primary click (the left button, or what the tray host calls activation).
    std::function<void()> activated;
    // The user asks for the item's menu, at a position on screen where the host gives one. Answers the
    // menu to show, or none to show nothing.
    std::function<std::optional<Menu>(std::optional<Point> position)> contextMenuRequested;
    // The menu as it stands, for trays that fetch it before anyone asks to see it. No request of the
    // user's.
    std::function<std::optional<Menu>()> currentMenu;
    // The pointer came onto the item. Only trays that tell the pointer's position call it.
    std::function<void()> pointerEntered;
};

// One entry's place in the desktop's status area: an image, a tooltip and a menu, whatever the tray
// host's protocol.
class StatusItem {
public:
    virtual ~StatusItem() = default;
    virtual void setImage(const DiscIcon& icon) = 0;
    virtual void setToolTip(const std::string& text) = 0;
    virtual void setHandlers(StatusItemHandlers handlers) = 0;
    // Sets the opacity over `duration` seconds, then calls `completion`. A tray that cannot change an
    // icon's opacity leaves the icon as it is and still calls `completion` after `duration`.
    virtual void animateAlphaValue(double alpha, double duration, std::function<void()> completion) = 0;
};

// How trays know an item again across launches: the name of its XEmbed window (the autosave name) and
// the identifier a StatusNotifierItem host remembers its place and visibility by.
struct StatusItemNames {
    std::string autosaveName;
    std::string id;
};

// The desktop's status area (the system tray).
class StatusBar {
public:
    virtual ~StatusBar() = default;
    // A new item, shown after the ones made before it.
    virtual std::unique_ptr<StatusItem> statusItem(const StatusItemNames& names) = 0;
    // Takes the item off the bar; it is destroyed by its owner afterwards.
    virtual void removeStatusItem(StatusItem& item) = 0;
    // The entries' order, first to last. Trays that keep the user's own arrangement leave their items
    // where they are; the others show them in this order.
    virtual void arrange(const std::vector<StatusItem*>& items) = 0;
};

} // namespace driftmark
