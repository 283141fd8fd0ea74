#include "curves/ExampleCurves.h"

#include "curves/CurveFile.h"

#include <cmath>
#include <cstring>
#include <fstream>
#include <numbers>
#include <utility>

namespace
{

using Complex = std::complex<double>;

constexpr double kReferencePressure = 20.0e-6; // Pa, 0 dB SPL
constexpr double kSpeakerTestVoltage = 2.83; // V, 1 W into 8 Ohm

double DbToGain(double db)
{
    return std::pow(10.0, db / 20.0);
}

Complex LaplaceVariable(double f)
{
    return {0.0, 2.0 * std::numbers::pi * f};
}

double AngularFrequency(double f)
{
    return 2.0 * std::numbers::pi * f;
}

Complex LowPass2(Complex s, double f0, double q)
{
    const double w = AngularFrequency(f0);
    return w * w / (s * s + s * w / q + w * w);
}

Complex HighPass2(Complex s, double f0, double q)
{
    const double w = AngularFrequency(f0);
    return s * s / (s * s + s * w / q + w * w);
}

Complex LowPass1(Complex s, double f0)
{
    return 1.0 / (1.0 + s / AngularFrequency(f0));
}

// A resonance of gainDb at f0 (a dip when negative), equally wide for boost and cut.
Complex Peaking(Complex s, double f0, double q, double gainDb)
{
    const double w = AngularFrequency(f0);
    const double a = std::pow(10.0, gainDb / 40.0);
    return (s * s + s * w * a / q + w * w) / (s * s + s * w / (a * q) + w * w);
}

// First-order shelf from 1 at low frequency to fPole / fZero at high frequency.
Complex Shelf1(Complex s, double fPole, double fZero)
{
    return (1.0 + s / AngularFrequency(fZero)) / (1.0 + s / AngularFrequency(fPole));
}

// The denominator of the vented box: the driver resonance (quality q) and
// the port resonance (leakage quality Ql), coupled by the compliance ratio.
Complex VentedBoxDenominator(const LoudspeakerModel& m, Complex s, double q)
{
    const double ts = 1.0 / AngularFrequency(m.driverResonance);
    const double tb = 1.0 / AngularFrequency(m.boxTuning);
    const Complex port = s * s * tb * tb + s * tb / m.leakageQ + 1.0;
    const Complex driver = s * s * ts * ts + s * ts / q + 1.0;
    return port * driver + m.complianceRatio * s * s * tb * tb;
}

double TotalQ(const LoudspeakerModel& m)
{
    return m.mechanicalQ * m.electricalQ / (m.mechanicalQ + m.electricalQ);
}

// Fourth-order high-pass of the vented box, 1 in the pass band.
Complex VentedBoxResponse(const LoudspeakerModel& m, Complex s)
{
    const double ts = 1.0 / AngularFrequency(m.driverResonance);
    const double tb = 1.0 / AngularFrequency(m.boxTuning);
    const Complex s2 = s * s;
    return s2 * s2 * tb * tb * ts * ts / VentedBoxDenominator(m, s, TotalQ(m));
}

// Below the baffle step the speaker radiates into full space and loses level.
Complex BaffleStep(const LoudspeakerModel& m, Complex s)
{
    const double low = DbToGain(-m.baffleStepDepth);
    const Complex x = s / AngularFrequency(m.baffleStep);
    return (low + x) / (1.0 + x);
}

// Woofer below and tweeter above a Linkwitz-Riley crossover (Butterworth
// squared); the tweeter's own resonance and its roll-off near 20 kHz shape
// its branch.
Complex TwoWayCrossover(const LoudspeakerModel& m, Complex s)
{
    constexpr double butterworthQ = std::numbers::sqrt2 / 2.0;
    const Complex woofer = std::pow(LowPass2(s, m.crossover, butterworthQ), 2);
    const Complex tweeter = std::pow(HighPass2(s, m.crossover, butterworthQ), 2)
        * HighPass2(s, 900.0, 0.9) * LowPass2(s, 24000.0, 0.8);
    return woofer + tweeter;
}

ExampleCurve MakeCurve(std::string fileName, float levelFactor, int32_t sampleRate, int32_t n,
    float lowerFrequency, const std::function<Complex(double)>& transfer, double scale)
{
    ExampleCurve curve;
    curve.fileName = std::move(fileName);
    curve.header.LevelFactor = levelFactor;
    curve.header.SampleRate = sampleRate;
    curve.header.TransformLength = n;
    curve.header.UpperFrequency = 20000.0f;
    curve.header.LowerFrequency = lowerFrequency;
    curve.values = SampleMagnitudes(transfer, scale, sampleRate, n);
    return curve;
}

void AppendLittleEndian32(std::vector<unsigned char>& bytes, uint32_t v)
{
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(static_cast<unsigned char>(v >> shift));
}

void AppendInt32(std::vector<unsigned char>& bytes, int32_t v)
{
    AppendLittleEndian32(bytes, static_cast<uint32_t>(v));
}

void AppendFloat(std::vector<unsigned char>& bytes, float v)
{
    uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    AppendLittleEndian32(bytes, bits);
}

} // namespace

// Re 6.4 Ohm, Qts 0.38, Vas / Vb 1.41 and fb = fs: about the fourth-order
// Butterworth alignment, impedance peaks near 25 and 75 Hz.
const LoudspeakerModel kSpeakerModel = {
    .voiceCoilResistance = 6.4,
    .voiceCoilInductance = 0.5e-3,
    .eddyResistance = 20.0,
    .driverResonance = 43.0,
    .mechanicalQ = 2.6,
    .electricalQ = 0.45,
    .complianceRatio = 1.41,
    .boxTuning = 43.0,
    .leakageQ = 10.0,
    .sensitivity = 87.0,
    .baffleStep = 450.0,
    .baffleStepDepth = 3.0,
    .crossover = 2500.0,
};

const LoudspeakerModel kWooferModel = {
    .voiceCoilResistance = 5.6,
    .voiceCoilInductance = 0.9e-3,
    .eddyResistance = 16.0,
    .driverResonance = 30.0,
    .mechanicalQ = 3.5,
    .electricalQ = 0.40,
    .complianceRatio = 1.8,
    .boxTuning = 32.0,
    .leakageQ = 7.0,
    .sensitivity = 89.0,
    .baffleStep = 320.0,
    .baffleStepDepth = 3.5,
    .crossover = 2000.0,
};

std::complex<double> LoudspeakerPressure(const LoudspeakerModel& model, double f)
{
    const Complex s = LaplaceVariable(f);
    const double passBand = kReferencePressure * DbToGain(model.sensitivity) / kSpeakerTestVoltage;
    return passBand * VentedBoxResponse(model, s) * BaffleStep(model, s)
        * TwoWayCrossover(model, s);
}

std::complex<double> LoudspeakerImpedance(const LoudspeakerModel& model, double f)
{
    const Complex s = LaplaceVariable(f);
    const Complex inductance = s * model.voiceCoilInductance;
    const Complex lossyInductance
        = inductance * model.eddyResistance / (inductance + model.eddyResistance);
    // The motional impedance: the driver's resonance split in two by the port.
    const double ts = 1.0 / AngularFrequency(model.driverResonance);
    const double tb = 1.0 / AngularFrequency(model.boxTuning);
    const double resonanceResistance
        = model.voiceCoilResistance * model.mechanicalQ / model.electricalQ;
    const Complex motional = resonanceResistance * (s * ts / model.mechanicalQ)
        * (s * s * tb * tb + s * tb / model.leakageQ + 1.0)
        / VentedBoxDenominator(model, s, model.mechanicalQ);
    return model.voiceCoilResistance + lossyInductance + motional;
}

std::complex<double> AmplifierGain(double f)
{
    const Complex s = LaplaceVariable(f);
    constexpr double butterworthQ = std::numbers::sqrt2 / 2.0;
    return 20.0 * HighPass2(s, 10.0, butterworthQ) * LowPass2(s, 45000.0, butterworthQ);
}

std::complex<double> MicrophoneSensitivity(double f)
{
    const Complex s = LaplaceVariable(f);
    return 0.012 * HighPass2(s, 15.0, 0.6) * Peaking(s, 10000.0, 1.2, 1.5)
        * LowPass2(s, 24000.0, 0.8);
}

std::complex<double> RoomPressure(double f)
{
    struct RoomMode {
        double frequency; // Hz
        double q;
        double gainDb; // at the listening seat: a peak or a dip
    };
    static constexpr RoomMode modes[] = {
        {34.0, 6.0, 9.0},
        {47.0, 5.0, -12.0},
        {68.0, 7.0, 7.0},
        {92.0, 6.0, -9.0},
        {121.0, 8.0, 6.0},
        {163.0, 8.0, -7.0},
    };
    const Complex s = LaplaceVariable(f);
    Complex h = kReferencePressure * DbToGain(75.0) * HighPass2(s, 18.0, 0.7);
    for (const RoomMode& mode : modes)
        h *= Peaking(s, mode.frequency, mode.q, mode.gainDb);
    // An early reflection 2.9 ms after the direct sound, 18 dB weaker: a
    // ripple of about 1 dB; then the tilt of the absorbing room and the air.
    h *= 1.0 + 0.125 * std::exp(-s * 2.9e-3);
    return h * Shelf1(s, 1500.0, 3000.0) * LowPass1(s, 18000.0);
}

std::vector<float> SampleMagnitudes(const std::function<std::complex<double>(double)>& transfer,
    double scale, int32_t sampleRate, int32_t n)
{
    const double binWidth = static_cast<double>(sampleRate) / n;
    std::vector<float> values(static_cast<std::size_t>(n / 2));
    for (std::size_t k = 0; k < values.size(); ++k) {
        const float v = static_cast<float>(scale * std::abs(transfer(k * binWidth)));
        // Written as a test that is false for NaN, so NaN is floored too.
        values[k] = v >= kExampleValueFloor ? v : kExampleValueFloor;
    }
    return values;
}

std::vector<ExampleCurve> MakeExampleCurves()
{
    const auto pressure = [](const LoudspeakerModel& m) {
        return [m](double f) { return LoudspeakerPressure(m, f); };
    };
    const auto impedance = [](const LoudspeakerModel& m) {
        return [m](double f) { return LoudspeakerImpedance(m, f); };
    };
    const double toRatio = 1.0 / kExampleSerialResistor;
    std::vector<ExampleCurve> curves;
    curves.push_back(MakeCurve(
        "SPEAKER.EA", kSpeakerLevelFactor, 48000, 16384, 20.0f, pressure(kSpeakerModel), 1.0));
    curves.push_back(
        MakeCurve("SPEAKER.OHM", 1.0f, 48000, 16384, 20.0f, impedance(kSpeakerModel), toRatio));
    curves.push_back(MakeCurve(
        "WOOFER.EA", kSpeakerLevelFactor, 48000, 8192, 20.0f, pressure(kWooferModel), 1.0));
    curves.push_back(
        MakeCurve("WOOFER.OHM", 1.0f, 48000, 8192, 20.0f, impedance(kWooferModel), toRatio));
    curves.push_back(
        MakeCurve("POWERAMP.EE", kAmplifierLevelFactor, 48000, 4096, 20.0f, AmplifierGain, 1.0));
    curves.push_back(MakeCurve(
        "MIC.AE", kMicrophoneLevelFactor, 44100, 8192, 20.0f, MicrophoneSensitivity, 1.0));
    curves.push_back(MakeCurve("ROOM.AA", kSplLevelFactor, 48000, 65536, 10.0f, RoomPressure, 1.0));
    return curves;
}

std::vector<unsigned char> EncodeCurveFile(const CurveHeader& header, std::span<const float> values)
{
    std::vector<unsigned char> bytes;
    bytes.reserve(kCurveHeaderBytes + sizeof(float) * values.size());
    AppendFloat(bytes, header.LevelFactor);
    AppendInt32(bytes, header.SampleRate);
    AppendInt32(bytes, header.TransformLength);
    AppendFloat(bytes, header.UpperFrequency);
    AppendFloat(bytes, header.LowerFrequency);
    for (float v : values)
        AppendFloat(bytes, v);
    return bytes;
}

bool WriteCurveFile(
    const std::string& path, const CurveHeader& header, std::span<const float> values)
{
    const std::vector<unsigned char> bytes = EncodeCurveFile(header, values);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(
        reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return !out.fail();
}
