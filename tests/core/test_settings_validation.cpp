#include "app/SettingsValidation.h"

#include "curves/CurveSlot.h"
#include "curves/CurveTrace.h"
#include "plot/StepRules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <cstring>
#include <functional>
#include <limits>
#include <random>
#include <set>
#include <utility>
#include <vector>

namespace
{

using Names = std::vector<std::string>;

SettingsRecord freshRecord()
{
    SettingsRecord r {};
    WriteFreshSettings(r);
    return r;
}

// A record whose 6808 bytes are random, as a damaged file unscrambles.
SettingsRecord randomRecord(unsigned seed)
{
    std::mt19937 random(seed);
    SettingsRecord r;
    auto* bytes = reinterpret_cast<unsigned char*>(&r);
    for (std::size_t i = 0; i < kSettingsSize; ++i)
        bytes[i] = static_cast<unsigned char>(random());
    return r;
}

TEST(SettingsValidation, DamagedFieldsAreNamedInRecordOrder)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    struct Case {
        const char* what;
        std::function<void(SettingsRecord&)> change;
        Names damaged;
    };
    const std::vector<Case> cases {
        {"fresh", [](SettingsRecord&) {}, {}},
        {"range 37", [](SettingsRecord& r) { r.LevelRange = 37; }, {"LevelRange"}},
        {"range 0", [](SettingsRecord& r) { r.LevelRange = 0; }, {"LevelRange"}},
        {"range 120", [](SettingsRecord& r) { r.LevelRange = 120; }, {}},
        {"top 165", [](SettingsRecord& r) { r.LevelTop = 165; }, {"LevelTop"}},
        {"top -161", [](SettingsRecord& r) { r.LevelTop = -161; }, {"LevelTop"}},
        {"top 164", [](SettingsRecord& r) { r.LevelTop = 164; }, {}},
        {"top -160", [](SettingsRecord& r) { r.LevelTop = -160; }, {}},
        {"step 0", [](SettingsRecord& r) { r.ImpedanceStep = 0; }, {"ImpedanceStep"}},
        {"step 3", [](SettingsRecord& r) { r.ImpedanceStep = 3; }, {"ImpedanceStep"}},
        {"step 2000", [](SettingsRecord& r) { r.ImpedanceStep = 2000; }, {}},
        {"base -2", [](SettingsRecord& r) { r.ImpedanceBase = -2; }, {"ImpedanceBase"}},
        {"base odd", [](SettingsRecord& r) { r.ImpedanceBase = 101; }, {"ImpedanceBase"}},
        {"base 23984", [](SettingsRecord& r) { r.ImpedanceBase = 23984; }, {"ImpedanceBase"}},
        {"base 23982", [](SettingsRecord& r) { r.ImpedanceBase = 23982; }, {}},
        {"resistor 0", [](SettingsRecord& r) { r.SerialResistor = 0; }, {"SerialResistor"}},
        {"resistor 50", [](SettingsRecord& r) { r.SerialResistor = 50; }, {"SerialResistor"}},
        {"resistor nan", [=](SettingsRecord& r) { r.SerialResistor = nan; }, {"SerialResistor"}},
        {"resistor 0.1", [](SettingsRecord& r) { r.SerialResistor = 0.1f; }, {}},
        {"voltage 0", [](SettingsRecord& r) { r.ReferenceVoltage = 0; }, {"ReferenceVoltage"}},
        {"voltage -1", [](SettingsRecord& r) { r.ReferenceVoltage = -1; }, {"ReferenceVoltage"}},
        {"voltage inf", [=](SettingsRecord& r) { r.ReferenceVoltage = inf; }, {"ReferenceVoltage"}},
        {"voltage 3e38 (factor beyond a single)",
            [](SettingsRecord& r) { r.ReferenceVoltage = 3e38f; }, {"ReferenceVoltage"}},
        {"voltage 1e-30", [](SettingsRecord& r) { r.ReferenceVoltage = 1e-30f; }, {}},
        {"unit without an end in its field", [](SettingsRecord& r) { r.ResponseUnit.length = 15; },
            {"ResponseUnit"}},
        {"unit of 14", [](SettingsRecord& r) { r.ResponseUnit.assign("dBSPL/W/m 12345"); }, {}},
        {"curve directory with a zero byte",
            [](SettingsRecord& r) { r.CurveDirectory.assign(std::string("/a\0b/", 5)); },
            {"CurveDirectory"}},
        {"bitmap directory with a zero byte",
            [](SettingsRecord& r) { r.BmpDirectory.assign(std::string("\0", 1)); },
            {"BmpDirectory"}},
        {"measuring-edition parameters are not the viewer's",
            [](SettingsRecord& r) {
                r.DelayCorrection.length = 200;
                r.WaterfallLowHz = -5;
                r.DewrapStartHz = -1;
                r.SmoothingMode = 99;
                r.BoardAddress = 7;
            },
            {}},
        {"several at once",
            [](SettingsRecord& r) {
                r.SerialResistor = 0;
                r.LevelRange = 15;
                r.CurveDirectory.assign(std::string("\0", 1));
                r.ImpedanceStep = -50;
            },
            {"CurveDirectory", "ImpedanceStep", "LevelRange", "SerialResistor"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SettingsRecord r = freshRecord();
        c.change(r);
        EXPECT_EQ(DamagedSettingsFields(r), c.damaged);
        SettingsRecord repaired = r;
        EXPECT_EQ(RepairDamagedSettings(repaired), c.damaged);
        EXPECT_EQ(DamagedSettingsFields(repaired), Names {});
    }
}

// Byte ranges of the fields the validation may change.
std::vector<std::pair<std::size_t, std::size_t>> checkedFieldBytes()
{
    return {{offsetof(SettingsRecord, BmpDirectory), 256},
        {offsetof(SettingsRecord, CurveDirectory), 256},
        {offsetof(SettingsRecord, ResponseUnit), 15}, {offsetof(SettingsRecord, ImpedanceStep), 8},
        {offsetof(SettingsRecord, LevelRange), 8}, {offsetof(SettingsRecord, SerialResistor), 8}};
}

TEST(SettingsValidation, RepairGivesFreshValuesAndKeepsEveryOtherByte)
{
    const SettingsRecord fresh = freshRecord();
    for (unsigned seed = 1; seed <= 50; ++seed) {
        SCOPED_TRACE(seed);
        const SettingsRecord before = randomRecord(seed);
        SettingsRecord r = before;
        const Names names = RepairDamagedSettings(r);
        EXPECT_FALSE(names.empty());
        EXPECT_EQ(DamagedSettingsFields(r), Names {});

        std::vector<bool> mayChange(kSettingsSize, false);
        for (auto [offset, size] : checkedFieldBytes())
            std::fill_n(mayChange.begin() + std::ptrdiff_t(offset), size, true);
        const auto* a = reinterpret_cast<const unsigned char*>(&before);
        const auto* b = reinterpret_cast<const unsigned char*>(&r);
        for (std::size_t i = 0; i < kSettingsSize; ++i)
            if (!mayChange[i]) {
                ASSERT_EQ(a[i], b[i]) << "byte " << i;
            }

        const std::set<std::string> named(names.begin(), names.end());
        EXPECT_EQ(
            r.LevelRange, named.contains("LevelRange") ? fresh.LevelRange : before.LevelRange);
        EXPECT_EQ(r.LevelTop, named.contains("LevelTop") ? fresh.LevelTop : before.LevelTop);
        EXPECT_EQ(r.SerialResistor,
            named.contains("SerialResistor") ? fresh.SerialResistor : before.SerialResistor);
        EXPECT_EQ(r.ResponseUnit.str(),
            named.contains("ResponseUnit") ? "dBSPL/W/m" : before.ResponseUnit.str());
        EXPECT_EQ(r.CurveDirectory.str(),
            named.contains("CurveDirectory") ? "" : before.CurveDirectory.str());
    }
}

// Every (range, top) and (step, base) the zoom buttons reach from the fresh
// values, found by trying every button in every state reached.
template <class State, class Step>
std::set<State> reachable(State start, const std::vector<Step>& buttons)
{
    std::set<State> seen {start};
    std::vector<State> open {start};
    while (!open.empty()) {
        const State s = open.back();
        open.pop_back();
        for (const Step& press : buttons) {
            const State next = press(s);
            if (seen.insert(next).second)
                open.push_back(next);
        }
    }
    return seen;
}

using Pair = std::pair<int32_t, int32_t>;
using Press = std::function<Pair(Pair)>;

Press levelButton(void (*rule)(AxisScales&))
{
    return [rule](Pair p) {
        AxisScales s {p.first, p.second, 50, 0};
        rule(s);
        return Pair {s.LevelRange, s.LevelTop};
    };
}

Press impedanceButton(void (*rule)(AxisScales&))
{
    return [rule](Pair p) {
        AxisScales s {60, 100, p.first, p.second};
        rule(s);
        return Pair {s.ImpedanceStep, s.ImpedanceBase};
    };
}

// The values of one field the validation accepts, over a window around the
// reachable ones, the other fields being fresh.
std::set<int32_t> acceptedValues(
    int32_t SettingsRecord::*field, const char* name, int32_t from, int32_t to)
{
    std::set<int32_t> accepted;
    SettingsRecord r = freshRecord();
    for (int32_t v = from; v <= to; ++v) {
        r.*field = v;
        const Names damaged = DamagedSettingsFields(r);
        if (std::find(damaged.begin(), damaged.end(), name) == damaged.end())
            accepted.insert(v);
    }
    return accepted;
}

template <class Project> std::set<int32_t> project(const std::set<Pair>& pairs, Project part)
{
    std::set<int32_t> values;
    for (const Pair& p : pairs)
        values.insert(part(p));
    return values;
}

TEST(SettingsValidation, LevelScaleAcceptsExactlyWhatTheButtonsReach)
{
    const std::set<Pair> states = reachable(Pair {60, 100},
        std::vector<Press> {levelButton([](AxisScales& s) { ShiftLevelTop(s, true); }),
            levelButton([](AxisScales& s) { ShiftLevelTop(s, false); }),
            levelButton(FinerLevelRange), levelButton(CoarserLevelRange)});
    const std::set<int32_t> ranges = project(states, [](Pair p) { return p.first; });
    const std::set<int32_t> tops = project(states, [](Pair p) { return p.second; });
    EXPECT_EQ(states.size(), ranges.size() * tops.size()) << "every range with every top";
    EXPECT_EQ(acceptedValues(&SettingsRecord::LevelRange, "LevelRange", -10, 300), ranges);
    EXPECT_EQ(acceptedValues(&SettingsRecord::LevelTop, "LevelTop", -400, 400), tops);
}

TEST(SettingsValidation, ImpedanceScaleAcceptsExactlyWhatTheButtonsReach)
{
    const std::set<Pair> states = reachable(Pair {50, 0},
        std::vector<Press> {impedanceButton(ImpedanceUp), impedanceButton(ImpedanceDown),
            impedanceButton(FinerImpedanceStep), impedanceButton(CoarserImpedanceStep)});
    const std::set<int32_t> steps = project(states, [](Pair p) { return p.first; });
    const std::set<int32_t> bases = project(states, [](Pair p) { return p.second; });
    EXPECT_EQ(states.size(), steps.size() * bases.size()) << "every step with every base";
    EXPECT_EQ(acceptedValues(&SettingsRecord::ImpedanceStep, "ImpedanceStep", -10, 3000), steps);
    EXPECT_EQ(acceptedValues(&SettingsRecord::ImpedanceBase, "ImpedanceBase", -100, 40000), bases);
}

// Start-up draws the empty plot without a guard of its own: after the repair
// no configuration can make it fault.
TEST(SettingsValidation, EmptyPlotOfARepairedRecordDrawsWithoutFault)
{
    const std::vector<float> empty(kCurveCapacity, EmptyCurveValue);
    for (unsigned seed = 1; seed <= 200; ++seed) {
        SCOPED_TRACE(seed);
        SettingsRecord r = randomRecord(seed);
        RepairDamagedSettings(r);
        const CurveHeader header {
            static_cast<float>(50000.0 * r.ReferenceVoltage), 48000, 4096, 20000.0f, 20.0f};
        const AxisScales scales {r.LevelRange, r.LevelTop, r.ImpedanceStep, r.ImpedanceBase};
        for (const TraceFrame frame :
            {TraceFrame {492, 290, 20.0f, 20000.0f}, TraceFrame {32767, 32767, 20.0f, 20000.0f}}) {
            EXPECT_FALSE(ComputeResponseTrace(header, empty.data(), frame, scales).fault);
            EXPECT_FALSE(
                ComputeImpedanceTrace(header, empty.data(), frame, scales, r.SerialResistor).fault);
        }
    }
}

TEST(SettingsValidation, BoxNamesTheFieldsThreeToALine)
{
    const Names lines = RepairedSettingsBoxLines(
        {"ResponseUnit", "ImpedanceStep", "LevelRange", "LevelTop", "SerialResistor"});
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], "Error");
    EXPECT_EQ(lines[2], "ResponseUnit, ImpedanceStep, LevelRange,");
    EXPECT_EQ(lines[3], "LevelTop, SerialResistor.");
    EXPECT_EQ(RepairedSettingsBoxLines({"LevelTop"})[2], "LevelTop.");
}

} // namespace
