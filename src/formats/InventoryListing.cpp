#include "formats/InventoryListing.h"

#include "formats/InventoryColumns.h"
#include "formats/LineWriter.h"
#include "formats/ListingFormat.h"

namespace {

class InventoryName final : public ListingFormat {
public:
    // "yyyymmdd_hhmmss_Quorvane_inventory.csv"
    const wchar_t* FileExtension() const override { return L"_inventory.csv"; }
};

// A spooled file row is its whole text after kFileRow; a folder row is kFolderRow, its
// number in two units, its head, a NUL (which no path or error text holds), its tail.
constexpr wchar_t kFileRow = L'f';
constexpr wchar_t kFolderRow = L'd';

}  // namespace

const ListingFormat& InventoryFormat()
{
    static const InventoryName format;
    return format;
}

bool InventoryListing::Open() { return spool_.Open(); }

std::uint32_t InventoryListing::Folder(const EntryInfo& folder, std::wstring_view error)
{
    auto number = static_cast<std::uint32_t>(sums_.size());
    sums_.emplace_back();
    row_.assign(1, kFolderRow);
    row_ += static_cast<wchar_t>(number & 0xFFFF);
    row_ += static_cast<wchar_t>(number >> 16);
    AppendInventoryHead(row_, folder, true);
    row_ += L'\0';
    AppendInventoryTail(row_, folder, error);
    spool_.Append(row_);
    return number;
}

void InventoryListing::FolderDone(std::uint32_t folder, const FolderTotals& below)
{
    if (folder < sums_.size()) sums_[folder] = below;
}

void InventoryListing::File(const EntryInfo& entry)
{
    row_.assign(1, kFileRow);
    AppendInventoryRow(row_, entry, nullptr, L"");
    spool_.Append(row_);
}

bool InventoryListing::WriteTo(OutputFile& file)
{
    LineWriter out(&file);  // rows gathered into large writes
    out.WriteLine(InventoryHeaderLine());
    if (!spool_.Rewind()) return false;
    while (spool_.Next(row_)) {
        std::wstring_view spooled(row_);
        if (spooled.size() < 3) continue;
        if (spooled.front() == kFileRow) {
            out.WriteLine(spooled.substr(1));
            continue;
        }
        std::uint32_t number = spooled[1] | (static_cast<std::uint32_t>(spooled[2]) << 16);
        std::size_t cut = spooled.find(L'\0', 3);
        std::wstring& line = out.BeginLine();
        line.append(spooled.substr(3, cut - 3));
        if (number < sums_.size() && sums_[number])
            AppendInventorySums(line, *sums_[number]);
        else
            line += L",,,";
        line.append(spooled.substr(cut + 1));
        out.EndLine();
    }
    out.Flush();
    return !spool_.Failed();
}
