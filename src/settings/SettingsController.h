#pragma once

#include "model/Subscription.h"

#include <QColor>
#include <QObject>
#include <QVariant>
#include <memory>
#include <vector>

namespace driftmark {

class AccessibilityTrust;
class AppLogger;
class MenuItemManager;
class SettingsView;
struct SettingsSection;
class LaunchAtLogin;
class MenuItemListModel;
struct SettingsContext;

// The settings window's view of the application: the entry list, the sidebar's selection, adding,
// editing, deleting, resetting, start at login and the Smart Paste permission. Entries are named by
// their id's canonical text. (The logic's types are only declared here: moc cannot read the standard
// library's C++20 headers.)
class SettingsController final : public QObject {
    Q_OBJECT
    Q_PROPERTY(QObject* items READ items CONSTANT)
    Q_PROPERTY(QString selectedSection READ selectedSection WRITE selectSection NOTIFY selectedSectionChanged)
    Q_PROPERTY(bool canAddItem READ canAddItem NOTIFY itemsChanged)
    Q_PROPERTY(QString addItemToolTip READ addItemToolTip NOTIFY itemsChanged)
    Q_PROPERTY(bool showsDeleteControls READ showsDeleteControls NOTIFY itemsChanged)
    Q_PROPERTY(QString appVersion READ appVersion CONSTANT)
    Q_PROPERTY(QString desktopNotice READ desktopNotice CONSTANT)
    Q_PROPERTY(QVariantList colorOptions READ colorOptions CONSTANT)
    Q_PROPERTY(QColor defaultColor READ defaultColor CONSTANT)
    Q_PROPERTY(bool launchAtLogin READ launchAtLogin WRITE setLaunchAtLogin NOTIFY launchAtLoginChanged)
    Q_PROPERTY(QString deleteMessage READ deleteMessage NOTIFY deleteMessageChanged)
public:
    SettingsController(const SettingsContext& context, QObject* parent = nullptr);
    ~SettingsController() override;

    QObject* items() const;
    QString selectedSection() const;
    void selectSection(const QString& identity);
    bool canAddItem() const;
    QString addItemToolTip() const;
    bool showsDeleteControls() const;
    QString appVersion() const;
    QString desktopNotice() const { return desktopNotice_; }
    QVariantList colorOptions() const;
    QColor defaultColor() const;
    bool launchAtLogin() const;
    void setLaunchAtLogin(bool enabled);
    QString deleteMessage() const;

    // The entry's fields (itemId, title, text, iconColor, usesSmartPaste, prependNewline), or null when
    // no entry has the id.
    Q_INVOKABLE QVariant item(const QString& itemId) const;
    // The entry's pane reports its fields after each change.
    Q_INVOKABLE void updateItem(const QString& itemId, const QString& title, const QString& text,
                                const QColor& color, bool usesSmartPaste, bool prependNewline);
    // The id a new entry will get, fixed when the add form opens.
    Q_INVOKABLE QString newItemId() const;
    Q_INVOKABLE void addItem(const QString& itemId, const QString& title, const QString& text,
                             const QColor& color, bool usesSmartPaste);
    Q_INVOKABLE void requestDelete(const QString& itemId);
    Q_INVOKABLE void confirmDelete();
    Q_INVOKABLE void resetAllSettings();

    Q_INVOKABLE QString preview(const QString& text, int limit, const QString& placeholder) const;
    Q_INVOKABLE bool isColorSelected(const QColor& color, const QColor& paletteColor) const;
    Q_INVOKABLE bool isAccessibilityTrusted() const;
    // Explains what Smart Paste is missing on this display.
    Q_INVOKABLE void openAccessibilitySettings();
    Q_INVOKABLE void windowShown();

Q_SIGNALS:
    void selectedSectionChanged();
    void itemsChanged();
    void launchAtLoginChanged();
    void deleteMessageChanged();

private:
    void setSelection(const SettingsSection& section);

    MenuItemManager& menuItemManager_;
    AccessibilityTrust& accessibilityTrust_;
    LaunchAtLogin& launchAtLogin_;
    AppLogger& logger_;
    std::unique_ptr<SettingsView> view_;
    MenuItemListModel* items_;
    QString desktopNotice_;
    std::vector<Subscription> subscriptions_;
};

} // namespace driftmark
