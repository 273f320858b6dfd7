#pragma once

#include <array>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace driftmark {

// A 128-bit identifier, written in the canonical 8-4-4-4-12 form with upper-case digits.
class Uuid {
public:
    using Bytes = std::array<std::uint8_t, 16>;

    // The nil identifier (all zero); real identities come from random() or parse().
    Uuid() = default;
    explicit Uuid(const Bytes& bytes)
        : bytes_(bytes) {}

    static Uuid random();
    // Accepts the canonical 36-character form in any letter case; anything else is absent.
    static std::optional<Uuid> parse(std::string_view text);

    std::string toString() const;
    const Bytes& bytes() const { return bytes_; }

    friend auto operator<=>(const Uuid&, const Uuid&) = default;

private:
    Bytes bytes_{};
};

} // namespace driftmark

template <>
struct std::hash<driftmark::Uuid> {
    std::size_t operator()(const driftmark::Uuid& uuid) const noexcept;
};
