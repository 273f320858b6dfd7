#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace driftmark {

// Text that comes from outside the program (entry titles and texts from the preferences file, arguments of
// requests and of the command line, names other programs give their windows) as a log line or a reply may
// carry it: control characters are spelled out, so that a message stays one line and sends nothing to a
// terminal, and what is echoed of it is capped. Plain C++, for the logic and the Linux layer alike.
class OutsideText {
public:
    // An entry's position or id, or a title, needs far less; longer arguments are refused unread.
    static constexpr std::size_t argumentLimit = 4096;
    // How much of a piece of outside text a message echoes.
    static constexpr std::size_t echoLimit = 200;
    // How much of a refused value a report quotes.
    static constexpr std::size_t reportLimit = 100;
    // The longest message a log line holds; the rest is cut.
    static constexpr std::size_t messageLimit = 16384;

    // C0 controls and DEL as \n, \r, \t or \xHH, C1 controls as \u0080 to \u009f, and bytes that are not
    // UTF-8 as \xHH. A backslash stays as it is, so escaping twice changes nothing.
    static std::string escaped(std::string_view text) {
        std::string result;
        result.reserve(text.size());
        std::size_t at = 0;
        while (at < text.size()) {
            const auto byte = static_cast<unsigned char>(text[at]);
            if (byte < 0x20 || byte == 0x7f) {
                appendControl(result, byte);
                ++at;
                continue;
            }
            const std::size_t length = sequenceLength(text, at);
            if (length == 0) {
                appendHex(result, "\\x", byte);
                ++at;
                continue;
            }
            // C1 controls are U+0080 to U+009F: C2 80 to C2 9F.
            if (length == 2 && byte == 0xc2 && static_cast<unsigned char>(text[at + 1]) < 0xa0) {
                appendHex(result, "\\u00", static_cast<unsigned char>(text[at + 1]));
            } else {
                result.append(text.substr(at, length));
            }
            at += length;
        }
        return result;
    }

    // The escaped text, or its first `limit` bytes (whole characters) escaped and followed by "…".
    static std::string excerpt(std::string_view text, std::size_t limit = echoLimit) {
        if (text.size() <= limit) {
            return escaped(text);
        }
        // A character the limit would split is left out whole.
        std::size_t start = limit;
        while (start > 0 && limit - start < 3 && isContinuation(text[start])) {
            --start;
        }
        const std::size_t length = sequenceLength(text, start);
        const std::size_t cut = length != 0 && start + length > limit ? start : limit;
        return escaped(text.substr(0, cut)) + "…";
    }

    // For reports of a refused value: the excerpt followed by the whole length, as in
    // `{"Deep": [[[[[… (600011 bytes)`, or the whole escaped text when it is short.
    static std::string measuredExcerpt(std::string_view text, std::size_t limit = reportLimit) {
        if (text.size() <= limit) {
            return escaped(text);
        }
        return excerpt(text, limit) + " (" + std::to_string(text.size()) + " bytes)";
    }

private:
    static bool isContinuation(char c) { return (static_cast<unsigned char>(c) & 0xc0) == 0x80; }

    static void appendHex(std::string& out, const char* prefix, unsigned char byte) {
        static constexpr char digits[] = "0123456789abcdef";
        out.append(prefix);
        out.push_back(digits[byte >> 4]);
        out.push_back(digits[byte & 0x0f]);
    }

    static void appendControl(std::string& out, unsigned char byte) {
        switch (byte) {
        case '\n':
            out.append("\\n");
            return;
        case '\r':
            out.append("\\r");
            return;
        case '\t':
            out.append("\\t");
            return;
        default:
            appendHex(out, "\\x", byte);
        }
    }

    // The length of the well-formed UTF-8 sequence starting at `at` (1 for ASCII), or 0 when none starts
    // there: stray continuation bytes, cut sequences, overlong forms, surrogates, values past U+10FFFF.
    static std::size_t sequenceLength(std::string_view text, std::size_t at) {
        const auto lead = static_cast<unsigned char>(text[at]);
        if (lead < 0x80) {
            return 1;
        }
        std::size_t length = 0;
        std::uint32_t value = 0;
        if (lead >= 0xc2 && lead <= 0xdf) {
            length = 2;
            value = lead & 0x1fU;
        } else if (lead >= 0xe0 && lead <= 0xef) {
            length = 3;
            value = lead & 0x0fU;
        } else if (lead >= 0xf0 && lead <= 0xf4) {
            length = 4;
            value = lead & 0x07U;
        } else {
            return 0;
        }
        if (text.size() - at < length) {
            return 0;
        }
        for (std::size_t i = 1; i < length; ++i) {
            if (!isContinuation(text[at + i])) {
                return 0;
            }
            value = (value << 6) | (static_cast<unsigned char>(text[at + i]) & 0x3fU);
        }
        const bool overlong = (length == 3 && value < 0x800) || (length == 4 && value < 0x10000);
        const bool surrogate = value >= 0xd800 && value <= 0xdfff;
        return overlong || surrogate || value > 0x10ffff ? 0 : length;
    }
};

} // namespace driftmark
