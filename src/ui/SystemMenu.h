#pragma once
#include <windows.h>

#include <cstdint>

// Enables or disables the Close item of a window's system menu (and so its close box).
// While disabled the item carries another command, so the system cannot enable it on
// its own. 0 success or item not found, -1 not a window, -2 / -3 a change failed.
std::int16_t SetCloseMenuEnabled(HWND window, bool enable);
