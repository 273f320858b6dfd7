#include "support/Base64.h"

#include <array>

namespace driftmark {

namespace {

constexpr std::string_view alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

constexpr std::array<int, 256> makeDecodeTable() {
    std::array<int, 256> table{};
    table.fill(-1);
    for (std::size_t i = 0; i < alphabet.size(); ++i) {
        table[static_cast<unsigned char>(alphabet[i])] = static_cast<int>(i);
    }
    return table;
}

constexpr auto decodeTable = makeDecodeTable();

} // namespace

std::string base64Encode(const Bytes& bytes) {
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const unsigned group = (bytes[i] << 16u) | (bytes[i + 1] << 8u) | bytes[i + 2];
        text += alphabet[(group >> 18u) & 63u];
        text += alphabet[(group >> 12u) & 63u];
        text += alphabet[(group >> 6u) & 63u];
        text += alphabet[group & 63u];
    }
    const std::size_t rest = bytes.size() - i;
    if (rest > 0) {
        const unsigned group = (bytes[i] << 16u) | (rest == 2 ? bytes[i + 1] << 8u : 0u);
        text += alphabet[(group >> 18u) & 63u];
        text += alphabet[(group >> 12u) & 63u];
        text += rest == 2 ? alphabet[(group >> 6u) & 63u] : '=';
        text += '=';
    }
    return text;
}

std::optional<Bytes> base64Decode(std::string_view text) {
    if (text.size() % 4 != 0) {
        return std::nullopt;
    }
    Bytes bytes;
    bytes.reserve(text.size() / 4 * 3);
    for (std::size_t i = 0; i < text.size(); i += 4) {
        const bool last = i + 4 == text.size();
        const std::size_t padding =
            last ? (text[i + 3] == '=') + (text[i + 2] == '=' && text[i + 3] == '=') : 0;
        unsigned group = 0;
        for (std::size_t j = 0; j < 4; ++j) {
            const char c = text[i + j];
            int value = 0;
            if (j >= 4 - padding) {
                value = 0;
            } else {
                value = decodeTable[static_cast<unsigned char>(c)];
                if (value < 0) {
                    return std::nullopt;
                }
            }
            group = (group << 6u) | static_cast<unsigned>(value);
        }
        bytes.push_back(static_cast<std::uint8_t>(group >> 16u));
        if (padding < 2) {
            bytes.push_back(static_cast<std::uint8_t>((group >> 8u) & 0xFFu));
        }
        if (padding < 1) {
            bytes.push_back(static_cast<std::uint8_t>(group & 0xFFu));
        }
    }
    return bytes;
}

} // namespace driftmark
