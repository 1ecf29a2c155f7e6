#pragma once
// Numbers in the user's regional number format.
#include <string>
#include <string_view>

// plain: an exact decimal with "." as the point and an optional leading "-", as
// the platform's number formatter takes it. Rounded to the given count of decimals.
std::wstring FormatNumber(std::wstring_view plain, int decimals);
// The regional settings are read once and kept, since listings format a number per
// row; call this when they may have changed (each run does, the window on
// WM_SETTINGCHANGE).
void RefreshRegionalFormats();
