#pragma once
// Runs writers against a real output file and gives back what reached it.
#include <functional>
#include <string>

#include "formats/LineWriter.h"
#include "fs/EntryInfo.h"

// The file's text after the byte-order mark, or "<no mark>" when it is missing.
std::wstring WrittenText(const std::function<void(LineWriter&)>& write);

FileTimeInfo LocalTime(int year, int month, int day, int hour, int minute, int second = 0);
EntryInfo FileEntry(const std::wstring& folder, const std::wstring& name, std::int64_t size, std::uint32_t attributes);
