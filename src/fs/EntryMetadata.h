#pragma once
// Times and sizes of an entry, and the record of one path queried on its own.
#include <windows.h>

#include <cstdint>
#include <string_view>

#include "fs/EntryInfo.h"

ExactSize UInt64FromHalves(std::uint32_t low, std::uint32_t high);
FileTimeInfo ConvertFileTime(const FILETIME& fileTime);
void SetEntryTimes(const FILETIME& created, const FILETIME& accessed, const FILETIME& modified, EntryInfo& entry);
// Needs Attributes and FullPath set.
void SetEntrySizes(std::uint32_t low, std::uint32_t high, EntryInfo& entry);
ExactSize GetCompressedSize(EntryInfo& entry);
EntryInfo GetEntryInfo(std::wstring_view path);
