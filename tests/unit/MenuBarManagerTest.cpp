#include "app/MenuBarManager.h"

#include "app/KeyboardShortcutsManager.h"
#include "fakes/AppHarness.h"
#include "fakes/FakeKeyEquivalentMenuItem.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace driftmark {
namespace {

using KeyboardShortcuts::Key;
using KeyboardShortcuts::ModifierFlags;
using KeyboardShortcuts::Shortcut;
using test::FakeKeyEquivalentMenuItem;
using test::FakeStatusItem;
using test::makeItem;
using testing::ElementsAre;
using testing::Field;
using testing::Property;

class MockDelegate : public MenuBarManagerDelegate {
public:
    MOCK_METHOD(void, menuBarItemLeftClicked, (const MenuBarItem&, const std::optional<RunningApplication>&),
                (override));
    MOCK_METHOD(void, copyToClipboard, (const MenuBarItem&, bool), (override));
    MOCK_METHOD(void, editMenuItem, (const MenuBarItem&), (override));
    MOCK_METHOD(void, openSettings, (), (override));
    MOCK_METHOD(void, openAbout, (), (override));
};

const RunningApplication editor{7, "com.example.editor", "Editor"};
const RunningApplication terminal{8, "com.example.terminal", "Terminal"};

struct MenuLine {
    std::string title;
    std::string keyEquivalent;
    std::string symbolName;
    bool operator==(const MenuLine&) const = default;
};

std::vector<MenuLine> lines(const Menu& menu) {
    std::vector<MenuLine> result;
    for (const MenuEntry& entry : menu.entries) {
        result.push_back(entry.isSeparator ? MenuLine{"-", "", ""}
                                           : MenuLine{entry.title, entry.keyEquivalent, entry.symbolName});
    }
    return result;
}

// The indexes of the entries that show a key equivalent of their own.
std::vector<std::size_t> entriesShowingAShortcut(const Menu& menu) {
    std::vector<std::size_t> result;
    for (std::size_t index = 0; index < menu.entries.size(); ++index) {
        if (menu.entries[index].shownKeyEquivalent) {
            result.push_back(index);
        }
    }
    return result;
}

const Shortcut controlOptionK(Key::k, ModifierFlags::control | ModifierFlags::option);

class MenuBarManagerTest : public testing::Test {
protected:
    // The store's own list is replaced by each test's list, announced but not saved.
    void show(const std::vector<MenuBarItem>& items) {
        harness.menuItemManager.setItems(items);
        manager->updateMenuBarItems(items);
    }

    FakeStatusItem& statusItem(const MenuBarItem& item) {
        FakeStatusItem* found = statusBar().item(MenuBarManager::autosaveName(item.id()));
        EXPECT_NE(found, nullptr) << item.title;
        return *found;
    }

    // The pointer comes onto the item after the user worked in `app`.
    void hover(const MenuBarItem& item, const std::optional<RunningApplication>& app) {
        harness.platform.workspace.previous = app;
        statusItem(item).pointerEnters();
    }

    std::vector<std::string> names(const std::vector<MenuBarItem>& items) const {
        std::vector<std::string> result;
        for (const MenuBarItem& item : items) {
            result.push_back(MenuBarManager::autosaveName(item.id()));
        }
        return result;
    }

    // The item's context menu as it pops up.
    Menu openMenu(const MenuBarItem& item) {
        statusItem(item).requestContextMenu();
        EXPECT_FALSE(statusBar().poppedMenus.empty());
        return statusBar().poppedMenus.empty() ? Menu{} : statusBar().poppedMenus.back();
    }

    void storeShortcut(const MenuBarItem& item, const std::optional<Shortcut>& shortcut) {
        harness.shortcuts.module.setShortcut(shortcut, KeyboardShortcutsManager::menuItemName(item.id()));
    }

    test::FakeStatusBar& statusBar() { return harness.platform.statusBar; }
    std::vector<std::string> log() const { return harness.platform.logMessages("MenuBarManager"); }

    test::AppHarness harness{{}};
    std::shared_ptr<MockDelegate> delegate = std::make_shared<testing::StrictMock<MockDelegate>>();
    std::unique_ptr<MenuBarManager> manager = [this] {
        auto made = std::make_unique<MenuBarManager>(harness.menuItemManager, harness.platform.services());
        made->setDelegate(delegate);
        return made;
    }();
    MenuBarItem alpha = makeItem("Alpha", "alpha text", true, 2);
    MenuBarItem beta = makeItem("Beta", "beta text", false, 0);
    MenuBarItem gamma = makeItem("Gamma", "gamma text", true, 1);
};

TEST_F(MenuBarManagerTest, CreatesOneDrawnStatusItemPerEntryInAscendingOrder) {
    alpha.iconColor = {0.25, 0.5, 0.75, 1};
    show({alpha, beta, gamma});

    EXPECT_EQ(statusBar().autosaveNames(), names({beta, gamma, alpha}));
    EXPECT_THAT(statusBar().autosaveNames()[0],
                testing::MatchesRegex("DriftmarkMenuItem-[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}"));
    EXPECT_EQ(statusItem(alpha).image,
              (DiscIcon{18, 2, Color{0.25, 0.5, 0.75, 1}, Color{0, 0, 0, 0.2}, 0.5}));
    EXPECT_EQ(statusItem(alpha).toolTip, "Alpha");
    EXPECT_EQ(statusItem(alpha).names.id, "driftmark-" + alpha.id().toString());
    EXPECT_EQ(statusBar().arrangement, names({beta, gamma, alpha}));
    EXPECT_THAT(log(), ElementsAre("Updating menu bar items, count: 3", "Creating status item for: Beta",
                                   "Creating status item for: Gamma", "Creating status item for: Alpha"));
}

TEST_F(MenuBarManagerTest, EqualOrdersKeepTheirPlaceInTheList) {
    const MenuBarItem first = makeItem("First", "1", false, 1);
    const MenuBarItem second = makeItem("Second", "2", false, 1);
    const MenuBarItem zeroth = makeItem("Zeroth", "0", false, 0);
    show({first, second, zeroth});
    EXPECT_EQ(statusBar().autosaveNames(), names({zeroth, first, second}));
}

// The store announces the same list again after each change (once per renumbering): it costs the
// tray nothing, and a tooltip that names the paste target keeps it.
TEST_F(MenuBarManagerTest, SameListAgainChangesNothing) {
    show({alpha, beta});
    hover(alpha, editor);
    ASSERT_EQ(statusItem(alpha).toolTip, "Alpha\nPaste to: Editor\n✓");
    const auto linesBefore = log().size();
    statusBar().arrangement.clear();

    show({alpha, beta});

    EXPECT_EQ(statusBar().items().size(), 2u);
    EXPECT_TRUE(statusBar().removed.empty());
    EXPECT_EQ(statusItem(alpha).imageChanges, 1);
    EXPECT_EQ(statusItem(beta).imageChanges, 1);
    EXPECT_EQ(statusItem(alpha).toolTip, "Alpha\nPaste to: Editor\n✓");
    EXPECT_TRUE(statusBar().arrangement.empty());
    EXPECT_EQ(log().size(), linesBefore);
    EXPECT_EQ(manager->previousApps().at(alpha.id()), editor);
}

// A keystroke in an entry's name: its tooltip follows, nothing else is drawn, arranged or logged.
TEST_F(MenuBarManagerTest, ARenamedEntryGetsItsTooltipAlone) {
    show({alpha, beta, gamma});
    const auto linesBefore = log().size();
    statusBar().arrangement.clear();
    alpha.title = "Alphab";

    show({alpha, beta, gamma});

    EXPECT_EQ(statusItem(alpha).toolTip, "Alphab");
    EXPECT_EQ(statusItem(beta).toolTip, "Beta");
    for (const MenuBarItem& item : {alpha, beta, gamma}) {
        EXPECT_EQ(statusItem(item).imageChanges, 1) << item.title;
    }
    EXPECT_TRUE(statusBar().arrangement.empty());
    EXPECT_EQ(log().size(), linesBefore);

    beta.iconColor = {1, 0, 0, 1};
    show({alpha, beta, gamma});
    EXPECT_EQ(statusItem(beta).imageChanges, 2);
    EXPECT_EQ(statusItem(alpha).imageChanges, 1);
    EXPECT_EQ(statusItem(gamma).imageChanges, 1);
}

TEST_F(MenuBarManagerTest, DroppedEntryTakesItsStatusItemAndRememberedAppAlong) {
    show({alpha, beta, gamma});
    hover(alpha, editor);
    hover(beta, terminal);
    hover(gamma, editor);

    show({alpha, gamma});

    EXPECT_EQ(statusBar().removed, names({beta}));
    EXPECT_EQ(statusBar().autosaveNames(), names({gamma, alpha}));
    EXPECT_EQ(manager->previousApps().size(), 2u);
    EXPECT_EQ(manager->previousApps().at(alpha.id()), editor);
    EXPECT_EQ(manager->previousApps().at(gamma.id()), editor);
    EXPECT_THAT(log(), testing::Contains("Removing status item for id: " + beta.id().toString()));

    show({});
    EXPECT_TRUE(statusBar().items().empty());
    EXPECT_TRUE(manager->statusItems().empty());
    EXPECT_TRUE(manager->previousApps().empty());
}

TEST_F(MenuBarManagerTest, ColourChangeRedrawsAndOrderChangeIsOnlyAskedOfTheTray) {
    show({alpha, beta, gamma});
    alpha.order = 0;
    beta.order = 2;
    alpha.iconColor = {1, 0, 0, 0.5};
    alpha.title = "Renamed";

    show({alpha, beta, gamma});

    EXPECT_EQ(statusBar().autosaveNames(), names({beta, gamma, alpha}));
    EXPECT_EQ(statusBar().arrangement, names({alpha, gamma, beta}));
    EXPECT_EQ(statusItem(alpha).image->fill, (Color{1, 0, 0, 0.5}));
    EXPECT_EQ(statusItem(alpha).toolTip, "Renamed");
}

TEST_F(MenuBarManagerTest, TooltipShowsPasteTargetAndPermissionOnlyForSmartPaste) {
    show({alpha, beta});
    EXPECT_EQ(statusItem(alpha).toolTip, "Alpha");

    hover(alpha, editor);
    EXPECT_EQ(statusItem(alpha).toolTip, "Alpha\nPaste to: Editor\n✓");

    harness.platform.accessibilityTrust.trusted = false;
    hover(alpha, RunningApplication{9, "com.example.nameless", std::nullopt});
    EXPECT_EQ(statusItem(alpha).toolTip, "Alpha\nPaste to: Unknown\n⚠️ Permissions needed");

    hover(beta, editor);
    EXPECT_EQ(statusItem(beta).toolTip, "Beta");
    EXPECT_EQ(manager->previousApps().at(beta.id()), editor);
}

TEST_F(MenuBarManagerTest, PointerPassesThatDoNotCountRememberNothing) {
    show({alpha});
    hover(alpha, editor);

    // Our own application as the previous one, by identifier or with both identifiers absent.
    hover(alpha, RunningApplication{1, std::string(applicationId), "Driftmark"});
    harness.platform.workspace.ownIdentifier.reset();
    hover(alpha, RunningApplication{2, std::nullopt, "Settings"});
    // No application seen yet at all.
    hover(alpha, std::nullopt);

    EXPECT_EQ(manager->previousApps().at(alpha.id()), editor);
}

// Trays that say nothing of the pointer: the click itself is when the user reached for the item.
TEST_F(MenuBarManagerTest, ClicksAndMenusRememberTheAppWhereNoPointerPassIsReported) {
    show({alpha, gamma});
    harness.platform.workspace.previous = editor;
    EXPECT_CALL(*delegate, menuBarItemLeftClicked(alpha, std::optional(editor)));
    statusItem(alpha).activate();
    EXPECT_EQ(statusItem(alpha).toolTip, "Alpha\nPaste to: Editor\n✓");

    harness.platform.workspace.previous = terminal;
    EXPECT_EQ(openMenu(gamma).entries[1].title, "Paste in Terminal");
    EXPECT_EQ(manager->previousApps().at(alpha.id()), editor);
}

TEST_F(MenuBarManagerTest, LeftClickSendsTheStoredEntryWithItsRememberedApp) {
    show({alpha, beta});
    hover(alpha, editor);
    harness.platform.workspace.previous.reset();
    MenuBarItem renamed = alpha;
    renamed.title = "Fresh";
    harness.menuItemManager.setItems({renamed, beta});

    EXPECT_CALL(*delegate, menuBarItemLeftClicked(renamed, std::optional(editor)));
    EXPECT_CALL(*delegate, menuBarItemLeftClicked(beta, std::optional<RunningApplication>()));
    statusItem(alpha).activate();
    statusItem(beta).activate();

    EXPECT_THAT(log(), testing::Contains("Menu bar left click for item: Fresh"));
}

TEST_F(MenuBarManagerTest, ClicksWithoutEntryOrDelegateAreIgnored) {
    show({alpha, beta});
    harness.menuItemManager.setItems({beta});
    statusItem(alpha).activate();
    statusItem(alpha).requestContextMenu();
    EXPECT_TRUE(statusBar().poppedMenus.empty());

    delegate.reset();
    statusItem(beta).activate();
    EXPECT_THAT(log(), testing::Contains("Menu bar left click for item: Beta"));
}

TEST_F(MenuBarManagerTest, ContextMenuListsEntriesInOrder) {
    alpha.text = "Hello";
    show({alpha});
    statusItem(alpha).requestContextMenu();

    ASSERT_EQ(statusBar().poppedMenus.size(), 1u);
    EXPECT_EQ(lines(statusBar().poppedMenus[0]),
              (std::vector<MenuLine>{{"Copy 'Hello...' to clipboard", "", "doc.on.doc"},
                                     {"-", "", ""},
                                     {"Edit 'Alpha'...", "", "pencil"},
                                     {"-", "", ""},
                                     {"Settings", ",", "gear"},
                                     {"About", "", "info.circle"},
                                     {"-", "", ""},
                                     {"Quit", "q", "power"}}));
    EXPECT_THAT(log(), testing::Contains("Menu bar right click for item: Alpha"));
}

TEST_F(MenuBarManagerTest, CopyEntryShowsTheFirstTwentyCharacters) {
    const auto copyTitle = [this](const std::string& text) {
        MenuBarItem item = makeItem("T", text, false);
        show({item});
        statusItem(item).requestContextMenu();
        return statusBar().poppedMenus.back().entries.front().title;
    };
    EXPECT_EQ(copyTitle("abcdefghijklmnopqrstuvwxy"), "Copy 'abcdefghijklmnopqrst...' to clipboard");
    // Flags and letters with combining marks count as one character each.
    std::string flags;
    for (int i = 0; i < 25; ++i) {
        flags += "🇩🇪";
    }
    std::string twentyFlags;
    for (int i = 0; i < 20; ++i) {
        twentyFlags += "🇩🇪";
    }
    EXPECT_EQ(copyTitle(flags), "Copy '" + twentyFlags + "...' to clipboard");
    EXPECT_EQ(copyTitle("e\u0301e\u0301"), "Copy 'e\u0301e\u0301...' to clipboard");
}

TEST_F(MenuBarManagerTest, PasteEntryOnlyForSmartPasteWithRememberedApp) {
    const auto titles = [this](const MenuBarItem& item) {
        statusItem(item).requestContextMenu();
        harness.platform.mainQueue.runPending();
        std::vector<std::string> result;
        for (const MenuEntry& entry : statusBar().poppedMenus.back().entries) {
            result.push_back(entry.title);
        }
        return result;
    };
    show({alpha, beta});
    EXPECT_THAT(titles(alpha), testing::Not(testing::Contains(testing::StartsWith("Paste in"))));

    hover(alpha, editor);
    hover(beta, editor);
    EXPECT_EQ(titles(alpha)[1], "Paste in Editor");
    EXPECT_THAT(titles(beta), testing::Not(testing::Contains(testing::StartsWith("Paste in"))));

    hover(alpha, RunningApplication{9, "com.example.nameless", std::nullopt});
    EXPECT_EQ(titles(alpha)[1], "Paste in ...");
    EXPECT_EQ(statusBar().poppedMenus.back().entries[1].symbolName, "doc.on.clipboard");
}

TEST_F(MenuBarManagerTest, MenuEntriesSendTheItemAsItWasWhenTheMenuOpened) {
    show({alpha});
    hover(alpha, editor);
    statusItem(alpha).requestContextMenu();
    const Menu menu = statusBar().poppedMenus.back();
    MenuBarItem changed = alpha;
    changed.text = "changed since";
    harness.menuItemManager.setItems({changed});

    testing::InSequence order;
    EXPECT_CALL(*delegate, copyToClipboard(alpha, false));
    EXPECT_CALL(*delegate, copyToClipboard(alpha, true));
    EXPECT_CALL(*delegate, editMenuItem(alpha));
    EXPECT_CALL(*delegate, openSettings());
    EXPECT_CALL(*delegate, openAbout());
    for (const MenuEntry& entry : menu.entries) {
        if (entry.action) {
            entry.action(entry);
        }
    }
    EXPECT_EQ(harness.platform.application.terminateRequests, 1);
}

// Trays that fetch the menu ahead get it without a right click being logged or an app remembered.
TEST_F(MenuBarManagerTest, TheCurrentMenuIsNoRequestOfTheUsers) {
    show({alpha});
    harness.platform.workspace.previous = editor;
    const std::optional<Menu> menu = statusItem(alpha).handlers.currentMenu();
    ASSERT_TRUE(menu.has_value());
    EXPECT_EQ(menu->entries[0].title, "Copy 'alpha text...' to clipboard");
    EXPECT_TRUE(manager->previousApps().empty());
    EXPECT_THAT(log(), testing::Not(testing::Contains(testing::StartsWith("Menu bar right click"))));

    harness.menuItemManager.setItems({});
    EXPECT_FALSE(statusItem(alpha).handlers.currentMenu().has_value());
}

TEST_F(MenuBarManagerTest, AMenuRequestedAtAPositionIsTheSameMenuAndLeavesClicksAlone) {
    show({alpha});
    const std::optional<Menu> menu = statusItem(alpha).requestContextMenu(Point{300, 12});
    ASSERT_TRUE(menu.has_value());
    EXPECT_EQ(lines(*menu), lines(openMenu(alpha)));

    EXPECT_CALL(*delegate, menuBarItemLeftClicked(alpha, std::optional<RunningApplication>()));
    statusItem(alpha).activate();
    EXPECT_EQ(statusBar().poppedMenus.size(), 2u);
}

TEST_F(MenuBarManagerTest, CopyEntryShowsTheItemsShortcutAndFollowsItWhileTheMenuIsShown) {
    manager->setShortcuts(harness.shortcuts.module);
    storeShortcut(beta, controlOptionK);
    storeShortcut(gamma, Shortcut(Key::f2, ModifierFlags::control));
    show({beta, gamma});

    const Menu menu = openMenu(beta);
    ASSERT_THAT(entriesShowingAShortcut(menu), ElementsAre(0u));
    FakeKeyEquivalentMenuItem shown;
    std::shared_ptr<void> binding = menu.entries[0].shownKeyEquivalent(shown);
    EXPECT_EQ(shown.key, "k");
    EXPECT_EQ(shown.modifierFlags, (ModifierFlags::control | ModifierFlags::option).rawValue);
    // Shown only: the menu's own key equivalents stay Settings' and Quit's.
    EXPECT_EQ(menu.entries[0].keyEquivalent, "");

    storeShortcut(beta, Shortcut(Key::f2, ModifierFlags::command));
    EXPECT_EQ(shown.key, "k");
    harness.shortcuts.mainQueue.runPending();
    EXPECT_EQ(shown.key, "\uF705");
    EXPECT_EQ(shown.modifierFlags, ModifierFlags::command.rawValue);

    storeShortcut(beta, std::nullopt);
    harness.shortcuts.mainQueue.runPending();
    EXPECT_EQ(shown.key, "");
    EXPECT_EQ(shown.modifierFlags, 0u);

    // Once the menu lets go of the binding, changes no longer reach its entry.
    binding.reset();
    const int updates = shown.updates;
    storeShortcut(beta, controlOptionK);
    harness.shortcuts.mainQueue.runPending();
    EXPECT_EQ(shown.updates, updates);
    EXPECT_EQ(shown.key, "");
}

TEST_F(MenuBarManagerTest, AnItemWithoutShortcutShowsNoneEvenBesideOthersThatHaveOne) {
    manager->setShortcuts(harness.shortcuts.module);
    storeShortcut(gamma, controlOptionK);
    show({beta, gamma});

    const Menu menu = openMenu(beta);
    ASSERT_THAT(entriesShowingAShortcut(menu), ElementsAre(0u));
    FakeKeyEquivalentMenuItem shown;
    const std::shared_ptr<void> binding = menu.entries[0].shownKeyEquivalent(shown);
    EXPECT_EQ(shown.key, "");
    EXPECT_EQ(shown.modifierFlags, 0u);

    // Another item's change is not this item's.
    storeShortcut(gamma, Shortcut(Key::f2, ModifierFlags::control));
    harness.shortcuts.mainQueue.runPending();
    EXPECT_EQ(shown.key, "");
    // Its own shortcut, bound while the menu is open, shows one turn later.
    storeShortcut(beta, controlOptionK);
    harness.shortcuts.mainQueue.runPending();
    EXPECT_EQ(shown.key, "k");
}

TEST_F(MenuBarManagerTest, SmartPasteItemsShowTheirShortcutBesideThePasteEntryWhenThereIsOne) {
    manager->setShortcuts(harness.shortcuts.module);
    storeShortcut(alpha, controlOptionK);
    show({alpha});

    EXPECT_THAT(entriesShowingAShortcut(openMenu(alpha)), ElementsAre(0u));
    hover(alpha, editor);
    const Menu menu = openMenu(alpha);
    ASSERT_EQ(menu.entries[1].title, "Paste in Editor");
    ASSERT_THAT(entriesShowingAShortcut(menu), ElementsAre(1u));
    FakeKeyEquivalentMenuItem shown;
    const std::shared_ptr<void> binding = menu.entries[1].shownKeyEquivalent(shown);
    EXPECT_EQ(shown.key, "k");
}

TEST_F(MenuBarManagerTest, BeforeShortcutsAreSetUpNoEntryShowsOne) {
    storeShortcut(beta, controlOptionK);
    show({beta});
    EXPECT_THAT(entriesShowingAShortcut(openMenu(beta)), testing::IsEmpty());
}

TEST(MenuBarManagerLaunchTest, LaunchedApplicationsMenusShowTheItemsShortcut) {
    const MenuBarItem item = makeItem("Solo", "solo text", false);
    test::AppHarness harness({item});
    harness.shortcuts.module.setShortcut(controlOptionK, KeyboardShortcutsManager::menuItemName(item.id()));
    const auto delegate = harness.launch();

    test::FakeStatusItem* statusItem =
        harness.platform.statusBar.item(MenuBarManager::autosaveName(item.id()));
    ASSERT_NE(statusItem, nullptr);
    statusItem->requestContextMenu();
    ASSERT_EQ(harness.platform.statusBar.poppedMenus.size(), 1u);
    const Menu& menu = harness.platform.statusBar.poppedMenus.front();
    ASSERT_THAT(entriesShowingAShortcut(menu), ElementsAre(0u));
    FakeKeyEquivalentMenuItem shown;
    const std::shared_ptr<void> binding = menu.entries[0].shownKeyEquivalent(shown);
    EXPECT_EQ(shown.key, "k");
    EXPECT_EQ(shown.modifierFlags, (ModifierFlags::control | ModifierFlags::option).rawValue);
}

TEST_F(MenuBarManagerTest, CallbacksAfterTheManagerIsGoneDoNothing) {
    show({alpha});
    hover(alpha, editor);
    statusItem(alpha).requestContextMenu();
    const Menu menu = statusBar().poppedMenus.back();
    manager.reset();

    harness.platform.mainQueue.runPending();
    menu.entries.front().action(menu.entries.front());
    // The strict delegate would fail on any request that got through.
    EXPECT_TRUE(statusBar().items().empty());
}

} // namespace
} // namespace driftmark
