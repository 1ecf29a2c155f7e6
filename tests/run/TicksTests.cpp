#include <gtest/gtest.h>

#include "run/Ticks.h"

TEST(Ticks, DifferencesAllowForOneWrapOfTheCounter)
{
    EXPECT_EQ(TicksBetween(1000, 3350), 2350u);
    EXPECT_EQ(TicksBetween(4294967000ull, 200), 496u);
    EXPECT_EQ(TicksBetween(7, 7), 0u);
    EXPECT_LE(TickStamp(), 4294967295ull);
    EXPECT_LT(TicksSince(TickStamp()), 1000u);
}
