#pragma once
// The tone sequences of the alerts, chosen by bit flags.

#include <vector>

struct ToneStep {
    int frequencyHz;
    int durationMs;

    bool operator==(const ToneStep&) const = default;
};

constexpr int kTonesPrintDone = 16; // 2000 Hz for 10 ms, only with sound on
constexpr int kTonesQuit = 32; // three rising tones, only with sound on
constexpr int kTonesConfigError = 8; // 1200 Hz for 1000 ms, always

// The tones that PlayTones sounds for these flags, in the order 16, 32, 8.
std::vector<ToneStep> ToneSequence(int flags, bool soundOn);

// The divisor of the interval timer for a speaker tone (1193181 div f); 0 for
// frequencies of 18 Hz or less, which are silent.
int SpeakerDivisor(int frequencyHz);
