#pragma once

#include "KeyboardShortcuts/LocalEventMonitor.h"
#include "KeyboardShortcuts/Menu.h"
#include "KeyboardShortcuts/Name.h"
#include "KeyboardShortcuts/NotificationCenter.h"
#include "KeyboardShortcuts/RecorderField.h"
#include "KeyboardShortcuts/Shortcut.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace driftmark {
class LocalEventMonitorService;
}

namespace driftmark::KeyboardShortcuts {

class Module;

// The logic of the control with which the user assigns a Name's global shortcut. The field shows the
// current shortcut and may hold the keyboard focus like any other control (Tab moves onto it) without
// recording; the user starts recording with a click on the field, or with Space or Return while it has
// the focus. While it records, global shortcuts are paused, and the next acceptable keystroke is stored at
// once as the name's shortcut. Keys it cannot take beep; a combination that the application's menu,
// another of the application's names or another program uses is reported in an alert. The view behind
// the field forwards its focus, text and window events to the operations below. Main thread only.
class RecorderCocoa {
public:
    using OnChange = std::function<void(const std::optional<Shortcut>&)>;
    // Who uses another name's shortcut, as the user knows it ("the “Mail” entry"); nothing for a name that
    // nobody uses any more.
    using HolderDescription = std::function<std::optional<std::string>(const Name&)>;

    // The width the field asks for, in points.
    static constexpr double minimumWidth = 130;
    // How far outside the field a click may land and still count as one on the field.
    static constexpr double clickMargin = 3;

    // The application menu is checked for conflicts; none means there is nothing to check. Without a
    // holder description no other name's shortcut counts as a conflict. The field must outlive the
    // control.
    RecorderCocoa(Module& module, LocalEventMonitorService& eventMonitors, RecorderField& field, Name name,
                  OnChange onChange = {}, std::optional<Menu> applicationMenu = std::nullopt,
                  HolderDescription holderDescription = {});
    ~RecorderCocoa();
    RecorderCocoa(const RecorderCocoa&) = delete;
    RecorderCocoa& operator=(const RecorderCocoa&) = delete;

    const Name& shortcutName() const { return shortcutName_; }
    // Another name shows that name's shortcut; a recording in progress goes on for the new name.
    void setShortcutName(Name name);

    // The field took the keyboard focus: by a click, by Tab, or because its window came back. It records
    // only when the control asked for the focus in order to record (after an alert, after clearing).
    // Refused while an alert is open.
    bool becomeFirstResponder();
    // The user clicked the field (the view reports the release of the button on it): starts recording,
    // taking the focus first where the field has not got it yet.
    void fieldClicked();
    // A key pressed while the field has the focus and does not record, as the view hears it: Space or
    // Return (without Control, Option, Command or Shift) starts recording. True when it was taken.
    bool keyDown(const LocalEvent& event);
    // The field's text changed, by its clear button or by editing. Empty text removes the shortcut.
    void controlTextDidChange(const std::string& text);
    // The field lost focus: ends recording.
    void controlTextDidEndEditing();
    // What the clear button does: empties the field, removes the shortcut, and records.
    void clearButtonClicked();
    // The field was put into a window (true) or taken out of it (false).
    void viewDidMoveToWindow(bool inWindow);
    void windowDidResignKey();

    bool isRecording() const { return eventMonitor_ != nullptr; }
    bool hasFocus() const { return hasFocus_; }
    const std::string& text() const { return text_; }
    const std::string& placeholder() const { return placeholder_; }
    bool isClearButtonVisible() const { return !text_.empty(); }

private:
    void startRecording();
    void endRecording();
    void postActiveStatus(bool isActive);
    // Shows the name's stored shortcut, or an empty field.
    void showStoredShortcut();
    void showText(std::string text);
    void showPlaceholder(std::string text);
    // Records at once when the field has the focus, or as soon as the focus asked for arrives.
    void requestRecording();
    bool isOnField(const Point& location) const;
    std::optional<LocalEvent> handleEvent(const LocalEvent& event);
    std::optional<LocalEvent> handleKeyDown(const LocalEvent& event);
    // The description of another name that holds the shortcut, for the alert.
    std::optional<std::string> otherHolder(const Shortcut& shortcut);
    // Ends recording for the alert and resumes it afterwards; a forceable shortcut is stored when the
    // user chooses the alert's second button.
    void warn(RecorderAlert alert, std::optional<Shortcut> forceable);
    void store(const Shortcut& shortcut);
    void notifyChange(const std::optional<Shortcut>& shortcut);

    Module& module_;
    LocalEventMonitorService& eventMonitors_;
    RecorderField& field_;
    OnChange onChange_;
    std::optional<Menu> applicationMenu_;
    HolderDescription holderDescription_;
    Name shortcutName_;
    bool hasFocus_ = false;
    bool isAlertOpen_ = false;
    // The control asked for focus in order to record; the answer may come only once the window is active
    // again. Anything that takes the window or the field away drops the request.
    bool recordOnFocus_ = false;
    std::string text_;
    std::string placeholder_;
    std::unique_ptr<LocalEventMonitor> eventMonitor_;
    NotificationCenter::ObserverToken shortcutsNameChangeObserver_ = 0;
    // Alert completions check it, so that they do nothing once the control is gone.
    std::shared_ptr<const bool> lifetime_ = std::make_shared<const bool>(true);
};

} // namespace driftmark::KeyboardShortcuts
