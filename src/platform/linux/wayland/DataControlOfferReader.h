#pragma once

#include "platform/Clipboard.h"

#include <QSocketNotifier>
#include <functional>
#include <memory>
#include <string>
#include <vector>

struct zwlr_data_control_offer_v1;

namespace driftmark {

class WaylandConnection;

// Reads another program's selection: asks its offer for every type at once, each over a pipe of its own,
// and collects the bytes as the event loop sees them arrive, so that an owner that never answers costs
// nothing but its own types; how long to wait for it is the caller's decision.
class DataControlOfferReader final {
public:
    explicit DataControlOfferReader(WaylandConnection& connection);
    ~DataControlOfferReader();
    DataControlOfferReader(const DataControlOfferReader&) = delete;
    DataControlOfferReader& operator=(const DataControlOfferReader&) = delete;

    // Stops the read in progress and reads `types` of the offer. `completion` runs once, on the main thread,
    // when the owner has sent every type's bytes or the read is stopped, possibly before this returns.
    void start(zwlr_data_control_offer_v1* offer, const std::vector<std::string>& types,
               std::function<void(ClipboardReading)> completion);
    // Ends the read in progress, if any: its completion gets what has come so far.
    void stop();

private:
    // One type asked of the owner, and its bytes so far.
    struct Transfer {
        std::string type;
        int fd = -1;
        std::unique_ptr<QSocketNotifier> notifier;
        Bytes bytes;
        bool done = false;
    };

    void ask(zwlr_data_control_offer_v1* offer, Transfer& transfer);
    void receive(Transfer& transfer);
    bool answered() const;
    void close(Transfer& transfer);
    void finish(bool stopped);

    WaylandConnection& connection_;
    std::function<void(ClipboardReading)> completion_;
    std::vector<std::unique_ptr<Transfer>> transfers_;
};

} // namespace driftmark
