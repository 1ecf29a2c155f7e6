#include "fs/ExactSize.h"

#include <algorithm>

ExactSize& ExactSize::operator+=(const ExactSize& other)
{
    std::uint64_t low = low_ + other.low_;
    high_ += other.high_ + (low < low_ ? 1 : 0);
    low_ = low;
    return *this;
}

ExactSize& ExactSize::operator-=(const ExactSize& other)
{
    std::uint64_t low = low_ - other.low_;
    high_ -= other.high_ + (low > low_ ? 1 : 0);
    low_ = low;
    return *this;
}

ExactSize ExactSize::ShiftRight(unsigned bits) const
{
    if (bits == 0) return *this;
    if (bits >= 128) return ExactSize();
    if (bits >= 64) return ExactSize(high_ >> (bits - 64), 0);
    return ExactSize((low_ >> bits) | (high_ << (64 - bits)), high_ >> bits);
}

ExactSize ExactSize::LowBits(unsigned bits) const
{
    if (bits >= 128) return *this;
    if (bits >= 64) return ExactSize(low_, bits == 64 ? 0 : high_ & ((1ull << (bits - 64)) - 1));
    return ExactSize(bits == 0 ? 0 : low_ & (~0ull >> (64 - bits)), 0);
}

ExactSize ExactSize::MultiplySmall(std::uint32_t factor) const
{
    // Four 32-bit limbs, least significant first.
    std::uint32_t limbs[4] = {static_cast<std::uint32_t>(low_), static_cast<std::uint32_t>(low_ >> 32),
                              static_cast<std::uint32_t>(high_), static_cast<std::uint32_t>(high_ >> 32)};
    std::uint64_t carry = 0;
    for (auto& limb : limbs) {
        std::uint64_t product = static_cast<std::uint64_t>(limb) * factor + carry;
        limb = static_cast<std::uint32_t>(product);
        carry = product >> 32;
    }
    return ExactSize(limbs[0] | (static_cast<std::uint64_t>(limbs[1]) << 32),
                     limbs[2] | (static_cast<std::uint64_t>(limbs[3]) << 32));
}

std::uint32_t ExactSize::DivideSmall(std::uint32_t divisor)
{
    std::uint32_t limbs[4] = {static_cast<std::uint32_t>(high_ >> 32), static_cast<std::uint32_t>(high_),
                              static_cast<std::uint32_t>(low_ >> 32), static_cast<std::uint32_t>(low_)};
    std::uint64_t remainder = 0;
    for (auto& limb : limbs) {
        std::uint64_t part = (remainder << 32) | limb;
        limb = static_cast<std::uint32_t>(part / divisor);
        remainder = part % divisor;
    }
    high_ = (static_cast<std::uint64_t>(limbs[0]) << 32) | limbs[1];
    low_ = (static_cast<std::uint64_t>(limbs[2]) << 32) | limbs[3];
    return static_cast<std::uint32_t>(remainder);
}

std::wstring ExactSize::ToDecimal() const
{
    ExactSize rest = IsNegative() ? -*this : *this;
    std::wstring digits;
    do {
        digits.push_back(static_cast<wchar_t>(L'0' + rest.DivideSmall(10)));
    } while (rest != ExactSize());
    if (IsNegative()) digits.push_back(L'-');
    std::reverse(digits.begin(), digits.end());
    return digits;
}

double ExactSize::ToDouble() const
{
    if (IsNegative()) return -(-*this).ToDouble();
    return static_cast<double>(high_) * 18446744073709551616.0 + static_cast<double>(low_);
}
