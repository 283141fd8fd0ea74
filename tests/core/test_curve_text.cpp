#include "curves/CurveText.h"

#include "curves/ExampleCurves.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace
{

struct Point {
    double frequency;
    double magnitude;
    int line;
};

std::vector<Point> PointsOf(const ParsedCurveText& parsed)
{
    std::vector<Point> points;
    for (const TextPoint& p : parsed.points)
        points.push_back({p.frequency, p.magnitude, p.line});
    return points;
}

std::vector<TextPoint> Parsed(const std::string& text, CurveKind kind = CurveKind::Response)
{
    const ParsedCurveText parsed = ParseCurveText(text, kind);
    EXPECT_FALSE(parsed.error) << text << ": " << (parsed.error ? parsed.error->message : "");
    return parsed.points;
}

// The dB of a stored response value (LevelFactor 1).
double Decibels(float value)
{
    return 20.0 * std::log10(value);
}

// The parsed points are the expected ones, frequency, magnitude and line.
void ExpectPoints(
    const ParsedCurveText& parsed, const std::vector<Point>& points, const std::string& name)
{
    const std::vector<Point> got = PointsOf(parsed);
    ASSERT_EQ(got.size(), points.size()) << name;
    for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_DOUBLE_EQ(got[i].frequency, points[i].frequency) << name << " " << i;
        EXPECT_DOUBLE_EQ(got[i].magnitude, points[i].magnitude) << name << " " << i;
        EXPECT_EQ(got[i].line, points[i].line) << name << " " << i;
    }
}

} // namespace

TEST(CurveText, ReadsTheTextsOtherToolsWrite)
{
    struct Case {
        std::string name;
        std::string text;
        std::vector<Point> points;
    };
    const std::vector<Point> twoPoints = {{20.5, 80.25, 2}, {1000, -3.5, 3}};
    const std::vector<Case> cases = {
        {"blanks", "* FRD\n20.5 80.25 0\n1000 -3.5 0\n", twoPoints},
        {"tabs and CRLF", "Freq\tSPL\r\n20.5\t80.25\t12\r\n1000\t-3.5\t-7\r\n", twoPoints},
        {"comma", "\"Hz\",\"dB\"\n20.5,80.25\n1000,-3.5,\n", twoPoints},
        {"comma and blank", "f, dB, deg\n20.5, 80.25, 0\n1000 , -3.5 , 0\n", twoPoints},
        {"semicolon, decimal comma", "Frequenz;Pegel\n20,5;80,25\n1000;-3,5\n", twoPoints},
        {"blank, decimal comma", "# REW\n20,5 80,25 0\n1000 -3,5 0\n", twoPoints},
        {"byte order mark",
            "\xEF\xBB\xBF"
            "20.5 80.25\n1000 -3.5\n",
            {{20.5, 80.25, 1}, {1000, -3.5, 2}}},
        {"signs and exponents", "+20.5 +8.025e1\n1e3 -35E-1\n",
            {{20.5, 80.25, 1}, {1000, -3.5, 2}}},
        {"comments and blanks later", "20.5 80.25\n\n* note\n; note\n# note\n  \n1000 -3.5 x\n",
            {{20.5, 80.25, 1}, {1000, -3.5, 7}}},
        {"header lines of any kind", "Measurement 3\nSPL 1 m\n20.5 80.25\n1000 -3.5",
            {{20.5, 80.25, 3}, {1000, -3.5, 4}}},
    };
    for (const Case& c : cases) {
        const ParsedCurveText parsed = ParseCurveText(c.text, CurveKind::Response);
        ASSERT_FALSE(parsed.error) << c.name << ": " << parsed.error->message;
        ExpectPoints(parsed, c.points, c.name);
    }
}

TEST(CurveText, MalformedTextGivesItsLineNumber)
{
    struct Case {
        std::string text;
        CurveKind kind;
        int line;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"* h\n10 80\n20 80\n20 81\n", CurveKind::Response, 4,
            "the frequency 20 Hz does not rise above the 20 Hz of line 3"},
        {"10 80\n30 80\n20 81\n", CurveKind::Response, 3,
            "does not rise above the 30 Hz of line 2"},
        {"10 80\n20 abc\n", CurveKind::Response, 2, "the magnitude \"abc\" is not a number"},
        {"10 80\n20 nan\n", CurveKind::Response, 2, "the magnitude \"nan\" is not a number"},
        {"10 80\ninf 80\n", CurveKind::Response, 2, "the frequency \"inf\" is not a number"},
        {"10 80\n20 1e999\n", CurveKind::Response, 2, "is not a number"},
        {"10 80\n20 80\nend of data\n", CurveKind::Response, 3, "is not a number"},
        {"10 80\n20\n", CurveKind::Response, 2,
            "expected a frequency and a magnitude, found \"20\""},
        {"10,80\n20,,1\n", CurveKind::Response, 2, "the magnitude \"\" is not a number"},
        {"-10 80\n20 80\n", CurveKind::Response, 1, "the frequency -10 Hz is negative"},
        {"10 8\n20 0\n", CurveKind::Impedance, 2, "the impedance 0 Ohm is not positive"},
        {"10 -8\n20 8\n", CurveKind::Impedance, 1, "the impedance -8 Ohm is not positive"},
        {"", CurveKind::Response, 0, "no data lines"},
        {"Frequency Level\n* nothing\n", CurveKind::Response, 0, "no data lines"},
        {"10 80\n", CurveKind::Response, 0, "only one data line"},
    };
    for (const Case& c : cases) {
        const ParsedCurveText parsed = ParseCurveText(c.text, c.kind);
        ASSERT_TRUE(parsed.error) << c.text;
        EXPECT_EQ(parsed.error->line, c.line) << c.text;
        EXPECT_NE(parsed.error->message.find(c.message), std::string::npos)
            << c.text << ": " << parsed.error->message;
    }
}

TEST(CurveText, InterpolatesLinearlyInDecibelsOverLogFrequency)
{
    const std::vector<BandPoint> points = {{0, 50}, {100, 60}, {400, 80}, {1600, 70}};
    struct Case {
        double f;
        double magnitude;
    };
    const std::vector<Case> cases = {
        {0, 50}, // the 0 Hz point only gives 0 Hz
        {1, 60}, {50, 60}, // beyond it, the next point
        {100, 60}, {200, 70}, // half way on the log axis between 100 and 400 Hz
        {400, 80}, {800, 75}, {1600, 70}, {5000, 70}, // the last point's value above it
    };
    for (const Case& c : cases)
        EXPECT_NEAR(InterpolateMagnitude(points, CurveKind::Response, c.f), c.magnitude, 1e-9)
            << c.f;
    // Ohm are interpolated as dB: half way between 4 and 16 Ohm lies 8 Ohm.
    const std::vector<BandPoint> ohm = {{100, 4}, {400, 16}};
    EXPECT_NEAR(InterpolateMagnitude(ohm, CurveKind::Impedance, 200), 8.0, 1e-9);
    EXPECT_NEAR(InterpolateMagnitude(ohm, CurveKind::Impedance, 50), 4.0, 1e-12);
}

TEST(CurveText, OctaveFrequenciesLieOnTheGridThroughOneKilohertz)
{
    const std::vector<double> third = OctaveFrequencies(1000, 8000, 3);
    ASSERT_EQ(third.size(), 10u);
    EXPECT_DOUBLE_EQ(third.front(), 1000);
    EXPECT_DOUBLE_EQ(third[1], 1000 * std::exp2(1.0 / 3));
    EXPECT_NEAR(third.back(), 8000, 1e-9);
    EXPECT_EQ(OctaveFrequencies(20, 20000, 1).size(), 10u); // 31.25 Hz ... 16 kHz
    EXPECT_EQ(OctaveFrequencies(20, 20000, 1).front(), 31.25);
    EXPECT_EQ(OctaveFrequencies(1100, 1900, 1).size(), 0u);
    // The edges are found although a text held them with nine digits.
    EXPECT_EQ(OctaveFrequencies(1259.92105, 1587.40105, 3).size(), 2u);

    const std::vector<BandPoint> points = {{500, 60}, {2000, 80}};
    const std::vector<BandPoint> resampled = ResamplePerOctave(points, CurveKind::Response, 2);
    ASSERT_EQ(resampled.size(), 5u);
    EXPECT_NEAR(resampled[1].frequency, 707.10678, 1e-4);
    EXPECT_NEAR(resampled[1].magnitude, 65, 1e-9);
    EXPECT_NEAR(resampled[2].magnitude, 70, 1e-9);
}

TEST(CurveText, WritesFrdZmaAndCsvWithAPointAndThePhaseZero)
{
    const std::vector<BandPoint> points = {{20.5078125, 80.123456}, {19998.046875, -3.5}};
    EXPECT_EQ(FormatCurveText(TextFormat::Frd, CurveKind::Response, {"one", "two"}, points),
        "* one\n* two\n* Frequency (Hz)  Magnitude (dB)  Phase (deg)\n"
        "20.5078125 80.1235 0\n19998.0469 -3.5000 0\n");
    const std::vector<BandPoint> ohm = {{20, 6.5412345678}, {100, 0.000012}};
    EXPECT_EQ(FormatCurveText(TextFormat::Zma, CurveKind::Impedance, {}, ohm),
        "* Frequency (Hz)  Impedance (Ohm)  Phase (deg)\n20 6.541235 0\n100 1.2e-05 0\n");
    EXPECT_EQ(FormatCurveText(TextFormat::Csv, CurveKind::Impedance, {"c"}, ohm),
        "* c\nFrequency (Hz),Impedance (Ohm),Phase (deg)\n20,6.541235,0\n100,1.2e-05,0\n");
}

TEST(CurveText, FormatsFitTheirKinds)
{
    EXPECT_TRUE(TextFormatFitsKind(TextFormat::Frd, CurveKind::Response));
    EXPECT_FALSE(TextFormatFitsKind(TextFormat::Frd, CurveKind::Impedance));
    EXPECT_TRUE(TextFormatFitsKind(TextFormat::Zma, CurveKind::Impedance));
    EXPECT_FALSE(TextFormatFitsKind(TextFormat::Zma, CurveKind::Response));
    EXPECT_TRUE(TextFormatFitsKind(TextFormat::Csv, CurveKind::Response));
    EXPECT_TRUE(TextFormatFitsKind(TextFormat::Csv, CurveKind::Impedance));
    EXPECT_EQ(TextFormatOfName("zma"), TextFormat::Zma);
    EXPECT_EQ(TextFormatOfName("FRD"), std::nullopt);
}

TEST(CurveText, CommentsNameTheSourceInAscii)
{
    CurveSummary s;
    s.name = "dir/Messung\xc3\xa4\n.OHM";
    s.kind = CurveKind::Impedance;
    s.extension = "OHM";
    s.header = {1.0f, 48000, 4096, 20000.0f, 20.0f};
    s.serialResistor = 150.0f;
    const std::vector<std::string> comments = ExportComments(s, 6);
    ASSERT_EQ(comments.size(), 6u);
    EXPECT_EQ(comments[0], "Exported by voxacurve from dir/Messung???.OHM");
    EXPECT_EQ(
        comments[1], "Kind: OHM, impedance curve in Ohm = value x serial resistor of 150 Ohm");
    EXPECT_EQ(comments[2], "Transform length 4096, sample rate 48000 Hz, bin width 11.71875 Hz");
    EXPECT_EQ(comments[3], "Band 20 to 20000 Hz (bins 2 to 1706), level factor 1");
    EXPECT_EQ(comments[4], "Resampled to 6 points per octave, linearly in dB over log frequency");
    EXPECT_EQ(comments[5], "The source holds magnitudes only: the phase column is 0");
}

TEST(CurveText, ImportFillsEveryBinAndTheBandEdgesHoldTheirNeighbours)
{
    const ImportSettings settings {CurveKind::Response, 1000, 16, 150.0f}; // 62.5 Hz bins
    const std::vector<TextPoint> points = Parsed("100 20\n400 40\n");
    const ImportedCurve curve = BuildImportedCurve(points, settings);
    ASSERT_FALSE(curve.error);
    EXPECT_EQ(curve.header, (CurveHeader {1.0f, 1000, 16, 437.5f, 100.0f}));
    ASSERT_EQ(curve.values.size(), 8u);
    EXPECT_NEAR(Decibels(curve.values[0]), 20, 1e-5); // 0 Hz: the first value, never 0
    EXPECT_NEAR(Decibels(curve.values[1]), 20, 1e-5); // 62.5 Hz
    EXPECT_NEAR(Decibels(curve.values[2]), 20 + 20 * std::log2(125.0 / 100) / 2, 1e-5);
    EXPECT_NEAR(Decibels(curve.values[6]), 20 + 20 * std::log2(375.0 / 100) / 2, 1e-5);
    EXPECT_NEAR(Decibels(curve.values[7]), 40, 1e-5); // 437.5 Hz: the last value
    // The viewer draws bins 2 ... 6, those inside 100 to 400 Hz.
    EXPECT_EQ(BandBins(curve.header), (BinRange {2, 7}));
}

TEST(CurveText, ImportedImpedanceIsOhmOverTheSerialResistor)
{
    const ImportSettings settings {CurveKind::Impedance, 48000, 4096, 200.0f};
    const ImportedCurve curve
        = BuildImportedCurve(Parsed("* zma\n10 8 0\n30000 8 0\n", CurveKind::Impedance), settings);
    ASSERT_FALSE(curve.error);
    EXPECT_EQ(curve.header.UpperFrequency, 24000.0f); // cut at half the rate
    EXPECT_EQ(curve.header.LowerFrequency, 10.0f);
    for (const float v : curve.values)
        ASSERT_FLOAT_EQ(v, 8.0f / 200.0f);
}

TEST(CurveText, ImportRefusesWhatACurveFileCannotHold)
{
    struct Case {
        std::string text;
        ImportSettings settings;
        int line;
        std::string message;
    };
    const ImportSettings response {CurveKind::Response, 48000, 4096, 150.0f};
    const ImportSettings impedance {CurveKind::Impedance, 48000, 4096, 150.0f};
    const std::vector<Case> cases = {
        {"10 80\n20 800\n", response, 2,
            "the magnitude 800 dB lies beyond what a curve file can hold"},
        {"10 -800\n20 80\n", response, 1, "the magnitude -800 dB"},
        {"10 1e-40\n20 8\n", impedance, 1, "the magnitude 1e-40 Ohm"},
        {"24000 80\n30000 80\n", response, 1,
            "the first frequency 24000 Hz is not below half the sample rate (24000 Hz)"},
    };
    for (const Case& c : cases) {
        const ImportedCurve curve = BuildImportedCurve(Parsed(c.text, c.settings.kind), c.settings);
        ASSERT_TRUE(curve.error) << c.text;
        EXPECT_EQ(curve.error->line, c.line) << c.text;
        EXPECT_NE(curve.error->message.find(c.message), std::string::npos)
            << c.text << ": " << curve.error->message;
    }
}

// Export, import and export again: every exported frequency comes back
// within 0.01 dB (or 0.01 % of its Ohm), with nothing lost at the band's ends.
TEST(CurveText, ExportImportExportKeepsEveryLevel)
{
    for (const ExampleCurve& example : MakeExampleCurves()) {
        const CurveFile file = ParseCurveFile(EncodeCurveFile(example.header, example.values));
        const CurveSummary summary = SummarizeCurveFile(example.fileName, file, 150.0f);
        const TextFormat format = DefaultTextFormat(summary.kind);
        const BandValues first = ReadBandValues(file, summary.kind, 150.0f);
        const std::string text
            = FormatCurveText(format, summary.kind, ExportComments(summary, {}), first.points);

        const ImportSettings settings {
            summary.kind, example.header.SampleRate, example.header.TransformLength, 150.0f};
        const ImportedCurve imported = BuildImportedCurve(Parsed(text, summary.kind), settings);
        ASSERT_FALSE(imported.error) << example.fileName;
        const CurveFile back = ParseCurveFile(EncodeCurveFile(imported.header, imported.values));
        const BandValues second = ReadBandValues(back, summary.kind, 150.0f);

        ASSERT_EQ(second.points.size(), first.points.size()) << example.fileName;
        for (std::size_t i = 0; i < first.points.size(); ++i) {
            ASSERT_DOUBLE_EQ(second.points[i].frequency, first.points[i].frequency);
            const double a = first.points[i].magnitude, b = second.points[i].magnitude;
            if (summary.kind == CurveKind::Response)
                ASSERT_NEAR(b, a, 0.01) << example.fileName << " at " << first.points[i].frequency;
            else
                ASSERT_NEAR(20 * std::log10(b / a), 0.0, 0.01) << example.fileName;
        }
    }
}

namespace
{

// The text in UTF-16 with its byte order mark.
std::string Utf16(std::u16string_view text, bool littleEndian)
{
    std::string bytes = littleEndian ? "\xFF\xFE" : "\xFE\xFF";
    for (const char16_t c : text) {
        const char high = static_cast<char>(c >> 8), low = static_cast<char>(c & 0xFF);
        bytes += littleEndian ? std::string {low, high} : std::string {high, low};
    }
    return bytes;
}

TEST(CurveText, ColumnsByHeaderNamesOrChoice)
{
    struct Case {
        std::string name;
        std::string text;
        ColumnChoice choice;
        std::vector<Point> points;
    };
    const std::vector<Point> twoPoints = {{20.5, 80.25, 2}, {1000, -3.5, 3}};
    const std::vector<Case> cases = {
        {"frequency second", "error,frequency,raw\n0.1,20.5,80.25\n0.2,1000,-3.5\n", {}, twoPoints},
        {"units as names", "x;Phase [deg];Level (dB);F (Hz)\n1;0;80,25;20,5\n2;0;-3,5;1000\n", {},
            twoPoints},
        {"blank header with units apart",
            "Phase (deg)  Frequency (Hz)  SPL (dB)\n0 20.5 80.25\n9 1000 -3.5\n", {}, twoPoints},
        {"numbers chosen", "a b c\n80.25 0 20.5\n-3.5 0 1000\n", {"3", "1"}, twoPoints},
        {"names chosen", "Hz,Raw,Smoothed\n20.5,1,80.25\n1000,2,-3.5\n", {"hz", "SMOOTHED"},
            twoPoints},
        {"a header of other length is no header", "SPL 1 m\n20.5 80.25\n1000 -3.5\n", {},
            {{20.5, 80.25, 2}, {1000, -3.5, 3}}},
        {"CR line ends", "Freq\tSPL\r20.5\t80.25\r1000\t-3.5\r", {}, twoPoints},
        {"mixed line ends and a byte order mark", "\xEF\xBB\xBF* x\r\n20.5 80.25\n1000 -3.5\r", {},
            twoPoints},
        {"UTF-16 little-endian", Utf16(u"*\n20.5 80.25\r\n1000 -3.5", true), {}, twoPoints},
        {"UTF-16 big-endian with a non-ASCII header and a surrogate pair",
            Utf16(u"F\u00e4 \U0001F50A\n20.5 80.25\n1000 -3.5", false), {}, twoPoints},
    };
    for (const Case& c : cases) {
        const ParsedCurveText parsed = ParseCurveText(c.text, CurveKind::Response, c.choice);
        ASSERT_FALSE(parsed.error) << c.name << ": " << parsed.error->message;
        ExpectPoints(parsed, c.points, c.name);
    }
}

TEST(CurveText, TextsThatCannotBeReadSayWhy)
{
    struct Case {
        std::string text;
        ColumnChoice choice;
        std::string message;
    };
    const std::vector<Case> cases = {
        {std::string("\xFF\xFE\x31\0\x32", 5), {},
            "UTF-16 text (by its byte order mark) of an odd number of bytes"},
        {std::string("\xFF\xFE\x31\0\x00\xDC", 6), {},
            "UTF-16 text with a broken surrogate pair at byte 4"},
        {std::string("1\0"
                     "0\0 \0"
                     "8\0",
             8),
            {}, "NUL bytes in the text"},
        {"f,x\n20,1\n30,2\n", {"f", "level"}, "no data lines with the columns chosen (f, level)"},
        {"a b\n20 1 2\n30 1\n", {"1", "3"},
            "expected the frequency in column 1 and the magnitude in column 3, found 2 columns"},
    };
    for (const Case& c : cases) {
        const ParsedCurveText parsed = ParseCurveText(c.text, CurveKind::Response, c.choice);
        ASSERT_TRUE(parsed.error) << c.message;
        EXPECT_NE(parsed.error->message.find(c.message), std::string::npos)
            << parsed.error->message;
    }
}

} // namespace
