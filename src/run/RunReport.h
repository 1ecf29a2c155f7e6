#pragma once
// How the end of a run is told, alike in the window's message boxes and on the console.
#include <string>
#include <string_view>

#include "run/ListingRun.h"

// The system's description of an error code; "錯誤代碼：" and the number when it has none.
std::wstring SystemErrorText(unsigned long error);
// The listing file could not be created at path.
std::wstring CannotCreateText(std::wstring_view path, unsigned long error);
// The completion message; after a failed write, or when memory ran out, its first word
// gives way to what went wrong.
std::wstring RunReportText(const RunResult& result);
// A write failed or memory ran out: the report is an error.
bool RunFailed(const RunResult& result);
// The file holds the whole listing: every write reached it and the walk was not cut short.
bool RunComplete(const RunResult& result);
