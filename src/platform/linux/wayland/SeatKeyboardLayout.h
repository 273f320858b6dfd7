#pragma once

#include "platform/KeyboardLayout.h"

#include <cstdint>
#include <memory>

struct xkb_context;
struct xkb_keymap;

namespace driftmark {

class SeatKeymap;

// Key cap texts from the keymap the compositor gives its clients: of its layouts, the one the seat is on
// when it is ASCII-capable, else the first that is. The keymap is compiled on first use and again after
// the seat gave a new one.
class SeatKeyboardLayout final : public KeyboardLayout {
public:
    // The seat's keymap must outlive this.
    explicit SeatKeyboardLayout(const SeatKeymap& seatKeymap);
    ~SeatKeyboardLayout() override;
    SeatKeyboardLayout(const SeatKeyboardLayout&) = delete;
    SeatKeyboardLayout& operator=(const SeatKeyboardLayout&) = delete;

    std::optional<std::string> keyCapText(std::uint16_t keyCode) const override;

private:
    struct Release {
        void operator()(xkb_context* context) const;
        void operator()(xkb_keymap* keymap) const;
    };

    xkb_keymap* keymap() const;

    const SeatKeymap& seatKeymap_;
    std::unique_ptr<xkb_context, Release> context_;
    mutable std::unique_ptr<xkb_keymap, Release> keymap_;
    mutable std::uint64_t compiledGeneration_ = 0;
};

} // namespace driftmark
