// The chime helper: plays one wave file through the sound server and ends. Vestrel starts it
// for each warning, so that no audio library is ever loaded into the resident program and
// nothing a sound server or a wave file does can hold up the reminder.
//
//   vestrel_chime FILE.wav
//
// PulseAudio's simple API: PulseAudio and PipeWire's PulseAudio layer both serve it, and it
// starts in a few milliseconds.
#include "chime/ChimeProtocol.h"
#include "chime/WaveFile.h"
#include "linux/posix/PosixFileSystem.h"
#include "linux/posix/PosixPath.h"

#include <pulse/error.h>
#include <pulse/simple.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

pa_sample_format_t sampleFormat(WaveFile::Encoding encoding) {
    switch (encoding) {
    case WaveFile::Encoding::Unsigned8:
        return PA_SAMPLE_U8;
    case WaveFile::Encoding::Signed16:
        return PA_SAMPLE_S16LE;
    case WaveFile::Encoding::Signed24:
        return PA_SAMPLE_S24LE;
    case WaveFile::Encoding::Signed32:
        return PA_SAMPLE_S32LE;
    case WaveFile::Encoding::Float32:
        return PA_SAMPLE_FLOAT32LE;
    case WaveFile::Encoding::ALaw:
        return PA_SAMPLE_ALAW;
    case WaveFile::Encoding::MuLaw:
        return PA_SAMPLE_ULAW;
    }
    return PA_SAMPLE_INVALID;
}

// One line for the program; it is read as soon as it is written.
void tell(const std::string& line) {
    std::fputs((line + '\n').c_str(), stdout);
    std::fflush(stdout);
}

int refuse(const std::string& reason) {
    tell(reason);
    return 1;
}

std::string serverFailed(int error) {
    std::fprintf(stderr, "vestrel_chime: %s\n", pa_strerror(error));
    switch (error) {
    case PA_ERR_CONNECTIONREFUSED:
    case PA_ERR_INVALIDSERVER:
    case PA_ERR_NOENTITY:
        return ChimeProtocol::NoSoundOutput;
    case PA_ERR_TIMEOUT:
        return ChimeProtocol::NoAnswer;
    default:
        return "Zvukový server zvuk nepřijal (chyba " + std::to_string(error) + ").";
    }
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fputs("usage: vestrel_chime FILE.wav\n", stderr);
        return 2;
    }
    PosixFileSystem fileSystem;
    WaveFile wave;
    if (std::string why = wave.load(fileSystem, PosixPath::text(argv[1])); !why.empty())
        return refuse(why);
    const pa_sample_spec format{sampleFormat(wave.encoding()), wave.rate(),
                                std::uint8_t(std::min(wave.channels(), 255u))};
    if (wave.channels() > 255 || !pa_sample_spec_valid(&format))
        return refuse(wave.unplayable());

    int error = 0;
    pa_simple* server = pa_simple_new(nullptr, "Vestrel", PA_STREAM_PLAYBACK, nullptr, "Varování",
                                      &format, nullptr, nullptr, &error);
    if (!server)
        return refuse(serverFailed(error));
    // A tenth of a second first, so the program hears at once that the chime has begun.
    const std::size_t first =
        std::min(wave.samplesSize(), std::max<std::size_t>(1, wave.rate() / 10) * wave.frameSize());
    int status = 0;
    if (pa_simple_write(server, wave.samples(), first, &error) != 0)
        status = refuse(serverFailed(error));
    else
        tell(ChimeProtocol::Started);
    const std::size_t rest = wave.samplesSize() - first;
    if (status == 0 &&
        ((rest > 0 && pa_simple_write(server, wave.samples() + first, rest, &error) != 0) ||
         pa_simple_drain(server, &error) != 0)) {
        std::fprintf(stderr, "vestrel_chime: %s\n", pa_strerror(error));
        status = refuse("Zvukový server přehrávání přerušil.");
    }
    pa_simple_free(server);
    return status;
}
