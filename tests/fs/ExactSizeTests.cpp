#include <gtest/gtest.h>

#include "fs/ExactSize.h"

TEST(ExactSize, SumsDifferencesAndOrderStayExactBeyond64Bits)
{
    const ExactSize max = ExactSize::FromUInt64(~0ull);
    ExactSize total;
    for (int i = 0; i < 1000; ++i) total += max;
    EXPECT_EQ(total.ToDecimal(), L"18446744073709551615000");
    EXPECT_EQ(max + ExactSize(1), ExactSize::FromHalves(0, 1));
    EXPECT_EQ(ExactSize::FromHalves(0, 1) - ExactSize(1), max);
    EXPECT_EQ(ExactSize(0) - ExactSize(1), ExactSize(-1));
    EXPECT_EQ(ExactSize(-1).ToDecimal(), L"-1");
    EXPECT_LT(ExactSize(-1), ExactSize(0));
    EXPECT_LT(max, max + ExactSize(1));
    EXPECT_GT(ExactSize(5), ExactSize(-7));
}
