#include "windows/WinChime.h"

#include "chime/ChimeProtocol.h"
#include "chime/WaveFile.h"
#include "core/Utf8.h"
#include "windows/SystemLibrary.h"
#include "windows/WinFileSystem.h"

#include <windows.h>

#include <mmsystem.h>

#include <algorithm>
#include <cstring>
#include <utility>

WinChime::WinChime()
    : playSound_(systemFunction<decltype(PlaySoundW)>(L"winmm.dll", "PlaySoundW")),
      devices_(systemFunction<decltype(waveOutGetNumDevs)>(L"winmm.dll", "waveOutGetNumDevs")),
      open_(systemFunction<decltype(waveOutOpen)>(L"winmm.dll", "waveOutOpen")) {}

WinChime::~WinChime() {
    if (playSound_)
        playSound_(nullptr, nullptr, 0);
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

void WinChime::play(std::u16string_view path,
                    const std::function<void(std::u16string_view reason)>& failed) {
    if (playSound_)
        playSound_(nullptr, nullptr, 0); // the new warning's chime replaces the old one's
    WinFileSystem fileSystem;
    std::string why = playing_.load(fileSystem, path);
    if (why.empty()) {
        if (!playSound_ || !devices_ || devices_() == 0)
            why = ChimeProtocol::NoSoundOutput;
        else if (!playable(playing_.format(), playing_.formatSize()))
            why = playing_.unplayable(); // no device or codec takes its rate, channels or samples
        else if (!playSound_(reinterpret_cast<LPCWSTR>(playing_.bytes()), nullptr,
                             SND_MEMORY | SND_ASYNC | SND_NODEFAULT))
            why = playing_.unplayable(); // no codec for its format
    }
    if (!why.empty())
        failed(Utf8::decode(why));
}
