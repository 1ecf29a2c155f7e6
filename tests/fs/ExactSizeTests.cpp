#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "fs/ExactSize.h"

namespace {
constexpr std::uint64_t kMax64 = std::numeric_limits<std::uint64_t>::max();
}

TEST(ExactSize, HoldsEveryUnsigned64BitCountAndTheMarker)
{
    EXPECT_EQ(ExactSize::FromUInt64(kMax64).ToDecimal(), L"18446744073709551615");
    EXPECT_EQ(ExactSize(-1).ToDecimal(), L"-1");
    EXPECT_EQ(ExactSize(0).ToDecimal(), L"0");
    EXPECT_TRUE(ExactSize(-1).IsNegative());
    EXPECT_FALSE(ExactSize::FromUInt64(kMax64).IsNegative());
}

TEST(ExactSize, SumsOfHugeSizesStayExact)
{
    ExactSize total;
    for (int i = 0; i < 1000; ++i) total += ExactSize::FromUInt64(kMax64);
    // 1000 * (2^64 - 1)
    EXPECT_EQ(total.ToDecimal(), L"18446744073709551615000");
    total -= ExactSize::FromUInt64(kMax64).MultiplySmall(1000);
    EXPECT_EQ(total, ExactSize(0));
}

TEST(ExactSize, CarriesAndBorrowsAcrossTheHalves)
{
    ExactSize big = ExactSize::FromUInt64(kMax64) + ExactSize(1);
    EXPECT_EQ(big.High(), 1u);
    EXPECT_EQ(big.Low(), 0u);
    EXPECT_EQ((big - ExactSize(1)), ExactSize::FromUInt64(kMax64));
    EXPECT_EQ((ExactSize(0) - ExactSize(1)), ExactSize(-1));
}

TEST(ExactSize, OrdersSignedValues)
{
    EXPECT_LT(ExactSize(-1), ExactSize(0));
    EXPECT_LT(ExactSize(0), ExactSize::FromUInt64(kMax64));
    EXPECT_LT(ExactSize::FromUInt64(kMax64), ExactSize::FromUInt64(kMax64) + ExactSize(1));
    EXPECT_GT(ExactSize(5), ExactSize(-7));
}

TEST(ExactSize, ShiftsAndMasksForUnits)
{
    ExactSize value = ExactSize::FromUInt64(kMax64).MultiplySmall(1024) + ExactSize(5);
    EXPECT_EQ(value.ShiftRight(10), ExactSize::FromUInt64(kMax64));
    EXPECT_EQ(value.LowBits(10), ExactSize(1024 - 1024 + 5));
    ExactSize yotta = ExactSize(1);
    for (int i = 0; i < 8; ++i) yotta = yotta.MultiplySmall(1024);
    EXPECT_EQ(yotta.ShiftRight(80), ExactSize(1));
    EXPECT_EQ(yotta.LowBits(80), ExactSize(0));
    EXPECT_EQ(yotta.ShiftRight(128), ExactSize(0));
}

TEST(ExactSize, DividesBySmallNumbers)
{
    ExactSize value = ExactSize::FromUInt64(kMax64).MultiplySmall(7) + ExactSize(3);
    EXPECT_EQ(value.DivideSmall(7), 3u);
    EXPECT_EQ(value, ExactSize::FromUInt64(kMax64));
}

TEST(ExactSize, ConvertsToDouble)
{
    EXPECT_DOUBLE_EQ(ExactSize(-1).ToDouble(), -1.0);
    EXPECT_DOUBLE_EQ(ExactSize::FromUInt64(1ull << 63).ToDouble(), 9223372036854775808.0);
    EXPECT_DOUBLE_EQ((ExactSize::FromUInt64(kMax64) + ExactSize(1)).ToDouble(), 18446744073709551616.0);
}
