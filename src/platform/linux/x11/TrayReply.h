#pragma once

#include <cstdlib>
#include <memory>

namespace driftmark {

// xcb replies are malloc'ed and freed by the caller.
template <typename Reply>
using TrayReply = std::unique_ptr<Reply, decltype(&std::free)>;

template <typename Reply>
TrayReply<Reply> trayReply(Reply* reply) {
    return TrayReply<Reply>(reply, &std::free);
}

} // namespace driftmark
