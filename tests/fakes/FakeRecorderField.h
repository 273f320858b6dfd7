#pragma once

#include "KeyboardShortcuts/RecorderCocoa.h"
#include "KeyboardShortcuts/RecorderField.h"

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace driftmark::test {

// A field that keeps what it was told to show and reports focus changes to its control the way a view
// does: focus() makes the control first responder, blur() of a focused field ends its editing. Alerts stay
// open until the test answers them.
class FakeRecorderField final : public KeyboardShortcuts::RecorderField {
public:
    void setText(const std::string& newText) override { text = newText; }
    void setPlaceholder(const std::string& newPlaceholder) override { placeholder = newPlaceholder; }
    void setClearButtonVisible(bool visible) override { clearButtonVisible = visible; }
    void setCaretVisible(bool visible) override { caretVisible = visible; }
    void setKeyboardGrabbed(bool grabbed) override { keyboardGrabbed = grabbed; }

    void blur() override {
        ++blurs;
        if (std::exchange(hasFocus, false) && control != nullptr) {
            control->controlTextDidEndEditing();
        }
    }

    void focus() override {
        ++focusRequests;
        if (focusDeferred) {
            focusPending = true;
            return;
        }
        takeFocus();
    }

    Rect boundsInWindow() const override { return bounds; }

    void showAlert(const KeyboardShortcuts::RecorderAlert& alert,
                   std::function<void(KeyboardShortcuts::AlertResponse)> completion) override {
        alerts.push_back(alert);
        openAlert = std::move(completion);
    }

    void beep() override { ++beeps; }

    // A click on the field; true when it has the focus afterwards.
    bool click() {
        takeFocus();
        return hasFocus;
    }

    // Closes the open alert with the button chosen.
    void answer(KeyboardShortcuts::AlertResponse response) {
        auto completion = std::exchange(openAlert, {});
        completion(response);
    }

    // The focus asked for while the window was inactive arrives.
    void deliverPendingFocus() {
        if (std::exchange(focusPending, false)) {
            takeFocus();
        }
    }

    KeyboardShortcuts::RecorderCocoa* control = nullptr;
    std::string text;
    std::string placeholder;
    bool clearButtonVisible = false;
    bool caretVisible = true;
    bool keyboardGrabbed = false;
    bool hasFocus = false;
    int blurs = 0;
    int focusRequests = 0;
    int beeps = 0;
    Rect bounds{100, 40, 130, 22};
    std::vector<KeyboardShortcuts::RecorderAlert> alerts;
    std::function<void(KeyboardShortcuts::AlertResponse)> openAlert;
    // Focus requests wait for deliverPendingFocus, as while another window is active.
    bool focusDeferred = false;
    bool focusPending = false;

private:
    void takeFocus() {
        if (!hasFocus && control != nullptr) {
            hasFocus = control->becomeFirstResponder();
        }
    }
};

} // namespace driftmark::test
