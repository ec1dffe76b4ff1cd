#include "core/Text.h"

#include <charconv>

namespace Text {

namespace {

bool isSpace(char16_t c) {
    return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
           (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F ||
           c == 0x205F || c == 0x3000;
}

} // namespace

std::u16string ascii(std::string_view ascii) {
    return {ascii.begin(), ascii.end()};
}

std::u16string integer(long long value) {
    return ascii(std::to_string(value));
}

std::u16string number(double value) {
    char buffer[32];
    const auto written =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 6);
    return ascii(std::string_view(buffer, std::size_t(written.ptr - buffer)));
}

std::u16string trimmed(std::u16string_view text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && isSpace(text[first]))
        ++first;
    while (last > first && isSpace(text[last - 1]))
        --last;
    return std::u16string(text.substr(first, last - first));
}

std::u16string replaced(std::u16string text, std::u16string_view from, std::u16string_view to) {
    if (from.empty())
        return text;
    for (std::size_t at = text.find(from); at != std::u16string::npos;
         at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

std::u16string arg(std::u16string_view pattern, std::initializer_list<std::u16string_view> args) {
    std::u16string text;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const std::size_t n = i + 1 < pattern.size() ? std::size_t(pattern[i + 1] - u'1') : 9;
        if (pattern[i] == u'%' && n < args.size()) {
            text += args.begin()[n];
            ++i;
        } else {
            text += pattern[i];
        }
    }
    return text;
}

} // namespace Text
