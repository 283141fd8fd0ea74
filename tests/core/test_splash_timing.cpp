#include "app/SplashTiming.h"

#include <gtest/gtest.h>

TEST(SplashTiming, HoldsUntil2000MsUnless1800MsHavePassed)
{
    EXPECT_EQ(SplashRemainingMs(0), 2000);
    EXPECT_EQ(SplashRemainingMs(1799), 201);
    EXPECT_EQ(SplashRemainingMs(1800), 0);
    EXPECT_EQ(SplashRemainingMs(5000), 0);
}
