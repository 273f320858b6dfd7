#include "platform/linux/wayland/PipeWriters.h"

#include <QObject>
#include <QSocketNotifier>
#include <algorithm>
#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

namespace driftmark {

namespace {

constexpr qsizetype chunk = qsizetype{1} << 16;

// A reader that closed its end early must fail the write with EPIPE, not end Driftmark with SIGPIPE;
// the signal is held back for this thread during the write and a SIGPIPE of its own taken away again.
ssize_t writeWithoutSignal(int fd, const char* data, std::size_t size) {
    sigset_t brokenPipe;
    sigset_t previous;
    sigemptyset(&brokenPipe);
    sigaddset(&brokenPipe, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &brokenPipe, &previous);
    sigset_t pending;
    sigpending(&pending);
    const bool alreadyPending = sigismember(&pending, SIGPIPE) == 1;
    ssize_t written = 0;
    do {
        written = ::write(fd, data, size);
    } while (written < 0 && errno == EINTR);
    const int error = errno;
    if (written < 0 && error == EPIPE && !alreadyPending) {
        const timespec none{};
        sigtimedwait(&brokenPipe, nullptr, &none);
    }
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    errno = error;
    return written;
}

} // namespace

PipeWriters::~PipeWriters() {
    for (Transfer& transfer : transfers_) {
        transfer.notifier.reset();
        ::close(transfer.fd);
    }
}

void PipeWriters::write(int fd, QByteArray bytes) {
    // The reader's own end may block; this one must not.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    transfers_.push_back(Transfer{fd, std::move(bytes), 0, nullptr});
    proceed(std::prev(transfers_.end()));
}

void PipeWriters::proceed(std::list<Transfer>::iterator transfer) {
    while (transfer->written < transfer->bytes.size()) {
        const qsizetype size = std::min(chunk, transfer->bytes.size() - transfer->written);
        const ssize_t written = writeWithoutSignal(
            transfer->fd, transfer->bytes.constData() + transfer->written, static_cast<std::size_t>(size));
        if (written >= 0) {
            transfer->written += written;
            continue;
        }
        if (errno != EAGAIN) {
            break;
        }
        if (!transfer->notifier) {
            transfer->notifier = std::make_unique<QSocketNotifier>(transfer->fd, QSocketNotifier::Write);
            QObject::connect(transfer->notifier.get(), &QSocketNotifier::activated, transfer->notifier.get(),
                             [this, transfer] { proceed(transfer); });
        }
        return;
    }
    // Done, or the reader went away. The notifier may be the one whose signal called this.
    if (transfer->notifier) {
        transfer->notifier->setEnabled(false);
        transfer->notifier.release()->deleteLater();
    }
    ::close(transfer->fd);
    transfers_.erase(transfer);
}

} // namespace driftmark
