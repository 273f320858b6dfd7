#pragma once

#include "platform/Application.h"

namespace driftmark {

// The Qt application. A tray program has no dock entry to hide; it only must not quit when its
// last window closes.
class QtApplication final : public Application {
public:
    void setAccessoryActivationPolicy() override;
    void terminate() override;
    void relaunch() override;
    std::optional<std::string> bundleIdentifier() const override;
    std::string processName() const override;
};

} // namespace driftmark
