#pragma once
// The state of the current (or last) listing run, shared by the walk and the filters:
// the bounds the entries are tested against, the depth and the counts.
#include <cstdint>

#include "fs/DateTime.h"
#include "run/JobInfo.h"

namespace SizeTestBits {
constexpr std::uint16_t Lower = 1;
constexpr std::uint16_t Upper = 2;
}  // namespace SizeTestBits

namespace DateTestBits {
constexpr std::uint16_t From = 1;
constexpr std::uint16_t To = 2;
}  // namespace DateTestBits

namespace DateFields {
constexpr std::uint16_t Modified = 0;
constexpr std::uint16_t Created = 1;
constexpr std::uint16_t Accessed = 2;
}  // namespace DateFields

struct RunState {
    std::int16_t WalkDepth = 0;
    // Byte counts; 64-bit so that bounds past 2047 MB work.
    std::int64_t SizeLower = 0;  // size >= bound
    std::int64_t SizeUpper = 0;  // size <= bound
    std::uint16_t SizeTest = 0;
    OleDate DateFrom = 0;  // local time; a bound is active when greater than 0
    OleDate DateTo = 0;
    std::uint16_t DateTest = 0;
    std::uint16_t DateField = DateFields::Modified;
    // The time kind "不指定": the range above is only the default span, and no file
    // is left out for its times (future or unreadable times included).
    bool AnyTime = false;
    std::int32_t FolderCount = 0;
    std::int32_t FileCount = 0;
    const JobInfo* RunJob = nullptr;
    // Memory ran out during the walk: the run stopped as with Stop and is incomplete.
    bool OutOfMemory = false;
};
