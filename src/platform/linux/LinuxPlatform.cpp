#include "platform/linux/LinuxPlatform.h"

#include "platform/linux/JournalSystemLog.h"
#include "platform/linux/PluginWindowService.h"
#include "platform/linux/QtApplication.h"
#include "platform/linux/QtMainQueue.h"
#include "platform/linux/TrayStatusBar.h"
#include "platform/linux/keys/MenuOnlyHotKeyService.h"
#include "platform/linux/keys/QtLocalEventMonitorService.h"
#include "platform/linux/keys/X11HotKeyService.h"
#include "platform/linux/keys/X11SystemShortcutList.h"
#include "platform/linux/keys/XkbKeyboardLayout.h"
#include "platform/linux/portal/GlobalShortcutsOffer.h"
#include "platform/linux/portal/PortalBackendFiles.h"
#include "platform/linux/portal/PortalHotKeyService.h"
#include "platform/linux/tray/QtMenuTracking.h"
#include "platform/linux/wayland/DataControlClipboard.h"
#include "platform/linux/wayland/FakeInputKeyEventPoster.h"
#include "platform/linux/wayland/ForeignToplevelWorkspace.h"
#include "platform/linux/wayland/SeatKeyboardLayout.h"
#include "platform/linux/wayland/SeatKeymap.h"
#include "platform/linux/wayland/VirtualKeyboardKeyEventPoster.h"
#include "platform/linux/wayland/WaylandConnection.h"
#include "platform/linux/wayland/WaylandKeystrokeAccessibilityTrust.h"
#include "platform/linux/wayland/WaylandShortfall.h"
#include "platform/linux/x11/EwmhWorkspace.h"
#include "platform/linux/x11/QtClipboard.h"
#include "platform/linux/x11/X11Context.h"
#include "platform/linux/x11/XTestAccessibilityTrust.h"
#include "platform/linux/x11/XTestKeyEventPoster.h"

#include <QDBusConnection>
#include <cstdlib>

namespace driftmark {

namespace {

// What the compositor offers Driftmark's own connection, each asked in one place for the service it
// chooses and for the start-up notice alike.

// Data control, version 2 for the primary selection.
bool controlsSelection(const WaylandConnection* wayland, DataControlSelection selection) {
    const std::uint32_t needed = selection == DataControlSelection::primary ? 2 : 1;
    return wayland != nullptr && wayland->seat() != nullptr && wayland->dataControlVersion() >= needed;
}

// The list of its windows.
bool listsWindows(const WaylandConnection* wayland) {
    return wayland != nullptr && wayland->seat() != nullptr && wayland->foreignToplevelManager() != nullptr;
}

// Virtual keyboards, and a seat to put one on.
bool offersVirtualKeyboards(const WaylandConnection* wayland) {
    return wayland != nullptr && wayland->seat() != nullptr && wayland->virtualKeyboardManager() != nullptr;
}

// KWin's fake input, which KWin offers where it offers no virtual keyboards.
bool offersFakeInput(const WaylandConnection* wayland) {
    return wayland != nullptr && wayland->fakeInput() != nullptr;
}

// Keystrokes, one way or the other.
bool typesThroughWayland(const WaylandConnection* wayland) {
    return offersVirtualKeyboards(wayland) || offersFakeInput(wayland);
}

// A compositor that offers data control has its selections read and set directly, whether Qt runs on
// Wayland or on XWayland; elsewhere they go through Qt and X11.
std::unique_ptr<Clipboard> makeClipboard(WaylandConnection* wayland, DataControlSelection selection) {
    if (controlsSelection(wayland, selection)) {
        return std::make_unique<DataControlClipboard>(*wayland, selection);
    }
    return std::make_unique<QtClipboard>(selection == DataControlSelection::primary ? QClipboard::Selection
                                                                                    : QClipboard::Clipboard);
}

// A native Wayland client has nothing else to ask: the Wayland services say what is missing themselves.
bool waylandOnly(const WaylandConnection* wayland, DisplayServer server) {
    return wayland != nullptr && server == DisplayServer::wayland;
}

// A compositor that lists its windows to Driftmark's own connection is asked which one is active, whether
// Qt runs on Wayland or on XWayland; elsewhere the X11 window manager is.
std::unique_ptr<Workspace> makeWorkspace(WaylandConnection* wayland, DisplayServer server,
                                         const X11Context& x11) {
    if (listsWindows(wayland) || waylandOnly(wayland, server)) {
        return std::make_unique<ForeignToplevelWorkspace>(*wayland);
    }
    return std::make_unique<EwmhWorkspace>(x11);
}

// A compositor that offers virtual keyboards is typed into through one of Driftmark's own, and KWin
// through its fake input; either reaches the compositor's Wayland and XWayland windows alike. Elsewhere
// keystrokes go through XTest, or, for a native Wayland client, nowhere.
std::unique_ptr<KeyEventPoster> makeKeyEventPoster(WaylandConnection* wayland, const SeatKeymap* seatKeymap,
                                                   DisplayServer server) {
    if (offersVirtualKeyboards(wayland)) {
        return std::make_unique<VirtualKeyboardKeyEventPoster>(*wayland, *seatKeymap);
    }
    if (offersFakeInput(wayland)) {
        return std::make_unique<FakeInputKeyEventPoster>(*wayland);
    }
    if (waylandOnly(wayland, server)) {
        return std::make_unique<VirtualKeyboardKeyEventPoster>(*wayland, *seatKeymap);
    }
    return std::make_unique<XTestKeyEventPoster>();
}

std::unique_ptr<AccessibilityTrust> makeAccessibilityTrust(const WaylandConnection* wayland,
                                                           DisplayServer server, const X11Context& x11) {
    if (typesThroughWayland(wayland) || waylandOnly(wayland, server)) {
        return std::make_unique<WaylandKeystrokeAccessibilityTrust>(*wayland);
    }
    return std::make_unique<XTestAccessibilityTrust>(x11);
}

// The keyboard's layout from the compositor's seat on Wayland, from the X server elsewhere.
std::unique_ptr<KeyboardLayout> makeKeyboardLayout(const WaylandConnection* wayland,
                                                   const SeatKeymap* seatKeymap, DisplayServer server,
                                                   const X11Context& x11) {
    if (waylandOnly(wayland, server)) {
        return std::make_unique<SeatKeyboardLayout>(*seatKeymap);
    }
    return std::make_unique<XkbKeyboardLayout>(x11);
}

// Asked of a native Wayland client only, the one kind that uses the portal for its shortcuts.
bool portalTakesShortcuts(DisplayServer server) {
    return server == DisplayServer::wayland &&
           desktopOffersGlobalShortcuts(QDBusConnection::sessionBus(), PortalBackendFiles::fromEnvironment());
}

// No program may grab keys on Wayland: there the desktop's global-shortcuts portal, where it has one, takes
// the combinations and reports them. Where it has none it is never asked (the bus would start a portal
// only to refuse), and the desktop notice says so.
std::unique_ptr<HotKeyService> makeHotKeyService(DisplayServer server, bool portalShortcuts,
                                                 const X11Context& x11, const KeyboardLayout& layout,
                                                 const std::function<void(const std::string&)>& warn,
                                                 const X11HotKeyService::LostGrabReporter& hotKeyLost) {
    if (server == DisplayServer::wayland) {
        if (!portalShortcuts) {
            return std::make_unique<MenuOnlyHotKeyService>();
        }
        return std::make_unique<PortalHotKeyService>(layout, warn);
    }
    return std::make_unique<X11HotKeyService>(x11, hotKeyLost);
}

// On a Wayland desktop: what its compositor lacks, what that costs, and how to bind an entry to a key
// there. Empty elsewhere.
std::string waylandNotice(const WaylandConnection* wayland, DisplayServer server, bool portalShortcuts) {
    const char* display = std::getenv("WAYLAND_DISPLAY");
    if (display == nullptr || *display == '\0') {
        return {};
    }
    WaylandOffer offer{.native = server == DisplayServer::wayland, .shortcuts = portalShortcuts};
    if (wayland != nullptr) {
        offer.reachable = true;
        offer.clipboard = controlsSelection(wayland, DataControlSelection::clipboard);
        offer.keystrokes = typesThroughWayland(wayland);
        offer.windows = listsWindows(wayland);
    }
    return waylandShortfall(offer);
}

} // namespace

struct LinuxPlatform::Parts {
    Parts(DisplayServer server, PreferencesStore& preferences,
          const std::function<void(const std::string&)>& warn,
          const X11HotKeyService::LostGrabReporter& hotKeyLost)
        : wayland(WaylandConnection::open(warn))
        , seatKeymap(wayland ? std::make_unique<SeatKeymap>(*wayland) : nullptr)
        , clipboard(makeClipboard(wayland.get(), DataControlSelection::clipboard))
        , primarySelection(makeClipboard(wayland.get(), DataControlSelection::primary))
        , accessibilityTrust(makeAccessibilityTrust(wayland.get(), server, x11))
        , keyEventPoster(makeKeyEventPoster(wayland.get(), seatKeymap.get(), server))
        , workspace(makeWorkspace(wayland.get(), server, x11))
        , statusBar(warn, server == DisplayServer::x11)
        , keyboardLayout(makeKeyboardLayout(wayland.get(), seatKeymap.get(), server, x11))
        , portalShortcuts(portalTakesShortcuts(server))
        , hotKeyService(makeHotKeyService(server, portalShortcuts, x11, *keyboardLayout, warn, hotKeyLost))
        , userDefaults(preferences)
        , desktopNotice(waylandNotice(wayland.get(), server, portalShortcuts)) {
        if (!desktopNotice.empty()) {
            warn(desktopNotice);
        }
    }

    // The X11 services share Qt's connection, its screen and the atoms interned for them; on Wayland
    // there is none, and the few X11 services left there do nothing.
    const X11Context& x11 = X11Context::shared();
    JournalSystemLog systemLog;
    // Driftmark's own Wayland connection, when it runs on a Wayland compositor.
    std::unique_ptr<WaylandConnection> wayland;
    // The user's keymap, as the compositor gives it: typed with, and shown in shortcuts.
    std::unique_ptr<SeatKeymap> seatKeymap;
    std::unique_ptr<Clipboard> clipboard;
    std::unique_ptr<Clipboard> primarySelection;
    std::unique_ptr<AccessibilityTrust> accessibilityTrust;
    std::unique_ptr<KeyEventPoster> keyEventPoster;
    std::unique_ptr<Workspace> workspace;
    TrayStatusBar statusBar;
    QtMainQueue mainQueue;
    QtApplication application;
    std::unique_ptr<KeyboardLayout> keyboardLayout;
    // The desktop's portal offers global shortcuts to this native Wayland client.
    bool portalShortcuts;
    std::unique_ptr<HotKeyService> hotKeyService;
    X11SystemShortcutList systemShortcutList;
    QtMenuTracking menuTracking;
    PluginWindowService windows;
    QtLocalEventMonitorService localEventMonitors;
    PreferencesStore& userDefaults;
    std::string desktopNotice;
};

LinuxPlatform::LinuxPlatform(
    DisplayServer server, PreferencesStore& userDefaults, const std::function<void(const std::string&)>& warn,
    const std::function<void(std::uint32_t, std::uint32_t, std::int32_t)>& hotKeyLost)
    : parts_(std::make_unique<Parts>(server, userDefaults, warn, hotKeyLost)) {}

LinuxPlatform::~LinuxPlatform() = default;

PlatformServices LinuxPlatform::services() {
    return PlatformServices{
        parts_->systemLog,       *parts_->accessibilityTrust, *parts_->clipboard, *parts_->primarySelection,
        *parts_->keyEventPoster, *parts_->workspace,          parts_->statusBar,  parts_->mainQueue,
        parts_->application,     parts_->userDefaults,        parts_->windows};
}

} // namespace driftmark

namespace driftmark {

HotKeyService& LinuxPlatform::hotKeyService() {
    return *parts_->hotKeyService;
}

const KeyboardLayout& LinuxPlatform::keyboardLayout() {
    return *parts_->keyboardLayout;
}

const std::string& LinuxPlatform::desktopNotice() const {
    return parts_->desktopNotice;
}

const SystemShortcutList& LinuxPlatform::systemShortcutList() {
    return parts_->systemShortcutList;
}

MenuTracking& LinuxPlatform::menuTracking() {
    return parts_->menuTracking;
}

PluginWindowService& LinuxPlatform::windowService() {
    return parts_->windows;
}

LocalEventMonitorService& LinuxPlatform::localEventMonitors() {
    return parts_->localEventMonitors;
}

} // namespace driftmark
