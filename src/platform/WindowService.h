#pragma once

#include "platform/Geometry.h"

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

namespace driftmark {

// What a window shows: one of the application's two views.
enum class WindowContent { settingsView, aboutView };

struct WindowStyle {
    bool titled = true;
    bool closable = true;
    bool miniaturizable = false;
    bool resizable = false;
    // The content reaches under the title bar.
    bool fullSizeContentView = false;

    friend bool operator==(const WindowStyle&, const WindowStyle&) = default;
};

// Everything a window is created with.
struct WindowConfiguration {
    WindowContent content = WindowContent::settingsView;
    Size contentSize;
    WindowStyle style;
    std::string title;
    std::optional<Size> minSize;
    std::optional<Size> maxSize;
    bool titlebarAppearsTransparent = false;
    bool titleHidden = false;
    bool movableByWindowBackground = false;
};

// One window of the application. Closing it only hides it: the same window, with what its view shows,
// comes back on the next makeKeyAndOrderFront.
class PlatformWindow {
public:
    virtual ~PlatformWindow() = default;
    virtual void center() = 0;
    // Shows the window in front of the application's other windows, with the keyboard focus.
    virtual void makeKeyAndOrderFront() = 0;
    // The window's own size, without what the window manager draws around it.
    virtual Size size() const = 0;
};

// Told of every size change of the windows it was given to.
class WindowDelegate {
public:
    virtual ~WindowDelegate() = default;
    virtual void windowDidResize(const PlatformWindow& window) = 0;
};

// Why a window could not be made (a part of Qt the view needs is not installed, the settings library
// cannot be loaded), as one line.
class WindowUnavailable final : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Creates the application's windows and brings the application to the front.
class WindowService {
public:
    virtual ~WindowService() = default;
    // The delegate, if any, must outlive the window. Throws WindowUnavailable when the view cannot be
    // built here.
    virtual std::unique_ptr<PlatformWindow> makeWindow(const WindowConfiguration& configuration,
                                                       WindowDelegate* delegate) = 0;
    // Puts the application's windows in front of the active application's windows.
    virtual void activateIgnoringOtherApps() = 0;
    // Tells the user, in a small notice, that a window they asked for cannot be shown and why.
    virtual void showUnavailableNotice(const std::string& headline, const std::string& reason) = 0;
};

} // namespace driftmark
