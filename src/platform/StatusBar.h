#pragma once

#include "platform/Color.h"
#include "platform/Geometry.h"

#include <cstdint>
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

// The release that triggered a button's action. Presses never trigger it.
enum class MouseEventType { leftMouseUp = 2, rightMouseUp = 4, other = 0 };

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

class StatusBarButton {
public:
    virtual ~StatusBarButton() = default;
    virtual void setImage(const DiscIcon& icon) = 0;
    virtual void setToolTip(const std::string& text) = 0;
    // Called on left and right button release over the button.
    virtual void setAction(std::function<void(MouseEventType)> action) = 0;
    virtual void setTag(std::int64_t tag) = 0;
    virtual std::int64_t tag() const = 0;
    // The button's rectangle on screen; absent while it is not shown anywhere.
    virtual std::optional<Rect> screenFrame() const = 0;
    // Sets the opacity over `duration` seconds, then calls `completion`.
    virtual void animateAlphaValue(double alpha, double duration, std::function<void()> completion) = 0;
    // Pops up the attached menu, if any, as a click would.
    virtual void performClick() = 0;
};

class StatusItem {
public:
    virtual ~StatusItem() = default;
    virtual void setAutosaveName(const std::string& name) = 0;
    // May be absent, for example when the desktop offers no place for the item.
    virtual StatusBarButton* button() = 0;
    // The menu the next click pops up; absent to let clicks reach the button's action again.
    virtual void setMenu(std::optional<Menu> menu) = 0;
};

// The desktop's status area (the system tray).
class StatusBar {
public:
    virtual ~StatusBar() = default;
    virtual std::unique_ptr<StatusItem> statusItem() = 0;
    // Takes the item off the bar; it is destroyed by its owner afterwards.
    virtual void removeStatusItem(StatusItem& item) = 0;
};

} // namespace driftmark
