#pragma once
// Times and sizes of an entry, and the record of one path queried on its own.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string_view>

#include "fs/EntryInfo.h"

ExactSize UInt64FromHalves(std::uint32_t low, std::uint32_t high);
FileTimeInfo ConvertFileTime(const FILETIME& fileTime);
void SetEntryTimes(const FILETIME& created, const FILETIME& accessed, const FILETIME& modified, EntryInfo& entry);
// The same, with the offset to local time read once and kept in `shift` for the next
// entries of an enumeration (the platform applies the offset in force now to any date).
void SetEntryTimes(const FILETIME& created, const FILETIME& accessed, const FILETIME& modified, EntryInfo& entry,
                   std::optional<std::uint64_t>& shift);
// Needs Attributes and FullPath set.
void SetEntrySizes(std::uint32_t low, std::uint32_t high, EntryInfo& entry);
ExactSize GetCompressedSize(EntryInfo& entry);
EntryInfo GetEntryInfo(std::wstring_view path);
