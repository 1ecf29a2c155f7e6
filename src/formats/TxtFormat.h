#pragma once
// The TXT listing: a fixed-column text table between the run's start and end lines.
#include <windows.h>

#include <string>
#include <string_view>

#include "fs/EntryInfo.h"

// "yyyy 年 mm 月 dd 日 - AMPM hh 時 mm 分 ss 秒", 12-hour clock, regional AM/PM designator.
std::wstring FrameTimeText(const SYSTEMTIME& local);
// A file's row without its line end.
std::wstring TxtRow(const EntryInfo& entry, std::wstring_view shownName);
