#include "app/SettingsValidation.h"

#include "curves/CurveSlot.h"

#include <array>
#include <cmath>
#include <limits>

namespace
{

// Rows are checked for the tallest picture a screen can give, and must stay
// within 2^29 each for the level and the offset parts, so that their sum and
// the single-precision scales the drawing rounds to keep clear of 2^31.
constexpr long double kTallestPicture = 32767;
constexpr long double kRowLimit = 1 << 29;

bool FitsRows(long double row)
{
    return std::isfinite(row) && std::fabs(row) <= kRowLimit;
}

bool FitsSingle(long double v)
{
    return std::isfinite(v) && std::fabs(v) <= std::numeric_limits<float>::max();
}

bool IsSplPerWatt(const SettingsRecord& r)
{
    return r.ResponseUnit.str() == "dBSPL/W/m";
}

// The level factor the record's reference voltage gives (as a single), if it
// is positive and finite.
bool GivesUsableLevelFactor(float referenceVoltage)
{
    const double factor = 50000.0 * referenceVoltage;
    return factor > 0 && factor <= std::numeric_limits<float>::max()
        && static_cast<float>(factor) > 0;
}

// The rows of an empty response slot: H (LevelTop - level) / LevelRange.
bool EmptyLevelRowsFit(const SettingsRecord& r)
{
    const long double scale = -20.0L * kTallestPicture / std::log(10.0L) / r.LevelRange;
    const long double offset = std::log(static_cast<long double>(SessionLevelFactor(r))) * scale
        + static_cast<long double>(r.LevelTop) / r.LevelRange * kTallestPicture;
    const long double emptyPart = std::log(static_cast<long double>(EmptyCurveValue)) * scale;
    return FitsSingle(scale) && FitsRows(offset) && FitsRows(emptyPart);
}

// The Ohm scale of the impedance rows, -H / 8 / step x 10 x resistor.
long double OhmScale(const SettingsRecord& r)
{
    return -kTallestPicture * 0.125L / r.ImpedanceStep * 10.0L * r.SerialResistor;
}

// The row of 0 Ohm, H (1 + base / (8 step)).
bool ImpedanceBaseRowFits(const SettingsRecord& r)
{
    return FitsRows((r.ImpedanceBase * 0.125L / r.ImpedanceStep + 1.0L) * kTallestPicture);
}

bool SerialResistorFits(const SettingsRecord& r)
{
    if (!std::isfinite(r.SerialResistor))
        return false;
    const long double scale = OhmScale(r);
    return FitsSingle(scale) && FitsRows(EmptyCurveValue * scale);
}

template <std::size_t N> bool HasNoZeroByte(const PascalText<N>& text)
{
    return text.str().find('\0') == std::string::npos;
}

struct FieldRule {
    const char* name;
    bool (*sound)(const SettingsRecord&);
    // Gives the field its fresh value; nullptr for a field of the measuring
    // edition, which is never changed.
    void (*repair)(SettingsRecord&, const SettingsRecord& fresh);
};

// Record order. A rule reads the fields before it as already repaired.
const std::array<FieldRule, 8> kFieldRules {{
    {"BmpDirectory", [](const SettingsRecord& r) { return HasNoZeroByte(r.BmpDirectory); },
        [](SettingsRecord& r, const SettingsRecord& f) {
            r.BmpDirectory.assign(f.BmpDirectory.str());
        }},
    {"CurveDirectory", [](const SettingsRecord& r) { return HasNoZeroByte(r.CurveDirectory); },
        [](SettingsRecord& r, const SettingsRecord& f) {
            r.CurveDirectory.assign(f.CurveDirectory.str());
        }},
    {"ImpedanceStep", [](const SettingsRecord& r) { return r.ImpedanceStep != 0; },
        [](SettingsRecord& r, const SettingsRecord& f) { r.ImpedanceStep = f.ImpedanceStep; }},
    {"ImpedanceBase", ImpedanceBaseRowFits,
        [](SettingsRecord& r, const SettingsRecord& f) { r.ImpedanceBase = f.ImpedanceBase; }},
    {"LevelRange", [](const SettingsRecord& r) { return r.LevelRange != 0; },
        [](SettingsRecord& r, const SettingsRecord& f) { r.LevelRange = f.LevelRange; }},
    {"LevelTop", EmptyLevelRowsFit,
        [](SettingsRecord& r, const SettingsRecord& f) { r.LevelTop = f.LevelTop; }},
    {"SerialResistor", SerialResistorFits,
        [](SettingsRecord& r, const SettingsRecord& f) { r.SerialResistor = f.SerialResistor; }},
    {"ReferenceVoltage",
        [](const SettingsRecord& r) {
            return !IsSplPerWatt(r) || GivesUsableLevelFactor(r.ReferenceVoltage);
        },
        nullptr},
}};

const SettingsRecord& FreshRecord()
{
    static const SettingsRecord fresh = [] {
        SettingsRecord r {};
        WriteFreshSettings(r);
        return r;
    }();
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
    std::vector<std::string> names;
    for (const FieldRule& rule : kFieldRules)
        if (!rule.sound(record)) {
            if (rule.repair)
                rule.repair(record, FreshRecord());
            names.emplace_back(rule.name);
        }
    return names;
}

float SessionLevelFactor(const SettingsRecord& record)
{
    if (!IsSplPerWatt(record))
        return 1.0f;
    const float voltage = GivesUsableLevelFactor(record.ReferenceVoltage)
        ? record.ReferenceVoltage
        : FreshRecord().ReferenceVoltage;
    return static_cast<float>(50000.0 * voltage);
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
