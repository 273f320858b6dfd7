#pragma once

#include <cstdint>

struct xcb_connection_t;

namespace driftmark {

// The X modifiers that Caps Lock, Num Lock and Scroll Lock turn on, as the server's modifier map binds them
// now. Caps Lock is the Lock modifier by definition; a lock that no key is bound to adds no bit.
std::uint16_t lockModifierMasks(xcb_connection_t* connection);

} // namespace driftmark
