#include "settings/MenuItemListModel.h"

#include "model/MenuItemManager.h"
#include "settings/QmlValues.h"

#include <QTimer>
#include <algorithm>

namespace driftmark {

namespace {

bool sameIds(const std::vector<MenuBarItem>& left, const std::vector<MenuBarItem>& right) {
    return std::equal(left.begin(), left.end(), right.begin(), right.end(),
                      [](const MenuBarItem& a, const MenuBarItem& b) { return a.id() == b.id(); });
}

// The position of the one entry that `after` lacks, when that is the only difference.
std::optional<std::size_t> removedRow(const std::vector<MenuBarItem>& before,
                                      const std::vector<MenuBarItem>& after) {
    if (before.size() != after.size() + 1) {
        return std::nullopt;
    }
    for (std::size_t row = 0; row < before.size(); ++row) {
        std::vector<MenuBarItem> without = before;
        without.erase(without.begin() + static_cast<std::ptrdiff_t>(row));
        if (sameIds(without, after)) {
            return row;
        }
    }
    return std::nullopt;
}

} // namespace

MenuItemListModel::MenuItemListModel(MenuItemManager& menuItemManager, QObject* parent)
    : QAbstractListModel(parent)
    , menuItemManager_(menuItemManager)
    , items_(menuItemManager.items()) {
    subscription_ = menuItemManager_.subscribe([this](const std::vector<MenuBarItem>&) {
        if (!applyQueued_) {
            applyQueued_ = true;
            QTimer::singleShot(0, this, &MenuItemListModel::apply);
        }
    });
}

void MenuItemListModel::apply() {
    applyQueued_ = false;
    const std::vector<MenuBarItem>& next = menuItemManager_.items();
    const int before = static_cast<int>(items_.size());
    if (sameIds(items_, next)) {
        for (std::size_t row = 0; row < next.size(); ++row) {
            if (!(items_[row] == next[row])) {
                items_[row] = next[row];
                const QModelIndex changed = index(static_cast<int>(row));
                Q_EMIT dataChanged(changed, changed);
            }
        }
    } else if (const auto removed = removedRow(items_, next)) {
        beginRemoveRows({}, static_cast<int>(*removed), static_cast<int>(*removed));
        items_ = next;
        endRemoveRows();
    } else if (next.size() == items_.size() + 1 &&
               std::equal(items_.begin(), items_.end(), next.begin(),
                          [](const MenuBarItem& a, const MenuBarItem& b) { return a.id() == b.id(); })) {
        beginInsertRows({}, before, before);
        items_ = next;
        endInsertRows();
    } else {
        beginResetModel();
        items_ = next;
        endResetModel();
    }
    if (before != static_cast<int>(items_.size())) {
        Q_EMIT countChanged();
    }
}

MenuItemListModel::~MenuItemListModel() = default;

int MenuItemListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(items_.size());
}

QVariant MenuItemListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    const MenuBarItem& item = items_[static_cast<std::size_t>(index.row())];
    switch (role) {
    case itemIdRole:
        return QString::fromStdString(item.id().toString());
    case titleRole:
    case Qt::DisplayRole:
        return QString::fromStdString(item.title);
    case textRole:
        return QString::fromStdString(item.text);
    case iconColorRole:
        return toQColor(item.iconColor.toPlatformColor());
    case usesSmartPasteRole:
        return item.usesSmartPaste;
    case prependNewlineRole:
        return item.prependNewline;
    default:
        return {};
    }
}

QHash<int, QByteArray> MenuItemListModel::roleNames() const {
    return {{itemIdRole, "itemId"},
            {titleRole, "title"},
            {textRole, "text"},
            {iconColorRole, "iconColor"},
            {usesSmartPasteRole, "usesSmartPaste"},
            {prependNewlineRole, "prependNewline"}};
}

} // namespace driftmark
