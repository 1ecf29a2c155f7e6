#pragma once
// The system tick count, for the elapsed time of a run.
#include <cstdint>

// The tick count in milliseconds as an unsigned 32-bit reading.
std::uint64_t TickStamp();
// now - start, allowing for one wrap of the 32-bit counter.
std::uint64_t TicksBetween(std::uint64_t start, std::uint64_t now);
std::uint64_t TicksSince(std::uint64_t start);
