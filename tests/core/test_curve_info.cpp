#include "curves/CurveInfo.h"

#include "curves/ExampleCurves.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace
{

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

// A file as the reader gives it: the header and N/2 values of 1.
CurveFile GoodFile(CurveHeader header)
{
    CurveFile file;
    file.status = CurveFileStatus::Ok;
    file.header = header;
    file.values.assign(static_cast<std::size_t>(header.TransformLength / 2), 1.0f);
    return file;
}

CurveFile FileWithStatus(CurveFileStatus status)
{
    CurveFile file;
    file.status = status;
    return file;
}

const CurveHeader kHeader {1.0f, 48000, 4096, 20000.0f, 20.0f};

} // namespace

TEST(CurveInfo, KindFollowsTheExtensionInAnyLetterCase)
{
    struct Case {
        std::string name;
        std::optional<CurveKind> kind;
    };
    const std::vector<Case> cases = {
        {"SPEAKER.EA", CurveKind::Response},
        {"amp.ee", CurveKind::Response},
        {"dir/mic.Ae", CurveKind::Response},
        {"ROOM.AA", CurveKind::Response},
        {"SPEAKER.OHM", CurveKind::Impedance},
        {"speaker.Ohm", CurveKind::Impedance},
        {"SPEAKER.EA.frd", std::nullopt},
        {"NOTES.TXT", std::nullopt},
        {"EA", std::nullopt},
        {"dir.EA/file", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CurveKindOfName(c.name), c.kind) << c.name;
    EXPECT_EQ(CurveExtension("dir/speaker.ohm"), "OHM");
}

TEST(CurveInfo, RefusesWhatTheReaderOrTheDrawingRefusesWithItsReason)
{
    struct Case {
        CurveFile file;
        CurveKind kind;
        std::string reason; // a part of the reason; empty: not refused
    };
    auto withHeader = [](auto change) {
        CurveHeader h = kHeader;
        change(h);
        return GoodFile(h);
    };
    const std::vector<Case> cases = {
        {GoodFile(kHeader), CurveKind::Response, ""},
        {FileWithStatus(CurveFileStatus::Unreadable), CurveKind::Response, "cannot be read"},
        {FileWithStatus(CurveFileStatus::Truncated), CurveKind::Response, "truncated"},
        {FileWithStatus(CurveFileStatus::BadHeader), CurveKind::Impedance, "bad header"},
        {withHeader([](CurveHeader& h) { h.LevelFactor = 0; }), CurveKind::Response,
            "level factor 0 cannot give a level: floating-point division by zero"},
        {withHeader([](CurveHeader& h) { h.LevelFactor = -2; }), CurveKind::Response,
            "level factor -2 cannot give a level: invalid floating-point operation"},
        {withHeader([](CurveHeader& h) { h.LevelFactor = kNaN; }), CurveKind::Response,
            "invalid floating-point operation"},
        {withHeader([](CurveHeader& h) { h.LevelFactor = kInf; }), CurveKind::Response,
            "invalid floating-point operation"},
        // An impedance curve does not use its level factor.
        {withHeader([](CurveHeader& h) { h.LevelFactor = 0; }), CurveKind::Impedance, ""},
        {withHeader([](CurveHeader& h) { h.UpperFrequency = kNaN; }), CurveKind::Impedance,
            "its band cannot be drawn: invalid floating-point operation"},
        {withHeader([](CurveHeader& h) { h.LowerFrequency = 1e30f; }), CurveKind::Response,
            "its band cannot be drawn"},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const auto refusal = CurveRefusal(cases[i].file, cases[i].kind);
        if (cases[i].reason.empty())
            EXPECT_FALSE(refusal) << i << ": " << refusal.value_or("");
        else
            EXPECT_NE(refusal.value_or("").find(cases[i].reason), std::string::npos)
                << i << ": " << refusal.value_or("(not refused)");
    }
}

TEST(CurveInfo, BandHoldsTheBinsTheViewerDrawsThatTheFileHolds)
{
    struct Case {
        CurveHeader header;
        BinRange bins;
    };
    const std::vector<Case> cases = {
        {kHeader, {2, 1707}}, // round(4096 * 20000 / 48000) = 1707
        {{1.0f, 48000, 4096, 20000.0f, 1000.0f}, {85, 1707}}, // 85.33
        {{1.0f, 48000, 4096, 20000.0f, -5.0f}, {2, 1707}}, // never below bin 2
        {{1.0f, 48000, 4096, 30000.0f, 20.0f}, {2, 2048}}, // cut at the file's N/2 values
        {{1.0f, 48000, 4096, 10.0f, 20.0f}, {2, 2}}, // an empty band
        {{1.0f, 48000, 4096, 5000.0f, 6000.0f}, {512, 512}},
        {{1.0f, 48000, 65536, 24000.0f, 0.0f}, {2, 32768}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BandBins(c.header), c.bins)
            << c.header.LowerFrequency << " to " << c.header.UpperFrequency;
    }
    // DrawnBins itself is the viewer's rule: the end beyond N/2 stays.
    EXPECT_EQ(DrawnBins({1.0f, 48000, 4096, 30000.0f, 20.0f}), (BinRange {2, 2560}));
    EXPECT_DOUBLE_EQ(BinFrequency(kHeader, 3), 3 * 48000.0 / 4096);
}

TEST(CurveInfo, MagnitudeIsTheLevelOrTheImpedanceOfADrawableValue)
{
    struct Case {
        CurveKind kind;
        float levelFactor;
        float value;
        std::optional<double> magnitude;
    };
    const std::vector<Case> cases = {
        {CurveKind::Response, 1.0f, 1.0f, 0.0},
        {CurveKind::Response, 10.0f, 1.0f, 20.0},
        {CurveKind::Response, 141500.0f, 1e-3f, 20 * std::log10(141.5)},
        {CurveKind::Response, 1.0f, 0.0f, std::nullopt},
        {CurveKind::Response, 1.0f, -1.0f, std::nullopt},
        {CurveKind::Response, 1.0f, kNaN, std::nullopt},
        {CurveKind::Response, 1.0f, kInf, std::nullopt},
        {CurveKind::Impedance, 0.0f, 0.04f, 0.04 * 150},
        {CurveKind::Impedance, 1.0f, 0.0f, std::nullopt},
        {CurveKind::Impedance, 1.0f, -0.1f, std::nullopt},
        {CurveKind::Impedance, 1.0f, kNaN, std::nullopt},
    };
    for (const Case& c : cases) {
        CurveHeader h = kHeader;
        h.LevelFactor = c.levelFactor;
        const auto got = CurveMagnitude(c.kind, h, c.value, 150.0f);
        ASSERT_EQ(got.has_value(), c.magnitude.has_value()) << c.value;
        if (got) {
            EXPECT_NEAR(*got, *c.magnitude, 1e-5) << c.value;
        }
    }
}

TEST(CurveInfo, BandValuesLeaveOutAndCountWhatCannotBeDrawn)
{
    // 750 Hz bins; the band 1000 to 4600 Hz holds bins 2 ... 5.
    CurveFile file = GoodFile({10.0f, 48000, 64, 4600.0f, 1000.0f});
    file.values[3] = 0.0f;
    file.values[4] = kNaN;
    file.values[1] = -1.0f; // outside the band: not counted
    file.values[6] = 0.0f;
    const BandValues band = ReadBandValues(file, CurveKind::Response, 150.0f);
    EXPECT_EQ(band.undrawable, 2);
    ASSERT_EQ(band.points.size(), 2u);
    EXPECT_EQ(band.points[0], (BandPoint {1500.0, 20.0}));
    EXPECT_EQ(band.points[1], (BandPoint {3750.0, 20.0}));
}

TEST(CurveInfo, SummaryLineNamesHeaderBandAndRange)
{
    CurveFile file = GoodFile({10.0f, 48000, 4096, 20000.0f, 20.0f});
    file.values[100] = 10.0f; // 40 dB
    file.values[200] = 0.1f; // 0 dB
    file.values[300] = -1.0f;
    EXPECT_EQ(FormatSummaryLine(SummarizeCurveFile("dir/AMP.ee", file, 150.0f)),
        "dir/AMP.ee: response EE, N 4096, 48000 Hz, bin 11.71875 Hz, band 20 to 20000 Hz, "
        "level factor 10, 0.00 to 40.00 dB, undrawable 1");

    CurveFile ohm = GoodFile({1.0f, 44100, 8, 20000.0f, 20.0f});
    ohm.values = {0.0f, 0.0f, 0.0625f, 0.078125f};
    EXPECT_EQ(FormatSummaryLine(SummarizeCurveFile("Z.OHM", ohm, 128.0f)),
        "Z.OHM: impedance OHM, N 8, 44100 Hz, bin 5512.5 Hz, band 20 to 20000 Hz, "
        "level factor 1, serial resistor 128 Ohm, 8.00 to 10.00 Ohm, undrawable 0");

    EXPECT_EQ(FormatSummaryLine(
                  SummarizeCurveFile("E.EA", GoodFile({1.0f, 48000, 4096, 10.0f, 20.0f}), 150.0f)),
        "E.EA: response EA, N 4096, 48000 Hz, bin 11.71875 Hz, band 20 to 10 Hz, level factor "
        "1, no values, undrawable 0");
    EXPECT_EQ(FormatSummaryLine(SummarizeCurveFile("X.TXT", file, 150.0f)),
        "X.TXT: refused: not a curve file name (the extension must be EE, EA, AE, AA or OHM)");
    EXPECT_EQ(FormatSummaryLine(
                  SummarizeCurveFile("T.EA", FileWithStatus(CurveFileStatus::Truncated), 150.0f)),
        "T.EA: refused: truncated (shorter than its 20-byte header and N/2 values)");
}

TEST(CurveInfo, SummaryJsonHasEveryFieldAndNullForAnEmptyBand)
{
    CurveFile ohm = GoodFile({1.0f, 44100, 8, 20000.0f, 20.0f});
    ohm.values = {0.0f, 0.0f, 0.0625f, 0.078125f};
    EXPECT_EQ(FormatSummaryJson(SummarizeCurveFile("Z.OHM", ohm, 128.0f)),
        "{\"name\": \"Z.OHM\", \"kind\": \"impedance\", \"extension\": \"OHM\", "
        "\"transformLength\": 8, \"sampleRate\": 44100, \"binWidth\": 5512.5, "
        "\"lowerFrequency\": 20, \"upperFrequency\": 20000, \"levelFactor\": 1, \"unit\": "
        "\"Ohm\", \"serialResistor\": 128, \"bandBins\": 2, \"minimum\": 8, \"maximum\": 10, "
        "\"undrawable\": 0}");
    const std::string empty = FormatSummaryJson(
        SummarizeCurveFile("E.EA", GoodFile({1.0f, 48000, 4096, 10.0f, 20.0f}), 150.0f));
    EXPECT_NE(
        empty.find("\"bandBins\": 0, \"minimum\": null, \"maximum\": null"), std::string::npos)
        << empty;
    ohm.header.LevelFactor = kNaN; // unused by an impedance curve, and no JSON number
    const std::string nan = FormatSummaryJson(SummarizeCurveFile("N.OHM", ohm, 128.0f));
    EXPECT_NE(nan.find("\"levelFactor\": null, "), std::string::npos) << nan;
    EXPECT_EQ(FormatSummaryJson(
                  SummarizeCurveFile("B.EA", FileWithStatus(CurveFileStatus::BadHeader), 150.0f)),
        "{\"name\": \"B.EA\", \"refused\": \"bad header (the transform length is not even and 2 "
        "to 65536, or the sample rate is not positive)\"}");
}

TEST(CurveInfo, JsonStringsEscapeWhatJsonCannotHoldRaw)
{
    struct Case {
        std::string text;
        std::string json;
    };
    const std::vector<Case> cases = {
        {"plain.EA", "\"plain.EA\""},
        {"a\"b\\c", "\"a\\\"b\\\\c\""},
        {"line\nbreak\ttab\x7f", "\"line\\u000abreak\\u0009tab\\u007f\""},
        {"Messung \xc3\xa4\xe2\x82\xac.EA", "\"Messung \xc3\xa4\xe2\x82\xac.EA\""}, // valid UTF-8
        {"bad \xff\xc3.EA", "\"bad \\ufffd\\ufffd.EA\""},
        {"overlong \xc0\xaf", "\"overlong \\ufffd\\ufffd\""},
        {"surrogate \xed\xa0\x80", "\"surrogate \\ufffd\\ufffd\\ufffd\""},
        {"cut \xe2\x82", "\"cut \\ufffd\\ufffd\""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(JsonString(c.text), c.json) << c.text;
}

TEST(CurveInfo, NumbersAreShortWithAPointAndNoLocale)
{
    struct Case {
        double value;
        int significant;
        std::string text;
    };
    const std::vector<Case> cases = {
        {1000.0, 9, "1000"},
        {0.732421875, 9, "0.732421875"},
        {19998.046875, 9, "19998.0469"},
        {-2.5, 9, "-2.5"},
        {1.5e-7, 7, "1.5e-07"},
        {141500.0, 9, "141500"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatNumber(c.value, c.significant), c.text) << c.value;
}

TEST(CurveInfo, ExampleCurvesHaveNoUndrawableValues)
{
    for (const ExampleCurve& curve : MakeExampleCurves()) {
        const CurveFile file = ParseCurveFile(EncodeCurveFile(curve.header, curve.values));
        const CurveSummary s = SummarizeCurveFile(curve.fileName, file, 150.0f);
        ASSERT_FALSE(s.refusal) << curve.fileName;
        EXPECT_EQ(s.undrawable, 0) << curve.fileName;
        EXPECT_GT(s.bandBins, 0) << curve.fileName;
        EXPECT_LT(*s.minimum, *s.maximum) << curve.fileName;
    }
}
