#pragma once

#include "platform/RemoteRequests.h"

#include <string>

namespace driftmark {

// A start with a control option: sends the request to the running Driftmark over the session bus and
// brings back its answer. It needs no display, and it never starts a Driftmark: a call to a name that
// nobody owns fails instead of asking the bus to start a service for it.
class RemoteClient {
public:
    // `entry` goes with a copy or a paste: a position counted from 1 or an entry id.
    RemoteAnswer send(RemoteRequest request, const std::string& entry);
};

} // namespace driftmark
