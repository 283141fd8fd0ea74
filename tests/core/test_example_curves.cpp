#include "curves/ExampleCurves.h"

#include "curves/CurveFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include <unistd.h>

namespace
{

namespace fs = std::filesystem;

const std::vector<ExampleCurve>& Curves()
{
    static const std::vector<ExampleCurve> curves = MakeExampleCurves();
    return curves;
}

const ExampleCurve& Curve(const std::string& fileName)
{
    const auto& curves = Curves();
    const auto it = std::find_if(curves.begin(), curves.end(),
        [&](const ExampleCurve& c) { return c.fileName == fileName; });
    if (it == curves.end())
        throw std::runtime_error("no example curve " + fileName);
    return *it;
}

std::string Extension(const std::string& fileName)
{
    return fileName.substr(fileName.find('.') + 1);
}

double Frequency(const ExampleCurve& c, std::size_t k)
{
    return static_cast<double>(k) * c.header.SampleRate / c.header.TransformLength;
}

std::size_t NearestBin(const ExampleCurve& c, double f)
{
    return static_cast<std::size_t>(
        std::lround(f * c.header.TransformLength / c.header.SampleRate));
}

double LevelDb(const ExampleCurve& c, std::size_t k)
{
    return 20.0 * std::log10(double {c.header.LevelFactor} * c.values[k]);
}

double ImpedanceOhm(const ExampleCurve& c, std::size_t k)
{
    return kExampleSerialResistor * c.values[k];
}

// The bins the viewer draws: from the lower to the upper frequency of the header.
std::vector<std::size_t> DrawnBins(const ExampleCurve& c)
{
    std::vector<std::size_t> bins;
    for (std::size_t k = 1; k < c.values.size(); ++k) {
        const double f = Frequency(c, k);
        if (f >= c.header.LowerFrequency && f <= c.header.UpperFrequency)
            bins.push_back(k);
    }
    return bins;
}

class TempDir
{
public:
    TempDir()
        : m_path(fs::temp_directory_path() / ("example_curves_test_" + std::to_string(::getpid())))
    {
        fs::create_directories(m_path);
    }
    ~TempDir() { fs::remove_all(m_path); }
    const fs::path& path() const { return m_path; }

private:
    fs::path m_path;
};

TEST(ExampleCurves, CoverEveryKindAndTheCommonTransformLengths)
{
    std::set<std::string> kinds;
    std::set<int32_t> lengths;
    for (const ExampleCurve& c : Curves()) {
        kinds.insert(Extension(c.fileName));
        lengths.insert(c.header.TransformLength);
        EXPECT_LE(c.fileName.find('.'), 8u) << c.fileName;
    }
    EXPECT_EQ(kinds, (std::set<std::string> {"AA", "AE", "EA", "EE", "OHM"}));
    EXPECT_EQ(lengths, (std::set<int32_t> {4096, 8192, 16384, 65536}));
}

TEST(ExampleCurves, WrittenFilesHaveTheExactSizeAndReadBackUnchanged)
{
    const TempDir dir;
    for (const ExampleCurve& c : Curves()) {
        SCOPED_TRACE(c.fileName);
        const std::string path = (dir.path() / c.fileName).string();
        ASSERT_TRUE(WriteCurveFile(path, c.header, c.values));
        const auto n = static_cast<std::uintmax_t>(c.header.TransformLength);
        EXPECT_EQ(fs::file_size(path), 20 + 2 * n);

        const CurveFile read = ReadCurveFile(path);
        ASSERT_TRUE(read.ok());
        EXPECT_EQ(read.header.LevelFactor, c.header.LevelFactor);
        EXPECT_EQ(read.header.SampleRate, c.header.SampleRate);
        EXPECT_EQ(read.header.TransformLength, c.header.TransformLength);
        EXPECT_EQ(read.header.UpperFrequency, 20000.0f);
        EXPECT_LT(read.header.LowerFrequency, read.header.UpperFrequency);
        EXPECT_EQ(read.values, c.values);
    }
}

TEST(ExampleCurves, WritingIntoAMissingDirectoryFails)
{
    const TempDir dir;
    const ExampleCurve& c = Curve("POWERAMP.EE");
    EXPECT_FALSE(
        WriteCurveFile((dir.path() / "missing" / c.fileName).string(), c.header, c.values));
}

TEST(ExampleCurves, EveryValueIsPositiveAndFiniteAndDrawsInsideTheDefaultWindow)
{
    for (const ExampleCurve& c : Curves()) {
        SCOPED_TRACE(c.fileName);
        EXPECT_TRUE(std::all_of(c.values.begin(), c.values.end(),
            [](float v) { return std::isfinite(v) && v > 0.0f; }));
        // The default windows: 40 to 100 dB, and eight divisions of 5 Ohm.
        const bool impedance = Extension(c.fileName) == "OHM";
        const double low = impedance ? 0.0 : 40.0;
        const double high = impedance ? 40.0 : 100.0;
        for (std::size_t k : DrawnBins(c)) {
            const double y = impedance ? ImpedanceOhm(c, k) : LevelDb(c, k);
            ASSERT_GT(y, low) << Frequency(c, k) << " Hz";
            ASSERT_LT(y, high) << Frequency(c, k) << " Hz";
        }
    }
}

TEST(ExampleCurves, SpeakerHasItsSensitivityAndTheVentedBoxRollOff)
{
    const ExampleCurve& c = Curve("SPEAKER.EA");
    const double at1k = LevelDb(c, NearestBin(c, 1000.0));
    EXPECT_NEAR(at1k, 87.0, 3.0);
    EXPECT_LE(LevelDb(c, NearestBin(c, 25.0)), at1k - 15.0);
}

TEST(ExampleCurves, ImpedanceHasTwoBoxPeaksAroundAMinimum)
{
    for (const char* name : {"SPEAKER.OHM", "WOOFER.OHM"}) {
        SCOPED_TRACE(name);
        const ExampleCurve& c = Curve(name);
        std::vector<std::size_t> peaks;
        for (std::size_t k = 1; Frequency(c, k) < 150.0; ++k) {
            const double z = ImpedanceOhm(c, k);
            if (z > 25.0 && z > ImpedanceOhm(c, k - 1) && z > ImpedanceOhm(c, k + 1))
                peaks.push_back(k);
        }
        ASSERT_EQ(peaks.size(), 2u);
        double minimum = ImpedanceOhm(c, peaks[0]);
        for (std::size_t k = peaks[0]; k <= peaks[1]; ++k)
            minimum = std::min(minimum, ImpedanceOhm(c, k));
        EXPECT_LT(minimum, 10.0);
    }
}

TEST(ExampleCurves, RoomHasAModeOfAtLeastSixDbBelow200Hz)
{
    const ExampleCurve& c = Curve("ROOM.AA");
    std::vector<double> upper;
    for (std::size_t k = NearestBin(c, 300.0); k <= NearestBin(c, 3000.0); ++k)
        upper.push_back(LevelDb(c, k));
    std::nth_element(upper.begin(), upper.begin() + upper.size() / 2, upper.end());
    const double median = upper[upper.size() / 2];

    double largestDeviation = 0.0;
    for (std::size_t k = NearestBin(c, 25.0); k <= NearestBin(c, 200.0); ++k)
        largestDeviation = std::max(largestDeviation, std::abs(LevelDb(c, k) - median));
    EXPECT_GE(largestDeviation, 6.0);
}

} // namespace
