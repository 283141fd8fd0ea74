#include "app/qt/Sound.h"

#include "app/SettingsRecord.h"
#include "app/ToneSequences.h"

#include <alsa/asoundlib.h>
#include <chrono>
#include <dlfcn.h>
#include <fcntl.h>
#include <glob.h>
#include <linux/input.h>
#include <unistd.h>
#include <vector>

std::function<void(int, int)> ToneSink;

namespace
{

using Clock = std::chrono::steady_clock;

void waitUntil(Clock::time_point end)
{
    while (Clock::now() < end) { }
}

// The PC speaker input device, or -1 where there is none we may write.
int openSpeaker()
{
    glob_t found {};
    int fd = -1;
    if (::glob("/dev/input/by-path/*pcspkr*", 0, nullptr, &found) == 0 && found.gl_pathc > 0)
        fd = ::open(found.gl_pathv[0], O_WRONLY | O_CLOEXEC);
    ::globfree(&found);
    return fd;
}

void speakerTone(int fd, int frequencyHz)
{
    input_event ev {};
    ev.type = EV_SND;
    ev.code = SND_TONE;
    ev.value = frequencyHz;
    (void)!::write(fd, &ev, sizeof ev);
}

void silentAlsaErrors(const char*, int, const char*, int, const char*, ...) { }

// The ALSA functions the tones use. The library is opened at the first tone
// rather than linked: most runs sound none, and loading it would delay every
// start.
struct Alsa {
    decltype(&snd_lib_error_set_handler) lib_error_set_handler;
    decltype(&snd_pcm_open) pcm_open;
    decltype(&snd_pcm_set_params) pcm_set_params;
    decltype(&snd_pcm_writei) pcm_writei;
    decltype(&snd_pcm_recover) pcm_recover;
    decltype(&snd_pcm_drain) pcm_drain;
    decltype(&snd_pcm_close) pcm_close;
};

template <typename Function> bool lookUp(void* library, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(::dlsym(library, name));
    return function != nullptr;
}

// Null where the library or one of its functions is missing: then there is
// no ALSA device.
const Alsa* openAlsa()
{
    void* library = ::dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
    if (!library)
        return nullptr;
    static Alsa alsa;
    const bool complete = lookUp(library, "snd_lib_error_set_handler", alsa.lib_error_set_handler)
        && lookUp(library, "snd_pcm_open", alsa.pcm_open)
        && lookUp(library, "snd_pcm_set_params", alsa.pcm_set_params)
        && lookUp(library, "snd_pcm_writei", alsa.pcm_writei)
        && lookUp(library, "snd_pcm_recover", alsa.pcm_recover)
        && lookUp(library, "snd_pcm_drain", alsa.pcm_drain)
        && lookUp(library, "snd_pcm_close", alsa.pcm_close);
    if (!complete)
        return nullptr;
    alsa.lib_error_set_handler(silentAlsaErrors);
    return &alsa;
}

const Alsa* alsaLibrary()
{
    static const Alsa* const alsa = openAlsa();
    return alsa;
}

// Writes a square wave to the default ALSA device; false when there is none.
bool alsaTone(int frequencyHz, int durationMs)
{
    constexpr unsigned rate = 44100;
    const Alsa* alsa = alsaLibrary();
    snd_pcm_t* pcm = nullptr;
    if (!alsa || alsa->pcm_open(&pcm, "default", SND_PCM_STREAM_PLAYBACK, 0) < 0)
        return false;
    bool ok = alsa->pcm_set_params(
                  pcm, SND_PCM_FORMAT_S16_LE, SND_PCM_ACCESS_RW_INTERLEAVED, 1, rate, 1, 50000)
        == 0;
    if (ok) {
        const std::size_t frames = std::size_t(rate) * std::size_t(durationMs) / 1000;
        std::vector<int16_t> samples(frames);
        for (std::size_t i = 0; i < frames; ++i) {
            const bool high = (2 * i * std::size_t(frequencyHz) / rate) % 2 == 0;
            samples[i] = high ? 8000 : -8000;
        }
        std::size_t done = 0;
        while (ok && done < frames) {
            snd_pcm_sframes_t n = alsa->pcm_writei(pcm, samples.data() + done, frames - done);
            if (n < 0)
                n = alsa->pcm_recover(pcm, int(n), 1);
            if (n < 0)
                ok = false;
            else
                done += std::size_t(n);
        }
        alsa->pcm_drain(pcm);
    }
    alsa->pcm_close(pcm);
    return ok;
}

} // namespace

void Delay(int ms)
{
    waitUntil(Clock::now() + std::chrono::milliseconds(ms));
}

void Tone(int frequencyHz, int durationMs)
{
    const auto end = Clock::now() + std::chrono::milliseconds(std::max(0, durationMs));
    if (ToneSink) {
        ToneSink(frequencyHz, durationMs);
        return;
    }
    if (frequencyHz > 18) {
        if (const int fd = openSpeaker(); fd >= 0) {
            speakerTone(fd, frequencyHz);
            waitUntil(end);
            speakerTone(fd, 0);
            ::close(fd);
            return;
        }
        alsaTone(frequencyHz, durationMs);
    }
    // A file or null sink takes the samples at once: wait for the rest.
    waitUntil(end);
}

void PlayTones(int flags)
{
    for (const ToneStep& step : ToneSequence(flags, Settings.SoundOn != 0))
        Tone(step.frequencyHz, step.durationMs);
}
