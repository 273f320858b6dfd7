#include "app/StatusItemMenu.h"

#include "model/LeadingCharacters.h"

#include <cstddef>
#include <utility>

namespace driftmark {

namespace {

constexpr std::size_t copyTitleCharacters = 20;

MenuEntry entry(std::string title, std::string keyEquivalent, std::string symbolName, MenuAction action) {
    return MenuEntry{
        false, std::move(title), std::move(keyEquivalent), std::move(symbolName), std::move(action), {}};
}

MenuAction withItem(const std::function<void(const MenuBarItem&)>& action, const MenuBarItem& item) {
    return [action, item](const MenuEntry&) { action(item); };
}

MenuAction plain(const std::function<void()>& action) {
    return [action](const MenuEntry&) { action(); };
}

} // namespace

Menu makeStatusItemMenu(const MenuBarItem& item, const std::optional<RunningApplication>& previousApp,
                        const StatusItemMenuActions& actions, const ShownKeyEquivalent& itemShortcut) {
    Menu menu;
    // The ellipsis is there whatever the length, so short texts read the same as cut ones.
    menu.entries.push_back(
        entry("Copy '" + leadingCharacters(item.text, copyTitleCharacters) + "...' to clipboard", "",
              "doc.on.doc", withItem(actions.copy, item)));
    // A Smart Paste item's shortcut pastes; without a paste entry, copying is the nearest thing shown.
    if (item.usesSmartPaste && previousApp) {
        menu.entries.push_back(entry("Paste in " + previousApp->localizedName.value_or("..."), "",
                                     "doc.on.clipboard", withItem(actions.paste, item)));
    }
    menu.entries.back().shownKeyEquivalent = itemShortcut;
    menu.entries.push_back(MenuEntry::separator());
    menu.entries.push_back(entry("Edit '" + item.title + "'...", "", "pencil", withItem(actions.edit, item)));
    menu.entries.push_back(MenuEntry::separator());
    menu.entries.push_back(entry("Settings", ",", "gear", plain(actions.openSettings)));
    menu.entries.push_back(entry("About", "", "info.circle", plain(actions.openAbout)));
    menu.entries.push_back(MenuEntry::separator());
    menu.entries.push_back(entry("Quit", "q", "power", plain(actions.quit)));
    return menu;
}

} // namespace driftmark
