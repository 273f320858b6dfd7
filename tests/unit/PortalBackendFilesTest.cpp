#include "platform/linux/portal/PortalBackendFiles.h"

#include "fakes/TestEnvironment.h"

#include <fstream>
#include <gtest/gtest.h>

namespace driftmark {
namespace {

class PortalBackendFilesTest : public testing::Test {
protected:
    void write(const std::filesystem::path& path, const std::string& text) {
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path) << text;
    }
    void backend(const std::string& name, const std::string& interfaces, const std::string& useIn) {
        write(portals / (name + ".portal"), "[portal]\nDBusName=org.freedesktop.impl.portal.desktop." + name +
                                                "\nInterfaces=" + interfaces + "\nUseIn=" + useIn + "\n");
    }
    bool offered(std::vector<std::string> desktops) const {
        return PortalBackendFiles{std::move(desktops), {userConfig, systemConfig}, {portals}}
            .offerGlobalShortcuts();
    }

    test::TemporaryDirectory directory;
    std::filesystem::path userConfig = directory.path() / "config" / "xdg-desktop-portal";
    std::filesystem::path systemConfig = directory.path() / "share" / "xdg-desktop-portal";
    std::filesystem::path portals = systemConfig / "portals";
    const std::string shortcutsAndMore =
        "org.freedesktop.impl.portal.FileChooser;org.freedesktop.impl.portal.GlobalShortcuts;";
};

// Debian 12 with KDE's backend installed: on sway the portal would fall back to it, and it refuses.
TEST_F(PortalBackendFilesTest, ABackendMadeForAnotherDesktopOffersNothing) {
    backend("kde", shortcutsAndMore, "KDE");

    EXPECT_FALSE(offered({"sway"}));
    EXPECT_FALSE(offered({}));
    EXPECT_TRUE(offered({"KDE"}));
    EXPECT_TRUE(offered({"ubuntu", "kde"}));
}

TEST_F(PortalBackendFilesTest, ABackendForThisDesktopWithoutGlobalShortcutsOffersNothing) {
    backend("wlr", "org.freedesktop.impl.portal.Screenshot;org.freedesktop.impl.portal.ScreenCast",
            "wlroots;sway");

    EXPECT_FALSE(offered({"sway"}));
}

TEST_F(PortalBackendFilesTest, TheDesktopsConfigurationChoosesTheBackend) {
    backend("kde", shortcutsAndMore, "KDE");
    backend("wlr", "org.freedesktop.impl.portal.Screenshot", "sway");
    write(systemConfig / "sway-portals.conf", "[preferred]\ndefault=wlr\n"
                                              "org.freedesktop.impl.portal.GlobalShortcuts=kde\n");

    EXPECT_TRUE(offered({"sway"}));
}

TEST_F(PortalBackendFilesTest, TheDefaultBackendServesWhenNoneIsNamedForGlobalShortcuts) {
    backend("hypr", shortcutsAndMore, "");
    write(systemConfig / "hyprland-portals.conf", "[preferred]\ndefault=hypr;gtk\n");

    EXPECT_TRUE(offered({"Hyprland"}));
    EXPECT_FALSE(offered({"sway"}));
}

TEST_F(PortalBackendFilesTest, NoneOrAMissingBackendInTheConfigurationOffersNothing) {
    backend("kde", shortcutsAndMore, "KDE");
    write(systemConfig / "kde-portals.conf", "[preferred]\ndefault=kde\n"
                                             "org.freedesktop.impl.portal.GlobalShortcuts=none\n");
    EXPECT_FALSE(offered({"KDE"}));

    write(systemConfig / "kde-portals.conf",
          "[preferred]\norg.freedesktop.impl.portal.GlobalShortcuts=gone\n");
    EXPECT_FALSE(offered({"KDE"}));

    write(systemConfig / "kde-portals.conf", "# any that has it\n[preferred]\ndefault=*\n");
    EXPECT_TRUE(offered({"KDE"}));
}

// The user's configuration comes before the system's, the desktop's own file before the general one.
TEST_F(PortalBackendFilesTest, TheFirstConfigurationFoundIsTheOneRead) {
    backend("kde", shortcutsAndMore, "KDE");
    write(systemConfig / "kde-portals.conf", "[preferred]\ndefault=kde\n");
    write(userConfig / "portals.conf", "[preferred]\ndefault=none\n");
    EXPECT_FALSE(offered({"KDE"}));

    write(userConfig / "kde-portals.conf", "[preferred]\ndefault=kde\n");
    EXPECT_TRUE(offered({"KDE"}));
}

} // namespace
} // namespace driftmark
