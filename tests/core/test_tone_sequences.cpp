#include "app/ToneSequences.h"

#include <gtest/gtest.h>

namespace
{

TEST(ToneSequences, FlagsAndSoundOnChooseTheSequences)
{
    struct Case {
        int flags;
        bool soundOn;
        std::vector<ToneStep> expected;
    };
    const std::vector<Case> cases {
        {40, false, {{1200, 1000}}},
        {40, true, {{600, 70}, {900, 70}, {1200, 70}, {1200, 1000}}},
        {16, false, {}},
        {16, true, {{2000, 10}}},
        {8, false, {{1200, 1000}}},
        {56, true, {{2000, 10}, {600, 70}, {900, 70}, {1200, 70}, {1200, 1000}}},
        {0, true, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.flags);
        EXPECT_EQ(ToneSequence(c.flags, c.soundOn), c.expected);
    }
}

TEST(ToneSequences, SpeakerDivisor)
{
    EXPECT_EQ(SpeakerDivisor(18), 0);
    EXPECT_EQ(SpeakerDivisor(19), 62799);
    EXPECT_EQ(SpeakerDivisor(1200), 994);
}

} // namespace
