#pragma once
// The settings record: the exact 6808-byte image of VOXA32VW.CFG.
// Little-endian, packed without padding; many fields stand at odd offsets.
// Unnamed fields ("unreadNNNN") and reserved bytes are kept as read and
// written back unchanged.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// A length-prefixed single-byte text of at most N characters in N + 1 bytes.
template <std::size_t N> struct PascalText {
    uint8_t length;
    char chars[N];

    // The text; a length byte beyond the field is read as the field's size.
    std::string str() const { return std::string(chars, std::min<std::size_t>(length, N)); }
    // Stores at most N characters; the bytes behind the length stay as they are.
    void assign(std::string_view s)
    {
        length = static_cast<uint8_t>(std::min(s.size(), N));
        std::copy_n(s.data(), length, chars);
    }
};

#pragma pack(push, 1)
struct SettingsRecord {
    uint8_t BoardCse;
    uint8_t BoardCst;
    uint8_t BoardSnd;
    uint8_t BoardNt;
    uint32_t GridColor;
    uint32_t SignalColor;
    uint32_t AxisPanelColor;
    uint32_t PhaseColor;
    uint32_t DataWindowColor;
    uint32_t InscriptionColor;
    uint32_t SpareColor;
    uint8_t reserved32[16];
    int16_t BoardAddress;
    int16_t BoardWaitMs;
    uint8_t reserved52[2];
    int16_t WindowWidth;
    int16_t WindowHeight;
    uint8_t reserved58[22];
    int32_t SpeedOfSound;
    uint8_t reserved84[4];
    uint8_t PrintBlackWhite;
    uint8_t PrintToBmp;
    uint8_t PrintLandscape;
    PascalText<255> BmpDirectory;
    PascalText<255> CurveDirectory;
    uint8_t reserved603[256];
    PascalText<255> SplashLine1;
    PascalText<255> SplashLine2;
    uint8_t WindowStateCode;
    uint8_t reserved1372[508];
    int32_t SignalMemoryBytes;
    uint8_t reserved1884[4];
    int32_t TestLevel;
    uint8_t reserved1892[4];
    PascalText<255> TestSignalFile;
    uint8_t reserved2152[1024];
    PascalText<255> AnalysisWindow;
    uint8_t reserved3432[768];
    PascalText<12> DelayCorrection;
    PascalText<14> ResponseUnit;
    int32_t WaterfallRange;
    int32_t WaterfallLowHz;
    int32_t WaterfallHighHz;
    int32_t unread4240;
    int32_t ImpedanceStep;
    int32_t ImpedanceBase;
    uint8_t reserved4252[8];
    int32_t ResponseAveragings;
    int32_t DistortionAveragings;
    int32_t ResponseFftLength;
    uint8_t reserved4272[4];
    int32_t DistortionFftLength;
    uint8_t reserved4280[4];
    int32_t LevelRange;
    int32_t LevelTop;
    uint8_t reserved4292[4];
    int32_t SmoothingBars;
    uint8_t reserved4300[20];
    float SerialResistor;
    float ReferenceVoltage;
    uint8_t reserved4328[4];
    int32_t ResponseAnalysisStart;
    uint8_t reserved4336[4];
    int32_t DistortionAnalysisStart;
    uint8_t reserved4344[20];
    int32_t WaterfallSpectra;
    uint8_t reserved4368[16];
    int32_t MaxDacValue;
    uint8_t reserved4388[64];
    int32_t unread4452;
    int32_t unread4456;
    uint8_t reserved4460[4];
    int32_t unread4464;
    uint8_t unread4468;
    uint8_t reserved4469[1];
    uint8_t DistortionLogAxis;
    uint8_t reserved4471[2];
    uint8_t SoundOn;
    uint8_t GoToImpulse;
    uint8_t unread4475;
    uint8_t unread4476;
    uint8_t unread4477;
    uint8_t reserved4478[2];
    float SmoothingWidth;
    int32_t WaterfallSmoothing;
    int32_t DewrapPhaseStep;
    int32_t DewrapStartHz;
    uint8_t reserved4496[2304];
    int32_t SmoothingMode;
    uint8_t reserved6804[4];
};
#pragma pack(pop)

constexpr std::size_t kSettingsSize = 6808;
static_assert(sizeof(SettingsRecord) == kSettingsSize);
static_assert(offsetof(SettingsRecord, BoardCse) == 0);
static_assert(offsetof(SettingsRecord, BoardCst) == 1);
static_assert(offsetof(SettingsRecord, BoardSnd) == 2);
static_assert(offsetof(SettingsRecord, BoardNt) == 3);
static_assert(offsetof(SettingsRecord, GridColor) == 4);
static_assert(offsetof(SettingsRecord, SignalColor) == 8);
static_assert(offsetof(SettingsRecord, AxisPanelColor) == 12);
static_assert(offsetof(SettingsRecord, PhaseColor) == 16);
static_assert(offsetof(SettingsRecord, DataWindowColor) == 20);
static_assert(offsetof(SettingsRecord, InscriptionColor) == 24);
static_assert(offsetof(SettingsRecord, SpareColor) == 28);
static_assert(offsetof(SettingsRecord, BoardAddress) == 48);
static_assert(offsetof(SettingsRecord, BoardWaitMs) == 50);
static_assert(offsetof(SettingsRecord, WindowWidth) == 54);
static_assert(offsetof(SettingsRecord, WindowHeight) == 56);
static_assert(offsetof(SettingsRecord, SpeedOfSound) == 80);
static_assert(offsetof(SettingsRecord, PrintBlackWhite) == 88);
static_assert(offsetof(SettingsRecord, PrintToBmp) == 89);
static_assert(offsetof(SettingsRecord, PrintLandscape) == 90);
static_assert(offsetof(SettingsRecord, BmpDirectory) == 91);
static_assert(offsetof(SettingsRecord, CurveDirectory) == 347);
static_assert(offsetof(SettingsRecord, SplashLine1) == 859);
static_assert(offsetof(SettingsRecord, SplashLine2) == 1115);
static_assert(offsetof(SettingsRecord, WindowStateCode) == 1371);
static_assert(offsetof(SettingsRecord, SignalMemoryBytes) == 1880);
static_assert(offsetof(SettingsRecord, TestLevel) == 1888);
static_assert(offsetof(SettingsRecord, TestSignalFile) == 1896);
static_assert(offsetof(SettingsRecord, AnalysisWindow) == 3176);
static_assert(offsetof(SettingsRecord, DelayCorrection) == 4200);
static_assert(offsetof(SettingsRecord, ResponseUnit) == 4213);
static_assert(offsetof(SettingsRecord, WaterfallRange) == 4228);
static_assert(offsetof(SettingsRecord, WaterfallLowHz) == 4232);
static_assert(offsetof(SettingsRecord, WaterfallHighHz) == 4236);
static_assert(offsetof(SettingsRecord, unread4240) == 4240);
static_assert(offsetof(SettingsRecord, ImpedanceStep) == 4244);
static_assert(offsetof(SettingsRecord, ImpedanceBase) == 4248);
static_assert(offsetof(SettingsRecord, ResponseAveragings) == 4260);
static_assert(offsetof(SettingsRecord, DistortionAveragings) == 4264);
static_assert(offsetof(SettingsRecord, ResponseFftLength) == 4268);
static_assert(offsetof(SettingsRecord, DistortionFftLength) == 4276);
static_assert(offsetof(SettingsRecord, LevelRange) == 4284);
static_assert(offsetof(SettingsRecord, LevelTop) == 4288);
static_assert(offsetof(SettingsRecord, SmoothingBars) == 4296);
static_assert(offsetof(SettingsRecord, SerialResistor) == 4320);
static_assert(offsetof(SettingsRecord, ReferenceVoltage) == 4324);
static_assert(offsetof(SettingsRecord, ResponseAnalysisStart) == 4332);
static_assert(offsetof(SettingsRecord, DistortionAnalysisStart) == 4340);
static_assert(offsetof(SettingsRecord, WaterfallSpectra) == 4364);
static_assert(offsetof(SettingsRecord, MaxDacValue) == 4384);
static_assert(offsetof(SettingsRecord, unread4452) == 4452);
static_assert(offsetof(SettingsRecord, unread4456) == 4456);
static_assert(offsetof(SettingsRecord, unread4464) == 4464);
static_assert(offsetof(SettingsRecord, unread4468) == 4468);
static_assert(offsetof(SettingsRecord, DistortionLogAxis) == 4470);
static_assert(offsetof(SettingsRecord, SoundOn) == 4473);
static_assert(offsetof(SettingsRecord, GoToImpulse) == 4474);
static_assert(offsetof(SettingsRecord, unread4475) == 4475);
static_assert(offsetof(SettingsRecord, unread4476) == 4476);
static_assert(offsetof(SettingsRecord, unread4477) == 4477);
static_assert(offsetof(SettingsRecord, SmoothingWidth) == 4480);
static_assert(offsetof(SettingsRecord, WaterfallSmoothing) == 4484);
static_assert(offsetof(SettingsRecord, DewrapPhaseStep) == 4488);
static_assert(offsetof(SettingsRecord, DewrapStartHz) == 4492);
static_assert(offsetof(SettingsRecord, SmoothingMode) == 6800);

// Colour values: 0x00BBGGRR, or 0x80000000 + n for the desktop's system colour n.
constexpr uint32_t kButtonFaceColour = 0x8000000F;

// Writes the values of a fresh configuration ("/Init"); every byte without a
// fresh value is left as it is.
void WriteFreshSettings(SettingsRecord& record);

// Adds (scramble) or subtracts (unscramble) the pseudo-random sequence seeded
// with 2719 to each little-endian 16-bit word of the record.
void ScrambleSettings(SettingsRecord& record);
void UnscrambleSettings(SettingsRecord& record);

// The settings record of the running program.
extern SettingsRecord Settings;
