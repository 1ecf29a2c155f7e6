#include "run/Ticks.h"

#include <windows.h>

std::uint64_t TickStamp() { return static_cast<std::uint32_t>(GetTickCount()); }

std::uint64_t TicksBetween(std::uint64_t start, std::uint64_t now)
{
    if (now < start) now += 4294967296ull;
    return now - start;
}

std::uint64_t TicksSince(std::uint64_t start) { return TicksBetween(start, TickStamp()); }
