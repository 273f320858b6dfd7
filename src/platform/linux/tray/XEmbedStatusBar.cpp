#include "platform/linux/tray/XEmbedStatusBar.h"

#include "platform/linux/tray/TrayDock.h"
#include "platform/linux/tray/XEmbedStatusItem.h"

namespace driftmark {

XEmbedStatusBar::XEmbedStatusBar(const std::function<void(const std::string&)>& warn)
    : dock_(std::make_shared<TrayDock>(warn)) {}

XEmbedStatusBar::~XEmbedStatusBar() = default;

std::unique_ptr<StatusItem> XEmbedStatusBar::statusItem(const StatusItemNames& names) {
    return std::make_unique<XEmbedStatusItem>(dock_, names.autosaveName);
}

void XEmbedStatusBar::removeStatusItem(StatusItem& item) {
    if (auto* trayItem = dynamic_cast<XEmbedStatusItem*>(&item)) {
        trayItem->withdraw();
    }
}

void XEmbedStatusBar::arrange(const std::vector<StatusItem*>&) {}

} // namespace driftmark
