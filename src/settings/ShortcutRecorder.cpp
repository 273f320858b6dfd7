#include "settings/ShortcutRecorder.h"

#include "KeyboardShortcuts/Key.h"
#include "KeyboardShortcuts/RecorderCocoa.h"
#include "app/ApplicationMenu.h"
#include "app/KeyboardShortcutsManager.h"
#include "platform/KeyEventPoster.h"
#include "settings/SettingsContext.h"

#include <QApplication>
#include <QQuickItem>
#include <QQuickWindow>

namespace driftmark {

ShortcutRecorder::ShortcutRecorder(const SettingsContext& context, QQuickItem* field, const QString& name,
                                   KeyboardShortcuts::RecorderCocoa::HolderDescription holderDescription)
    : QObject(field)
    , names_(context.keyboardShortcutsManager)
    , field_(field) {
    recorder_ = std::make_unique<KeyboardShortcuts::RecorderCocoa>(
        context.shortcuts, context.localEventMonitors, *this, names_.name(name.toStdString()),
        KeyboardShortcuts::RecorderCocoa::OnChange{}, applicationMenu(), std::move(holderDescription));
    connect(field, &QQuickItem::windowChanged, this, &ShortcutRecorder::windowChanged);
    windowChanged(field->window());
}

ShortcutRecorder::~ShortcutRecorder() {
    // Ends a recording in progress while the field can still be told.
    recorder_.reset();
    if (grabbed_ && window_) {
        window_->setKeyboardGrabEnabled(false);
    }
}

QString ShortcutRecorder::name() const {
    return QString::fromStdString(recorder_->shortcutName().rawValue);
}

void ShortcutRecorder::setName(const QString& name) {
    if (name == this->name()) {
        return;
    }
    recorder_->setShortcutName(names_.name(name.toStdString()));
    Q_EMIT nameChanged();
}

void ShortcutRecorder::windowChanged(QQuickWindow* window) {
    disconnect(activeConnection_);
    disconnect(visibleConnection_);
    window_ = window;
    if (window != nullptr) {
        activeConnection_ = connect(window, &QWindow::activeChanged, this, [this] {
            if (window_ && !window_->isActive()) {
                recorder_->windowDidResignKey();
            }
        });
        // A window closed while it is active need not say that it is no longer active.
        visibleConnection_ = connect(window, &QWindow::visibleChanged, this, [this](bool visible) {
            if (!visible) {
                recorder_->windowDidResignKey();
            }
        });
    }
    recorder_->viewDidMoveToWindow(window != nullptr);
}

void ShortcutRecorder::focusChanged(bool hasFocus) {
    if (!hasFocus) {
        recorder_->controlTextDidEndEditing();
    } else if (!recorder_->becomeFirstResponder()) {
        blur();
    }
}

void ShortcutRecorder::clicked() {
    recorder_->fieldClicked();
}

bool ShortcutRecorder::keyPressed(int key, int modifiers) {
    // Only Space and Return can start recording; every other key is no key to the recorder.
    LocalEvent event{LocalEvent::keyDown, LocalEvent::noKeyCode, 0, {}};
    if (key == Qt::Key_Space) {
        event.keyCode = static_cast<std::uint16_t>(KeyboardShortcuts::Key::space.rawValue);
    } else if (key == Qt::Key_Return) {
        event.keyCode = static_cast<std::uint16_t>(KeyboardShortcuts::Key::return_.rawValue);
    } else if (key == Qt::Key_Enter) {
        event.keyCode = static_cast<std::uint16_t>(KeyboardShortcuts::Key::keypadEnter.rawValue);
    }
    const Qt::KeyboardModifiers held(modifiers);
    event.modifierFlags |= held.testFlag(Qt::ShiftModifier) ? std::uint64_t{keyEventFlagShift} : 0;
    event.modifierFlags |= held.testFlag(Qt::ControlModifier) ? std::uint64_t{keyEventFlagControl} : 0;
    event.modifierFlags |= held.testFlag(Qt::AltModifier) ? std::uint64_t{keyEventFlagOption} : 0;
    event.modifierFlags |= held.testFlag(Qt::MetaModifier) ? std::uint64_t{keyEventFlagCommand} : 0;
    return recorder_->keyDown(event);
}

void ShortcutRecorder::clearButtonPressed() {
    recorder_->clearButtonClicked();
}

void ShortcutRecorder::alertAnswered(int button) {
    if (auto completion = std::exchange(alertCompletion_, nullptr)) {
        completion(button == 1 ? KeyboardShortcuts::AlertResponse::secondButton
                               : KeyboardShortcuts::AlertResponse::firstButton);
    }
}

void ShortcutRecorder::setText(const std::string& text) {
    if (const QString next = QString::fromStdString(text); next != text_) {
        text_ = next;
        Q_EMIT textChanged();
    }
}

void ShortcutRecorder::setPlaceholder(const std::string& text) {
    if (const QString next = QString::fromStdString(text); next != placeholder_) {
        placeholder_ = next;
        Q_EMIT placeholderChanged();
    }
}

void ShortcutRecorder::setClearButtonVisible(bool visible) {
    if (visible != clearButtonVisible_) {
        clearButtonVisible_ = visible;
        Q_EMIT clearButtonVisibleChanged();
    }
}

void ShortcutRecorder::setCaretVisible(bool visible) {
    if (visible != caretVisible_) {
        caretVisible_ = visible;
        Q_EMIT caretVisibleChanged();
    }
}

// While recording, the window holds the keyboard: the window manager's and other programs' key grabs,
// and Driftmark's own, stay inactive, so every combination reaches the recorder.
void ShortcutRecorder::setKeyboardGrabbed(bool grabbed) {
    if (!window_ || grabbed == grabbed_) {
        return;
    }
    grabbed_ = window_->setKeyboardGrabEnabled(grabbed) && grabbed;
}

void ShortcutRecorder::blur() {
    // Clearing the field's own focus: handing it to the window's root would give it straight back, as the
    // root remembers the field as its focus item.
    if (field_ && field_->hasActiveFocus()) {
        field_->setFocus(false);
    }
}

void ShortcutRecorder::focus() {
    if (field_) {
        field_->forceActiveFocus();
    }
}

Rect ShortcutRecorder::boundsInWindow() const {
    if (!field_) {
        return {};
    }
    const QRectF bounds = field_->mapRectToScene(QRectF(0, 0, field_->width(), field_->height()));
    return {bounds.x(), bounds.y(), bounds.width(), bounds.height()};
}

void ShortcutRecorder::showAlert(const KeyboardShortcuts::RecorderAlert& alert,
                                 std::function<void(KeyboardShortcuts::AlertResponse)> completion) {
    alertCompletion_ = std::move(completion);
    QStringList buttons;
    for (const std::string& title : alert.buttonTitles) {
        buttons.append(QString::fromStdString(title));
    }
    Q_EMIT alertRequested(QString::fromStdString(alert.messageText),
                          QString::fromStdString(alert.informativeText.value_or(std::string())), buttons);
}

void ShortcutRecorder::beep() {
    QApplication::beep();
}

} // namespace driftmark
