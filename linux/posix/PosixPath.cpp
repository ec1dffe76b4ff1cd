#include "linux/posix/PosixPath.h"

#include "core/Utf8.h"

#include <unistd.h>

namespace PosixPath {

namespace {

constexpr char16_t StrayByte = 0xDC00; // plus the byte, 0x80 to 0xFF

bool isHigh(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

bool isStrayByte(std::u16string_view text, std::size_t at) {
    return text[at] >= StrayByte + 0x80 && text[at] <= StrayByte + 0xFF &&
           (at == 0 || !isHigh(text[at - 1]));
}

} // namespace

std::string native(std::u16string_view path) {
    std::string bytes;
    std::size_t from = 0; // the start of the run of text not yet encoded
    for (std::size_t at = 0; at <= path.size(); ++at) {
        if (at < path.size() && !isStrayByte(path, at))
            continue;
        bytes += Utf8::encode(path.substr(from, at - from));
        if (at < path.size())
            bytes += char(path[at] - StrayByte);
        from = at + 1;
    }
    return bytes;
}

std::u16string text(std::string_view native) {
    if (Utf8::isValid(native))
        return Utf8::decode(native);
    std::u16string path;
    for (std::size_t at = 0; at < native.size();) {
        std::size_t length = 1;
        while (length <= 4 &&
               !(at + length <= native.size() && Utf8::isValid(native.substr(at, length))))
            ++length;
        if (length > 4) {
            path += char16_t(StrayByte + static_cast<unsigned char>(native[at++]));
            continue;
        }
        path += Utf8::decode(native.substr(at, length));
        at += length;
    }
    return path;
}

std::string linkTarget(const std::string& path) {
    std::string target(256, '\0');
    for (;;) {
        const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
        if (n < 0)
            return {};
        if (std::size_t(n) < target.size())
            return target.substr(0, std::size_t(n));
        target.resize(target.size() * 2);
    }
}

std::u16string shown(std::u16string_view path) {
    static constexpr std::u16string_view ViaDescriptor = u"/proc/self/fd/";
    if (!path.starts_with(ViaDescriptor))
        return std::u16string(path);
    const std::size_t rest = path.find(u'/', ViaDescriptor.size());
    const std::u16string folder = Utf8::decode(linkTarget(native(path.substr(0, rest))));
    if (folder.empty())
        return std::u16string(path);
    return folder + std::u16string(rest == std::u16string_view::npos ? u"" : path.substr(rest));
}

} // namespace PosixPath
