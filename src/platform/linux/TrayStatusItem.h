#pragma once

#include "platform/StatusBar.h"

#include <QObject>
#include <memory>
#include <optional>
#include <string>

namespace driftmark {

class TrayStatusBar;

// One entry's status item, whichever tray protocol shows it: it keeps what the item shows and does, and
// hands all of it to the protocol's own item, again each time the item moves to another protocol.
class TrayStatusItem final : public StatusItem {
public:
    TrayStatusItem(TrayStatusBar& bar, StatusItemNames names);
    ~TrayStatusItem() override;
    TrayStatusItem(const TrayStatusItem&) = delete;
    TrayStatusItem& operator=(const TrayStatusItem&) = delete;

    void setImage(const DiscIcon& icon) override;
    void setToolTip(const std::string& text) override;
    void setHandlers(StatusItemHandlers handlers) override;
    // The protocol's item changes the opacity; the completion is this item's own, so that it comes even
    // when the item moves meanwhile.
    void animateAlphaValue(double alpha, double duration, std::function<void()> completion) override;

    const StatusItemNames& names() const { return names_; }
    // The protocol's item now, if any.
    StatusItem* shown() const { return shown_.get(); }
    // Shows everything on the new protocol's item.
    void showOn(std::unique_ptr<StatusItem> item);
    // Takes the protocol's item away, for its bar to remove.
    std::unique_ptr<StatusItem> takeShown();

private:
    TrayStatusBar& bar_;
    StatusItemNames names_;
    std::optional<DiscIcon> image_;
    std::optional<std::string> toolTip_;
    StatusItemHandlers handlers_;
    double alpha_ = 1;
    std::unique_ptr<StatusItem> shown_;
    QObject animations_; // context of pending completions: they die with the item
};

} // namespace driftmark
