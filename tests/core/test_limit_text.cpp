#include "curves/LimitText.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

TEST(ReadLimitText, TheKindByTheNameAndHeaderAsImportDecides)
{
    struct Case {
        const char* extension;
        const char* text;
        CurveKind kind;
    };
    const Case cases[] = {
        {"frd", "20 8\n20000 12\n", CurveKind::Response},
        // An .frd is a response whatever its header says.
        {"frd", "Frequency Impedance\n20 8\n20000 12\n", CurveKind::Response},
        {"zma", "20 8\n20000 12\n", CurveKind::Impedance},
        {"ZMA", "20 8\n20000 12\n", CurveKind::Impedance},
        {"csv", "Frequency (Hz),Impedance (Ohm)\n20,8\n20000,12\n", CurveKind::Impedance},
        {"txt", "Freq Ohms\n20 8\n20000 12\n", CurveKind::Impedance},
        {"csv", "Frequency (Hz),Magnitude (dB)\n20,8\n20000,12\n", CurveKind::Response},
        {"txt", "20 8\n20000 12\n", CurveKind::Response},
        {"", "20 8\n20000 12\n", CurveKind::Response},
    };
    for (const Case& c : cases) {
        const LimitText limit = ReadLimitText(c.text, c.extension);
        ASSERT_FALSE(limit.error) << c.extension << ": " << limit.error->message;
        EXPECT_EQ(limit.kind, c.kind) << c.extension << " " << c.text;
        EXPECT_EQ(limit.points, (std::vector<BandPoint> {{20, 8}, {20000, 12}}));
    }
}

TEST(ReadLimitText, ValuesNoMeasurementHoldsRefusedAtTheirLine)
{
    struct Case {
        const char* extension;
        const char* text;
        int line;
        std::string message; // empty: accepted
    };
    const Case cases[] = {
        {"frd", "20 1000\n30 -1000\n", 0, ""},
        {"frd", "* x\n20 70\n1000 1e308\n", 3,
            "the level 1e+308 dB at 1000 Hz lies beyond what a measurement holds (-1000 to 1000 "
            "dB)"},
        {"frd", "20 70\n1000 -1000.001\n", 2,
            "the level -1000.001 dB at 1000 Hz lies beyond what a measurement holds (-1000 to 1000 "
            "dB)"},
        {"zma", "20 1e-9\n30 1e9\n", 0, ""},
        {"zma", "20 8\n1000 2e9\n", 2,
            "the impedance 2e+09 Ohm at 1000 Hz lies beyond what a measurement holds (1e-09 to "
            "1e+09 Ohm)"},
        {"zma", "20 1e-10\n1000 8\n", 1,
            "the impedance 1e-10 Ohm at 20 Hz lies beyond what a measurement holds (1e-09 to "
            "1e+09 Ohm)"},
        {"frd", "0 70\n1e9 70\n", 0, ""},
        {"frd", "20 70\n2e9 70\n", 2,
            "the frequency 2e+09 Hz lies beyond what a measurement holds (0 to 1e+09 Hz)"},
        // The reader's own refusals keep their words and lines.
        {"zma", "20 8\n1000 0\n", 2, "the impedance 0 Ohm is not positive"},
    };
    for (const Case& c : cases) {
        const LimitText limit = ReadLimitText(c.text, c.extension);
        if (c.message.empty()) {
            EXPECT_FALSE(limit.error) << c.text << ": " << limit.error->message;
            continue;
        }
        ASSERT_TRUE(limit.error) << c.text;
        EXPECT_EQ(limit.error->line, c.line) << c.text;
        EXPECT_EQ(limit.error->message, c.message) << c.text;
        EXPECT_TRUE(limit.points.empty());
    }
}

TEST(FirstUnmeasurablePoint, TheFirstOfACurvesPoints)
{
    const std::vector<BandPoint> points = {{100, 10}, {200, 1200}, {300, -2000}};
    EXPECT_EQ(FirstUnmeasurablePoint(points, CurveKind::Response),
        "the level 1200 dB at 200 Hz lies beyond what a measurement holds (-1000 to 1000 dB)");
    EXPECT_EQ(
        FirstUnmeasurablePoint(std::span(points).first(1), CurveKind::Response), std::nullopt);
    EXPECT_EQ(FirstUnmeasurablePoint(points, CurveKind::Impedance),
        "the impedance -2000 Ohm at 300 Hz lies beyond what a measurement holds (1e-09 to 1e+09 "
        "Ohm)");
}

} // namespace
