#pragma once

#include "model/Subscription.h"

#include <QAbstractListModel>
#include <vector>

// Moc cannot read the standard library's C++20 headers, so the entry type stays declared only.

namespace driftmark {

class MenuBarItem;
class MenuItemManager;

// The entry list for the views. The store announces one edit several times over (the change, then each
// renumbering); the model takes the list once those have passed and turns it into one model change:
// changed rows, one inserted or removed row, or a reset.
class MenuItemListModel final : public QAbstractListModel {
    Q_OBJECT
    Q_PROPERTY(int count READ rowCount NOTIFY countChanged)
public:
    enum Role {
        itemIdRole = Qt::UserRole + 1,
        titleRole,
        textRole,
        iconColorRole,
        usesSmartPasteRole,
        prependNewlineRole
    };

    explicit MenuItemListModel(MenuItemManager& menuItemManager, QObject* parent = nullptr);
    ~MenuItemListModel() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

Q_SIGNALS:
    void countChanged();

private:
    void apply();

    MenuItemManager& menuItemManager_;
    std::vector<MenuBarItem> items_;
    bool applyQueued_ = false;
    Subscription subscription_;
};

} // namespace driftmark
