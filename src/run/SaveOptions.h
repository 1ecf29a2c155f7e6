#pragma once
// The size and time options of the Save command, turned into the filter bounds.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "fs/DateTime.h"
#include "run/RunState.h"

// The size filter (cboSize); None when no item is selected.
enum class SizeMode {
    None,
    Any,      // 不指定
    AtLeast,  // 至少: the first box fills SizeUpper
    AtMost,   // 至多: the second box fills SizeLower
    Between,  // 兩者
};

// The unit of a size box; None (no item selected, no unit typed) counts bytes.
enum class SizeUnit { None, KB, MB };

// Which time the range applies to (cboDate); None when no item is selected.
enum class TimeKind { None, Any, Modified, Created, Accessed };

// The size controls as the window holds them.
struct SizeControls {
    SizeMode Mode = SizeMode::Any;  // cboSize
    std::wstring FirstText;         // txtMinSize
    SizeUnit FirstUnit = SizeUnit::KB;
    std::wstring SecondText;        // txtMaxSize
    SizeUnit SecondUnit = SizeUnit::KB;
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
    TimeKind Kind = TimeKind::Any;  // cboDate
    OleDate First = 0;              // ClsDate1
    OleDate Second = 0;             // ClsDate2
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
std::optional<std::int64_t> SizeBoxBytes(std::wstring_view text, SizeUnit unit);
SizeCheck CheckSizeOptions(const SizeControls& controls);
// nowLocal: the moment of saving in local time. A time kind takes whole days from the
// pickers, the first from 00:00:00 and the second until 23:59:59; TimeKind::None counts
// as 不指定.
TimeBounds ComputeTimeBounds(const TimeControls& controls, const SYSTEMTIME& nowLocal);

// Steps of Save before the output folder is asked for: takes the job and resets the
// depth, then sets the size and time bounds. Returns the warning to show when the size
// check fails; the bounds are left alone then. Not while a listing runs with the state.
SizeWarning PrepareRun(RunState& state, const JobInfo& job, const SizeControls& sizes, const TimeControls& times,
                       const SYSTEMTIME& nowLocal);
