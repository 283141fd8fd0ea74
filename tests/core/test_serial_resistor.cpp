#include "ui/SerialResistor.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace
{

struct EntryCase {
    std::optional<double> answer;
    float stored;
    bool valid;
};

TEST(SerialResistor, AnswerIsStoredInTenthsAndCheckedAgainstTheRanges)
{
    constexpr double inf = std::numeric_limits<double>::infinity();
    const std::vector<EntryCase> cases {
        {0.14, 0.1f, true}, // the lower bound, reached from above in single precision
        {0.04, 0.0f, false},
        {0.05, 0.0f, false}, // 0.5 tenths: the half goes to the even 0
        {0.25, 0.2f, true}, // 2.5 tenths: the half goes to the even 2
        {2.5, 2.5f, true},
        {10.04, 10.0f, true}, // 100 tenths × 0.1 is a hair above 10 in double
        {10.06, 10.1f, false},
        {99.94, 99.9f, false},
        {99.96, 100.0f, true},
        {150.0, 150.0f, true},
        {4000.04, 4000.0f, true},
        {4000.06, 4000.1f, false},
        {-2.0, -2.0f, false},
        {std::nullopt, 0.0f, false}, // not a number
        {std::nan(""), 0.0f, false},
        {inf, 0.0f, false},
        {-inf, 0.0f, false},
        {1e300, 0.0f, false}, // beyond the float range
        {1e30, 1e30f, false},
    };
    for (const EntryCase& c : cases) {
        SCOPED_TRACE(c.answer ? std::to_string(*c.answer) : "not a number");
        const float stored = StoredSerialResistor(c.answer);
        EXPECT_EQ(stored, c.stored);
        EXPECT_EQ(IsValidSerialResistor(stored), c.valid);
    }
}

TEST(SerialResistor, NanAndInfinityAreNeverValid)
{
    EXPECT_FALSE(IsValidSerialResistor(std::nanf("")));
    EXPECT_FALSE(IsValidSerialResistor(std::numeric_limits<float>::infinity()));
}

struct TextCase {
    float ohm;
    std::string preset;
    std::string status;
};

TEST(SerialResistor, PresetHasOneDecimalAndStatusRoundsHalvesToEven)
{
    const std::vector<TextCase> cases {
        {150.0f, "150.0", "Serial Resistor: 150 Ohm"},
        {2.5f, "2.5", "Serial Resistor: 2 Ohm"},
        {3.5f, "3.5", "Serial Resistor: 4 Ohm"},
        {0.1f, "0.1", "Serial Resistor: 0 Ohm"},
        {-0.3f, "-0.3", "Serial Resistor: 0 Ohm"},
        {4000.0f, "4000.0", "Serial Resistor: 4000 Ohm"},
        {1e30f, "1000000015047466219876688855040.0",
            "Serial Resistor: 1000000015047466219876688855040 Ohm"},
        {std::nanf(""), "nan", "Serial Resistor: nan Ohm"},
        {std::numeric_limits<float>::infinity(), "inf", "Serial Resistor: inf Ohm"},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.preset);
        EXPECT_EQ(SerialResistorPresetText(c.ohm), c.preset);
        EXPECT_EQ(SerialResistorStatusText(c.ohm), c.status);
    }
}

} // namespace
