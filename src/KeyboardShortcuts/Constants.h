#pragma once

namespace driftmark::KeyboardShortcuts::Constants {

// Whether the process runs in an app sandbox, read once: the sandbox sets APP_SANDBOX_CONTAINER_ID.
bool isSandboxed();
// The same test, on the environment as it is now.
bool environmentMarksSandbox();

} // namespace driftmark::KeyboardShortcuts::Constants
