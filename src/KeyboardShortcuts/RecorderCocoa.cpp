#include "KeyboardShortcuts/RecorderCocoa.h"

#include "KeyboardShortcuts/HotKeyAvailability.h"
#include "KeyboardShortcuts/Module.h"
#include "KeyboardShortcuts/ShortcutAcceptance.h"
#include "KeyboardShortcuts/ShortcutText.h"
#include "KeyboardShortcuts/SpecialKey.h"
#include "KeyboardShortcuts/Texts.h"

#include <utility>

namespace driftmark::KeyboardShortcuts {

namespace {

// Key down, left mouse up and right mouse up.
constexpr std::uint64_t recordedEvents =
    eventMask(LocalEvent::keyDown) | eventMask(LocalEvent::leftMouseUp) | eventMask(LocalEvent::rightMouseUp);

// Caps Lock, the numeric pad marker and the device-dependent bits say nothing about the combination.
constexpr std::uint64_t ignoredModifierBits = 0x21FFFF;
// Shift and Fn as well: neither makes a plain key a shortcut.
constexpr std::uint64_t nonCommandModifierBits = 0xA3FFFF;

// Virtual key codes stop at 0x7F. Keys without one (Print, Pause, Menu) come with a higher code.
constexpr std::uint16_t lastVirtualKeyCode = 0x7F;

} // namespace

RecorderCocoa::RecorderCocoa(Module& module, LocalEventMonitorService& eventMonitors, RecorderField& field,
                             Name name, OnChange onChange, std::optional<Menu> applicationMenu,
                             HolderDescription holderDescription)
    : module_(module)
    , eventMonitors_(eventMonitors)
    , field_(field)
    , onChange_(std::move(onChange))
    , applicationMenu_(std::move(applicationMenu))
    , holderDescription_(std::move(holderDescription))
    , shortcutName_(std::move(name)) {
    showPlaceholder(localizedText("record_shortcut"));
    field_.setCaretVisible(true);
    showStoredShortcut();
    shortcutsNameChangeObserver_ =
        module_.notificationCenter().addObserver(shortcutByNameDidChange, [this](const Notification& note) {
            const auto found = note.userInfo.find("name");
            const Name* changed = found == note.userInfo.end() ? nullptr : std::get_if<Name>(&found->second);
            if (changed != nullptr && changed->rawValue == shortcutName_.rawValue) {
                showStoredShortcut();
            }
        });
}

RecorderCocoa::~RecorderCocoa() {
    module_.notificationCenter().removeObserver(shortcutsNameChangeObserver_);
    // Whatever takes the control away, the pause and the keyboard grab must not outlive it.
    endRecording();
}

void RecorderCocoa::setShortcutName(Name name) {
    const bool changed = name.rawValue != shortcutName_.rawValue;
    shortcutName_ = std::move(name);
    if (changed) {
        showStoredShortcut();
    }
}

bool RecorderCocoa::becomeFirstResponder() {
    if (isAlertOpen_) {
        return false;
    }
    hasFocus_ = true;
    if (std::exchange(recordOnFocus_, false)) {
        startRecording();
    }
    return true;
}

void RecorderCocoa::controlTextDidChange(const std::string& text) {
    text_ = text;
    if (text_.empty()) {
        const std::weak_ptr<const bool> alive = lifetime_;
        module_.setShortcut(std::nullopt, shortcutName_);
        notifyChange(std::nullopt);
        if (alive.expired()) {
            return;
        }
    }
    field_.setClearButtonVisible(isClearButtonVisible());
    // The next keystroke is recorded: the user reached into the field to clear it.
    if (text_.empty()) {
        requestRecording();
    }
}

void RecorderCocoa::fieldClicked() {
    if (!isAlertOpen_) {
        requestRecording();
    }
}

void RecorderCocoa::controlTextDidEndEditing() {
    hasFocus_ = false;
    recordOnFocus_ = false;
    endRecording();
}

void RecorderCocoa::clearButtonClicked() {
    if (text_.empty()) {
        return;
    }
    field_.setText({});
    controlTextDidChange({});
}

void RecorderCocoa::viewDidMoveToWindow(bool inWindow) {
    if (!inWindow) {
        controlTextDidEndEditing();
    }
}

void RecorderCocoa::windowDidResignKey() {
    // Coming back to the window gives the field its focus again, which must not record by itself.
    recordOnFocus_ = false;
    endRecording();
}

void RecorderCocoa::startRecording() {
    showPlaceholder(localizedText("press_shortcut"));
    field_.setClearButtonVisible(isClearButtonVisible());
    field_.setCaretVisible(false);
    module_.setPaused(true);
    postActiveStatus(true);
    field_.setKeyboardGrabbed(true);
    // The monitor dies with the control, so the callback never sees it gone.
    eventMonitor_ = std::make_unique<LocalEventMonitor>(
        eventMonitors_, recordedEvents, [this](const LocalEvent& event) { return handleEvent(event); });
    eventMonitor_->start();
}

void RecorderCocoa::endRecording() {
    if (!isRecording()) {
        return;
    }
    eventMonitor_.reset();
    field_.setKeyboardGrabbed(false);
    showPlaceholder(localizedText("record_shortcut"));
    field_.setClearButtonVisible(isClearButtonVisible());
    field_.setCaretVisible(true);
    module_.setPaused(false);
    postActiveStatus(false);
}

void RecorderCocoa::postActiveStatus(bool isActive) {
    module_.notificationCenter().post({std::string(recorderActiveStatusDidChange), {{"isActive", isActive}}});
}

void RecorderCocoa::showStoredShortcut() {
    const auto shortcut = module_.getShortcut(shortcutName_);
    showText(shortcut ? presentableDescription(*shortcut, module_.keyboardLayout()) : std::string());
}

void RecorderCocoa::showText(std::string text) {
    text_ = std::move(text);
    field_.setText(text_);
    field_.setClearButtonVisible(isClearButtonVisible());
}

void RecorderCocoa::showPlaceholder(std::string text) {
    placeholder_ = std::move(text);
    field_.setPlaceholder(placeholder_);
}

void RecorderCocoa::requestRecording() {
    if (isRecording()) {
        return;
    }
    if (hasFocus_) {
        startRecording();
        return;
    }
    recordOnFocus_ = true;
    field_.focus();
}

bool RecorderCocoa::isOnField(const Point& location) const {
    const Rect bounds = field_.boundsInWindow();
    const Rect nearby{bounds.x - clickMargin, bounds.y - clickMargin, bounds.width + 2 * clickMargin,
                      bounds.height + 2 * clickMargin};
    return nearby.contains(location);
}

bool RecorderCocoa::keyDown(const LocalEvent& event) {
    const Key key{event.keyCode};
    const bool startsRecording = key == Key::space || key == Key::return_ || key == Key::keypadEnter;
    if (isRecording() || isAlertOpen_ || (event.modifierFlags & ~ignoredModifierBits) != 0 ||
        !startsRecording) {
        return false;
    }
    requestRecording();
    return true;
}

std::optional<LocalEvent> RecorderCocoa::handleEvent(const LocalEvent& event) {
    if (event.type == LocalEvent::leftMouseUp || event.type == LocalEvent::rightMouseUp) {
        if (!isOnField(event.locationInWindow)) {
            field_.blur();
            return event;
        }
        return std::nullopt;
    }
    if (event.type != LocalEvent::keyDown) {
        return std::nullopt;
    }
    return handleKeyDown(event);
}

std::optional<LocalEvent> RecorderCocoa::handleKeyDown(const LocalEvent& event) {
    const std::uint64_t modifiers = event.modifierFlags & ~ignoredModifierBits;
    const Key key{event.keyCode};
    const auto special = specialKey(key);
    if (modifiers == 0 && special == SpecialKey::tab) {
        // Focus moves on to the next control as usual.
        endRecording();
        return event;
    }
    if (modifiers == 0 && key == Key::escape) {
        // The field keeps the focus, so that the keyboard alone can go on from it.
        endRecording();
        return std::nullopt;
    }
    if (modifiers == 0 && (special == SpecialKey::delete_ || special == SpecialKey::deleteForward)) {
        clearButtonClicked();
        return std::nullopt;
    }
    if ((event.modifierFlags & ~nonCommandModifierBits) == 0 && !isFunctionKey(key)) {
        field_.beep();
        return std::nullopt;
    }
    const auto shortcut = event.keyCode <= lastVirtualKeyCode ? Shortcut::fromEvent(event) : std::nullopt;
    if (!shortcut) {
        field_.beep();
        return std::nullopt;
    }
    if (const MenuItem* item = conflictingMenuItem(*shortcut, applicationMenu_ ? &*applicationMenu_ : nullptr,
                                                   module_.keyboardLayout())) {
        warn({formattedText(localizedText("keyboard_shortcut_used_by_menu_item"), item->title),
              std::nullopt,
              {localizedText("ok")}},
             std::nullopt);
        return std::nullopt;
    }
    // Linux is never sandboxed and has no macOS 15: the check stays, for the day a platform needs it.
    if (isOptionOnlyRestricted(*shortcut, OperatingSystemVersion{}, false)) {
        warn({localizedText("keyboard_shortcut_disallowed"), std::nullopt, {localizedText("ok")}},
             std::nullopt);
        return std::nullopt;
    }
    if (const auto holder = otherHolder(*shortcut)) {
        warn({formattedText(localizedText("keyboard_shortcut_used_by_other_name"), *holder),
              localizedText("keyboard_shortcut_used_twice"),
              {localizedText("ok"), localizedText("force_use_shortcut")}},
             shortcut);
        return std::nullopt;
    }
    if (matchesSystemShortcut(*shortcut, module_.systemShortcutList()) ||
        hotKeyRefusal(module_.hotKeyService(), *shortcut)) {
        warn({localizedText("keyboard_shortcut_used_by_system"),
              localizedText("keyboard_shortcuts_can_be_changed"),
              {localizedText("ok"), localizedText("force_use_shortcut")}},
             shortcut);
        return std::nullopt;
    }
    store(*shortcut);
    return std::nullopt;
}

std::optional<std::string> RecorderCocoa::otherHolder(const Shortcut& shortcut) {
    if (!holderDescription_) {
        return std::nullopt;
    }
    for (const Name& name : module_.allNames()) {
        if (name == shortcutName_ || module_.getShortcut(name) != shortcut) {
            continue;
        }
        if (auto description = holderDescription_(name)) {
            return description;
        }
    }
    return std::nullopt;
}

void RecorderCocoa::warn(RecorderAlert alert, std::optional<Shortcut> forceable) {
    field_.blur();
    isAlertOpen_ = true;
    field_.showAlert(alert,
                     [this, alive = std::weak_ptr<const bool>(lifetime_), forceable](AlertResponse response) {
                         if (alive.expired()) {
                             return;
                         }
                         isAlertOpen_ = false;
                         if (forceable && response == AlertResponse::secondButton) {
                             field_.focus();
                             store(*forceable);
                             return;
                         }
                         requestRecording();
                     });
}

void RecorderCocoa::store(const Shortcut& shortcut) {
    showText(presentableDescription(shortcut, module_.keyboardLayout()));
    module_.userDefaultsSet(shortcutName_, shortcut);
    const std::weak_ptr<const bool> alive = lifetime_;
    notifyChange(shortcut);
    if (!alive.expired()) {
        // The field keeps the focus; the next recording takes another click, Space or Return.
        endRecording();
    }
}

void RecorderCocoa::notifyChange(const std::optional<Shortcut>& shortcut) {
    if (onChange_) {
        onChange_(shortcut);
    }
}

} // namespace driftmark::KeyboardShortcuts
