#include "platform/linux/dbus/SingleInstance.h"

#include "platform/linux/dbus/InstanceEnvironment.h"
#include "platform/linux/dbus/LockFileInstance.h"
#include "platform/linux/dbus/SessionBusInstance.h"

#include <QtGlobal>
#include <unistd.h>

namespace driftmark {

SingleInstance::SingleInstance(RemoteControlProvider remoteControl)
    : remoteControl_(std::move(remoteControl)) {}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::claim() {
    // Qt's own environment calls hold its lock, and Qt has threads running by now.
    const QByteArray replacedValue = qgetenv(replacesPidVariable);
    const auto replaced = replacedProcess(replacedValue.constData(), ::getpid());
    qunsetenv(replacesPidVariable);

    if (sessionBusConfigured(qgetenv("DBUS_SESSION_BUS_ADDRESS").constData())) {
        auto bus = std::make_unique<SessionBusInstance>(remoteControl_);
        if (bus->connected()) {
            claim_ = std::move(bus);
        }
    }
    if (!claim_) {
        const QByteArray runtimeDirectory = qgetenv("XDG_RUNTIME_DIR");
        claim_ = std::make_unique<LockFileInstance>(lockFilePath(runtimeDirectory.constData(), ::getuid()));
    }
    return claim_->claim(replaced);
}

SessionClaim::Answer SingleInstance::handOverToRunning() {
    if (!claim_) {
        return {SessionClaim::Request::unsupported, {}};
    }
    return claim_->askHolderToOpenSettings();
}

} // namespace driftmark
