#include "app/SettingsRecord.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace
{

std::vector<unsigned char> bytesOf(const SettingsRecord& r)
{
    const auto* p = reinterpret_cast<const unsigned char*>(&r);
    return {p, p + kSettingsSize};
}

TEST(SettingsRecord, ScrambleThenUnscrambleGivesBackEveryByte)
{
    SettingsRecord r {};
    auto* p = reinterpret_cast<unsigned char*>(&r);
    for (std::size_t i = 0; i < kSettingsSize; ++i)
        p[i] = static_cast<unsigned char>(i * 37 + 11);
    const auto before = bytesOf(r);
    ScrambleSettings(r);
    EXPECT_NE(bytesOf(r), before);
    UnscrambleSettings(r);
    EXPECT_EQ(bytesOf(r), before);
}

TEST(SettingsRecord, FirstGeneratorDrawsAddToTheFirstWords)
{
    // state1 = 2719 * 134775813 + 1 mod 2^32, r = state * 700 >> 32
    uint32_t state = 2719;
    std::vector<uint16_t> draws;
    for (int i = 0; i < 3; ++i) {
        state = state * 134775813u + 1u;
        draws.push_back(static_cast<uint16_t>((uint64_t {state} * 700u) >> 32));
    }
    SettingsRecord r {};
    ScrambleSettings(r);
    const auto b = bytesOf(r);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(b[2 * i] | (b[2 * i + 1] << 8), draws[i]);
        EXPECT_LT(draws[i], 700);
    }
}

TEST(SettingsRecord, FreshImageMatchesTheTableByteByByte)
{
    SettingsRecord r {};
    WriteFreshSettings(r);
    std::vector<unsigned char> expected(kSettingsSize, 0);
    auto put32 = [&](std::size_t off, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            expected[off + i] = static_cast<unsigned char>(v >> (8 * i));
    };
    auto putFloat = [&](std::size_t off, float f) {
        uint32_t v;
        std::memcpy(&v, &f, 4);
        put32(off, v);
    };
    put32(4, 0x808080);
    put32(8, 0x00FFFF);
    put32(12, 0x8000000F);
    put32(16, 0x0000FF);
    put32(20, 0x000000);
    put32(24, 0x00FF00);
    put32(28, 0x8000000F);
    expected[54] = 640 & 0xFF;
    expected[55] = 640 >> 8;
    expected[56] = 450 & 0xFF;
    expected[57] = 450 >> 8;
    expected[4213] = 9;
    std::memcpy(&expected[4214], "dBSPL/W/m", 9);
    put32(4240, 40);
    put32(4244, 50);
    put32(4284, 60);
    put32(4288, 100);
    putFloat(4320, 150.0f);
    putFloat(4324, 2.83f);
    expected[4475] = 1;
    EXPECT_EQ(bytesOf(r), expected);
}

TEST(SettingsRecord, FreshValuesLeaveOtherBytesAlone)
{
    SettingsRecord r {};
    std::memset(&r, 0xAB, sizeof r);
    WriteFreshSettings(r);
    const auto b = bytesOf(r);
    EXPECT_EQ(b[32], 0xAB); // reserved
    EXPECT_EQ(b[4214 + 9], 0xAB); // behind the text's length
    EXPECT_EQ(b[6804], 0xAB);
    EXPECT_EQ(r.ResponseUnit.str(), "dBSPL/W/m");
}

} // namespace
