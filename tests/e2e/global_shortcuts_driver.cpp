// Driftmark's global shortcuts through the portal, for the end-to-end tests: runs PortalHotKeyService on
// the session bus (a private one) with a US layout and takes one command a line on standard input, each
// answered on standard output. An optional argument gives the portal that many milliseconds to answer each
// request instead of the service's default. Hot-key ids have the signature 0x44726674; N is the id's number.
//   register VK MODIFIERS N   registerHotKey → "registered STATUS HANDLE" ("-" for no handle)
//   unregister HANDLE         unregisterHotKey → "unregistered HANDLE"
//   trial VK MODIFIERS N      registers and at once unregisters, as the settings window tries a
//                             combination → "trial STATUS"
//   delivery none|hotkeys|raw setDelivery → "delivery ..."
//   ping                      → "pong"
// The handler writes "pressed N" and "released N"; the service's warnings come as "warning: TEXT".
#include "fakes/FakeKeyboardLayout.h"
#include "platform/linux/portal/PortalHotKeyService.h"
#include "wayland/StandardInputLines.h"

#include <QCoreApplication>
#include <chrono>
#include <iostream>
#include <sstream>
#include <string>

namespace {

using namespace driftmark;

constexpr std::uint32_t signature = 0x44726674;

void say(const std::string& line) {
    std::cout << line << std::endl;
}

class PrintingHandler final : public HotKeyEventHandler {
public:
    EventHandling hotKeyEvent(const HotKeyEvent& event) override {
        say((event.kind == HotKeyEvent::Kind::pressed ? "pressed " : "released ") +
            std::to_string(event.hotKeyId.id) + (event.hotKeyId.signature == signature ? "" : " (foreign)"));
        return EventHandling::handled;
    }
    EventHandling rawKeyEvent(const RawKeyEvent&) override { return EventHandling::notHandled; }
};

std::string registered(const HotKeyRegistration& registration) {
    return std::to_string(registration.status) + " " +
           (registration.handle ? std::to_string(*registration.handle) : std::string("-"));
}

void run(PortalHotKeyService& service, const std::string& line) {
    std::istringstream words(line);
    std::string command;
    words >> command;
    std::uint32_t keyCode = 0;
    std::uint32_t modifiers = 0;
    std::uint32_t number = 0;
    if (command == "register") {
        words >> keyCode >> modifiers >> number;
        say("registered " + registered(service.registerHotKey(keyCode, modifiers, {signature, number})));
    } else if (command == "unregister") {
        std::uint64_t handle = 0;
        words >> handle;
        service.unregisterHotKey(handle);
        say("unregistered " + std::to_string(handle));
    } else if (command == "trial") {
        words >> keyCode >> modifiers >> number;
        const HotKeyRegistration trial = service.registerHotKey(keyCode, modifiers, {signature, number});
        if (trial.handle) {
            service.unregisterHotKey(*trial.handle);
        }
        say("trial " + std::to_string(trial.status));
    } else if (command == "delivery") {
        std::string delivery;
        words >> delivery;
        service.setDelivery(delivery == "hotkeys" ? KeyEventDelivery::hotKeys
                            : delivery == "raw"   ? KeyEventDelivery::rawKeys
                                                  : KeyEventDelivery::none);
        say("delivery " + delivery);
    } else if (command == "ping") {
        say("pong");
    } else {
        say("unknown command: " + line);
    }
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const test::FakeKeyboardLayout layout;
    const std::chrono::milliseconds answerLimit =
        argc > 1 ? std::chrono::milliseconds(std::stoi(argv[1])) : PortalHotKeyService::defaultAnswerLimit;
    PortalHotKeyService service(
        layout, [](const std::string& text) { say("warning: " + text); }, QDBusConnection::sessionBus(),
        answerLimit);
    PrintingHandler handler;
    if (!service.installEventHandler(handler)) {
        say("no handler");
        return 1;
    }
    StandardInputLines commands([&service](const std::string& line) { run(service, line); });
    say("ready");
    return application.exec();
}
