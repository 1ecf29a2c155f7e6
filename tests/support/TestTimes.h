#pragma once
// A calendar record for tests, to the second.
#include <windows.h>

inline SYSTEMTIME At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    auto w = [](int value) { return static_cast<WORD>(value); };
    return {w(year), w(month), 0, w(day), w(hour), w(minute), w(second), 0};
}
