#include "app/SettingsValidation.h"

#include "curves/CurveSlot.h"
#include "curves/CurveTrace.h"
#include "plot/PlotState.h"
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

TEST(SettingsValidation, OnlyValuesThatFaultAreReplaced)
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
        // Kept as stored: values the buttons cannot reach but every drawing
        // works with.
        {"range 15 (stepped to 5 or 25, no level labels)",
            [](SettingsRecord& r) { r.LevelRange = 15; }, {}},
        {"range 25", [](SettingsRecord& r) { r.LevelRange = 25; }, {}},
        {"range -60 (an upside-down axis)", [](SettingsRecord& r) { r.LevelRange = -60; }, {}},
        {"top 170", [](SettingsRecord& r) { r.LevelTop = 170; }, {}},
        {"top -5000", [](SettingsRecord& r) { r.LevelTop = -5000; }, {}},
        {"step 25", [](SettingsRecord& r) { r.ImpedanceStep = 25; }, {}},
        {"step -50", [](SettingsRecord& r) { r.ImpedanceStep = -50; }, {}},
        {"base 25", [](SettingsRecord& r) { r.ImpedanceBase = 25; }, {}},
        {"base -2", [](SettingsRecord& r) { r.ImpedanceBase = -2; }, {}},
        {"resistor 0 (the entry box takes it as its preset)",
            [](SettingsRecord& r) { r.SerialResistor = 0; }, {}},
        {"resistor 50", [](SettingsRecord& r) { r.SerialResistor = 50; }, {}},
        {"resistor -150", [](SettingsRecord& r) { r.SerialResistor = -150; }, {}},
        {"voltage 0 with the unit dBSPL/V (not used)",
            [](SettingsRecord& r) {
                r.ResponseUnit.assign("dBSPL/V");
                r.ReferenceVoltage = 0;
            },
            {}},
        {"voltage NaN with the unit dBPa/V",
            [=](SettingsRecord& r) {
                r.ResponseUnit.assign("dBPa/V");
                r.ReferenceVoltage = nan;
            },
            {}},
        {"voltage 1e-30", [](SettingsRecord& r) { r.ReferenceVoltage = 1e-30f; }, {}},
        {"unit without an end in its field", [](SettingsRecord& r) { r.ResponseUnit.length = 15; },
            {}},
        {"measuring-edition parameters are not the viewer's",
            [](SettingsRecord& r) {
                r.DelayCorrection.length = 200;
                r.WaterfallLowHz = -5;
                r.DewrapStartHz = -1;
                r.SmoothingMode = 99;
                r.BoardAddress = 7;
            },
            {}},
        // Replaced: values every drawing faults on.
        {"range 0", [](SettingsRecord& r) { r.LevelRange = 0; }, {"LevelRange"}},
        {"step 0", [](SettingsRecord& r) { r.ImpedanceStep = 0; }, {"ImpedanceStep"}},
        {"top 2e9 (rows beyond 32 bits)", [](SettingsRecord& r) { r.LevelTop = 2000000000; },
            {"LevelTop"}},
        {"top 1e6 with range 5",
            [](SettingsRecord& r) {
                r.LevelRange = 5;
                r.LevelTop = 1000000;
            },
            {"LevelTop"}},
        {"base 2e9", [](SettingsRecord& r) { r.ImpedanceBase = 2000000000; }, {"ImpedanceBase"}},
        {"resistor NaN", [=](SettingsRecord& r) { r.SerialResistor = nan; }, {"SerialResistor"}},
        {"resistor -inf", [=](SettingsRecord& r) { r.SerialResistor = -inf; }, {"SerialResistor"}},
        {"resistor 1e30 (an empty curve's rows beyond 32 bits)",
            [](SettingsRecord& r) { r.SerialResistor = 1e30f; }, {"SerialResistor"}},
        {"voltage 0", [](SettingsRecord& r) { r.ReferenceVoltage = 0; }, {"ReferenceVoltage"}},
        {"voltage -1", [](SettingsRecord& r) { r.ReferenceVoltage = -1; }, {"ReferenceVoltage"}},
        {"voltage inf", [=](SettingsRecord& r) { r.ReferenceVoltage = inf; }, {"ReferenceVoltage"}},
        {"voltage 3e38 (factor beyond a single)",
            [](SettingsRecord& r) { r.ReferenceVoltage = 3e38f; }, {"ReferenceVoltage"}},
        {"curve directory with a zero byte",
            [](SettingsRecord& r) { r.CurveDirectory.assign(std::string("/a\0b/", 5)); },
            {"CurveDirectory"}},
        {"bitmap directory with a zero byte",
            [](SettingsRecord& r) { r.BmpDirectory.assign(std::string("\0", 1)); },
            {"BmpDirectory"}},
        {"several at once, in record order",
            [=](SettingsRecord& r) {
                r.SerialResistor = nan;
                r.LevelRange = 0;
                r.CurveDirectory.assign(std::string("\0", 1));
                r.ImpedanceStep = 0;
                r.LevelTop = 170;
            },
            {"CurveDirectory", "ImpedanceStep", "LevelRange", "SerialResistor"}},
    };
    const SettingsRecord fresh = freshRecord();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SettingsRecord r = freshRecord();
        c.change(r);
        EXPECT_EQ(DamagedSettingsFields(r), c.damaged);
        SettingsRecord repaired = r;
        EXPECT_EQ(RepairDamagedSettings(repaired), c.damaged);
        const Names left = DamagedSettingsFields(repaired);
        EXPECT_TRUE(left.empty() || left == Names {"ReferenceVoltage"});
        // Everything but the replaced viewer fields is kept byte for byte.
        SettingsRecord expected = r;
        for (const std::string& name : c.damaged) {
            if (name == "LevelRange")
                expected.LevelRange = fresh.LevelRange;
            if (name == "LevelTop")
                expected.LevelTop = fresh.LevelTop;
            if (name == "ImpedanceStep")
                expected.ImpedanceStep = fresh.ImpedanceStep;
            if (name == "ImpedanceBase")
                expected.ImpedanceBase = fresh.ImpedanceBase;
            if (name == "SerialResistor")
                expected.SerialResistor = fresh.SerialResistor;
            if (name == "CurveDirectory")
                expected.CurveDirectory.assign("");
            if (name == "BmpDirectory")
                expected.BmpDirectory.assign("");
        }
        EXPECT_EQ(std::memcmp(&repaired, &expected, kSettingsSize), 0);
    }
}

// The measuring edition's reference voltage stays in the record; the session
// draws with the level factor of the fresh voltage when it gives none.
TEST(SettingsValidation, SessionLevelFactorFallsBackWithoutChangingTheVoltage)
{
    struct Case {
        const char* unit;
        float voltage;
        float factor;
    };
    const std::vector<Case> cases {
        {"dBSPL/W/m", 2.83f, float(50000.0 * 2.83f)},
        {"dBSPL/W/m", 1.0f, 50000.0f},
        {"dBSPL/W/m", 0.0f, float(50000.0 * 2.83f)},
        {"dBSPL/W/m", -1.0f, float(50000.0 * 2.83f)},
        {"dBSPL/W/m", std::numeric_limits<float>::quiet_NaN(), float(50000.0 * 2.83f)},
        {"dBSPL/V", 0.0f, 1.0f},
        {"dbspl/w/m", 2.83f, 1.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.unit) + " " + std::to_string(c.voltage));
        SettingsRecord r = freshRecord();
        r.ResponseUnit.assign(c.unit);
        r.ReferenceVoltage = c.voltage;
        EXPECT_EQ(SessionLevelFactor(r), c.factor);
        const SettingsRecord before = r;
        RepairDamagedSettings(r);
        EXPECT_EQ(std::memcmp(&r.ReferenceVoltage, &before.ReferenceVoltage, sizeof(float)), 0);
    }
}

// Byte ranges of the fields the validation may change.
std::vector<std::pair<std::size_t, std::size_t>> checkedFieldBytes()
{
    return {{offsetof(SettingsRecord, BmpDirectory), 256},
        {offsetof(SettingsRecord, CurveDirectory), 256},
        {offsetof(SettingsRecord, ImpedanceStep), 8}, {offsetof(SettingsRecord, LevelRange), 8},
        {offsetof(SettingsRecord, SerialResistor), 4}};
}

TEST(SettingsValidation, RepairGivesFreshValuesAndKeepsEveryOtherByte)
{
    const SettingsRecord fresh = freshRecord();
    for (unsigned seed = 1; seed <= 50; ++seed) {
        SCOPED_TRACE(seed);
        const SettingsRecord before = randomRecord(seed);
        SettingsRecord r = before;
        const Names names = RepairDamagedSettings(r);
        const Names left = DamagedSettingsFields(r);
        EXPECT_TRUE(left.empty() || left == Names {"ReferenceVoltage"});

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

// The values of one field the reachable-scale rule accepts, over a window
// around the reachable ones, the other fields being fresh.
std::set<int32_t> acceptedValues(
    int32_t SettingsRecord::*field, const char* name, int32_t from, int32_t to)
{
    std::set<int32_t> accepted;
    SettingsRecord r = freshRecord();
    for (int32_t v = from; v <= to; ++v) {
        r.*field = v;
        const Names damaged = UnreachableScaleFields(ScalesOf(r));
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

TEST(ReachableScales, LevelScaleAcceptsExactlyWhatTheButtonsReach)
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

TEST(ReachableScales, ImpedanceScaleAcceptsExactlyWhatTheButtonsReach)
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
        const CurveHeader header {SessionLevelFactor(r), 48000, 4096, 20000.0f, 20.0f};
        const AxisScales scales {r.LevelRange, r.LevelTop, r.ImpedanceStep, r.ImpedanceBase};
        for (const TraceFrame frame :
            {TraceFrame {492, 290, 20.0f, 20000.0f}, TraceFrame {32767, 32767, 20.0f, 20000.0f}}) {
            EXPECT_FALSE(ComputeResponseTrace(header, empty.data(), frame, scales).fault);
            EXPECT_FALSE(
                ComputeImpedanceTrace(header, empty.data(), frame, scales, r.SerialResistor).fault);
        }
    }
}

// The largest value of a field that is kept, found by bisection from a kept
// start value.
int32_t largestKept(SettingsRecord r, int32_t SettingsRecord::*field, int32_t from)
{
    int64_t kept = from;
    int64_t replaced = std::numeric_limits<int32_t>::max() + int64_t {1};
    while (replaced - kept > 1) {
        const int64_t middle = (kept + replaced) / 2;
        r.*field = static_cast<int32_t>(middle);
        (DamagedSettingsFields(r).empty() ? kept : replaced) = middle;
    }
    return static_cast<int32_t>(kept);
}

// The edge of what is kept still draws: the empty plot at the tallest picture
// with the largest top or base kept for several ranges and steps.
TEST(SettingsValidation, LargestKeptScalesDrawWithoutFault)
{
    const std::vector<float> empty(kCurveCapacity, EmptyCurveValue);
    const TraceFrame tallest {32767, 32767, 20.0f, 20000.0f};
    for (const int32_t span : {1, -1, 5, 120, 100000, std::numeric_limits<int32_t>::max()}) {
        SCOPED_TRACE(span);
        SettingsRecord r = freshRecord();
        r.LevelRange = span;
        r.ImpedanceStep = span;
        r.LevelTop = largestKept(r, &SettingsRecord::LevelTop, 0);
        r.ImpedanceBase = largestKept(r, &SettingsRecord::ImpedanceBase, 0);
        const CurveHeader header {SessionLevelFactor(r), 48000, 4096, 20000.0f, 20.0f};
        EXPECT_FALSE(ComputeResponseTrace(header, empty.data(), tallest, ScalesOf(r)).fault);
        EXPECT_FALSE(
            ComputeImpedanceTrace(header, empty.data(), tallest, ScalesOf(r), r.SerialResistor)
                .fault);
    }
}

TEST(SettingsValidation, BoxNamesTheFieldsThreeToALine)
{
    const Names lines = RepairedSettingsBoxLines(
        {"CurveDirectory", "ImpedanceStep", "LevelRange", "LevelTop", "SerialResistor"});
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], "Error");
    EXPECT_EQ(lines[2], "CurveDirectory, ImpedanceStep, LevelRange,");
    EXPECT_EQ(lines[3], "LevelTop, SerialResistor.");
    EXPECT_EQ(RepairedSettingsBoxLines({"LevelTop"})[2], "LevelTop.");
}

} // namespace
