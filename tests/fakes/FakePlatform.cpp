#include "fakes/FakePlatform.h"

namespace driftmark::test {

std::vector<std::string> FakePlatform::logMessages(std::string_view category) const {
    std::vector<std::string> messages;
    for (const auto& entry : recordedLog.entries()) {
        if (entry.category == category) {
            messages.push_back(entry.message);
        }
    }
    return messages;
}

} // namespace driftmark::test
