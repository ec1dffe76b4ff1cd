// Fuzzes the settings file reader and writer. Input: one byte choosing the entry, one byte
// giving the length of the value to write, the value (UTF-8), then the file's bytes.
// Every read must stay within its buffer; the written value must read back as itself,
// the way a profile read returns it (blanks trimmed, one pair of quotes removed, line
// breaks as blanks), cut to the buffer. An input that takes over two seconds fails too.
#include "core/ProfileFile.h"
#include "core/Utf8.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

const char16_t* const Sections[] = {u"texts", u"data"};
const char16_t* const Keys[] = {u"1", u"2"};
const int Sizes[] = {100, 10, 5};

bool isBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f' || c == 0x1a;
}

std::u16string asRead(std::u16string value) {
    for (char16_t& c : value)
        if (c == u'\r' || c == u'\n' || c == 0)
            c = u' ';
    std::size_t first = 0;
    std::size_t last = value.size();
    while (first < last && isBlank(value[first]))
        ++first;
    while (last > first && isBlank(value[last - 1]))
        --last;
    value = value.substr(first, last - first);
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return value;
}

// A read cut to the buffer never keeps half of a character.
std::u16string cut(std::u16string value, int bufferSize) {
    value.resize(std::min(value.size(), std::size_t(bufferSize - 1)));
    if (!value.empty() && value.back() >= 0xD800 && value.back() <= 0xDBFF)
        value.pop_back();
    return value;
}

void check(bool ok) {
    if (!ok)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    const int entry = data[0] % 4;
    const std::size_t valueLength = std::min<std::size_t>(data[1], size - 2);
    const std::u16string value =
        Utf8::decode(std::string_view(reinterpret_cast<const char*>(data + 2), valueLength));
    const std::string content(reinterpret_cast<const char*>(data + 2 + valueLength),
                              size - 2 - valueLength);
    const std::u16string section = Sections[entry / 2];
    const std::u16string key = Keys[entry % 2];

    const ProfileFile before(content);
    for (const char16_t* s : Sections)
        for (const char16_t* k : Keys)
            for (int bufferSize : Sizes) {
                const std::u16string read = before.read(s, k, u"...", bufferSize);
                check(read.size() <= std::size_t(bufferSize - 1) &&
                      read.find(u'\0') == std::u16string::npos);
            }

    ProfileFile written(content);
    written.setValue(section, key, value);
    const ProfileFile after(written.bytes());
    const std::u16string expected = asRead(value);
    check(after.value(section, key) == expected);
    for (int bufferSize : Sizes)
        check(after.read(section, key, u"...", bufferSize) == cut(expected, bufferSize));
    return 0;
}
