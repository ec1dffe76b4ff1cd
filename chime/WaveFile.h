#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

class FileSystem;

// A wave file read whole and checked to its last byte before any of it is played: whatever
// the player is given, it can finish. Plain C++, so the chime helper starts without Qt, and
// the Windows build reads and checks its sound by the same rules, each through its own file
// primitives.
class WaveFile {
  public:
    // How the samples are stored.
    enum class Encoding { Unsigned8, Signed16, Signed24, Signed32, Float32, ALaw, MuLaw };

    // A chime lasts seconds: 16 MiB is a minute and a half of CD-quality stereo. A larger
    // file is refused before a byte of it is read.
    static constexpr std::int64_t MaxSize = std::int64_t(16) << 20;

    // Reads the file at `path` whole, without waiting on it (a FIFO put in its place), and
    // checks it. Returns why it cannot be played, in Czech, or nothing.
    std::string load(FileSystem& fileSystem, std::u16string_view path);
    // Why a format that load() accepted cannot be played all the same (the sound server's
    // limits on rate and channels are its own).
    std::string unplayable() const;

    Encoding encoding() const { return encoding_; }
    unsigned channels() const { return channels_; }
    unsigned rate() const { return rate_; }
    std::size_t frameSize() const { return frameSize_; }
    // The whole file, as read.
    const char* bytes() const { return bytes_.data(); }
    // The format chunk as the file has it (a WAVEFORMATEX and what follows it).
    const char* format() const { return bytes_.data() + formatOffset_; }
    std::size_t formatSize() const { return formatSize_; }
    // The samples: a whole number of frames, at least one.
    const char* samples() const { return bytes_.data() + dataOffset_; }
    std::size_t samplesSize() const { return dataSize_; }

  private:
    // Why the file named `path` could not be read, in Czech.
    static std::string cannotOpen(const std::string& path);
    static std::string notOrdinary(const std::string& path); // a folder, a FIFO, a device
    static std::string tooLarge(const std::string& path);
    static std::string cannotRead(const std::string& path);
    static std::string changing(const std::string& path); // its size changed while it was read

    std::string readFormat(std::size_t at, std::size_t size);
    std::string readChunks();

    std::string path_;
    std::string bytes_;
    Encoding encoding_ = Encoding::Signed16;
    unsigned formatTag_ = 0;
    unsigned bits_ = 0;
    unsigned channels_ = 0;
    unsigned rate_ = 0;
    std::size_t frameSize_ = 0;
    std::size_t formatOffset_ = 0;
    std::size_t formatSize_ = 0;
    std::size_t dataOffset_ = 0;
    std::size_t dataSize_ = 0;
};
