#pragma once

#include <QDBusConnection>

namespace driftmark {

struct PortalBackendFiles;

// Whether the desktop's portal on `bus` offers global shortcuts for this desktop, found out without
// starting it: a portal that runs must have the GlobalShortcuts interface (it has it only with a backend
// for it), one that does not must be one the bus can start, and in both the files that choose the
// portal's backends must give the interface to a backend made for this desktop. False where no portal
// runs or can be started.
bool desktopOffersGlobalShortcuts(const QDBusConnection& bus, const PortalBackendFiles& files);

} // namespace driftmark
