#include "windows/WinChime.h"

#include "chime/WaveFile.h"
#include "core/Utf8.h"
#include "windows/SystemLibrary.h"
#include "windows/WinPath.h"
#include "windows/WinText.h"

#include <windows.h>

#include <mmsystem.h>

#include <algorithm>
#include <cstring>
#include <utility>

WinChime::WinChime(std::function<void(const std::u16string&)> report)
    : report_(std::move(report)),
      playSound_(systemFunction<decltype(PlaySoundW)>(L"winmm.dll", "PlaySoundW")),
      devices_(systemFunction<decltype(waveOutGetNumDevs)>(L"winmm.dll", "waveOutGetNumDevs")),
      open_(systemFunction<decltype(waveOutOpen)>(L"winmm.dll", "waveOutOpen")) {}

WinChime::~WinChime() {
    if (playSound_)
        playSound_(nullptr, nullptr, 0);
}

std::string WinChime::read(const std::wstring& name, const std::string& shown,
                           std::vector<char>& bytes) {
    const DWORD attributes = GetFileAttributesW(name.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return WaveFile::notOrdinary(shown);
    HANDLE file = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return WaveFile::cannotOpen(shown);
    std::string why;
    LARGE_INTEGER size{};
    if (GetFileType(file) != FILE_TYPE_DISK)
        why = WaveFile::notOrdinary(shown);
    else if (!GetFileSizeEx(file, &size))
        why = WaveFile::cannotRead(shown);
    else if (size.QuadPart > WaveFile::MaxSize)
        why = WaveFile::tooLarge(shown);
    if (why.empty()) {
        bytes.resize(std::size_t(size.QuadPart) + 1); // one more: a file that grew is seen
        DWORD got = 0;
        if (!ReadFile(file, bytes.data(), DWORD(bytes.size()), &got, nullptr))
            why = WaveFile::cannotRead(shown);
        else if (got == bytes.size())
            why = WaveFile::changing(shown);
        bytes.resize(got);
    }
    CloseHandle(file);
    return why;
}

bool WinChime::playable(const char* format, std::size_t size) const {
    // The chunk as a WAVEFORMATEX: a plain PCM one (16 bytes) has no size of its extra part,
    // and the extra part is no longer than the chunk holds.
    std::vector<char> copy(std::max(size, sizeof(WAVEFORMATEX)), '\0');
    std::memcpy(copy.data(), format, size);
    auto* header = reinterpret_cast<WAVEFORMATEX*>(copy.data());
    header->cbSize = size < sizeof(WAVEFORMATEX)
                         ? 0
                         : WORD(std::min<std::size_t>(header->cbSize, size - sizeof(WAVEFORMATEX)));
    return open_ &&
           open_(nullptr, WAVE_MAPPER, header, 0, 0, WAVE_FORMAT_QUERY) == MMSYSERR_NOERROR;
}

void WinChime::play(std::u16string_view path) {
    if (playSound_)
        playSound_(nullptr, nullptr, 0); // the new warning's chime replaces the old one's
    playing_.clear();
    const std::string shown = Utf8::encode(text(WinPath::shown(path)));
    std::vector<char> bytes;
    WaveFile wave;
    std::string why = read(WinPath::forApi(path), shown, bytes);
    if (why.empty())
        why = wave.take(shown, bytes);
    if (why.empty()) {
        playing_ = std::move(bytes);
        if (!playSound_ || !devices_ || devices_() == 0)
            why = "Počítač nemá žádný zvukový výstup.";
        else if (!playable(wave.format(), wave.formatSize()))
            why = wave.unplayable(); // no device or codec takes its rate, channels or samples
        else if (!playSound_(reinterpret_cast<LPCWSTR>(playing_.data()), nullptr,
                             SND_MEMORY | SND_ASYNC | SND_NODEFAULT))
            why = wave.unplayable(); // no codec for its format
    }
    if (!why.empty())
        report_(Utf8::decode(why));
}
