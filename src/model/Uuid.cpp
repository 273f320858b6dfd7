#include "model/Uuid.h"

#include <uuid/uuid.h>

namespace driftmark {

Uuid Uuid::random() {
    Bytes bytes;
    ::uuid_generate_random(bytes.data());
    return Uuid(bytes);
}

std::optional<Uuid> Uuid::parse(std::string_view text) {
    constexpr std::size_t canonicalLength = 36;
    if (text.size() != canonicalLength) {
        return std::nullopt;
    }
    // uuid_parse wants a terminated string; a NUL inside the text makes it shorter and so refused.
    const std::string terminated(text);
    Bytes bytes;
    if (::uuid_parse(terminated.c_str(), bytes.data()) != 0) {
        return std::nullopt;
    }
    return Uuid(bytes);
}

std::string Uuid::toString() const {
    char text[37];
    ::uuid_unparse_upper(bytes_.data(), text);
    return text;
}

} // namespace driftmark

std::size_t std::hash<driftmark::Uuid>::operator()(const driftmark::Uuid& uuid) const noexcept {
    // Random identifiers are already evenly spread: folding the two halves is enough.
    std::uint64_t high = 0;
    std::uint64_t low = 0;
    for (std::size_t i = 0; i < 8; ++i) {
        high = (high << 8) | uuid.bytes()[i];
        low = (low << 8) | uuid.bytes()[i + 8];
    }
    return static_cast<std::size_t>(high ^ low);
}
