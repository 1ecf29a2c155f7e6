#pragma once
// A calendar record for tests, to the second.
#include <windows.h>

inline SYSTEMTIME At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(year);
    time.wMonth = static_cast<WORD>(month);
    time.wDay = static_cast<WORD>(day);
    time.wHour = static_cast<WORD>(hour);
    time.wMinute = static_cast<WORD>(minute);
    time.wSecond = static_cast<WORD>(second);
    return time;
}
