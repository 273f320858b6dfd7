#pragma once

#include "platform/SystemLog.h"

#include <QString>

// Where the running Driftmark answers on the session bus, for it and for the starts that call it.
namespace driftmark {

// The well-known name is the application id, and so is the interface of the methods.
inline QString busServiceName() {
    return QString::fromLatin1(applicationId.data(), static_cast<qsizetype>(applicationId.size()));
}

inline QString busObjectPath() {
    return QStringLiteral("/app/driftmark/menubar");
}

inline QString busInterfaceName() {
    return busServiceName();
}

// A request about an entry that is not there; the message says which and why.
inline QString busNoSuchEntryError() {
    return busInterfaceName() + QStringLiteral(".Error.NoSuchEntry");
}

// A window that the running Driftmark cannot build; the message says why.
inline QString busWindowUnavailableError() {
    return busInterfaceName() + QStringLiteral(".Error.WindowUnavailable");
}

// A request that came while the running Driftmark was still starting up.
inline QString busNotReadyError() {
    return busInterfaceName() + QStringLiteral(".Error.NotReady");
}

} // namespace driftmark
