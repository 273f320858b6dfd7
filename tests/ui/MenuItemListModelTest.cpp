#include "settings/MenuItemListModel.h"

#include "fakes/AppHarness.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace driftmark::test {
namespace {

// Counts the model's changes by kind.
struct ModelChanges {
    explicit ModelChanges(MenuItemListModel& model) {
        QObject::connect(
            &model, &QAbstractItemModel::dataChanged,
            [this](const QModelIndex& first, const QModelIndex&) { changedRows.push_back(first.row()); });
        QObject::connect(&model, &QAbstractItemModel::rowsInserted,
                         [this](const QModelIndex&, int first, int) { insertedRows.push_back(first); });
        QObject::connect(&model, &QAbstractItemModel::rowsRemoved,
                         [this](const QModelIndex&, int first, int) { removedRows.push_back(first); });
        QObject::connect(&model, &QAbstractItemModel::modelReset, [this] { ++resets; });
    }
    std::vector<int> changedRows;
    std::vector<int> insertedRows;
    std::vector<int> removedRows;
    int resets = 0;
};

std::vector<MenuBarItem> tenItems() {
    std::vector<MenuBarItem> items;
    for (int index = 0; index < 10; ++index) {
        items.push_back(makeItem("Entry " + std::to_string(index), "text", false, index));
    }
    return items;
}

QString title(const MenuItemListModel& model, int row) {
    return model.data(model.index(row), MenuItemListModel::titleRole).toString();
}

struct MenuItemListModelTest : ::testing::Test {
    AppHarness harness{tenItems()};
    MenuItemListModel model{harness.menuItemManager};
    ModelChanges changes{model};

    void settle() { QCoreApplication::processEvents(); }
};

TEST_F(MenuItemListModelTest, OneEditOfTenEntriesIsOneChangedRowThoughTheStoreAnnouncesItElevenTimes) {
    MenuBarItem renamed = harness.menuItemManager.items().at(4);
    renamed.title = "Renamed";
    harness.menuItemManager.updateItem(renamed);
    EXPECT_EQ(title(model, 4), QStringLiteral("Entry 4")) << "the model follows once the edit has passed";
    settle();
    EXPECT_EQ(changes.changedRows, std::vector<int>{4});
    EXPECT_EQ(changes.resets, 0);
    EXPECT_EQ(title(model, 4), QStringLiteral("Renamed"));
}

TEST_F(MenuItemListModelTest, AddingAndRemovingAreSingleRowsAndTheOthersKeepTheirPlaces) {
    harness.menuItemManager.removeItemAt(2);
    settle();
    EXPECT_EQ(changes.removedRows, std::vector<int>{2});
    EXPECT_EQ(model.rowCount(), 9);
    EXPECT_EQ(title(model, 2), QStringLiteral("Entry 3"));

    harness.menuItemManager.addItem(makeItem("Added", "new", true));
    settle();
    EXPECT_EQ(changes.insertedRows, std::vector<int>{9});
    EXPECT_EQ(title(model, 9), QStringLiteral("Added"));
    EXPECT_EQ(changes.resets, 0);
    EXPECT_TRUE(changes.changedRows.empty()) << "renumbering changes nothing the views show";
}

TEST_F(MenuItemListModelTest, AReplacedListIsOneReset) {
    QSignalSpy counts(&model, &MenuItemListModel::countChanged);
    harness.menuItemManager.setItems({});
    harness.menuItemManager.addItem(makeItem("Driftmark", "Driftmark about this.", false));
    settle();
    EXPECT_EQ(changes.resets, 1);
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_EQ(counts.count(), 1);
    EXPECT_EQ(model.data(model.index(0), MenuItemListModel::textRole).toString(),
              QStringLiteral("Driftmark about this."));
}

} // namespace
} // namespace driftmark::test
