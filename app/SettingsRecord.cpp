#include "app/SettingsRecord.h"

#include <cstring>

SettingsRecord Settings {};

void WriteFreshSettings(SettingsRecord& r)
{
    r.BoardCse = r.BoardCst = r.BoardSnd = r.BoardNt = 0;
    r.GridColor = 0x808080;
    r.SignalColor = 0x00FFFF;
    r.AxisPanelColor = kButtonFaceColour;
    r.PhaseColor = 0x0000FF;
    r.DataWindowColor = 0x000000;
    r.InscriptionColor = 0x00FF00;
    r.SpareColor = kButtonFaceColour;
    r.BoardAddress = 0;
    r.BoardWaitMs = 0;
    r.WindowWidth = 640;
    r.WindowHeight = 450;
    r.SpeedOfSound = 0;
    r.PrintBlackWhite = r.PrintToBmp = r.PrintLandscape = 0;
    r.BmpDirectory.length = 0;
    r.CurveDirectory.length = 0;
    r.SplashLine1.length = 0;
    r.SplashLine2.length = 0;
    r.WindowStateCode = 0;
    r.SignalMemoryBytes = 0;
    r.TestLevel = 0;
    r.TestSignalFile.length = 0;
    r.AnalysisWindow.length = 0;
    r.DelayCorrection.length = 0;
    r.ResponseUnit.assign("dBSPL/W/m");
    r.WaterfallRange = r.WaterfallLowHz = r.WaterfallHighHz = 0;
    r.unread4240 = 40;
    r.ImpedanceStep = 50;
    r.ImpedanceBase = 0;
    r.ResponseAveragings = r.DistortionAveragings = r.ResponseFftLength = 0;
    r.DistortionFftLength = 0;
    r.LevelRange = 60;
    r.LevelTop = 100;
    r.SmoothingBars = 0;
    r.SerialResistor = 150.0f;
    r.ReferenceVoltage = 2.83f;
    r.ResponseAnalysisStart = r.DistortionAnalysisStart = 0;
    r.WaterfallSpectra = 0;
    r.MaxDacValue = 0;
    r.unread4452 = r.unread4456 = r.unread4464 = 0;
    r.unread4468 = 0;
    r.DistortionLogAxis = 0;
    r.SoundOn = 0;
    r.GoToImpulse = 0;
    r.unread4475 = 1;
    r.unread4476 = r.unread4477 = 0;
    r.SmoothingWidth = 0.0f;
    r.WaterfallSmoothing = r.DewrapPhaseStep = r.DewrapStartHz = 0;
    r.SmoothingMode = 0;
}

namespace
{

// Steps the generator over all 3404 words; sign +1 scrambles, -1 unscrambles.
void applyScrambleSequence(SettingsRecord& record, int sign)
{
    auto* bytes = reinterpret_cast<unsigned char*>(&record);
    uint32_t state = 2719;
    for (std::size_t offset = 0; offset < kSettingsSize; offset += 2) {
        state = state * 134775813u + 1u;
        const auto r = static_cast<uint16_t>((uint64_t {state} * 700u) >> 32);
        uint16_t word = static_cast<uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
        word = static_cast<uint16_t>(sign > 0 ? word + r : word - r);
        bytes[offset] = static_cast<unsigned char>(word & 0xFF);
        bytes[offset + 1] = static_cast<unsigned char>(word >> 8);
    }
}

} // namespace

void ScrambleSettings(SettingsRecord& record)
{
    applyScrambleSequence(record, +1);
}
void UnscrambleSettings(SettingsRecord& record)
{
    applyScrambleSequence(record, -1);
}
