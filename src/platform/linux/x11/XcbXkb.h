#pragma once

// xcb's XKB header names a structure member "explicit", a C++ keyword.
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit
