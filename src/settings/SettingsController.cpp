#include "settings/SettingsController.h"

#include "app/ColorPalette.h"
#include "app/KeyboardShortcutsManager.h"
#include "app/SettingsView.h"
#include "app/TextPreview.h"
#include "model/MenuItemManager.h"
#include "platform/AccessibilityTrust.h"
#include "settings/MenuItemListModel.h"
#include "settings/QmlValues.h"
#include "settings/SettingsContext.h"
#include "support/AppLogger.h"
#include "support/LaunchAtLogin.h"

#include <QVariantMap>

namespace driftmark {

namespace {

std::optional<Uuid> parseId(const QString& text) {
    return Uuid::parse(text.toStdString());
}

QVariantMap itemFields(const MenuBarItem& item) {
    return {{QStringLiteral("itemId"), QString::fromStdString(item.id().toString())},
            {QStringLiteral("title"), QString::fromStdString(item.title)},
            {QStringLiteral("text"), QString::fromStdString(item.text)},
            {QStringLiteral("iconColor"), toQColor(item.iconColor.toPlatformColor())},
            {QStringLiteral("usesSmartPaste"), item.usesSmartPaste},
            {QStringLiteral("prependNewline"), item.prependNewline}};
}

} // namespace

SettingsController::SettingsController(const SettingsContext& context, QObject* parent)
    : QObject(parent)
    , menuItemManager_(context.menuItemManager)
    , accessibilityTrust_(context.accessibilityTrust)
    , launchAtLogin_(context.launchAtLogin)
    , logger_(context.logger)
    , view_(std::make_unique<SettingsView>(SettingsView::Services{
          context.menuItemManager, context.shortcuts, context.keyboardShortcutsManager.copyToClipboard(),
          context.launchAtLogin, context.logger, context.userDefaults, context.application,
          context.mainQueue}))
    , items_(new MenuItemListModel(context.menuItemManager, this))
    , desktopNotice_(QString::fromStdString(context.desktopNotice)) {
    connect(items_, &MenuItemListModel::countChanged, this, &SettingsController::itemsChanged);
    subscriptions_.push_back(launchAtLogin_.subscribe([this](const bool&) {
        // Announced before the flag changes: the views read it once it has.
        QMetaObject::invokeMethod(this, &SettingsController::launchAtLoginChanged, Qt::QueuedConnection);
    }));
}

SettingsController::~SettingsController() = default;

bool SettingsController::canAddItem() const {
    return view_->canAddItem();
}

QString SettingsController::addItemToolTip() const {
    return QString::fromStdString(view_->addItemToolTip());
}

bool SettingsController::showsDeleteControls() const {
    return view_->showsDeleteControls();
}

QString SettingsController::appVersion() const {
    return QString::fromStdString(SettingsView::appVersion());
}

QString SettingsController::deleteMessage() const {
    return QString::fromStdString(view_->deleteMessage());
}

QObject* SettingsController::items() const {
    return items_;
}

QString SettingsController::selectedSection() const {
    return QString::fromStdString(view_->selectedSection().identity());
}

void SettingsController::selectSection(const QString& identity) {
    if (identity == QStringLiteral("general")) {
        setSelection(SettingsSection::general());
    } else if (identity == QStringLiteral("about")) {
        setSelection(SettingsSection::about());
    } else if (const auto id = parseId(identity)) {
        setSelection(SettingsSection::menuItem(*id));
    }
}

void SettingsController::setSelection(const SettingsSection& section) {
    if (view_->selectedSection() == section) {
        return;
    }
    view_->setSelectedSection(section);
    Q_EMIT selectedSectionChanged();
}

QVariantList SettingsController::colorOptions() const {
    QVariantList options;
    for (const PaletteColor& option : driftmark::colorOptions()) {
        options.append(
            QVariantMap{{QStringLiteral("name"),
                         QString::fromLatin1(option.name.data(), static_cast<qsizetype>(option.name.size()))},
                        {QStringLiteral("color"), toQColor(option.color)}});
    }
    return options;
}

QColor SettingsController::defaultColor() const {
    return toQColor(Color::systemBlue());
}

bool SettingsController::launchAtLogin() const {
    return launchAtLogin_.isEnabled();
}

void SettingsController::setLaunchAtLogin(bool enabled) {
    if (enabled == launchAtLogin_.isEnabled()) {
        return;
    }
    launchAtLogin_.setEnabled(enabled);
    // A refused change has turned the switch back and said why on standard output.
    if (launchAtLogin_.isEnabled() != enabled) {
        logger_.info(std::string("Start at Login not changed: it stays ") + (enabled ? "disabled" : "enabled"));
        return;
    }
    logger_.info(std::string("Start at Login toggled: ") + (enabled ? "enabled" : "disabled"));
}

QVariant SettingsController::item(const QString& itemId) const {
    const auto id = parseId(itemId);
    for (const MenuBarItem& stored : menuItemManager_.items()) {
        if (id && stored.id() == *id) {
            return itemFields(stored);
        }
    }
    return {};
}

void SettingsController::updateItem(const QString& itemId, const QString& title, const QString& text,
                                    const QColor& color, bool usesSmartPaste, bool prependNewline) {
    const auto id = parseId(itemId);
    const auto& items = menuItemManager_.items();
    const auto found = std::find_if(items.begin(), items.end(),
                                    [&](const MenuBarItem& stored) { return id && stored.id() == *id; });
    if (found == items.end()) {
        return;
    }
    MenuBarItem updated = *found;
    updated.title = title.toStdString();
    updated.text = text.toStdString();
    if (color != toQColor(found->iconColor.toPlatformColor())) {
        updated.iconColor = CodableColor::fromPlatformColor(fromQColor(color));
    }
    updated.usesSmartPaste = usesSmartPaste;
    updated.prependNewline = prependNewline;
    view_->updateItem(updated);
}

QString SettingsController::newItemId() const {
    return QString::fromStdString(Uuid::random().toString());
}

void SettingsController::addItem(const QString& itemId, const QString& title, const QString& text,
                                 const QColor& color, bool usesSmartPaste) {
    const Uuid id = parseId(itemId).value_or(Uuid::random());
    view_->addItem(SettingsView::newItem(id, title.toStdString(), text.toStdString(), fromQColor(color),
                                         usesSmartPaste));
    Q_EMIT selectedSectionChanged();
}

void SettingsController::requestDelete(const QString& itemId) {
    const auto id = parseId(itemId);
    for (const MenuBarItem& stored : menuItemManager_.items()) {
        if (id && stored.id() == *id) {
            view_->setItemToDelete(stored);
            Q_EMIT deleteMessageChanged();
            return;
        }
    }
}

void SettingsController::confirmDelete() {
    const SettingsSection before = view_->selectedSection();
    view_->deleteItem();
    if (!(before == view_->selectedSection())) {
        Q_EMIT selectedSectionChanged();
    }
}

void SettingsController::resetAllSettings() {
    view_->resetAllSettings();
}

QString SettingsController::preview(const QString& text, int limit, const QString& placeholder) const {
    return QString::fromStdString(textPreview(
        text.toStdString(), static_cast<std::size_t>(std::max(limit, 0)), placeholder.toStdString()));
}

bool SettingsController::isColorSelected(const QColor& color, const QColor& paletteColor) const {
    return color.isValid() && paletteColor.isValid() &&
           driftmark::isColorSelected(fromQColor(color), fromQColor(paletteColor));
}

bool SettingsController::isAccessibilityTrusted() const {
    return accessibilityTrust_.isTrusted();
}

void SettingsController::openAccessibilitySettings() {
    accessibilityTrust_.openAccessibilitySettings();
}

void SettingsController::windowShown() {
    view_->windowShown();
}

} // namespace driftmark
