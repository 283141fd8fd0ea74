// The statistics CSV read back for a band picture: columns by their names,
// values a measurement can hold, and what the band draws of it.

#include "curves/StatsTable.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

TEST(StatsTable, ColumnsAreFoundByTheirNamesInAnyOrder)
{
    // A standard deviation after the mean, the percentiles unsorted, the
    // count before them and a column this reader does not draw.
    const ParsedStatsTable parsed = ParseStatsCsv(
        "Frequency (Hz),Mean (dB),Std (dB),Minimum (dB),Maximum (dB),Count,P50 (dB),P5 (dB),"
        "P95 (dB),Note\n"
        "100,70,3,60,80,3,71,61,79,x\n"
        "200,72,2.5,62,82,2,73,63,81,y\n");
    ASSERT_FALSE(parsed.error) << *parsed.error;
    const StatsTable& t = parsed.table;
    EXPECT_EQ(t.kind, CurveKind::Response);
    EXPECT_EQ(t.frequencies, (std::vector<double> {100, 200}));
    EXPECT_EQ(t.mean, (std::vector<double> {70, 72}));
    EXPECT_EQ(t.minimum, (std::vector<double> {60, 62}));
    EXPECT_EQ(t.maximum, (std::vector<double> {80, 82}));
    EXPECT_EQ(t.percentiles, (std::vector<double> {50, 5, 95}));
    EXPECT_EQ(
        t.percentileValues, (std::vector<std::vector<double>> {{71, 73}, {61, 63}, {79, 81}}));

    const ParsedStatsTable ohm = ParseStatsCsv("Count,Maximum (Ohm),Minimum (Ohm),Mean (Ohm),"
                                               "Frequency (Hz)\n1,8,6,7,20\n1,9,0,8,30\n");
    ASSERT_FALSE(ohm.error) << *ohm.error;
    EXPECT_EQ(ohm.table.kind, CurveKind::Impedance);
    EXPECT_EQ(ohm.table.minimum, (std::vector<double> {6, 0}));
}

TEST(StatsTable, BandRunsFromTheLowestToTheHighestPercentileWhateverTheirOrder)
{
    struct Case {
        std::vector<double> percentiles;
        std::string rangeName; // empty: no range
        std::string medianName;
        std::size_t lowest, highest, median; // columns; median 9 for the mean
    };
    const Case cases[] = {
        {{50, 5, 95}, "P5 to P95", "median (P50)", 1, 2, 0},
        {{95, 50, 5}, "P5 to P95", "median (P50)", 2, 0, 1},
        {{10, 90}, "P10 to P90", "mean", 0, 1, 9},
        {{2.5, 50, 97.5}, "P2.5 to P97.5", "median (P50)", 0, 2, 1},
        {{50}, "", "median (P50)", 0, 0, 0},
        {{}, "", "mean", 0, 0, 9},
    };
    for (const Case& c : cases) {
        StatsTable t;
        t.frequencies = {100, 200};
        t.mean = {70, 71};
        t.minimum = {60, 61};
        t.maximum = {80, 81};
        t.percentiles = c.percentiles;
        for (std::size_t i = 0; i < c.percentiles.size(); ++i)
            t.percentileValues.push_back({double(i), double(i) + 0.5});
        const StatsBand band = BandOf(t);
        SCOPED_TRACE(c.rangeName + " " + c.medianName);
        EXPECT_EQ(band.rangeName, c.rangeName);
        EXPECT_EQ(band.medianName, c.medianName);
        EXPECT_EQ(band.minimum, t.minimum);
        EXPECT_EQ(band.maximum, t.maximum);
        if (c.rangeName.empty()) {
            EXPECT_TRUE(band.lowest.empty() && band.highest.empty());
        } else {
            EXPECT_EQ(band.lowest, t.percentileValues[c.lowest]);
            EXPECT_EQ(band.highest, t.percentileValues[c.highest]);
        }
        EXPECT_EQ(band.median, c.median == 9 ? t.mean : t.percentileValues[c.median]);
    }
}

TEST(StatsTable, ValuesNoMeasurementHoldsAreRefusedWithTheirLine)
{
    const std::string header
        = "Frequency (Hz),Mean (dB),Minimum (dB),Maximum (dB),P5 (dB),P95 (dB),Count\n";
    const std::string good = "100,70,60,80,61,79,3\n";
    struct Case {
        std::string text;
        std::string words;
    };
    const Case cases[] = {
        {header + "0,70,60,80,61,79,3\n" + good,
            "line 2: the frequency 0 Hz lies outside what a curve holds"},
        {header + good + "-5,70,60,80,61,79,3\n", "line 3: the frequency -5 Hz lies outside"},
        {header + good + "2e9,70,60,80,61,79,3\n", "line 3: the frequency 2e+09 Hz"},
        {header + good + "200,70,80,60,61,79,3\n",
            "line 3: the minimum 80 lies above the maximum 60"},
        {header + good + "200,90,60,80,61,79,3\n",
            "line 3: the mean lies outside the minimum and maximum"},
        {header + good + "200,70,60,80,55,79,3\n",
            "line 3: the P5 lies outside the minimum and maximum"},
        {header + good + "200,70,60,80,75,65,3\n",
            "line 3: the P95 lies below the P5: a higher percentile is never lower"},
        {header + good + "200,70,-1e308,1e308,61,79,3\n",
            "line 3: the minimum -1e+308 lies outside what a curve holds (-2000 to 2000 dB)"},
        {header + good + "200,70,60,80,61,79,banana\n",
            "line 3: the count \"banana\" is not a whole number of curves"},
        {header + good + "200,70,60,80,61,79,-5\n", "line 3: the count \"-5\" is not a whole"},
        {header + good + "200,70,60,80,61,79,1.5\n", "line 3: the count \"1.5\" is not a whole"},
        {header + good + "200,70,60,80,61,79,0\n", "line 3: a count of 0 curves"},
        {"Frequency (Hz),Mean (dB),Minimum (dB),Maximum (dB),P-5 (dB),Count\n",
            "line 1: the column \"P-5 (dB)\" names percentile -5; percentiles lie from 0 to 100"},
        {"Frequency (Hz),Mean (dB),Minimum (dB),Maximum (dB),P500 (dB),Count\n",
            "line 1: the column \"P500 (dB)\" names percentile 500"},
        {"Frequency (Hz),Mean (dB),Std (dB),Minimum (dB),Maximum (dB),Count\n100,70,-1,60,80,2\n",
            "line 2: the standard deviation -1 is negative"},
        {"Frequency (Hz),Mean (Ohm),Minimum (Ohm),Maximum (Ohm),Count\n100,7,-1,8,2\n",
            "line 2: the minimum -1 lies outside what a curve holds (0 to 1e78 Ohm)"},
        {"Frequency (Hz),Mean (dB),Minimum (dB),Maximum (dB),Maximum (dB),Count\n",
            "line 1: the column \"Maximum (dB)\" is there twice"},
        {"Frequency (Hz),Mean (dB),Minimum (dB),Maximum (dB),P10 (dB),P90 (dB),P1e1 (dB),Count\n",
            "line 1: the column \"P1e1 (dB)\" names a percentile that an earlier column names"},
        {"Frequency (Hz),Mean (dB),Minimum (dB),Maximum (dB)\n",
            "line 1: the header row is not that of voxacurve stats (Frequency (Hz),Mean,"
            "Minimum,Maximum,...,Count): no column Count"},
        {"Frequency (Hz),Mean (dB),Minimum (Ohm),Maximum (dB),Count\n", "no column Minimum (dB)"},
    };
    for (const Case& c : cases) {
        const ParsedStatsTable parsed = ParseStatsCsv(c.text);
        ASSERT_TRUE(parsed.error) << c.text;
        EXPECT_NE(parsed.error->find(c.words), std::string::npos)
            << *parsed.error << "\ninstead of: " << c.words;
    }
    // The same text with good rows is read.
    EXPECT_FALSE(ParseStatsCsv(header + good + "200,70,60,80,61,79,3\n").error);
}

} // namespace
