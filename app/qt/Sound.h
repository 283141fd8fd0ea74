#pragma once
// Speaker tones: the PC speaker where the program may write it, else the
// default ALSA device (a square wave), else a silent wait. Every tone blocks
// for its whole duration; nothing is repainted meanwhile.

#include <functional>

// Sounds frequencyHz for durationMs; 18 Hz or less is silence for the duration.
void Tone(int frequencyHz, int durationMs);
// Busy wait until the millisecond tick count has advanced by ms; window
// messages are not handled.
void Delay(int ms);
// Plays the sequences whose bits are set (16, 32 with sound on; 8 always).
void PlayTones(int flags);

// Tests replace the device with a sink that records the tones (empty: the real device).
extern std::function<void(int frequencyHz, int durationMs)> ToneSink;
