#include "chime/WaveFile.h"

#include "core/FileSystem.h"
#include "core/Utf8.h"

#include <cstring>
#include <utility>

namespace {

constexpr unsigned Pcm = 1;
constexpr unsigned Float = 3;
constexpr unsigned ALawTag = 6;
constexpr unsigned MuLawTag = 7;
constexpr unsigned Extensible = 0xFFFE;
// The rates sound devices and servers play at, from the lowest any takes to the highest that
// PulseAudio does: outside them a sound is silent at best, and some drivers fail on it.
constexpr unsigned MinRate = 1000;
constexpr unsigned MaxRate = 768000;

unsigned little16(const char* p) {
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    return unsigned(u[0]) | unsigned(u[1]) << 8;
}

std::uint32_t little32(const char* p) {
    return little16(p) | std::uint32_t(little16(p + 2)) << 16;
}

// A chunk's name is four printable characters: anything else means the walk went astray.
bool isChunkName(const char* p) {
    for (int i = 0; i < 4; ++i)
        if (p[i] < 0x20 || p[i] > 0x7e)
            return false;
    return true;
}

} // namespace

std::string WaveFile::load(FileSystem& fileSystem, std::u16string_view path) {
    path_ = Utf8::encode(fileSystem.shownPath(path));
    FileFacts facts;
    const FileError failed = fileSystem.inspect(path, facts, &bytes_, MaxSize);
    using Kind = FileFacts::Kind;
    if (facts.kind == Kind::Missing)
        return cannotOpen(path_);
    if (facts.kind != Kind::Regular)
        return notOrdinary(path_);
    if (facts.size > MaxSize)
        return tooLarge(path_);
    if (failed && failed.reason != FileReason::TooLarge)
        return cannotRead(path_);
    if (failed || bytes_.size() != std::size_t(facts.size)) // it grew or shrank meanwhile
        return changing(path_);
    return readChunks();
}

std::string WaveFile::cannotOpen(const std::string& path) {
    return "Soubor " + path + " nelze otevřít.";
}

std::string WaveFile::notOrdinary(const std::string& path) {
    return "Soubor " + path + " není obyčejný soubor.";
}

std::string WaveFile::tooLarge(const std::string& path) {
    return "Soubor " + path + " je větší než " + std::to_string(MaxSize >> 20) +
           " MB, na zvuk varování je příliš velký.";
}

std::string WaveFile::cannotRead(const std::string& path) {
    return "Soubor " + path + " nelze přečíst.";
}

std::string WaveFile::changing(const std::string& path) {
    return "Soubor " + path + " se právě mění.";
}

std::string WaveFile::readChunks() {
    const std::string file = "Soubor " + path_;
    const std::string invalid = file + " není platný zvukový soubor WAV.";
    const char* b = bytes_.data();
    if (bytes_.size() < 12 || std::memcmp(b, "RIFF", 4) != 0 || std::memcmp(b + 8, "WAVE", 4) != 0)
        return invalid;
    // The chunks are those within the size the file gives itself; what follows is no sound.
    const std::uint64_t riffEnd = 8 + std::uint64_t(little32(b + 4));
    if (riffEnd < 12)
        return invalid;
    if (riffEnd > bytes_.size())
        return file + " je neúplný: chybí část zvuku.";
    const std::size_t size = std::size_t(riffEnd);
    bool format = false;
    std::size_t at = 12;
    for (;;) {
        if (size - at < 8)
            return at == size ? invalid : file + " je neúplný: chybí část zvuku.";
        if (!isChunkName(b + at))
            return invalid;
        const std::size_t chunk = little32(b + at + 4);
        const std::size_t body = at + 8;
        if (std::memcmp(b + at, "data", 4) == 0) {
            if (!format)
                return invalid;
            if (size - body < chunk)
                return file + " je neúplný: chybí část zvuku.";
            if (chunk == 0)
                return file + " neobsahuje žádný zvuk.";
            if (chunk % frameSize_ != 0)
                return file + " je poškozený: zvuk nekončí celým vzorkem.";
            dataOffset_ = body;
            dataSize_ = chunk;
            return {};
        }
        if (size - body < chunk + (chunk & 1))
            return file + " je neúplný: chybí část zvuku.";
        // The byte after a chunk of odd length is a zero. Where the writer left it out, the
        // next chunk starts a byte early, and which of the two was meant cannot be known.
        if (chunk & 1 && b[body + chunk] != 0)
            return file + " je poškozený: za blokem liché délky chybí výplňový bajt.";
        if (std::memcmp(b + at, "fmt ", 4) == 0) {
            if (std::string why = readFormat(body, chunk); !why.empty())
                return why;
            format = true;
            formatOffset_ = body;
            formatSize_ = chunk;
        }
        at = body + chunk + (chunk & 1);
    }
}

std::string WaveFile::readFormat(std::size_t at, std::size_t size) {
    const char* f = bytes_.data() + at;
    if (size < 16)
        return "Soubor " + path_ + " není platný zvukový soubor WAV.";
    formatTag_ = little16(f);
    channels_ = little16(f + 2);
    rate_ = little32(f + 4);
    const unsigned blockAlign = little16(f + 12);
    bits_ = little16(f + 14);
    unsigned tag = formatTag_;
    if (tag == Extensible && size >= 40)
        tag = little16(f + 24); // the first two bytes of the sub-format's GUID
    const bool known = (tag == Pcm && (bits_ == 8 || bits_ == 16 || bits_ == 24 || bits_ == 32)) ||
                       (tag == Float && bits_ == 32) ||
                       ((tag == ALawTag || tag == MuLawTag) && bits_ == 8);
    if (!known || channels_ == 0 || rate_ < MinRate || rate_ > MaxRate ||
        blockAlign != channels_ * bits_ / 8)
        return unplayable();
    encoding_ = tag == Float      ? Encoding::Float32
                : tag == ALawTag  ? Encoding::ALaw
                : tag == MuLawTag ? Encoding::MuLaw
                : bits_ == 8      ? Encoding::Unsigned8
                : bits_ == 16     ? Encoding::Signed16
                : bits_ == 24     ? Encoding::Signed24
                                  : Encoding::Signed32;
    frameSize_ = blockAlign;
    return {};
}

std::string WaveFile::unplayable() const {
    return "Zvuk v souboru " + path_ + " je ve formátu, který program neumí přehrát (formát " +
           std::to_string(formatTag_) + ", " + std::to_string(bits_) + " bitů, " +
           std::to_string(channels_) + " kanálů, " + std::to_string(rate_) + " Hz).";
}
