#pragma once

#include "platform/Geometry.h"

#include <algorithm>

// Pure geometry of the tray icons and their menus, kept free of Qt and X11 so that it can be tested alone.
namespace driftmark {

// Where a square icon of `iconSize` points goes in a tray slot of `width` × `height` pixels: a square as
// large as the slot's shorter side, centred on whole pixels so that its edges stay crisp.
struct IconPlacement {
    int x = 0;
    int y = 0;
    int side = 0;
    double scale = 0; // pixels per point
};

inline IconPlacement placeIcon(double iconSize, int width, int height) {
    const int side = std::max(0, std::min(width, height));
    return {(width - side) / 2, (height - side) / 2, side, iconSize > 0 ? side / iconSize : 0.0};
}

// Top-left corner of a context menu for an icon at `icon`: below the icon when the menu fits there,
// otherwise above it when it fits there, otherwise on the roomier side. It starts at the icon's left edge
// and moves left as far as needed to stay on the screen.
inline Point contextMenuOrigin(Rect icon, double menuWidth, double menuHeight, Rect screen) {
    const double spaceBelow = screen.y + screen.height - (icon.y + icon.height);
    const double spaceAbove = icon.y - screen.y;
    const bool above = menuHeight > spaceBelow && (menuHeight <= spaceAbove || spaceAbove > spaceBelow);
    const double y = above ? icon.y - menuHeight : icon.y + icon.height;
    const double x = std::max(screen.x, std::min(icon.x, screen.x + screen.width - menuWidth));
    return {x, y};
}

} // namespace driftmark
