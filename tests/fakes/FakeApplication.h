#pragma once

#include "fakes/Timeline.h"
#include "platform/Application.h"
#include "platform/SystemLog.h"

namespace driftmark::test {

// Requests go on the timeline as "application: ...".
class FakeApplication final : public Application {
public:
    explicit FakeApplication(Timeline& timeline)
        : timeline_(timeline) {}

    void setAccessoryActivationPolicy() override {
        isAccessory = true;
        timeline_.record("application", "setAccessoryActivationPolicy");
    }
    void terminate() override {
        ++terminateRequests;
        timeline_.record("application", "terminate");
    }
    void relaunch() override {
        ++relaunchRequests;
        timeline_.record("application", "relaunch");
    }
    std::optional<std::string> bundleIdentifier() const override { return identifier; }
    std::string processName() const override { return name; }

    bool isAccessory = false;
    int terminateRequests = 0;
    int relaunchRequests = 0;
    std::optional<std::string> identifier = std::string(applicationId);
    std::string name = "driftmark-menubar";

private:
    Timeline& timeline_;
};

} // namespace driftmark::test
