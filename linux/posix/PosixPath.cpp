#include "linux/posix/PosixPath.h"

#include "core/Utf8.h"

#include <unistd.h>

namespace PosixPath {

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
