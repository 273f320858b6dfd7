#include "platform/linux/LinuxPlatform.h"

#include "platform/linux/EwmhWorkspace.h"
#include "platform/linux/JournalSystemLog.h"
#include "platform/linux/QtApplication.h"
#include "platform/linux/QtClipboard.h"
#include "platform/linux/QtMainQueue.h"
#include "platform/linux/X11PointerMonitor.h"
#include "platform/linux/X11StatusBar.h"
#include "platform/linux/XTestAccessibilityTrust.h"
#include "platform/linux/XTestKeyEventPoster.h"

namespace driftmark {

struct LinuxPlatform::Parts {
    JournalSystemLog systemLog;
    XTestAccessibilityTrust accessibilityTrust;
    QtClipboard clipboard;
    XTestKeyEventPoster keyEventPoster;
    EwmhWorkspace workspace;
    X11PointerMonitor pointerMonitor;
    X11StatusBar statusBar{pointerMonitor};
    QtMainQueue mainQueue;
    QtApplication application;
};

LinuxPlatform::LinuxPlatform()
    : parts_(std::make_unique<Parts>())
{
}

LinuxPlatform::~LinuxPlatform() = default;

PlatformServices LinuxPlatform::services()
{
    return PlatformServices{parts_->systemLog, parts_->accessibilityTrust, parts_->clipboard,
                            parts_->keyEventPoster, parts_->workspace, parts_->pointerMonitor,
                            parts_->statusBar, parts_->mainQueue, parts_->application};
}

} // namespace driftmark
