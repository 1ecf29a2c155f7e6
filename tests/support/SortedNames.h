#pragma once
// Crafted entries sorted as a folder's are: the three times are set apart here, which
// real files cannot do where creation time reads as modification time.
#include <string>
#include <tuple>
#include <vector>

#include "fs/LongPath.h"
#include "run/FolderWalk.h"

using Names = std::vector<std::wstring>;

// Name, size, and a day: created on that day, modified at hour 4 - day, accessed at
// second day % 3, so that no two time keys order alike.
using Spec = std::tuple<const wchar_t*, std::uint64_t, int>;

inline Names SortedNames(const std::vector<Spec>& specs, std::int32_t order, std::int32_t key, bool folders = false)
{
    ListedEntries list(key);
    for (auto [name, size, day] : specs) {
        EntryInfo entry;
        entry.Folder = L"C:\\x\\";
        entry.Name = name;
        CompleteEntryNames(entry);
        entry.Attributes = folders ? AttributeBits::Directory : AttributeBits::Archive;
        entry.Size = entry.CompressedSize = ExactSize::FromUInt64(size);
        entry.Created.Local = *OleDateFromParts({2023, 5, day, 1, 0, 0});
        entry.Modified.Local = *OleDateFromParts({2023, 5, 1, 4 - day, 0, 0});
        entry.Accessed.Local = *OleDateFromParts({2023, 5, 1, 1, 1, day % 3});
        list.Add(entry);
    }
    SortEntries(list, order, key);
    Names names;
    for (std::size_t i = 0; i < list.size(); ++i) names.emplace_back(list.Name(i));
    return names;
}

// Enumeration order as given; every key has a tie and each orders them otherwise.
// 2^64 - 1 is no -1.
inline const std::vector<Spec> kSortedFiles = {
    {L"b.txt", 100, 3}, {L"A.txt", 300, 1}, {L"c.TXT", ~0ull, 3}, {L"d.doc", 200, 2}, {L"e", 100, 1}};
