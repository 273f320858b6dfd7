#include "platform/linux/wayland/DataControlOfferReader.h"

#include "platform/linux/wayland/WaylandConnection.h"
#include "wlr-data-control-unstable-v1-client-protocol.h"

#include <QObject>
#include <QSocketNotifier>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

namespace driftmark {

namespace {

constexpr std::size_t chunk = std::size_t{1} << 16;

} // namespace

DataControlOfferReader::DataControlOfferReader(WaylandConnection& connection)
    : connection_(connection) {}

DataControlOfferReader::~DataControlOfferReader() {
    for (const auto& transfer : transfers_) {
        transfer->notifier.reset();
        if (transfer->fd >= 0) {
            ::close(transfer->fd);
        }
    }
}

void DataControlOfferReader::start(zwlr_data_control_offer_v1* offer, const std::vector<std::string>& types,
                                   std::function<void(ClipboardReading)> completion) {
    stop();
    completion_ = std::move(completion);
    for (const std::string& type : types) {
        transfers_.push_back(std::make_unique<Transfer>());
        transfers_.back()->type = type;
        ask(offer, *transfers_.back());
    }
    connection_.flush();
    if (answered()) {
        finish(false);
    }
}

// What already waits in a pipe has come, even if the event loop has not yet seen it.
void DataControlOfferReader::stop() {
    if (!completion_) {
        return;
    }
    for (const auto& transfer : transfers_) {
        receive(*transfer);
    }
    finish(!answered());
}

// Only the reading end waits in the event loop; the owner gets the writing end as it is, blocking, since
// some owners write without expecting anything else.
void DataControlOfferReader::ask(zwlr_data_control_offer_v1* offer, Transfer& transfer) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        transfer.done = true;
        return;
    }
    ::fcntl(ends[0], F_SETFL, O_NONBLOCK);
    zwlr_data_control_offer_v1_receive(offer, transfer.type.c_str(), ends[1]);
    // The request carries a duplicate of the writing end; without closing ours the pipe never ends.
    ::close(ends[1]);
    transfer.fd = ends[0];
    transfer.notifier = std::make_unique<QSocketNotifier>(transfer.fd, QSocketNotifier::Read);
    QObject::connect(transfer.notifier.get(), &QSocketNotifier::activated, transfer.notifier.get(),
                     [this, &transfer] {
                         receive(transfer);
                         if (answered()) {
                             finish(false);
                         }
                     });
}

// Everything the pipe holds now; the owner closing its end ends the type.
void DataControlOfferReader::receive(Transfer& transfer) {
    while (!transfer.done) {
        const std::size_t size = transfer.bytes.size();
        transfer.bytes.resize(size + chunk);
        const ssize_t count = ::read(transfer.fd, transfer.bytes.data() + size, chunk);
        transfer.bytes.resize(size + static_cast<std::size_t>(std::max<ssize_t>(count, 0)));
        if (count > 0) {
            continue;
        }
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0 && errno == EAGAIN) {
            return;
        }
        transfer.done = true;
        close(transfer);
    }
}

bool DataControlOfferReader::answered() const {
    return std::all_of(transfers_.begin(), transfers_.end(), [](const auto& t) { return t->done; });
}

// The notifier may be the one whose signal is being handled.
void DataControlOfferReader::close(Transfer& transfer) {
    if (transfer.notifier) {
        transfer.notifier->setEnabled(false);
        transfer.notifier.release()->deleteLater();
    }
    if (transfer.fd >= 0) {
        ::close(transfer.fd);
        transfer.fd = -1;
    }
}

void DataControlOfferReader::finish(bool stopped) {
    ClipboardReading reading;
    reading.listed = true;
    reading.stopped = stopped;
    for (const auto& transfer : transfers_) {
        close(*transfer);
        if (!transfer->done) {
            reading.unanswered.push_back(transfer->type);
        } else if (!transfer->bytes.empty()) {
            transfer->bytes.shrink_to_fit();
            reading.contents.emplace_back(transfer->type, std::move(transfer->bytes));
        }
    }
    transfers_.clear();
    // Last: the completion may start the next read.
    std::exchange(completion_, {})(std::move(reading));
}

} // namespace driftmark
