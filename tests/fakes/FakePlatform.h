#pragma once

#include "fakes/FakeAccessibilityTrust.h"
#include "fakes/FakeApplication.h"
#include "fakes/FakeClipboard.h"
#include "fakes/FakeKeyEventPoster.h"
#include "fakes/FakeStatusBar.h"
#include "fakes/FakeWindowService.h"
#include "fakes/FakeWorkspace.h"
#include "fakes/ManualMainQueue.h"
#include "fakes/RecordingSystemLog.h"
#include "fakes/Timeline.h"
#include "fakes/TimelineSystemLog.h"
#include "platform/PlatformServices.h"
#include "support/MemoryPreferencesStore.h"

namespace driftmark::test {

// Every platform service as a fake, sharing one manual main queue and one timeline. Declare it before
// the objects under test so that it outlives them.
struct FakePlatform {
    FakePlatform() = default;
    FakePlatform(const FakePlatform&) = delete;
    FakePlatform& operator=(const FakePlatform&) = delete;
    ~FakePlatform() { mainQueue.discardPending(); }

    ManualMainQueue mainQueue;
    Timeline timeline{mainQueue};
    RecordingSystemLog recordedLog;
    TimelineSystemLog systemLog{recordedLog, timeline};
    FakeAccessibilityTrust accessibilityTrust{timeline};
    FakeClipboard clipboard{timeline, mainQueue};
    FakeClipboard primarySelection{timeline, mainQueue, "primary"};
    FakeKeyEventPoster keyEventPoster{timeline};
    FakeWorkspace workspace{timeline, mainQueue};
    FakeStatusBar statusBar{timeline};
    FakeApplication application{timeline};
    MemoryPreferencesStore userDefaults;
    FakeWindowService windows{timeline};

    PlatformServices services() {
        return PlatformServices{systemLog,      accessibilityTrust, clipboard, primarySelection,
                                keyEventPoster, workspace,          statusBar, mainQueue,
                                application,    userDefaults,       windows};
    }
    // The system-log messages of one category, in order.
    std::vector<std::string> logMessages(std::string_view category) const;
};

} // namespace driftmark::test
