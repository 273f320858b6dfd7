#include "platform/linux/QtClipboard.h"

#include "platform/linux/XcbReply.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <malloc.h>
#include <map>
#include <string_view>
#include <xcb/xcb.h>

namespace driftmark {

namespace {

constexpr std::string_view plainText = "text/plain";
constexpr std::string_view plainTextUtf8 = "text/plain;charset=utf-8";

// Targets that belong to the selection protocol rather than to the contents (some of them ask the owner
// to do something), server resources whose ids mean nothing once saved, the image type that Qt adds to
// any clipboard holding an image, and the link type that Qt offers, and answers, only from
// text/uri-list. Saving and restoring them would offer false types.
constexpr std::array<std::string_view, 14> notContentTargets = {"TARGETS",
                                                                "MULTIPLE",
                                                                "TIMESTAMP",
                                                                "SAVE_TARGETS",
                                                                "DELETE",
                                                                "INSERT_SELECTION",
                                                                "INSERT_PROPERTY",
                                                                "LENGTH",
                                                                "PIXMAP",
                                                                "BITMAP",
                                                                "DRAWABLE",
                                                                "COLORMAP",
                                                                "application/x-qt-image",
                                                                "text/x-moz-url"};

// X11's names for plain text, best first. Qt calls every one of them text/plain, and offers them all
// again for text/plain when the clipboard is restored.
constexpr std::array<std::string_view, 4> textTargets = {"UTF8_STRING", "text/plain", "STRING", "TEXT"};
constexpr std::string_view latin1Target = "STRING";

// The INCR size announcement is only a lower bound; no more than this is reserved on its word.
constexpr std::size_t largestReservation = std::size_t{64} << 20;

// Handing freed memory back to the system pays only after contents of this size.
constexpr std::size_t largeContents = std::size_t{1} << 20;

QString qString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

template <std::size_t size>
bool isOneOf(const std::array<std::string_view, size>& names, std::string_view name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

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

// Large blocks freed after a large clipboard stay with the process unless they are handed back; malloc
// keeps them once its thresholds have grown with the large allocations. Done on the next turn of the
// event loop, by when the caller has dropped its own copy as well.
void returnFreedMemoryLater() {
    QTimer::singleShot(0, qApp, [] { ::malloc_trim(0); });
}

} // namespace

// Reads the CLIPBOARD selection the ICCCM way, on a connection of its own: TARGETS first, then every
// content type at once, each converted into its own property of a window made for this read, large ones
// in increments (INCR). The answers arrive as events that the event loop hands over as they come, so an
// owner that never answers costs nothing but its own types. Round trips go to the X server only.
struct QtClipboard::SelectionReader {
    struct Transfer {
        Transfer(std::string name, xcb_atom_t asked)
            : type(std::move(name))
            , target(asked) {}

        std::string type;
        xcb_atom_t target = XCB_NONE;
        xcb_atom_t property = XCB_NONE;
        bool latin1 = false;
        bool incremental = false;
        bool done = false;
        std::uint8_t format = 0;
        Bytes bytes;
    };

    SelectionReader() = default;
    ~SelectionReader() { disconnect(); }
    SelectionReader(const SelectionReader&) = delete;
    SelectionReader& operator=(const SelectionReader&) = delete;

    void start(std::function<void(ClipboardReading)> done) {
        stop();
        if (!connect()) {
            done(ClipboardReading{});
            return;
        }
        completion = std::move(done);
        listed = false;
        window = xcb_generate_id(connection);
        const std::uint32_t eventMask = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, root, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &eventMask);
        transfers.assign(1, Transfer("TARGETS", targets));
        transfers.front().property = properties(1).front();
        request(transfers.front());
        xcb_flush(connection);
        processEvents();
    }

    void stop() {
        if (completion) {
            finish(true);
        }
    }

    bool connect() {
        if (connection != nullptr && xcb_connection_has_error(connection) == 0) {
            return true;
        }
        disconnect();
        int screenNumber = 0;
        connection = xcb_connect(nullptr, &screenNumber);
        if (xcb_connection_has_error(connection) != 0) {
            return false;
        }
        auto screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
        for (int skip = 0; skip < screenNumber && screens.rem > 0; ++skip) {
            xcb_screen_next(&screens);
        }
        if (screens.rem == 0) {
            return false;
        }
        root = screens.data->root;
        clipboard = intern("CLIPBOARD");
        targets = intern("TARGETS");
        incr = intern("INCR");
        notifier =
            std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(connection), QSocketNotifier::Read);
        QObject::connect(notifier.get(), &QSocketNotifier::activated, notifier.get(),
                         [this] { processEvents(); });
        return true;
    }

    void disconnect() {
        notifier.reset();
        if (connection != nullptr) {
            xcb_disconnect(connection);
            connection = nullptr;
        }
        names.clear();
        propertyAtoms.clear();
    }

    xcb_atom_t intern(std::string_view name) {
        const auto cookie =
            xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(name.size()), name.data());
        const XcbReply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(connection, cookie, nullptr));
        return reply ? reply->atom : XCB_NONE;
    }

    // One property per transfer of a read; interned once, all round trips in flight together.
    const std::vector<xcb_atom_t>& properties(std::size_t count) {
        std::vector<xcb_intern_atom_cookie_t> cookies;
        for (std::size_t index = propertyAtoms.size(); index < count; ++index) {
            const std::string name = "_DRIFTMARK_CLIPBOARD_" + std::to_string(index);
            cookies.push_back(
                xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(name.size()), name.data()));
        }
        for (const auto cookie : cookies) {
            const XcbReply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(connection, cookie, nullptr));
            propertyAtoms.push_back(reply ? reply->atom : XCB_NONE);
        }
        return propertyAtoms;
    }

    std::vector<std::string> atomNames(const std::vector<xcb_atom_t>& atoms) {
        std::vector<std::pair<xcb_atom_t, xcb_get_atom_name_cookie_t>> cookies;
        for (const xcb_atom_t atom : atoms) {
            if (!names.contains(atom)) {
                cookies.emplace_back(atom, xcb_get_atom_name(connection, atom));
                names[atom];
            }
        }
        for (const auto& [atom, cookie] : cookies) {
            const XcbReply<xcb_get_atom_name_reply_t> reply(
                xcb_get_atom_name_reply(connection, cookie, nullptr));
            if (reply) {
                names[atom].assign(xcb_get_atom_name_name(reply.get()),
                                   static_cast<std::size_t>(xcb_get_atom_name_name_length(reply.get())));
            }
        }
        std::vector<std::string> named;
        for (const xcb_atom_t atom : atoms) {
            named.push_back(names[atom]);
        }
        return named;
    }

    void request(const Transfer& transfer) {
        xcb_convert_selection(connection, window, clipboard, transfer.target, transfer.property,
                              XCB_CURRENT_TIME);
    }

    // The event loop saw the connection readable. Replies waited for meanwhile may have queued events
    // without the socket showing it, so everything queued is handled here.
    void processEvents() {
        if (connection == nullptr) {
            return;
        }
        while (xcb_generic_event_t* raw = xcb_poll_for_event(connection)) {
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
        if (xcb_connection_has_error(connection) != 0 && notifier) {
            notifier->setEnabled(false);
        }
    }

    void selectionNotified(const xcb_selection_notify_event_t& event) {
        if (window == XCB_NONE || event.requestor != window || event.selection != clipboard) {
            return;
        }
        const auto transfer = std::find_if(transfers.begin(), transfers.end(), [&event](const Transfer& t) {
            return !t.done && !t.incremental && t.target == event.target;
        });
        if (transfer == transfers.end()) {
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

    void propertyChanged(const xcb_property_notify_event_t& event) {
        if (window == XCB_NONE || event.window != window || event.state != XCB_PROPERTY_NEW_VALUE) {
            return;
        }
        const auto transfer = std::find_if(transfers.begin(), transfers.end(), [&event](const Transfer& t) {
            return !t.done && t.incremental && t.property == event.atom;
        });
        if (transfer == transfers.end()) {
            return;
        }
        readProperty(*transfer);
        progressed();
    }

    // Takes the property off the window, which also tells an owner sending in increments to go on.
    void readProperty(Transfer& transfer) {
        const auto cookie =
            xcb_get_property(connection, 1, window, transfer.property, XCB_GET_PROPERTY_TYPE_ANY, 0,
                             std::numeric_limits<std::uint32_t>::max() / 4);
        const XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(connection, cookie, nullptr));
        if (!reply) {
            transfer.done = true;
            return;
        }
        const auto length = static_cast<std::size_t>(xcb_get_property_value_length(reply.get()));
        const auto* value = static_cast<const std::uint8_t*>(xcb_get_property_value(reply.get()));
        if (!transfer.incremental && reply->type == incr) {
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

    void progressed() {
        if (!listed) {
            if (transfers.front().done) {
                list(std::move(transfers.front()));
            }
            return;
        }
        if (std::all_of(transfers.begin(), transfers.end(), [](const Transfer& t) { return t.done; })) {
            finish(false);
        }
    }

    // The owner listed its types: one transfer per content type, all asked for at once.
    void list(Transfer listing) {
        transfers.clear();
        if (listing.format != 32 || listing.bytes.empty()) {
            finish(false);
            return;
        }
        listed = true;
        std::vector<xcb_atom_t> atoms(listing.bytes.size() / sizeof(xcb_atom_t));
        std::copy_n(listing.bytes.begin(), atoms.size() * sizeof(xcb_atom_t),
                    reinterpret_cast<std::uint8_t*>(atoms.data()));
        const std::vector<std::string> targetNames = atomNames(atoms);

        std::optional<std::size_t> text;
        std::size_t textRank = textTargets.size();
        for (std::size_t index = 0; index < atoms.size(); ++index) {
            const std::string& name = targetNames[index];
            if (name.empty() || isOneOf(notContentTargets, name)) {
                continue;
            }
            if (const auto rank = static_cast<std::size_t>(
                    std::find(textTargets.begin(), textTargets.end(), name) - textTargets.begin());
                rank < textTargets.size()) {
                if (!text) {
                    text = transfers.size();
                    transfers.emplace_back(std::string(plainText), XCB_NONE);
                }
                if (rank < textRank) {
                    textRank = rank;
                    transfers[*text].target = atoms[index];
                    transfers[*text].latin1 = name == latin1Target;
                }
                continue;
            }
            if (std::none_of(transfers.begin(), transfers.end(),
                             [&name](const Transfer& t) { return t.type == name; })) {
                transfers.emplace_back(name, atoms[index]);
            }
        }
        if (transfers.empty()) {
            finish(false);
            return;
        }
        // The first property carried the list.
        const auto& atomsForProperties = properties(transfers.size() + 1);
        for (std::size_t index = 0; index < transfers.size(); ++index) {
            transfers[index].property = atomsForProperties[index + 1];
            request(transfers[index]);
        }
        xcb_flush(connection);
    }

    void finish(bool stopped) {
        ClipboardReading reading;
        reading.listed = listed;
        reading.stopped = stopped;
        if (listed) {
            for (Transfer& transfer : transfers) {
                if (!transfer.done) {
                    reading.unanswered.push_back(transfer.type);
                } else if (!transfer.bytes.empty()) {
                    reading.contents.emplace_back(transfer.type, transfer.latin1
                                                                     ? utf8FromLatin1(transfer.bytes)
                                                                     : std::move(transfer.bytes));
                }
            }
        }
        transfers.clear();
        listed = false;
        // Whatever the owner still sends goes to a window that is gone.
        if (connection != nullptr && window != XCB_NONE) {
            xcb_destroy_window(connection, window);
            xcb_flush(connection);
        }
        window = XCB_NONE;
        // Last: the completion may start the next read.
        std::exchange(completion, {})(std::move(reading));
    }

    xcb_connection_t* connection = nullptr;
    xcb_window_t root = XCB_NONE;
    std::unique_ptr<QSocketNotifier> notifier;
    xcb_atom_t clipboard = XCB_NONE;
    xcb_atom_t targets = XCB_NONE;
    xcb_atom_t incr = XCB_NONE;
    std::map<xcb_atom_t, std::string> names;
    std::vector<xcb_atom_t> propertyAtoms;

    // The read in progress: its window (none between reads), and its transfers: TARGETS alone until the
    // owner has listed its types, then one per content type.
    std::function<void(ClipboardReading)> completion;
    xcb_window_t window = XCB_NONE;
    bool listed = false;
    std::vector<Transfer> transfers;
};

QtClipboard::QtClipboard()
    : reader_(std::make_unique<SelectionReader>()) {
    ownerWatch_ = QObject::connect(QGuiApplication::clipboard(), &QClipboard::changed, qApp,
                                   [this](QClipboard::Mode mode) {
                                       if (mode == QClipboard::Clipboard) {
                                           ownerChanged();
                                       }
                                   });
}

QtClipboard::~QtClipboard() {
    QObject::disconnect(ownerWatch_);
}

void QtClipboard::clearContents() {
    contents_.clear();
}

void QtClipboard::setString(const std::string& text) {
    // Qt offers text/plain also as UTF8_STRING, STRING and TEXT; GTK programs ask for the explicit
    // UTF-8 type.
    const QByteArray bytes(text.data(), static_cast<qsizetype>(text.size()));
    write(std::string(plainText), bytes);
    write(std::string(plainTextUtf8), bytes);
    publish();
}

void QtClipboard::setData(const Bytes& bytes, const std::string& type) {
    write(type,
          QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())));
    publish();
}

void QtClipboard::write(const std::string& type, const QByteArray& bytes) {
    const auto existing = std::find_if(contents_.begin(), contents_.end(),
                                       [&](const auto& entry) { return entry.first == type; });
    if (existing != contents_.end()) {
        existing->second = bytes;
    } else {
        contents_.emplace_back(type, bytes);
    }
}

void QtClipboard::publish() const {
    // Raw bytes under their own type only: QMimeData::setImageData would make Qt re-encode the image
    // and offer every image format it can write instead of the saved bytes.
    auto* mimeData = new QMimeData;
    std::size_t size = 0;
    for (const auto& [type, bytes] : contents_) {
        mimeData->setData(qString(type), bytes);
        size += static_cast<std::size_t>(bytes.size());
    }
    QGuiApplication::clipboard()->setMimeData(mimeData, QClipboard::Clipboard);
    // Large contents written here are, as a rule, a saved clipboard put back, whose saved copy goes now.
    if (size >= largeContents) {
        returnFreedMemoryLater();
    }
}

bool QtClipboard::ownsContents() const {
    return !contents_.empty() && QGuiApplication::clipboard()->ownsClipboard();
}

void QtClipboard::ownerChanged() {
    if (contents_.empty() || QGuiApplication::clipboard()->ownsClipboard()) {
        return;
    }
    // Another program owns the clipboard: Qt lets go of what it published, and so do we.
    std::size_t size = 0;
    for (const auto& entry : contents_) {
        size += static_cast<std::size_t>(entry.second.size());
    }
    contents_.clear();
    contents_.shrink_to_fit();
    if (size >= largeContents) {
        returnFreedMemoryLater();
    }
}

std::optional<std::string> QtClipboard::string() const {
    if (!ownsContents()) {
        return std::nullopt;
    }
    for (const std::string_view type : {plainTextUtf8, plainText}) {
        const auto found = std::find_if(contents_.begin(), contents_.end(),
                                        [type](const auto& entry) { return entry.first == type; });
        if (found != contents_.end()) {
            return found->second.toStdString();
        }
    }
    return std::nullopt;
}

void QtClipboard::read(std::function<void(ClipboardReading)> completion) {
    // What Driftmark published itself needs no round trip.
    if (ownsContents()) {
        reader_->stop();
        ClipboardReading reading;
        reading.listed = true;
        for (const auto& [type, bytes] : contents_) {
            reading.contents.emplace_back(type, Bytes(bytes.begin(), bytes.end()));
        }
        completion(std::move(reading));
        return;
    }
    reader_->start(std::move(completion));
}

void QtClipboard::stopReading() {
    reader_->stop();
}

} // namespace driftmark
