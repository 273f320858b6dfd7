#pragma once

#include <cstdlib>
#include <memory>

namespace driftmark {

// xcb hands out replies, errors, events and parsed names allocated with malloc; the caller frees them.
struct XcbFree {
    void operator()(void* reply) const { std::free(reply); }
};

template <typename Reply>
using XcbReply = std::unique_ptr<Reply, XcbFree>;

} // namespace driftmark
