#pragma once

#include "KeyboardShortcuts/RecorderCocoa.h"
#include "KeyboardShortcuts/RecorderField.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QQuickItem;
class QQuickWindow;

namespace driftmark {

class KeyboardShortcutsManager;
struct SettingsContext;

// The recorder field of the views: a read-only text field (a QML item) whose focus, clear button and
// window the recorder's logic follows, and which shows what the logic tells it. Lives as long as its field.
class ShortcutRecorder final : public QObject, public KeyboardShortcuts::RecorderField {
    Q_OBJECT
    Q_PROPERTY(QString name READ name WRITE setName NOTIFY nameChanged)
    Q_PROPERTY(QString text READ text NOTIFY textChanged)
    Q_PROPERTY(QString placeholder READ placeholder NOTIFY placeholderChanged)
    Q_PROPERTY(bool clearButtonVisible READ clearButtonVisible NOTIFY clearButtonVisibleChanged)
    Q_PROPERTY(bool caretVisible READ caretVisible NOTIFY caretVisibleChanged)
public:
    // The holder description tells the recorder who else uses a combination.
    ShortcutRecorder(const SettingsContext& context, QQuickItem* field, const QString& name,
                     KeyboardShortcuts::RecorderCocoa::HolderDescription holderDescription);
    ~ShortcutRecorder() override;

    QString name() const;
    void setName(const QString& name);
    QString text() const { return text_; }
    QString placeholder() const { return placeholder_; }
    bool clearButtonVisible() const { return clearButtonVisible_; }
    bool caretVisible() const { return caretVisible_; }

    // The field took or lost the keyboard focus. A refused focus is given up again.
    Q_INVOKABLE void focusChanged(bool hasFocus);
    // A click on the field (its release) starts recording.
    Q_INVOKABLE void clicked();
    // A key (Qt's key and modifiers) pressed while the field has the focus; true when the recorder took it.
    Q_INVOKABLE bool keyPressed(int key, int modifiers);
    Q_INVOKABLE void clearButtonPressed();
    // The alert's answer: 0 for its first button, 1 for its second.
    Q_INVOKABLE void alertAnswered(int button);

    void setText(const std::string& text) override;
    void setPlaceholder(const std::string& text) override;
    void setClearButtonVisible(bool visible) override;
    void setCaretVisible(bool visible) override;
    void setKeyboardGrabbed(bool grabbed) override;
    void blur() override;
    void focus() override;
    Rect boundsInWindow() const override;
    void showAlert(const KeyboardShortcuts::RecorderAlert& alert,
                   std::function<void(KeyboardShortcuts::AlertResponse)> completion) override;
    void beep() override;

Q_SIGNALS:
    void nameChanged();
    void textChanged();
    void placeholderChanged();
    void clearButtonVisibleChanged();
    void caretVisibleChanged();
    // The view shows the alert and answers with alertAnswered.
    void alertRequested(const QString& message, const QString& informativeText, const QStringList& buttons);

private:
    void windowChanged(QQuickWindow* window);

    KeyboardShortcutsManager& names_;
    QPointer<QQuickItem> field_;
    QPointer<QQuickWindow> window_;
    QString text_;
    QString placeholder_;
    bool clearButtonVisible_ = false;
    bool caretVisible_ = true;
    bool grabbed_ = false;
    std::function<void(KeyboardShortcuts::AlertResponse)> alertCompletion_;
    QMetaObject::Connection activeConnection_;
    QMetaObject::Connection visibleConnection_;
    std::unique_ptr<KeyboardShortcuts::RecorderCocoa> recorder_;
};

} // namespace driftmark
