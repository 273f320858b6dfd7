#pragma once

#include "platform/PlatformServices.h"

#include <memory>

namespace driftmark {

// The desktop's implementation of every platform service, built once the application object exists.
// Objects that hold status items must be destroyed before this.
class LinuxPlatform {
public:
    LinuxPlatform();
    ~LinuxPlatform();
    LinuxPlatform(const LinuxPlatform&) = delete;
    LinuxPlatform& operator=(const LinuxPlatform&) = delete;

    PlatformServices services();

private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
};

} // namespace driftmark
