#pragma once

#include "platform/Geometry.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace driftmark::KeyboardShortcuts {

// A warning about a shortcut the recorder did not take. Texts are ready to show.
struct RecorderAlert {
    std::string messageText;
    std::optional<std::string> informativeText;
    // One or two, the first being the default.
    std::vector<std::string> buttonTitles;
};

enum class AlertResponse { firstButton, secondButton };

// What the recorder needs from the single-line field that shows it: a text, a placeholder, a clear
// button, a caret, keyboard focus, and alerts over its window. The field reports back to the recorder
// (becomeFirstResponder when it takes focus, controlTextDidEndEditing when it loses it,
// controlTextDidChange when the user changes its text, never for setText) and outlives it.
class RecorderField {
public:
    virtual ~RecorderField() = default;

    virtual void setText(const std::string& text) = 0;
    virtual void setPlaceholder(const std::string& text) = 0;
    virtual void setClearButtonVisible(bool visible) = 0;
    virtual void setCaretVisible(bool visible) = 0;
    // While recording, the window holds the keyboard so that the window manager and other programs' hot
    // keys do not take the combination before the recorder sees it.
    virtual void setKeyboardGrabbed(bool grabbed) = 0;
    // Gives up focus; a field that had it then reports controlTextDidEndEditing.
    virtual void blur() = 0;
    // Asks for focus; the field reports becomeFirstResponder when it gets it, now or once its window is
    // active again.
    virtual void focus() = 0;
    // The field's rectangle, in the coordinates of the window's mouse events.
    virtual Rect boundsInWindow() const = 0;
    // Shows a warning over the field's window and returns at once. The completion runs exactly once,
    // with the button chosen (the first when the alert goes away otherwise).
    virtual void showAlert(const RecorderAlert& alert, std::function<void(AlertResponse)> completion) = 0;
    virtual void beep() = 0;
};

} // namespace driftmark::KeyboardShortcuts
