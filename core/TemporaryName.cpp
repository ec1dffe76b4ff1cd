#include "core/TemporaryName.h"

namespace TemporaryName {

namespace {

constexpr std::u16string_view Suffix = u".tmp";
constexpr std::size_t MaxDigits = 10;   // 4294967295
constexpr std::int64_t LeftAfter = 600; // seconds

} // namespace

std::u16string of(std::u16string_view path, std::uint32_t number) {
    std::u16string digits;
    do {
        digits.insert(digits.begin(), char16_t(u'0' + number % 10));
        number /= 10;
    } while (number != 0);
    return std::u16string(path) + u"." + digits + std::u16string(Suffix);
}

bool isLeftBehind(std::u16string_view name, std::u16string_view fileName, std::int64_t age) {
    if (age < LeftAfter || name.size() < fileName.size() + Suffix.size() ||
        !name.starts_with(fileName) || !name.ends_with(Suffix))
        return false;
    name.remove_prefix(fileName.size());
    name.remove_suffix(Suffix.size());
    if (name.size() < 2 || name.size() > MaxDigits + 1 || name.front() != u'.')
        return false;
    for (const char16_t c : name.substr(1))
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

} // namespace TemporaryName
