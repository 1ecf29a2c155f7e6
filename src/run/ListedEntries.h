#pragma once
// The entries one folder's walk keeps, held compactly: a folder of a million files must
// fit in a 32-bit process. Per entry a small record of what its row and the sort need,
// its name once in a shared buffer, and its sort value only when a sort is chosen.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "fs/EntryInfo.h"

class ListedEntries {
public:
    // key: the field code the entries will be sorted by (0: none). exactTimes: the times
    // are kept to the 100 ns tick as well, for the inventory; other listings show minutes.
    explicit ListedEntries(std::int32_t key = 0, bool exactTimes = false) : key_(key), exactTimes_(exactTimes) {}

    // Keeps the entry with its sort value. The short-name key may look the alias up.
    void Add(EntryInfo& entry);
    std::size_t size() const { return order_.size(); }
    bool empty() const { return order_.empty(); }
    std::int32_t Key() const { return key_; }

    // The i-th entry in the current order (enumeration order until sorted).
    std::wstring_view Name(std::size_t i) const;
    // Fills a record reused from row to row with the i-th entry: names, attributes, local
    // times and sizes. folder ends with "\" or is empty.
    void Fill(std::size_t i, std::wstring_view folder, EntryInfo& entry) const;

    // Stable: equal values keep their enumeration order in both directions. order: 0
    // ascending, anything else descending. key: a field code; with the extension key,
    // folders sort by name.
    friend void SortEntries(ListedEntries& list, std::int32_t order, std::int32_t key);

private:
    // Items in blocks that grow from a few to 65,536 items, so that growing never copies
    // (nor doubles) what is there and a small folder takes little. A run of items is
    // never split; one longer than the largest block gets a block of its own.
    template <typename Item>
    class Blocks {
    public:
        std::uint32_t Append(const Item* items, std::size_t count);
        const Item* At(std::uint32_t position) const
        {
            return blocks_[position >> kOffsetBits].get() + (position & kOffsetMask);
        }

    private:
        static constexpr unsigned kOffsetBits = 20;
        static constexpr std::uint32_t kOffsetMask = (1u << kOffsetBits) - 1;
        static constexpr std::size_t kFirstBlock = 16;
        static constexpr std::size_t kLargestBlock = 65536;
        std::vector<std::unique_ptr<Item[]>> blocks_;
        std::size_t capacity_ = 0;  // of the last block
        std::size_t used_ = 0;
    };

    struct Record {
        std::uint32_t NameAt = 0;
        std::uint16_t NameLength = 0;   // a name is at most 32,767 characters
        std::uint16_t InvalidTimes = 0;  // bit 0 created, 1 accessed, 2 modified
        std::uint32_t Attributes = 0;
        std::uint32_t TicksAt = 0;  // with exact times: created, accessed, modified
        OleDate Created = 0, Accessed = 0, Modified = 0;  // local
        std::uint64_t Size = 0, CompressedSize = 0;
        // A size or the seconds of a time for those keys; for a text, where its collation
        // key lies (high half) and its length in bytes (low half).
        std::uint64_t SortValue = 0;
        std::uint32_t KeyAt() const { return static_cast<std::uint32_t>(SortValue >> 32); }
        std::uint32_t KeyLength() const { return static_cast<std::uint32_t>(SortValue); }
    };

    void SetSortValue(Record& record, EntryInfo& entry);

    const Record& RecordAt(std::size_t i) const { return *records_.At(order_[i]); }

    std::int32_t key_;
    bool exactTimes_;
    Blocks<Record> records_;
    std::vector<std::uint32_t> order_;  // positions of the records in list order
    Blocks<wchar_t> names_;
    Blocks<char> keys_;
    Blocks<std::uint64_t> ticks_;
    std::wstring upperBuffer_;  // kept from entry to entry: no allocation per entry
    std::string keyBuffer_;
};
