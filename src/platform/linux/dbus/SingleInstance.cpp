#include "platform/linux/dbus/SingleInstance.h"

#include "platform/linux/dbus/InstanceEnvironment.h"
#include "platform/linux/dbus/LockFileInstance.h"
#include "platform/linux/dbus/SessionBusInstance.h"
#include "platform/linux/dbus/UnresponsiveHolder.h"

#include <QtGlobal>
#include <iostream>
#include <unistd.h>

namespace driftmark {

namespace {

// How long one that hangs gets to end on SIGTERM (it may not even run), and again on SIGKILL.
constexpr std::chrono::milliseconds holderEndingGrace{3000};

} // namespace

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

bool SingleInstance::takeOverFromUnresponsive() {
    const auto holder = claim_ ? claim_->holderProcess() : std::nullopt;
    if (!holder) {
        return false;
    }
    const std::string process = "the running Driftmark (process " + std::to_string(*holder) + ")";
    std::cerr << "driftmark-menubar: " << process << " did not answer; ending it and taking over"
              << std::endl;
    switch (UnresponsiveHolder::end(*holder, holderEndingGrace)) {
    case UnresponsiveHolder::Outcome::notThisProgram:
        std::cerr << "driftmark-menubar: process " << *holder
                  << " holds the session but is not this program; leaving it alone" << std::endl;
        return false;
    case UnresponsiveHolder::Outcome::stays:
        std::cerr << "driftmark-menubar: " << process << " did not end" << std::endl;
        return false;
    case UnresponsiveHolder::Outcome::gone:
    case UnresponsiveHolder::Outcome::ended:
    case UnresponsiveHolder::Outcome::killed:
        break;
    }
    // The bus hands the name on once it has seen the old holder go.
    return claim_->acquireAfter(*holder, SessionClaim::replacedInstanceWait);
}

} // namespace driftmark
