#include "app/qt/Sound.h"

#include "app/SettingsRecord.h"
#include "app/ToneSequences.h"

#include <alsa/asoundlib.h>
#include <chrono>
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

// Writes a square wave to the default ALSA device; false when there is none.
bool alsaTone(int frequencyHz, int durationMs)
{
    constexpr unsigned rate = 44100;
    snd_lib_error_set_handler(silentAlsaErrors);
    snd_pcm_t* pcm = nullptr;
    if (snd_pcm_open(&pcm, "default", SND_PCM_STREAM_PLAYBACK, 0) < 0)
        return false;
    bool ok = snd_pcm_set_params(
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
            snd_pcm_sframes_t n = snd_pcm_writei(pcm, samples.data() + done, frames - done);
            if (n < 0)
                n = snd_pcm_recover(pcm, int(n), 1);
            if (n < 0)
                ok = false;
            else
                done += std::size_t(n);
        }
        snd_pcm_drain(pcm);
    }
    snd_pcm_close(pcm);
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
