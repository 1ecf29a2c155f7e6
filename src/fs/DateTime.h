#pragma once
// OLE Automation dates: days since 1899-12-30 00:00 as a double, the time of day as
// the fraction. Days before the epoch are negative while the fraction still counts
// forward from midnight (-1.25 is 1899-12-29 06:00). 0 means "no date".
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

using OleDate = double;

struct DateParts {
    int Year = 1899, Month = 12, Day = 30;
    int Hour = 0, Minute = 0, Second = 0;
};

// Years 100 to 9999 only, like the platform's own date type; seconds are whole.
std::optional<OleDate> OleDateFromParts(const DateParts& parts);
std::optional<OleDate> OleDateFromSystemTime(const SYSTEMTIME& time);  // drops milliseconds
// A file time (100 ns ticks since 1601-01-01) to the second, milliseconds dropped;
// none beyond year 9999 or from 2^63 on, where the platform's conversion gives up too.
std::optional<OleDate> OleDateFromFileTicks(unsigned long long ticks);
// Rounds to the nearest second, as the platform does when it splits a date.
DateParts PartsFromOleDate(OleDate date);
// The same, as the platform's calendar record (day of the week filled in).
SYSTEMTIME SystemTimeFromOleDate(OleDate date);
// A file time as ISO 8601 UTC with all seven decimals, "2024-05-07T07:04:05.1234567Z",
// the shape of the times in the inventory file. Years 1601 to 9999; a later time
// appends nothing and gives false.
bool AppendIsoUtcText(std::wstring& out, std::uint64_t ticks);
// The ticks of a text of exactly that shape; none for any other text or a day the
// calendar does not have.
std::optional<std::uint64_t> TicksFromIsoUtcText(std::string_view text);
std::optional<std::uint64_t> TicksFromIsoUtcText(std::wstring_view text);
// The clock now, in local time.
SYSTEMTIME LocalNow();
