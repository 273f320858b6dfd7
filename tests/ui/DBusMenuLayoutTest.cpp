#include "platform/linux/sni/DBusMenuLayout.h"

#include "platform/KeyEquivalentMenuItem.h"
#include "platform/linux/keys/MenuKeySequence.h"

#include <gtest/gtest.h>

namespace driftmark {
namespace {

MenuEntry entry(std::string title, std::string keyEquivalent = {}, std::string symbol = {}) {
    return MenuEntry{false, std::move(title), std::move(keyEquivalent), std::move(symbol), {}, {}};
}

Menu sampleMenu() {
    return Menu{{entry("Copy 'snake_case'", {}, "doc.on.doc"), MenuEntry::separator(),
                 entry("Quit", "q", "power"), entry("Plain")}};
}

QStringList labels(const DBusMenuLayoutItem& root) {
    QStringList result;
    for (const DBusMenuLayoutItem& child : root.children) {
        result.append(child.properties.value(QStringLiteral("label")).toString());
    }
    return result;
}

TEST(DBusMenuLayoutTest, TheRootHoldsTheEntriesNumberedFromOne) {
    const DBusMenuLayout layout(sampleMenu(), {});
    const auto root = layout.item(0, -1, {});
    ASSERT_TRUE(root);
    EXPECT_EQ(root->id, 0);
    EXPECT_EQ(root->properties.value(QStringLiteral("children-display")).toString(),
              QStringLiteral("submenu"));
    ASSERT_EQ(root->children.size(), 4);
    for (int index = 0; index < 4; ++index) {
        EXPECT_EQ(root->children[index].id, index + 1);
        EXPECT_TRUE(root->children[index].children.isEmpty());
    }
    EXPECT_EQ(layout.ids(), (QList<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(layout.entry(3)->title, "Quit");
    EXPECT_EQ(layout.entry(0), nullptr);
    EXPECT_EQ(layout.entry(5), nullptr);
}

TEST(DBusMenuLayoutTest, UnderscoresAreNoMnemonics) {
    EXPECT_EQ(dbusMenuLabel("snake_case__x"), QStringLiteral("snake__case____x"));
    const DBusMenuLayout layout(sampleMenu(), {});
    EXPECT_EQ(labels(*layout.item(0, 1, {})), (QStringList{QStringLiteral("Copy 'snake__case'"), QString(),
                                                           QStringLiteral("Quit"), QStringLiteral("Plain")}));
}

TEST(DBusMenuLayoutTest, EntriesCarryTheirStateIconAndShortcut) {
    const DBusMenuLayout layout(sampleMenu(), {});
    const QVariantMap copy = *layout.properties(1, {});
    EXPECT_TRUE(copy.value(QStringLiteral("enabled")).toBool());
    EXPECT_TRUE(copy.value(QStringLiteral("visible")).toBool());
    EXPECT_EQ(copy.value(QStringLiteral("icon-name")).toString(), QStringLiteral("edit-copy"));
    EXPECT_FALSE(copy.contains(QStringLiteral("shortcut")));
    EXPECT_FALSE(copy.contains(QStringLiteral("type")));

    const QVariantMap separator = *layout.properties(2, {});
    EXPECT_EQ(separator.value(QStringLiteral("type")).toString(), QStringLiteral("separator"));
    EXPECT_FALSE(separator.contains(QStringLiteral("label")));

    const QVariantMap quit = *layout.properties(3, {});
    EXPECT_EQ(quit.value(QStringLiteral("shortcut")).value<DBusMenuShortcut>(),
              (DBusMenuShortcut{{QStringLiteral("Control"), QStringLiteral("Q")}}));

    // A symbol no theme name stands for has no icon.
    EXPECT_FALSE(layout.properties(4, {})->contains(QStringLiteral("icon-name")));
}

TEST(DBusMenuLayoutTest, OnlyThePropertiesAskedFor) {
    const DBusMenuLayout layout(sampleMenu(), {});
    const auto root = layout.item(0, -1, {QStringLiteral("label")});
    EXPECT_TRUE(root->properties.isEmpty());
    EXPECT_EQ(root->children[2].properties.keys(), QStringList{QStringLiteral("label")});
    EXPECT_EQ(layout.properties(3, {QStringLiteral("enabled"), QStringLiteral("nothing")})->keys(),
              QStringList{QStringLiteral("enabled")});
}

TEST(DBusMenuLayoutTest, DepthLimitsTheTree) {
    const DBusMenuLayout layout(sampleMenu(), {});
    EXPECT_TRUE(layout.item(0, 0, {})->children.isEmpty());
    const auto quit = layout.item(3, -1, {});
    ASSERT_TRUE(quit);
    EXPECT_EQ(quit->id, 3);
    EXPECT_EQ(quit->properties.value(QStringLiteral("label")).toString(), QStringLiteral("Quit"));
}

TEST(DBusMenuLayoutTest, LayoutsCompareByWhatTheyShow) {
    const DBusMenuLayout layout(sampleMenu(), {});
    EXPECT_TRUE(layout.showsSameAs(DBusMenuLayout(sampleMenu(), {})));
    Menu renamed = sampleMenu();
    renamed.entries[3].title = "Other";
    EXPECT_FALSE(layout.showsSameAs(DBusMenuLayout(renamed, {})));
    Menu shorter = sampleMenu();
    shorter.entries.pop_back();
    EXPECT_FALSE(layout.showsSameAs(DBusMenuLayout(shorter, {})));
}

TEST(DBusMenuLayoutTest, UnknownIdsHaveNothing) {
    const DBusMenuLayout layout(sampleMenu(), {});
    EXPECT_FALSE(layout.item(9, -1, {}));
    EXPECT_FALSE(layout.item(-1, -1, {}));
    EXPECT_FALSE(layout.properties(5, {}));
}

TEST(DBusMenuLayoutTest, AShownKeyEquivalentFollowsItsBindingWhileTheLayoutLives) {
    KeyEquivalentMenuItem* shownOn = nullptr;
    auto bindingAlive = std::make_shared<bool>(false);
    Menu menu{{entry("Copy")}};
    menu.entries[0].shownKeyEquivalent = [&](KeyEquivalentMenuItem& item) -> std::shared_ptr<void> {
        shownOn = &item;
        item.setKeyEquivalent("k", menuKeySequence::controlFlag | menuKeySequence::optionFlag);
        *bindingAlive = true;
        return std::shared_ptr<void>(nullptr, [bindingAlive](void*) { *bindingAlive = false; });
    };
    std::vector<std::pair<int, QVariantMap>> changes;
    {
        const DBusMenuLayout layout(
            menu, [&](int id, const QVariantMap& properties) { changes.emplace_back(id, properties); });
        EXPECT_EQ(
            layout.properties(1, {})->value(QStringLiteral("shortcut")).value<DBusMenuShortcut>(),
            (DBusMenuShortcut{{QStringLiteral("Control"), QStringLiteral("Alt"), QStringLiteral("K")}}));
        ASSERT_NE(shownOn, nullptr);
        EXPECT_TRUE(*bindingAlive);
        EXPECT_TRUE(changes.empty());

        shownOn->setKeyEquivalent("", 0);
        EXPECT_FALSE(layout.properties(1, {})->contains(QStringLiteral("shortcut")));
        ASSERT_FALSE(changes.empty());
        EXPECT_EQ(changes.back().first, 1);
        EXPECT_FALSE(changes.back().second.contains(QStringLiteral("shortcut")));
    }
    EXPECT_FALSE(*bindingAlive);
}

} // namespace
} // namespace driftmark
