#pragma once

#include "platform/Clipboard.h"
#include "platform/linux/SelectionContents.h"
#include "platform/linux/TextReadNotice.h"

#include <QByteArray>
#include <QClipboard>
#include <QMetaObject>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace driftmark {

class X11SelectionReader;

// One X11 selection: CLIPBOARD, or PRIMARY (Qt's Selection mode). Writes go through QClipboard and collect
// into one set of contents that is published as a whole on every write, so a clipboard manager never sees an
// empty clipboard between the clear and the first write; once published, Qt serves the contents for as long
// as Driftmark owns the selection. Another program's selection is read without QClipboard, whose reads wait
// up to five seconds per type for an owner that does not answer: an X11SelectionReader asks and collects the
// answers as they arrive, between the other work of the event loop.
class QtClipboard final : public Clipboard {
public:
    explicit QtClipboard(QClipboard::Mode mode = QClipboard::Clipboard);
    ~QtClipboard() override;
    QtClipboard(const QtClipboard&) = delete;
    QtClipboard& operator=(const QtClipboard&) = delete;

    void clearContents() override;
    void setString(const std::string& text) override;
    std::optional<std::string> string() const override;
    void setData(const Bytes& bytes, const std::string& type) override;
    void read(std::function<void(ClipboardReading)> completion) override;
    void stopReading() override;
    void notifyOnNextTextRead(std::function<void()> read) override;

private:
    void publish() const;
    bool ownsContents() const;
    void ownerChanged();

    QClipboard::Mode mode_;
    // Dropped once another program owns the selection.
    SelectionContents contents_;
    // Reads what another program put on the clipboard.
    std::unique_ptr<X11SelectionReader> reader_;
    QMetaObject::Connection ownerWatch_;
    // Qt asks the published contents for their bytes whenever a program requests them.
    TextReadNotice textReads_;
};

} // namespace driftmark
