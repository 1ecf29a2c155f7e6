#include "run/ListedEntries.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "formats/ValueText.h"
#include "fs/LongPath.h"
#include "run/JobInfo.h"

namespace {

bool IsSizeKey(std::int32_t key) { return key == FieldCodes::Size || key == FieldCodes::CompressedSize; }

bool IsTimeKey(std::int32_t key)
{
    return key == FieldCodes::Created || key == FieldCodes::Modified || key == FieldCodes::Accessed;
}

// A time as the number its "yyyy-mm-dd hh:nn:ss" text reads as, which orders alike.
std::uint64_t TimeSortValue(const FileTimeInfo& time)
{
    DateParts p = PartsFromOleDate(time.Local);
    std::uint64_t value = static_cast<std::uint64_t>(p.Year);
    for (int part : {p.Month, p.Day, p.Hour, p.Minute, p.Second}) value = value * 100 + static_cast<std::uint64_t>(part);
    return value;
}

// The text upper-cased into a buffer kept from entry to entry.
std::wstring_view UpperCased(std::wstring_view text, std::wstring& buffer)
{
    buffer.assign(text);
    UpperCaseInPlace(buffer.data(), buffer.size());
    return buffer;
}

// The collation key of a text, ignoring case: comparing two keys byte by byte gives
// what CompareStringW gives for the texts, at one platform call per entry instead of
// one per comparison. With LCMAP_SORTKEY the destination is bytes, counted in bytes.
std::string_view CollationKey(std::wstring_view text, std::string& buffer)
{
    constexpr DWORD flags = LCMAP_SORTKEY | NORM_IGNORECASE;
    const auto length = static_cast<int>(text.size());
    if (buffer.size() < 512) buffer.resize(512);
    int size = LCMapStringW(LOCALE_USER_DEFAULT, flags, text.data(), length, reinterpret_cast<LPWSTR>(buffer.data()),
                            static_cast<int>(buffer.size()));
    if (size == 0) {
        size = LCMapStringW(LOCALE_USER_DEFAULT, flags, text.data(), length, nullptr, 0);
        if (size <= 0) return {};
        buffer.resize(static_cast<std::size_t>(size));
        size = LCMapStringW(LOCALE_USER_DEFAULT, flags, text.data(), length, reinterpret_cast<LPWSTR>(buffer.data()),
                            size);
    }
    return std::string_view(buffer.data(), static_cast<std::size_t>(std::max(size, 0)));
}

FileTimeInfo LocalTime(OleDate local, bool invalid)
{
    FileTimeInfo time;
    time.Invalid = invalid;
    time.Local = local;
    return time;
}

}  // namespace

template <typename Item>
std::uint32_t ListedEntries::Blocks<Item>::Append(const Item* items, std::size_t count)
{
    if (count == 0) return 0;
    if (used_ + count > capacity_) {
        std::size_t next = std::min(std::max(capacity_ * 2, kFirstBlock), kLargestBlock);
        // Only the sort key of an absurdly long name can need more than the largest block.
        next = std::max(next, count);
        blocks_.push_back(std::make_unique<Item[]>(next));
        capacity_ = next;
        used_ = 0;
    }
    auto position = static_cast<std::uint32_t>(((blocks_.size() - 1) << kOffsetBits) | used_);
    std::copy(items, items + count, blocks_.back().get() + used_);
    used_ += count;
    return position;
}

void ListedEntries::Add(EntryInfo& entry)
{
    Record record;
    record.NameLength = static_cast<std::uint16_t>(std::min<std::size_t>(entry.Name.size(), 0xFFFF));
    record.NameAt = names_.Append(entry.Name.data(), record.NameLength);
    record.Attributes = entry.Attributes;
    record.InvalidTimes = static_cast<std::uint16_t>((entry.Created.Invalid ? 1 : 0) | (entry.Accessed.Invalid ? 2 : 0) |
                                                     (entry.Modified.Invalid ? 4 : 0));
    record.Created = entry.Created.Local;
    record.Accessed = entry.Accessed.Local;
    record.Modified = entry.Modified.Local;
    if (exactTimes_) {
        const std::uint64_t ticks[] = {entry.Created.Ticks.Low(), entry.Accessed.Ticks.Low(), entry.Modified.Ticks.Low()};
        record.TicksAt = ticks_.Append(ticks, 3);
    }
    // Enumerated sizes are never the unknown marker.
    record.Size = entry.Size.Low();
    record.CompressedSize = entry.CompressedSize.Low();
    SetSortValue(record, entry);
    order_.push_back(records_.Append(&record, 1));
}

void ListedEntries::SetSortValue(Record& record, EntryInfo& entry)
{
    switch (key_) {
    case 0: return;
    case FieldCodes::Size: record.SortValue = record.Size; return;
    case FieldCodes::CompressedSize: record.SortValue = record.CompressedSize; return;
    case FieldCodes::Created: record.SortValue = TimeSortValue(entry.Created); return;
    case FieldCodes::Modified: record.SortValue = TimeSortValue(entry.Modified); return;
    case FieldCodes::Accessed: record.SortValue = TimeSortValue(entry.Accessed); return;
    default: break;
    }
    std::wstring_view text = entry.Name;
    if (key_ == FieldCodes::ShortName)
        text = EntryShortName(entry);
    else if (key_ == FieldCodes::Extension && !(entry.Attributes & AttributeBits::Directory))
        text = entry.Extension;
    std::string_view bytes = CollationKey(UpperCased(text, upperBuffer_), keyBuffer_);
    std::uint32_t at = keys_.Append(bytes.data(), bytes.size());
    record.SortValue = (std::uint64_t{at} << 32) | static_cast<std::uint32_t>(bytes.size());
}

std::wstring_view ListedEntries::Name(std::size_t i) const
{
    const Record& record = RecordAt(i);
    return record.NameLength == 0 ? std::wstring_view() : std::wstring_view(names_.At(record.NameAt), record.NameLength);
}

void ListedEntries::Fill(std::size_t i, std::wstring_view folder, EntryInfo& entry) const
{
    const Record& record = RecordAt(i);
    entry.Folder.assign(folder);
    entry.Name.assign(Name(i));
    entry.FullPath.clear();
    entry.ShortName.clear();
    CompleteEntryNames(entry);
    entry.Attributes = record.Attributes;
    SetEntryKind(entry);
    entry.Created = LocalTime(record.Created, record.InvalidTimes & 1);
    entry.Accessed = LocalTime(record.Accessed, record.InvalidTimes & 2);
    entry.Modified = LocalTime(record.Modified, record.InvalidTimes & 4);
    if (exactTimes_) {
        const std::uint64_t* ticks = ticks_.At(record.TicksAt);
        entry.Created.Ticks = ExactSize::FromUInt64(ticks[0]);
        entry.Accessed.Ticks = ExactSize::FromUInt64(ticks[1]);
        entry.Modified.Ticks = ExactSize::FromUInt64(ticks[2]);
    }
    entry.Size = ExactSize::FromUInt64(record.Size);
    entry.CompressedSize = ExactSize::FromUInt64(record.CompressedSize);
}

// Equal values keep their enumeration order, which is the order of the records'
// positions: a sort ordered by (value, position) is stable without the stable sort's
// buffer, which for a million entries would take as much room again.
void SortEntries(ListedEntries& list, std::int32_t order, std::int32_t key)
{
    if (key != list.key_ || key == 0) return;  // the sort values were made for the list's key
    auto& positions = list.order_;
    const bool descending = order != 0;
    if (IsSizeKey(key) || IsTimeKey(key)) {
        std::sort(positions.begin(), positions.end(), [&list, descending](std::uint32_t a, std::uint32_t b) {
            std::uint64_t x = list.records_.At(a)->SortValue, y = list.records_.At(b)->SortValue;
            if (x != y) return descending ? y < x : x < y;
            return a < b;
        });
        return;
    }
    // The keys themselves are compared, not the records: a million of them are sorted
    // in well under a second only when a comparison touches little memory.
    struct Item {
        const char* Key;
        std::uint32_t Length;
        std::uint32_t Position;
    };
    std::vector<Item> items;
    items.reserve(positions.size());
    for (std::uint32_t position : positions) {
        const ListedEntries::Record& record = *list.records_.At(position);
        std::uint32_t length = record.KeyLength();
        items.push_back({length ? list.keys_.At(record.KeyAt()) : nullptr, length, position});
    }
    auto compare = [](const Item& a, const Item& b) {
        std::size_t common = std::min(a.Length, b.Length);
        int compared = common == 0 ? 0 : std::memcmp(a.Key, b.Key, common);
        return compared != 0 ? compared : (a.Length < b.Length ? -1 : a.Length > b.Length ? 1 : 0);
    };
    std::sort(items.begin(), items.end(), [&](const Item& a, const Item& b) {
        int compared = compare(a, b);
        if (compared != 0) return descending ? compared > 0 : compared < 0;
        return a.Position < b.Position;
    });
    for (std::size_t i = 0; i < items.size(); ++i) positions[i] = items[i].Position;
}
