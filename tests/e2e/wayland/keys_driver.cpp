// Driftmark's Wayland keystrokes for the end-to-end tests: runs the virtual-keyboard poster and the
// accessibility trust on Driftmark's own Wayland connection and takes one command a line on standard
// input, each answered on standard output:
//   key VK down|up [FLAGS]   keyboardEvent for the virtual key code, with FLAGS (a comma-separated list of
//                            cmd, ctrl, shift, opt, or "none" for no modifiers at all) set when given,
//                            then post → ok, "absent" when no event can be made, or "not typed"
//   trusted                  isTrusted → "trusted yes|no"
//   prompt                   isTrustedWithPrompt → "trusted yes|no", then "notice HEADLINE | TEXT" for the
//                            notice shown, if any, and "end"
//   user-tap VK              taps the key on a keyboard of its own that stands for the user's: made
//                            once, with the keymap of the XKB_DEFAULT_* environment → ok
//   ping                     → pong
// The notice needs a Qt platform; the offscreen one will do.
#include "StandardInputLines.h"
#include "platform/linux/keys/KeyPositions.h"
#include "platform/linux/wayland/SeatKeymap.h"
#include "platform/linux/wayland/VirtualKeyboard.h"
#include "platform/linux/wayland/VirtualKeyboardKeyEventPoster.h"
#include "platform/linux/wayland/VirtualKeyboardKeymap.h"
#include "platform/linux/wayland/WaylandConnection.h"
#include "platform/linux/wayland/WaylandKeystrokeAccessibilityTrust.h"

#include <QApplication>
#include <QMessageBox>
#include <QSocketNotifier>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

using driftmark::KeyEventPoster;
using driftmark::WaylandKeystrokeAccessibilityTrust;

void answer(const std::string& line) {
    std::cout << line << std::endl;
}

std::uint64_t flagsNamed(const std::string& names) {
    std::uint64_t flags = 0;
    std::istringstream list(names);
    for (std::string name; std::getline(list, name, ',');) {
        if (name == "cmd") {
            flags |= driftmark::keyEventFlagCommand;
        } else if (name == "ctrl") {
            flags |= driftmark::keyEventFlagControl;
        } else if (name == "shift") {
            flags |= driftmark::keyEventFlagShift;
        } else if (name == "opt") {
            flags |= driftmark::keyEventFlagOption;
        }
    }
    return flags;
}

void postKey(KeyEventPoster& keys, std::istringstream& words) {
    int virtualKey = -1;
    std::string direction;
    std::string flags;
    words >> virtualKey >> direction >> flags;
    auto event = keys.keyboardEvent(static_cast<std::uint16_t>(virtualKey), direction == "down");
    if (!event) {
        answer("absent");
        return;
    }
    if (!flags.empty()) {
        event->flags = flagsNamed(flags);
    }
    answer(keys.post(*event) ? "ok" : "not typed");
}

// The user's own keyboard, as far as the seat can tell: it types with its own keymap, not the seat's.
void userTap(driftmark::WaylandConnection& connection, std::unique_ptr<driftmark::VirtualKeyboard>& keyboard,
             std::istringstream& words) {
    int virtualKey = -1;
    words >> virtualKey;
    const auto xKeyCode = driftmark::xKeyCodeForVirtualKey(virtualKey);
    if (!keyboard) {
        const auto keymap = driftmark::VirtualKeyboardKeymap::fromDefaults();
        keyboard = driftmark::VirtualKeyboard::create(connection);
        if (!keymap || !keyboard || !keyboard->setKeymap(keymap->text())) {
            keyboard.reset();
        }
    }
    if (!keyboard || !xKeyCode) {
        answer("absent");
        return;
    }
    const auto code = static_cast<std::uint32_t>(*xKeyCode - driftmark::evdevToXKeyCodeOffset);
    keyboard->key(code, true);
    keyboard->key(code, false);
    connection.flush();
    answer("ok");
}

void prompt(WaylandKeystrokeAccessibilityTrust& trust) {
    answer(trust.isTrustedWithPrompt() ? "trusted yes" : "trusted no");
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* notice = qobject_cast<QMessageBox*>(widget); notice != nullptr && notice->isVisible()) {
            answer("notice " + notice->text().toStdString() + " | " +
                   notice->informativeText().toStdString());
        }
    }
    answer("end");
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    auto connection =
        driftmark::WaylandConnection::open([](const std::string& problem) { answer("lost: " + problem); });
    if (!connection) {
        std::cerr << "no compositor\n";
        return 1;
    }
    const driftmark::SeatKeymap seatKeymap(*connection);
    driftmark::VirtualKeyboardKeyEventPoster keys(*connection, seatKeymap);
    WaylandKeystrokeAccessibilityTrust trust(*connection);
    std::unique_ptr<driftmark::VirtualKeyboard> userKeyboard;
    const StandardInputLines input([&](const std::string& line) {
        std::istringstream words(line);
        std::string command;
        words >> command;
        if (command == "key") {
            postKey(keys, words);
        } else if (command == "trusted") {
            answer(trust.isTrusted() ? "trusted yes" : "trusted no");
        } else if (command == "prompt") {
            prompt(trust);
        } else if (command == "user-tap") {
            userTap(*connection, userKeyboard, words);
        } else if (command == "ping") {
            answer("pong");
        } else {
            answer("unknown command: " + command);
        }
    });
    return QApplication::exec();
}
