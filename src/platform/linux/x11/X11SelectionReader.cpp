#include "platform/linux/x11/X11SelectionReader.h"

#include "platform/linux/ContentTypes.h"
#include "platform/linux/x11/X11Connection.h"
#include "platform/linux/x11/XcbReply.h"

#include <QObject>
#include <QSocketNotifier>
#include <algorithm>
#include <array>
#include <limits>
#include <optional>
#include <utility>

namespace driftmark {

namespace {

// The type that the best of the owner's text targets is read as.
constexpr std::string_view plainText = "text/plain";

// X11's names for plain text, best first. Qt calls every one of them text/plain, and offers them all
// again for text/plain when the clipboard is restored.
constexpr std::array<std::string_view, 4> textTargets = {"UTF8_STRING", "text/plain", "STRING", "TEXT"};
constexpr std::string_view latin1Target = "STRING";

// The INCR size announcement is only a lower bound; no more than this is reserved on its word.
constexpr std::size_t largestReservation = std::size_t{64} << 20;

Bytes utf8FromLatin1(const Bytes& latin1) {
    Bytes utf8;
    utf8.reserve(latin1.size());
    for (const std::uint8_t byte : latin1) {
        if (byte < 0x80) {
            utf8.push_back(byte);
        } else {
            utf8.push_back(static_cast<std::uint8_t>(0xC0 | (byte >> 6)));
            utf8.push_back(static_cast<std::uint8_t>(0x80 | (byte & 0x3F)));
        }
    }
    return utf8;
}

} // namespace

X11SelectionReader::Transfer::Transfer(std::string name, xcb_atom_t asked)
    : type(std::move(name))
    , target(asked) {}

X11SelectionReader::X11SelectionReader(std::string selection)
    : selectionName_(std::move(selection)) {}

X11SelectionReader::~X11SelectionReader() {
    disconnect();
}

void X11SelectionReader::start(std::function<void(ClipboardReading)> completion) {
    stop();
    if (!connect()) {
        completion(ClipboardReading{});
        return;
    }
    completion_ = std::move(completion);
    listed_ = false;
    window_ = xcb_generate_id(connection_);
    const std::uint32_t eventMask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window_, root_, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &eventMask);
    transfers_.assign(1, Transfer("TARGETS", targets_));
    transfers_.front().property = properties(1).front();
    request(transfers_.front());
    xcb_flush(connection_);
    processEvents();
}

void X11SelectionReader::stop() {
    if (completion_) {
        finish(true);
    }
}

bool X11SelectionReader::connect() {
    if (connection_ != nullptr && xcb_connection_has_error(connection_) == 0) {
        return true;
    }
    disconnect();
    int screenNumber = 0;
    connection_ = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(connection_) != 0) {
        return false;
    }
    const xcb_screen_t* screen = screenNumbered(connection_, screenNumber);
    if (screen == nullptr) {
        return false;
    }
    root_ = screen->root;
    selection_ = intern(selectionName_);
    targets_ = intern("TARGETS");
    incr_ = intern("INCR");
    notifier_ =
        std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(connection_), QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(),
                     [this] { processEvents(); });
    return true;
}

void X11SelectionReader::disconnect() {
    notifier_.reset();
    if (connection_ != nullptr) {
        xcb_disconnect(connection_);
        connection_ = nullptr;
    }
    names_.clear();
    propertyAtoms_.clear();
}

xcb_atom_t X11SelectionReader::intern(std::string_view name) {
    const auto cookie = xcb_intern_atom(connection_, 0, static_cast<std::uint16_t>(name.size()), name.data());
    const XcbReply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(connection_, cookie, nullptr));
    return reply ? reply->atom : XCB_NONE;
}

// One property per transfer of a read; interned once, all round trips in flight together.
const std::vector<xcb_atom_t>& X11SelectionReader::properties(std::size_t count) {
    std::vector<xcb_intern_atom_cookie_t> cookies;
    for (std::size_t index = propertyAtoms_.size(); index < count; ++index) {
        const std::string name = "_DRIFTMARK_CLIPBOARD_" + std::to_string(index);
        cookies.push_back(
            xcb_intern_atom(connection_, 0, static_cast<std::uint16_t>(name.size()), name.data()));
    }
    for (const auto cookie : cookies) {
        const XcbReply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(connection_, cookie, nullptr));
        propertyAtoms_.push_back(reply ? reply->atom : XCB_NONE);
    }
    return propertyAtoms_;
}

std::vector<std::string> X11SelectionReader::atomNames(const std::vector<xcb_atom_t>& atoms) {
    std::vector<std::pair<xcb_atom_t, xcb_get_atom_name_cookie_t>> cookies;
    for (const xcb_atom_t atom : atoms) {
        if (!names_.contains(atom)) {
            cookies.emplace_back(atom, xcb_get_atom_name(connection_, atom));
            names_[atom];
        }
    }
    for (const auto& [atom, cookie] : cookies) {
        const XcbReply<xcb_get_atom_name_reply_t> reply(
            xcb_get_atom_name_reply(connection_, cookie, nullptr));
        if (reply) {
            names_[atom].assign(xcb_get_atom_name_name(reply.get()),
                                static_cast<std::size_t>(xcb_get_atom_name_name_length(reply.get())));
        }
    }
    std::vector<std::string> named;
    for (const xcb_atom_t atom : atoms) {
        named.push_back(names_[atom]);
    }
    return named;
}

void X11SelectionReader::request(const Transfer& transfer) {
    xcb_convert_selection(connection_, window_, selection_, transfer.target, transfer.property,
                          XCB_CURRENT_TIME);
}

// The event loop saw the connection readable. Replies waited for meanwhile may have queued events
// without the socket showing it, so everything queued is handled here.
void X11SelectionReader::processEvents() {
    if (connection_ == nullptr) {
        return;
    }
    while (xcb_generic_event_t* raw = xcb_poll_for_event(connection_)) {
        const XcbReply<xcb_generic_event_t> event(raw);
        switch (event->response_type & 0x7f) {
        case XCB_SELECTION_NOTIFY:
            selectionNotified(*reinterpret_cast<const xcb_selection_notify_event_t*>(event.get()));
            break;
        case XCB_PROPERTY_NOTIFY:
            propertyChanged(*reinterpret_cast<const xcb_property_notify_event_t*>(event.get()));
            break;
        default:
            break;
        }
    }
    // A lost connection can answer nothing more; the read in progress ends when it is stopped, and
    // the next one connects afresh.
    if (xcb_connection_has_error(connection_) != 0 && notifier_) {
        notifier_->setEnabled(false);
    }
}

void X11SelectionReader::selectionNotified(const xcb_selection_notify_event_t& event) {
    if (window_ == XCB_NONE || event.requestor != window_ || event.selection != selection_) {
        return;
    }
    const auto transfer = std::find_if(transfers_.begin(), transfers_.end(), [&event](const Transfer& t) {
        return !t.done && !t.incremental && t.target == event.target;
    });
    if (transfer == transfers_.end()) {
        return;
    }
    // No property: nobody owns the clipboard, or its owner cannot give this type.
    if (event.property == XCB_NONE) {
        transfer->done = true;
    } else {
        transfer->property = event.property;
        readProperty(*transfer);
    }
    progressed();
}

void X11SelectionReader::propertyChanged(const xcb_property_notify_event_t& event) {
    if (window_ == XCB_NONE || event.window != window_ || event.state != XCB_PROPERTY_NEW_VALUE) {
        return;
    }
    const auto transfer = std::find_if(transfers_.begin(), transfers_.end(), [&event](const Transfer& t) {
        return !t.done && t.incremental && t.property == event.atom;
    });
    if (transfer == transfers_.end()) {
        return;
    }
    readProperty(*transfer);
    progressed();
}

// Takes the property off the window, which also tells an owner sending in increments to go on.
void X11SelectionReader::readProperty(Transfer& transfer) {
    const auto cookie =
        xcb_get_property(connection_, 1, window_, transfer.property, XCB_GET_PROPERTY_TYPE_ANY, 0,
                         std::numeric_limits<std::uint32_t>::max() / 4);
    const XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(connection_, cookie, nullptr));
    if (!reply) {
        transfer.done = true;
        return;
    }
    const auto length = static_cast<std::size_t>(xcb_get_property_value_length(reply.get()));
    const auto* value = static_cast<const std::uint8_t*>(xcb_get_property_value(reply.get()));
    if (!transfer.incremental && reply->type == incr_) {
        transfer.incremental = true;
        if (length >= sizeof(std::uint32_t)) {
            std::uint32_t announced = 0;
            std::copy_n(value, sizeof announced, reinterpret_cast<std::uint8_t*>(&announced));
            transfer.bytes.reserve(std::min<std::size_t>(announced, largestReservation));
        }
        return;
    }
    transfer.format = reply->format;
    transfer.bytes.insert(transfer.bytes.end(), value, value + length);
    // An increment of nothing ends the transfer.
    transfer.done = !transfer.incremental || length == 0;
}

void X11SelectionReader::progressed() {
    if (!listed_) {
        if (transfers_.front().done) {
            list(std::move(transfers_.front()));
        }
        return;
    }
    if (std::all_of(transfers_.begin(), transfers_.end(), [](const Transfer& t) { return t.done; })) {
        finish(false);
    }
}

// The owner listed its types: one transfer per content type, all asked for at once.
void X11SelectionReader::list(Transfer listing) {
    transfers_.clear();
    if (listing.format != 32 || listing.bytes.empty()) {
        finish(false);
        return;
    }
    listed_ = true;
    std::vector<xcb_atom_t> atoms(listing.bytes.size() / sizeof(xcb_atom_t));
    std::copy_n(listing.bytes.begin(), atoms.size() * sizeof(xcb_atom_t),
                reinterpret_cast<std::uint8_t*>(atoms.data()));
    const std::vector<std::string> targetNames = atomNames(atoms);

    std::optional<std::size_t> text;
    std::size_t textRank = textTargets.size();
    for (std::size_t index = 0; index < atoms.size(); ++index) {
        const std::string& name = targetNames[index];
        if (!isSelectionContent(name)) {
            continue;
        }
        if (const auto rank = static_cast<std::size_t>(
                std::find(textTargets.begin(), textTargets.end(), name) - textTargets.begin());
            rank < textTargets.size()) {
            if (!text) {
                text = transfers_.size();
                transfers_.emplace_back(std::string(plainText), XCB_NONE);
            }
            if (rank < textRank) {
                textRank = rank;
                transfers_[*text].target = atoms[index];
                transfers_[*text].latin1 = name == latin1Target;
            }
            continue;
        }
        if (std::none_of(transfers_.begin(), transfers_.end(),
                         [&name](const Transfer& t) { return t.type == name; })) {
            transfers_.emplace_back(name, atoms[index]);
        }
    }
    if (transfers_.empty()) {
        finish(false);
        return;
    }
    // The first property carried the list.
    const auto& atomsForProperties = properties(transfers_.size() + 1);
    for (std::size_t index = 0; index < transfers_.size(); ++index) {
        transfers_[index].property = atomsForProperties[index + 1];
        request(transfers_[index]);
    }
    xcb_flush(connection_);
}

void X11SelectionReader::finish(bool stopped) {
    ClipboardReading reading;
    reading.listed = listed_;
    reading.stopped = stopped;
    if (listed_) {
        for (Transfer& transfer : transfers_) {
            if (!transfer.done) {
                reading.unanswered.push_back(transfer.type);
            } else if (!transfer.bytes.empty()) {
                reading.contents.emplace_back(transfer.type, transfer.latin1 ? utf8FromLatin1(transfer.bytes)
                                                                             : std::move(transfer.bytes));
            }
        }
    }
    transfers_.clear();
    listed_ = false;
    // Whatever the owner still sends goes to a window that is gone.
    if (connection_ != nullptr && window_ != XCB_NONE) {
        xcb_destroy_window(connection_, window_);
        xcb_flush(connection_);
    }
    window_ = XCB_NONE;
    // Last: the completion may start the next read.
    std::exchange(completion_, {})(std::move(reading));
}

} // namespace driftmark
