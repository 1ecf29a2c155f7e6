#pragma once
// The listing's file name, the lines around its body, and the completion message.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "formats/LineWriter.h"

// outputFolder ends in "\". None when no format is chosen outside easy mode (no file).
std::optional<std::wstring> OutputFileName(std::wstring_view outputFolder, const SYSTEMTIME& nowLocal, int format,
                                           bool easyMode);
// "yyyy 年 mm 月 dd 日 - AMPM hh 時 mm 分 ss 秒", 12-hour clock, regional AM/PM designator.
std::wstring FrameTimeText(const SYSTEMTIME& local);
void WriteOpeningLines(LineWriter& out, int format, int saveMode, const SYSTEMTIME& startLocal);
void WriteClosingLines(LineWriter& out, int format, int saveMode, const SYSTEMTIME& endLocal);

std::wstring ElapsedText(std::uint64_t milliseconds);
std::wstring CompletionMessageText(std::uint64_t elapsedMilliseconds, std::int32_t fileCount,
                                   std::int32_t folderCount);
extern const wchar_t kMessageTitle[];

// The system tick count in milliseconds as an unsigned 32-bit reading.
std::uint64_t TickStamp();
// now - start, allowing for one wrap of the 32-bit counter.
std::uint64_t TicksBetween(std::uint64_t start, std::uint64_t now);
std::uint64_t TicksSince(std::uint64_t start);
