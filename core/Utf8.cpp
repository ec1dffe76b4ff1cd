#include "core/Utf8.h"

namespace Utf8 {

namespace {

constexpr char32_t Replacement = 0xFFFD;
constexpr char16_t StrayByte = 0xDC00; // plus the byte, 0x80 to 0xFF

// The code point at `at`, moving past it; Replacement for an ill-formed part (and `wellFormed`
// false), which is left as far as its longest start that could still have been well formed.
char32_t next(std::string_view bytes, std::size_t& at, bool& wellFormed) {
    wellFormed = false;
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(at++);
    wellFormed = lead < 0x80;
    if (wellFormed)
        return lead;
    int more = 0;
    unsigned char low = 0x80; // the bounds of the second byte
    unsigned char high = 0xBF;
    char32_t point = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        more = 1;
        point = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        more = 2;
        point = lead & 0x0F;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        more = 3;
        point = lead & 0x07;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return Replacement;
    }
    for (int i = 0; i < more; ++i, low = 0x80, high = 0xBF) {
        if (at >= bytes.size() || byte(at) < low || byte(at) > high)
            return Replacement;
        point = (point << 6) | (byte(at++) & 0x3F);
    }
    wellFormed = true;
    return point;
}

// The text of `bytes`; with `keepBytes`, an ill-formed part's bytes as stray bytes.
std::u16string decode(std::string_view bytes, bool keepBytes) {
    std::u16string text;
    text.reserve(bytes.size());
    bool wellFormed = true;
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t from = at;
        const char32_t point = next(bytes, at, wellFormed);
        if (!wellFormed && keepBytes) {
            for (std::size_t i = from; i < at; ++i)
                text += char16_t(StrayByte + static_cast<unsigned char>(bytes[i]));
        } else if (point < 0x10000) {
            text += char16_t(point);
        } else {
            text += char16_t(0xD800 + ((point - 0x10000) >> 10));
            text += char16_t(0xDC00 + ((point - 0x10000) & 0x3FF));
        }
    }
    return text;
}

} // namespace

bool isValid(std::string_view bytes) {
    bool wellFormed = true;
    for (std::size_t at = 0; at < bytes.size() && wellFormed;)
        next(bytes, at, wellFormed);
    return wellFormed;
}

std::u16string decode(std::string_view bytes) {
    return decode(bytes, false);
}

std::u16string decodeKeepingBytes(std::string_view bytes) {
    return decode(bytes, true);
}

std::string encodeKeepingBytes(std::u16string_view text) {
    std::string bytes;
    std::size_t from = 0; // the start of the run of text not yet encoded
    for (std::size_t at = 0; at <= text.size(); ++at) {
        const bool stray = at < text.size() && text[at] >= StrayByte + 0x80 &&
                           text[at] <= StrayByte + 0xFF &&
                           (at == 0 || text[at - 1] < 0xD800 || text[at - 1] > 0xDBFF);
        if (at < text.size() && !stray)
            continue;
        bytes += encode(text.substr(from, at - from));
        if (stray)
            bytes += char(text[at] - StrayByte);
        from = at + 1;
    }
    return bytes;
}

std::string encode(std::u16string_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t point = text[i];
        if (point >= 0xD800 && point <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF)
            point = 0x10000 + ((point - 0xD800) << 10) + (text[++i] - 0xDC00);
        else if (point >= 0xD800 && point <= 0xDFFF)
            point = Replacement; // half of a pair, alone
        if (point < 0x80) {
            bytes += char(point);
        } else if (point < 0x800) {
            bytes += char(0xC0 | (point >> 6));
            bytes += char(0x80 | (point & 0x3F));
        } else if (point < 0x10000) {
            bytes += char(0xE0 | (point >> 12));
            bytes += char(0x80 | ((point >> 6) & 0x3F));
            bytes += char(0x80 | (point & 0x3F));
        } else {
            bytes += char(0xF0 | (point >> 18));
            bytes += char(0x80 | ((point >> 12) & 0x3F));
            bytes += char(0x80 | ((point >> 6) & 0x3F));
            bytes += char(0x80 | (point & 0x3F));
        }
    }
    return bytes;
}

} // namespace Utf8
