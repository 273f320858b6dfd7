#pragma once

struct xcb_connection_t;
struct xcb_screen_t;

namespace driftmark {

// Qt's own connection to the X server; null when Qt does not run on X11 (Wayland, offscreen).
xcb_connection_t* qtX11Connection();

// Whether the X server offers XTEST input synthesis. The extension query is cached per connection
// by xcb, so asking again costs nothing.
bool offersXTest(xcb_connection_t* connection);

// The connection's screen of that number (as xcb_connect reports the default one); null when it has
// no such screen.
xcb_screen_t* screenNumbered(xcb_connection_t* connection, int number);

} // namespace driftmark
