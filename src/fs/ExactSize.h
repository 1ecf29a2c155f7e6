#pragma once
// Byte counts that stay exact: every unsigned 64-bit size, the marker -1, and sums
// of any realistic number of such sizes. A signed 128-bit two's-complement integer
// held in two 64-bit halves, because 32-bit GCC has no __int128.
#include <compare>
#include <cstdint>
#include <string>

class ExactSize {
public:
    constexpr ExactSize() = default;
    constexpr ExactSize(std::int64_t value)  // NOLINT: implicit, sizes mix with plain numbers
        : low_(static_cast<std::uint64_t>(value)), high_(value < 0 ? ~0ull : 0ull) {}

    static constexpr ExactSize FromUInt64(std::uint64_t value) { return ExactSize(value, 0); }
    static constexpr ExactSize FromHalves(std::uint64_t low, std::uint64_t high) { return ExactSize(low, high); }

    constexpr bool IsNegative() const { return (high_ >> 63) != 0; }
    constexpr std::uint64_t Low() const { return low_; }
    constexpr std::uint64_t High() const { return high_; }
    // True when the value lies in 0 .. 2^64-1.
    constexpr bool FitsUInt64() const { return high_ == 0; }

    ExactSize& operator+=(const ExactSize& other);
    ExactSize& operator-=(const ExactSize& other);
    friend ExactSize operator+(ExactSize a, const ExactSize& b) { return a += b; }
    friend ExactSize operator-(ExactSize a, const ExactSize& b) { return a -= b; }
    ExactSize operator-() const { return ExactSize() - *this; }

    // Whole-number operations for non-negative values (unit scaling and decimal text).
    ExactSize ShiftRight(unsigned bits) const;
    ExactSize LowBits(unsigned bits) const;
    ExactSize MultiplySmall(std::uint32_t factor) const;
    std::uint32_t DivideSmall(std::uint32_t divisor);  // in place; returns the remainder

    friend constexpr bool operator==(const ExactSize&, const ExactSize&) = default;
    friend constexpr std::strong_ordering operator<=>(const ExactSize& a, const ExactSize& b)
    {
        auto ah = static_cast<std::int64_t>(a.high_), bh = static_cast<std::int64_t>(b.high_);
        if (ah != bh) return ah <=> bh;
        return a.low_ <=> b.low_;
    }

    // Plain decimal digits with a leading "-" for negative values.
    std::wstring ToDecimal() const;
    double ToDouble() const;

private:
    constexpr ExactSize(std::uint64_t low, std::uint64_t high) : low_(low), high_(high) {}

    std::uint64_t low_ = 0;
    std::uint64_t high_ = 0;
};
