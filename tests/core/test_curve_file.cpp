#include "curves/CurveFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace
{

namespace fs = std::filesystem;

void PutU32(std::vector<unsigned char>& bytes, uint32_t v)
{
    for (int k = 0; k < 4; ++k)
        bytes.push_back(static_cast<unsigned char>(v >> (8 * k)));
}

void PutFloat(std::vector<unsigned char>& bytes, float f)
{
    uint32_t v;
    std::memcpy(&v, &f, 4);
    PutU32(bytes, v);
}

std::vector<unsigned char> HeaderBytes(
    float levelFactor, int32_t sampleRate, int32_t n, float upper, float lower)
{
    std::vector<unsigned char> bytes;
    PutFloat(bytes, levelFactor);
    PutU32(bytes, static_cast<uint32_t>(sampleRate));
    PutU32(bytes, static_cast<uint32_t>(n));
    PutFloat(bytes, upper);
    PutFloat(bytes, lower);
    return bytes;
}

// A file with N/2 values 1, 2, 3, ...
std::vector<unsigned char> CurveBytes(int32_t n, int32_t sampleRate = 48000)
{
    auto bytes = HeaderBytes(2.5f, sampleRate, n, 20000.0f, 20.0f);
    for (int k = 0; k < n / 2; ++k)
        PutFloat(bytes, static_cast<float>(k + 1));
    return bytes;
}

class TempDir
{
public:
    TempDir()
        : m_path(fs::temp_directory_path()
            / ("curve_file_test_" + std::to_string(::getpid()) + "_"
                + ::testing::UnitTest::GetInstance()->current_test_info()->name()))
    {
        fs::create_directories(m_path);
    }
    ~TempDir() { fs::remove_all(m_path); }
    std::string file(const std::string& name) const { return (m_path / name).string(); }

private:
    fs::path m_path;
};

void WriteFile(const std::string& path, const std::vector<unsigned char>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(
        reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

TEST(CurveFile, DecodesTheLittleEndianHeaderAndValues)
{
    const CurveFile file = ParseCurveFile(CurveBytes(8, 44100));
    ASSERT_TRUE(file.ok());
    EXPECT_EQ(file.header.LevelFactor, 2.5f);
    EXPECT_EQ(file.header.SampleRate, 44100);
    EXPECT_EQ(file.header.TransformLength, 8);
    EXPECT_EQ(file.header.UpperFrequency, 20000.0f);
    EXPECT_EQ(file.header.LowerFrequency, 20.0f);
    EXPECT_EQ(file.values, (std::vector<float> {1.0f, 2.0f, 3.0f, 4.0f}));
}

TEST(CurveFile, LengthDecidesBetweenLoadAndRefusal)
{
    const auto full = CurveBytes(8); // 20 + 16 bytes
    struct Case {
        const char* name;
        std::size_t size;
        CurveFileStatus expected;
    };
    const std::vector<Case> cases = {
        {"exactly 20 + 2N bytes", full.size(), CurveFileStatus::Ok},
        {"longer: the rest is ignored", full.size() + 7, CurveFileStatus::Ok},
        {"one byte short", full.size() - 1, CurveFileStatus::Truncated},
        {"header only", 20, CurveFileStatus::Truncated},
        {"truncated header", 19, CurveFileStatus::Truncated},
        {"empty", 0, CurveFileStatus::Truncated},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto bytes = full;
        bytes.resize(c.size, 0xEE);
        const CurveFile file = ParseCurveFile(bytes);
        EXPECT_EQ(file.status, c.expected);
        if (file.ok())
            EXPECT_EQ(file.values, (std::vector<float> {1.0f, 2.0f, 3.0f, 4.0f}));
        else
            EXPECT_TRUE(file.values.empty());
    }
}

TEST(CurveFile, RefusesHeadersTheSlotCannotHoldOrTheDrawingCannotDivideBy)
{
    struct Case {
        const char* name;
        int32_t sampleRate;
        int32_t n;
        CurveFileStatus expected;
    };
    const std::vector<Case> cases = {
        {"N zero", 48000, 0, CurveFileStatus::BadHeader},
        {"N negative", 48000, -4096, CurveFileStatus::BadHeader},
        {"N odd", 48000, 4095, CurveFileStatus::BadHeader},
        {"N above the slot", 48000, 65538, CurveFileStatus::BadHeader},
        {"N at the slot's size", 48000, 65536, CurveFileStatus::Ok},
        {"smallest N", 48000, 2, CurveFileStatus::Ok},
        {"sample rate zero", 0, 4096, CurveFileStatus::BadHeader},
        {"sample rate negative", -48000, 4096, CurveFileStatus::BadHeader},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto bytes = HeaderBytes(1.0f, c.sampleRate, c.n, 20000.0f, 20.0f);
        bytes.resize(kMaxCurveFileBytes, 0); // enough values for any N
        EXPECT_EQ(ParseCurveFile(bytes).status, c.expected);
    }
}

TEST(CurveFile, AcceptsValuesThatOnlyTheDrawingCanReport)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    auto bytes = HeaderBytes(0.0f, 48000, 8, 20000.0f, 20.0f); // LevelFactor 0 too
    for (float v : {nan, inf, 0.0f, -1.0f})
        PutFloat(bytes, v);
    const CurveFile file = ParseCurveFile(bytes);
    ASSERT_TRUE(file.ok());
    EXPECT_TRUE(std::isnan(file.values[0]));
    EXPECT_EQ(file.values[1], inf);
    EXPECT_EQ(file.values[2], 0.0f);
    EXPECT_EQ(file.values[3], -1.0f);
}

TEST(CurveFile, CommitReplacesHeaderAndFirstHalfOnly)
{
    std::vector<float> storage(kCurveCapacity, 9.0f);
    CurveSlot slot {CurveHeader {}, storage.data()};
    CommitCurveFile(ParseCurveFile(CurveBytes(8, 44100)), slot);
    EXPECT_EQ(slot.header.SampleRate, 44100);
    EXPECT_EQ(slot.header.TransformLength, 8);
    EXPECT_EQ(std::vector<float>(storage.begin(), storage.begin() + 6),
        (std::vector<float> {1.0f, 2.0f, 3.0f, 4.0f, 9.0f, 9.0f}));
}

TEST(CurveFile, FailedReadLeavesTheSlotAsItWas)
{
    std::vector<float> storage(kCurveCapacity, 9.0f);
    const CurveHeader before {3.0f, 22050, 512, 10000.0f, 10.0f};
    CurveSlot slot {before, storage.data()};
    auto bytes = CurveBytes(8);
    bytes.pop_back();
    CommitCurveFile(ParseCurveFile(bytes), slot);
    CommitCurveFile(ReadCurveFile("/nonexistent/dir/FILE.EA"), slot);
    EXPECT_EQ(std::memcmp(&slot.header, &before, sizeof before), 0);
    EXPECT_EQ(storage, std::vector<float>(kCurveCapacity, 9.0f));
}

TEST(CurveFile, ReadsRegularFilesOnly)
{
    TempDir dir;
    WriteFile(dir.file("GOOD.EA"), CurveBytes(8));
    fs::create_directory(dir.file("DIR.EA"));
    ASSERT_EQ(::mkfifo(dir.file("FIFO.EA").c_str(), 0600), 0);

    EXPECT_TRUE(ReadCurveFile(dir.file("GOOD.EA")).ok());
    // The FIFO has no writer: the read must neither block nor succeed.
    for (const char* name : {"DIR.EA", "FIFO.EA", "MISSING.EA"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(ReadCurveFileBytes(dir.file(name)).has_value());
        EXPECT_EQ(ReadCurveFile(dir.file(name)).status, CurveFileStatus::Unreadable);
    }
}

TEST(CurveFile, ReadsNoMoreThanTheLargestCurveNeeds)
{
    TempDir dir;
    auto bytes = CurveBytes(65536);
    ASSERT_EQ(bytes.size(), kMaxCurveFileBytes);
    bytes.resize(kMaxCurveFileBytes + 1000, 0xAB);
    WriteFile(dir.file("LONG.EA"), bytes);
    const auto read = ReadCurveFileBytes(dir.file("LONG.EA"));
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->size(), kMaxCurveFileBytes);
    const CurveFile file = ReadCurveFile(dir.file("LONG.EA"));
    ASSERT_TRUE(file.ok());
    EXPECT_EQ(file.values.back(), 32768.0f);
}

} // namespace
