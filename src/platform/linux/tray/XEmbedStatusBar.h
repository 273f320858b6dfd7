#pragma once

#include "platform/StatusBar.h"

#include <functional>
#include <memory>
#include <string>

namespace driftmark {

class TrayDock;

// The X11 system tray as the status bar: one XEmbed tray icon per status item, in creation order.
// Icons stay where they are when the entries' order changes: the user's arrangement wins.
class XEmbedStatusBar final : public StatusBar {
public:
    // Needs a QApplication on the xcb platform, which must outlive every status item. `warn` hears,
    // once, that no tray runs yet.
    explicit XEmbedStatusBar(const std::function<void(const std::string&)>& warn);
    ~XEmbedStatusBar() override;

    std::unique_ptr<StatusItem> statusItem(const StatusItemNames& names) override;
    void removeStatusItem(StatusItem& item) override;
    void arrange(const std::vector<StatusItem*>& items) override;

private:
    std::shared_ptr<TrayDock> dock_;
};

} // namespace driftmark
