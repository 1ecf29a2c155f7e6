#pragma once
// The next allocation of the program that may throw throws std::bad_alloc, once.
void FailNextAllocation();
