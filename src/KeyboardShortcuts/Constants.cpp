#include "KeyboardShortcuts/Constants.h"

#include <cstdlib>

namespace driftmark::KeyboardShortcuts::Constants {

bool isSandboxed() {
    static const bool sandboxed = environmentMarksSandbox();
    return sandboxed;
}

bool environmentMarksSandbox() {
    return std::getenv("APP_SANDBOX_CONTAINER_ID") != nullptr;
}

} // namespace driftmark::KeyboardShortcuts::Constants
