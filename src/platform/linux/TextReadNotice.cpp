#include "platform/linux/TextReadNotice.h"

#include <QCoreApplication>
#include <QTimer>
#include <utility>

namespace driftmark {

void TextReadNotice::await(std::function<void()> read) {
    ++state_->awaited;
    state_->read = std::move(read);
}

TextReadNotice::RequestListener TextReadNotice::requestListener() const {
    return [weak = std::weak_ptr<State>(state_)](std::string_view type) {
        const auto state = weak.lock();
        if (!state || !state->read || !type.starts_with("text/plain")) {
            return;
        }
        QTimer::singleShot(0, QCoreApplication::instance(), [weak, awaited = state->awaited] {
            const auto current = weak.lock();
            if (current && current->awaited == awaited && current->read) {
                std::exchange(current->read, {})();
            }
        });
    };
}

} // namespace driftmark
