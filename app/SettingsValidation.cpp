#include "app/SettingsValidation.h"

#include "ui/SerialResistor.h"

#include <algorithm>
#include <array>
#include <limits>

namespace
{

constexpr std::array<int32_t, 10> kLevelRanges {5, 10, 20, 30, 40, 50, 60, 80, 100, 120};
constexpr std::array<int32_t, 10> kImpedanceSteps {2, 5, 10, 20, 50, 100, 200, 500, 1000, 2000};

// The zoom buttons stop moving the top at 160 dB up and when the bottom edge
// reaches -160 dB down; with their steps of 1 to 10 dB the top ends between
// -155 (range 5) and 164 (range 20 or 30, stepping 5 from 159), and the snap
// to a multiple of ten of the wider ranges takes -155 on to -160.
constexpr int32_t kLowestLevelTop = -160;
constexpr int32_t kHighestLevelTop = 164;
// The base moves up by two steps only while 10 steps + base < 24000, so it
// stays below 24000 - 8 steps, at most 23982 with the smallest step 2; every
// move (two steps, or down to 24000 - 8 steps) keeps it even.
constexpr int32_t kHighestImpedanceBase = 23982;

// The level factor start-up derives from the reference voltage (as a single).
bool GivesUsableLevelFactor(float referenceVoltage)
{
    const double factor = 50000.0 * referenceVoltage;
    return factor > 0 && factor <= std::numeric_limits<float>::max()
        && static_cast<float>(factor) > 0;
}

template <std::size_t N> bool HasNoZeroByte(const PascalText<N>& text)
{
    const std::string s = text.str();
    return s.find('\0') == std::string::npos;
}

template <std::size_t N> bool EndsWithinField(const PascalText<N>& text)
{
    return text.length <= N;
}

struct FieldRule {
    const char* name;
    bool (*sound)(const SettingsRecord&);
    void (*repair)(SettingsRecord&, const SettingsRecord& fresh);
};

// Record order.
const std::array<FieldRule, 9> kFieldRules {{
    {"BmpDirectory", [](const SettingsRecord& r) { return HasNoZeroByte(r.BmpDirectory); },
        [](SettingsRecord& r, const SettingsRecord& f) {
            r.BmpDirectory.assign(f.BmpDirectory.str());
        }},
    {"CurveDirectory", [](const SettingsRecord& r) { return HasNoZeroByte(r.CurveDirectory); },
        [](SettingsRecord& r, const SettingsRecord& f) {
            r.CurveDirectory.assign(f.CurveDirectory.str());
        }},
    {"ResponseUnit", [](const SettingsRecord& r) { return EndsWithinField(r.ResponseUnit); },
        [](SettingsRecord& r, const SettingsRecord& f) {
            r.ResponseUnit.assign(f.ResponseUnit.str());
        }},
    {"ImpedanceStep",
        [](const SettingsRecord& r) {
            return std::ranges::find(kImpedanceSteps, r.ImpedanceStep) != kImpedanceSteps.end();
        },
        [](SettingsRecord& r, const SettingsRecord& f) { r.ImpedanceStep = f.ImpedanceStep; }},
    {"ImpedanceBase",
        [](const SettingsRecord& r) {
            return r.ImpedanceBase >= 0 && r.ImpedanceBase <= kHighestImpedanceBase
                && r.ImpedanceBase % 2 == 0;
        },
        [](SettingsRecord& r, const SettingsRecord& f) { r.ImpedanceBase = f.ImpedanceBase; }},
    {"LevelRange",
        [](const SettingsRecord& r) {
            return std::ranges::find(kLevelRanges, r.LevelRange) != kLevelRanges.end();
        },
        [](SettingsRecord& r, const SettingsRecord& f) { r.LevelRange = f.LevelRange; }},
    {"LevelTop",
        [](const SettingsRecord& r) {
            return r.LevelTop >= kLowestLevelTop && r.LevelTop <= kHighestLevelTop;
        },
        [](SettingsRecord& r, const SettingsRecord& f) { r.LevelTop = f.LevelTop; }},
    {"SerialResistor",
        [](const SettingsRecord& r) { return IsValidSerialResistor(r.SerialResistor); },
        [](SettingsRecord& r, const SettingsRecord& f) { r.SerialResistor = f.SerialResistor; }},
    {"ReferenceVoltage",
        [](const SettingsRecord& r) { return GivesUsableLevelFactor(r.ReferenceVoltage); },
        [](SettingsRecord& r, const SettingsRecord& f) {
            r.ReferenceVoltage = f.ReferenceVoltage;
        }},
}};

SettingsRecord FreshRecord()
{
    SettingsRecord fresh {};
    WriteFreshSettings(fresh);
    return fresh;
}

} // namespace

std::vector<std::string> DamagedSettingsFields(const SettingsRecord& record)
{
    SettingsRecord copy = record;
    return RepairDamagedSettings(copy);
}

std::vector<std::string> RepairDamagedSettings(SettingsRecord& record)
{
    static const SettingsRecord fresh = FreshRecord();
    std::vector<std::string> names;
    for (const FieldRule& rule : kFieldRules)
        if (!rule.sound(record)) {
            rule.repair(record, fresh);
            names.emplace_back(rule.name);
        }
    return names;
}

std::vector<std::string> RepairedSettingsBoxLines(const std::vector<std::string>& names)
{
    constexpr std::size_t kNamesPerLine = 3;
    std::vector<std::string> lines {"Error", "VOXA32VW.CFG holds values out of range in:"};
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i % kNamesPerLine == 0)
            lines.emplace_back();
        else
            lines.back() += " ";
        lines.back() += names[i] + (i + 1 == names.size() ? "." : ",");
    }
    lines.emplace_back("The viewer uses their default values instead;");
    lines.emplace_back("the file stays as it is until you quit with \"yes\".");
    return lines;
}
