#pragma once
// Example curve files for trying the viewer without a measurement: simple
// physical models of the devices the measuring edition measures, sampled on
// the bins of a transform and written in the curve file format.
//
// Every model is a complex transfer function of the frequency f in Hz; a file
// stores its magnitude, value k at the frequency k * SampleRate / N. The level
// factors are chosen so that every response lies inside the default level
// window of 40 to 100 dB and every impedance inside the default 0 to 40 Ohm.

#include "curves/CurveSlot.h"

#include <complex>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

// The series resistor the impedance files assume: value = impedance / 150 Ohm.
constexpr double kExampleSerialResistor = 150.0;

// Level factors of the files (level in dB = 20 log10(LevelFactor * value)).
constexpr float kSplLevelFactor = 50000.0f; // Pa -> dB SPL (1 / 20 uPa)
constexpr float kSpeakerLevelFactor = 141500.0f; // Pa per volt -> dB SPL at 2.83 V
constexpr float kAmplifierLevelFactor = 1000.0f; // V -> dB re 1 mV
constexpr float kMicrophoneLevelFactor = 1.0e6f; // V/Pa -> dB re 1 uV/Pa

// The smallest value written: a model that is zero at 0 Hz (a high-pass)
// would otherwise store a 0, whose logarithm the viewer cannot take.
constexpr float kExampleValueFloor = 1.0e-12f;

// A two-way loudspeaker: a woofer in a vented box, described by its
// Thiele-Small parameters, with a tweeter above a Linkwitz-Riley crossover.
struct LoudspeakerModel {
    double voiceCoilResistance; // Re, Ohm
    double voiceCoilInductance; // Le, H
    double eddyResistance; // Ohm in parallel with Le: eddy currents limit the rise
    double driverResonance; // fs, Hz
    double mechanicalQ; // Qms
    double electricalQ; // Qes
    double complianceRatio; // Vas / Vb
    double boxTuning; // fb, Hz
    double leakageQ; // Ql, losses of the box
    double sensitivity; // dB SPL at 2.83 V and 1 m in the pass band
    double baffleStep; // Hz, centre of the step from half space to full space
    double baffleStepDepth; // dB below the sensitivity at low frequency
    double crossover; // Hz, fourth-order Linkwitz-Riley woofer/tweeter
};

// A 6.4 Ohm two-way speaker tuned to about 43 Hz (fourth-order Butterworth alignment).
extern const LoudspeakerModel kSpeakerModel;
// A larger two-way speaker tuned lower, to about 32 Hz.
extern const LoudspeakerModel kWooferModel;

// Sound pressure at 1 m per volt at the terminals, Pa/V.
std::complex<double> LoudspeakerPressure(const LoudspeakerModel& model, double f);
// Electrical impedance of the woofer in its box at the terminals, Ohm.
std::complex<double> LoudspeakerImpedance(const LoudspeakerModel& model, double f);
// Output voltage of an amplifier per volt of input: gain 20 (+26 dB),
// second-order high-pass at 10 Hz and low-pass at 45 kHz.
std::complex<double> AmplifierGain(double f);
// Sensitivity of a measurement microphone, V/Pa: 12 mV/Pa, second-order
// roll-off below 15 Hz, a rise of 1.5 dB around 10 kHz, roll-off above 24 kHz.
std::complex<double> MicrophoneSensitivity(double f);
// Sound pressure at a listening seat, Pa: 75 dB SPL on average, room modes
// between 30 and 170 Hz, an early reflection and a downward tilt above 1 kHz.
std::complex<double> RoomPressure(double f);

// The N/2 values of a transform of length n at sampleRate: value k is
// scale * |transfer(k * sampleRate / n)|, raised to kExampleValueFloor when
// smaller (or not a number). n must be even and positive.
std::vector<float> SampleMagnitudes(const std::function<std::complex<double>(double)>& transfer,
    double scale, int32_t sampleRate, int32_t n);

struct ExampleCurve {
    std::string fileName; // 8.3 name with the kind as extension, e.g. "SPEAKER.EA"
    CurveHeader header;
    std::vector<float> values; // header.TransformLength / 2 values
};

// The set of example files: SPEAKER.EA/.OHM, WOOFER.EA/.OHM, POWERAMP.EE,
// MIC.AE and ROOM.AA, with transform lengths 4096 to 65536.
std::vector<ExampleCurve> MakeExampleCurves();

// The bytes of a curve file: the 20-byte little-endian header as given, then
// the values as little-endian singles.
std::vector<unsigned char> EncodeCurveFile(
    const CurveHeader& header, std::span<const float> values);

// Creates or truncates path and writes EncodeCurveFile into it; false when
// the file cannot be opened or written completely.
bool WriteCurveFile(
    const std::string& path, const CurveHeader& header, std::span<const float> values);
