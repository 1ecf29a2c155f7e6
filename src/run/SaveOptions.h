#pragma once
// The size and time options of the Save command, turned into the filter bounds.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "fs/DateTime.h"
#include "run/RunState.h"

namespace SizeModes {
constexpr int None = -1;
constexpr int Any = 0;       // 不指定
constexpr int AtLeast = 1;   // 至少: the first box fills SizeUpper
constexpr int AtMost = 2;    // 至多: the second box fills SizeLower
constexpr int Between = 3;   // 兩者
}  // namespace SizeModes

namespace SizeUnits {
constexpr int None = -1;
constexpr int KB = 0;
constexpr int MB = 1;
}  // namespace SizeUnits

namespace TimeKinds {
constexpr int None = -1;
constexpr int Any = 0;       // 不指定
constexpr int Modified = 1;
constexpr int Created = 2;
constexpr int Accessed = 3;
}  // namespace TimeKinds

// The size controls as the window holds them.
struct SizeControls {
    int Mode = SizeModes::Any;  // cboSize
    std::wstring FirstText;     // txtMinSize
    int FirstUnit = SizeUnits::KB;
    std::wstring SecondText;    // txtMaxSize
    int SecondUnit = SizeUnits::KB;
};

struct SizeBounds {
    std::int64_t Lower = 0;
    std::int64_t Upper = 0;
    std::uint16_t Test = 0;
};

// Which check of the size options failed; each has its warning.
enum class SizeWarning {
    None,
    FirstValue,   // the first box is empty, 0 or out of range
    SecondValue,  // the second box is empty, 0 or out of range
    Order,        // in 兩者, the first value is not below the second
};

// Either the bounds or the warning to show (the check failed).
struct SizeCheck {
    SizeWarning Warning = SizeWarning::None;
    SizeBounds Bounds;
    bool Passed() const { return Warning == SizeWarning::None; }
};

struct TimeControls {
    int Kind = TimeKinds::Any;  // cboDate
    OleDate First = 0;          // ClsDate1
    OleDate Second = 0;         // ClsDate2
};

struct TimeBounds {
    OleDate From = 0;
    OleDate To = 0;
    std::uint16_t Test = 0;
    std::uint16_t Field = DateFields::Accessed;
    bool AnyTime = false;
};

// Blanks and tabs skipped anywhere, then the longest leading number ("." as the
// point, optional sign and exponent); 0 when the text starts with no number.
double LenientNumber(std::wstring_view text);
// The byte count a size box stands for: rounded half to even, then scaled by its
// unit. None when it does not fit in 64 bits.
std::optional<std::int64_t> SizeBoxBytes(std::wstring_view text, int unit);
SizeCheck CheckSizeOptions(const SizeControls& controls);
// nowLocal: the moment of saving in local time. A time kind takes whole days from the
// pickers, the first from 00:00:00 and the second until 23:59:59; a list without a
// selection counts as 不指定.
TimeBounds ComputeTimeBounds(const TimeControls& controls, const SYSTEMTIME& nowLocal);

// Steps of Save before the output folder is asked for: takes the job and resets the
// depth, then sets the size and time bounds. Returns the warning to show when the size
// check fails; the bounds are left alone then. Not while a listing runs with the state.
SizeWarning PrepareRun(RunState& state, const JobInfo& job, const SizeControls& sizes, const TimeControls& times,
                       const SYSTEMTIME& nowLocal);
