#pragma once

#include "app/CommandLine.h"

#include <iosfwd>

namespace driftmark {

// A start with a control option: sends the request to the running Driftmark over the session bus and
// prints its answer. It needs no display, and it never starts a Driftmark: a call to a name that nobody
// owns fails instead of asking the bus to start a service for it.
class RemoteClient {
public:
    RemoteClient(std::ostream& output, std::ostream& errors);

    // Returns the exit status: 0, or one of CommandLine's; every failure is one line on `errors`.
    int send(const CommandLine::Options& options);

private:
    int fail(int status, const std::string& message);

    std::ostream& output_;
    std::ostream& errors_;
};

} // namespace driftmark
