#pragma once

#include <QByteArray>
#include <QSocketNotifier>
#include <list>
#include <memory>

namespace driftmark {

// Writes byte buffers into pipes, any number at once, none of them ever waiting for its reader: each
// pipe takes what it has room for, the rest goes whenever the event loop sees room again. A pipe is
// closed once its bytes are through or its reader has gone. This is how a selection Driftmark owns
// reaches every program that asks for it, however large it is and however slowly they read.
class PipeWriters final {
public:
    PipeWriters() = default;
    ~PipeWriters();
    PipeWriters(const PipeWriters&) = delete;
    PipeWriters& operator=(const PipeWriters&) = delete;

    // Takes the file descriptor over. The bytes are shared, not copied.
    void write(int fd, QByteArray bytes);

private:
    struct Transfer {
        int fd = -1;
        QByteArray bytes;
        qsizetype written = 0;
        std::unique_ptr<QSocketNotifier> notifier;
    };

    void proceed(std::list<Transfer>::iterator transfer);

    std::list<Transfer> transfers_;
};

} // namespace driftmark
