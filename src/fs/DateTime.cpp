#include "fs/DateTime.h"

#include <cmath>

namespace {

// Days from 1970-01-01 in the proleptic Gregorian calendar (H. Hinnant's algorithm).
long long DaysFromCivil(long long y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

void CivilFromDays(long long z, DateParts& parts)
{
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    parts.Year = static_cast<int>(static_cast<long long>(yoe) + era * 400 + (m <= 2));
    parts.Month = static_cast<int>(m);
    parts.Day = static_cast<int>(d);
}

constexpr long long kEpochDays = -25569;  // 1899-12-30 counted from 1970-01-01

bool IsValidDay(int year, int month, int day)
{
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12 || day < 1) return false;
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

OleDate OleDateFromDayAndSeconds(long long day, int secondsOfDay)
{
    double days = static_cast<double>(day);
    double fraction = secondsOfDay / 86400.0;
    return days >= 0 ? days + fraction : days - fraction;
}

constexpr long long kTicksPerSecond = 10000000;
constexpr long long kFirstFileDay = -109205;  // 1601-01-01 as a day number of the OLE epoch

unsigned long long Year10000Ticks()
{
    static const unsigned long long ticks =
        static_cast<unsigned long long>(DaysFromCivil(10000, 1, 1) - DaysFromCivil(1601, 1, 1)) * 86400 *
        kTicksPerSecond;
    return ticks;
}

void AppendDigits(std::wstring& out, unsigned long long value, int width)
{
    wchar_t digits[20];
    for (int i = width - 1; i >= 0; --i, value /= 10) digits[i] = static_cast<wchar_t>(L'0' + value % 10);
    out.append(digits, static_cast<std::size_t>(width));
}

// "YYYY-MM-DDTHH:MM:SS.fffffffZ": the places of the digits and of the marks between them.
constexpr std::size_t kIsoLength = 28;
const char kIsoShape[] = "0000-00-00T00:00:00.0000000Z";

template <typename Char>
std::optional<std::uint64_t> ParseIsoUtc(std::basic_string_view<Char> text)
{
    if (text.size() != kIsoLength) return std::nullopt;
    for (std::size_t i = 0; i < kIsoLength; ++i) {
        bool digit = text[i] >= '0' && text[i] <= '9';
        if (kIsoShape[i] == '0' ? !digit : text[i] != static_cast<Char>(kIsoShape[i])) return std::nullopt;
    }
    auto number = [&text](std::size_t at, std::size_t width) {
        long long value = 0;
        for (std::size_t i = at; i < at + width; ++i) value = value * 10 + (text[i] - '0');
        return value;
    };
    int year = static_cast<int>(number(0, 4)), month = static_cast<int>(number(5, 2)), day = static_cast<int>(number(8, 2));
    long long hour = number(11, 2), minute = number(14, 2), second = number(17, 2);
    if (year < 1601 || !IsValidDay(year, month, day) || hour > 23 || minute > 59 || second > 59) return std::nullopt;
    long long days = DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) -
                     DaysFromCivil(1601, 1, 1);
    long long seconds = days * 86400 + hour * 3600 + minute * 60 + second;
    return static_cast<std::uint64_t>(seconds * kTicksPerSecond + number(20, 7));
}

}  // namespace

std::optional<OleDate> OleDateFromFileTicks(unsigned long long ticks)
{
    if (ticks >= Year10000Ticks()) return std::nullopt;
    long long seconds = static_cast<long long>(ticks / kTicksPerSecond);
    return OleDateFromDayAndSeconds(kFirstFileDay + seconds / 86400, static_cast<int>(seconds % 86400));
}

std::optional<OleDate> OleDateFromParts(const DateParts& p)
{
    if (p.Year < 100 || p.Year > 9999 || !IsValidDay(p.Year, p.Month, p.Day)) return std::nullopt;
    if (p.Hour < 0 || p.Hour > 23 || p.Minute < 0 || p.Minute > 59 || p.Second < 0 || p.Second > 59)
        return std::nullopt;
    return OleDateFromDayAndSeconds(DaysFromCivil(p.Year, p.Month, p.Day) - kEpochDays,
                                    p.Hour * 3600 + p.Minute * 60 + p.Second);
}

std::optional<OleDate> OleDateFromSystemTime(const SYSTEMTIME& t)
{
    return OleDateFromParts({t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond});
}

DateParts PartsFromOleDate(OleDate date)
{
    double whole = std::trunc(date);
    long long days = static_cast<long long>(whole);
    long long seconds = std::llround(std::fabs(date - whole) * 86400.0);
    if (seconds >= 86400) {
        seconds -= 86400;
        ++days;  // the time of day runs forward on both sides of the epoch
    }
    // Negative dates count the day backwards but the time forwards.
    DateParts parts;
    CivilFromDays(days + kEpochDays, parts);
    parts.Hour = static_cast<int>(seconds / 3600);
    parts.Minute = static_cast<int>(seconds / 60 % 60);
    parts.Second = static_cast<int>(seconds % 60);
    return parts;
}

SYSTEMTIME SystemTimeFromOleDate(OleDate date)
{
    DateParts parts = PartsFromOleDate(date);
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(parts.Year);
    time.wMonth = static_cast<WORD>(parts.Month);
    time.wDay = static_cast<WORD>(parts.Day);
    time.wHour = static_cast<WORD>(parts.Hour);
    time.wMinute = static_cast<WORD>(parts.Minute);
    time.wSecond = static_cast<WORD>(parts.Second);
    // Days since 1970-01-01 (a Thursday), counted into 0 = Sunday.
    long long days = DaysFromCivil(parts.Year, static_cast<unsigned>(parts.Month), static_cast<unsigned>(parts.Day));
    time.wDayOfWeek = static_cast<WORD>(((days % 7) + 11) % 7);
    return time;
}

bool AppendIsoUtcText(std::wstring& out, std::uint64_t ticks)
{
    if (ticks >= Year10000Ticks()) return false;
    unsigned long long seconds = ticks / kTicksPerSecond;
    DateParts date;
    CivilFromDays(static_cast<long long>(seconds / 86400) + DaysFromCivil(1601, 1, 1), date);
    unsigned long long time = seconds % 86400;
    AppendDigits(out, static_cast<unsigned long long>(date.Year), 4);
    out += L'-';
    AppendDigits(out, static_cast<unsigned long long>(date.Month), 2);
    out += L'-';
    AppendDigits(out, static_cast<unsigned long long>(date.Day), 2);
    out += L'T';
    AppendDigits(out, time / 3600, 2);
    out += L':';
    AppendDigits(out, time / 60 % 60, 2);
    out += L':';
    AppendDigits(out, time % 60, 2);
    out += L'.';
    AppendDigits(out, ticks % kTicksPerSecond, 7);
    out += L'Z';
    return true;
}

std::optional<std::uint64_t> TicksFromIsoUtcText(std::string_view text) { return ParseIsoUtc(text); }

std::optional<std::uint64_t> TicksFromIsoUtcText(std::wstring_view text) { return ParseIsoUtc(text); }

SYSTEMTIME LocalNow()
{
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return now;
}
