#include "formats/InventoryColumns.h"

#include "formats/CsvRecords.h"
#include "formats/ValueText.h"

const char* const kInventoryColumnNames[InventoryColumns::Count] = {
    "Path",     "Type",     "Size",     "CompressedSize", "Files", "Folders",
    "Created",  "Modified", "Accessed", "Attributes",     "Error",
};
const wchar_t kInventoryFolder[] = L"folder";
const wchar_t kInventoryFile[] = L"file";

namespace {

const char kAttributeLetters[] = "RHSACETX";

void AppendDecimal(std::wstring& out, std::uint64_t value)
{
    wchar_t digits[20];
    std::size_t count = 0;
    do {
        digits[count++] = static_cast<wchar_t>(L'0' + value % 10);
        value /= 10;
    } while (value != 0);
    while (count > 0) out += digits[--count];
}

void AppendSize(std::wstring& out, const ExactSize& size)
{
    if (size.FitsUInt64())
        AppendDecimal(out, size.Low());
    else
        out += size.ToDecimal();
}

// A file's sizes, with the counts a file leaves empty.
void AppendInventoryFileSizes(std::wstring& out, const EntryInfo& entry)
{
    AppendSize(out, entry.Size);
    out += L',';
    AppendSize(out, entry.CompressedSize);
    out += L",,";
}

}  // namespace

std::wstring InventoryHeaderLine()
{
    std::wstring line;
    for (const char* name : kInventoryColumnNames) {
        if (!line.empty()) line += L',';
        while (*name) line += static_cast<wchar_t>(*name++);
    }
    return line;
}

void AppendInventoryRow(std::wstring& out, const EntryInfo& entry, const FolderTotals* totals,
                        std::wstring_view error)
{
    AppendInventoryHead(out, entry, totals != nullptr);
    if (totals)
        AppendInventorySums(out, *totals);
    else
        AppendInventoryFileSizes(out, entry);
    AppendInventoryTail(out, entry, error);
}

void AppendInventoryHead(std::wstring& out, const EntryInfo& entry, bool folder)
{
    AppendCsvField(out, entry.FullPath);
    out += L',';
    out += folder ? kInventoryFolder : kInventoryFile;
    out += L',';
}

void AppendInventorySums(std::wstring& out, const FolderTotals& totals)
{
    AppendSize(out, totals.TotalSize);
    out += L',';
    AppendSize(out, totals.TotalCompressedSize);
    out += L',';
    AppendDecimal(out, static_cast<std::uint64_t>(totals.FileCount));
    out += L',';
    AppendDecimal(out, static_cast<std::uint64_t>(totals.FolderCount));
}

void AppendInventoryTail(std::wstring& out, const EntryInfo& entry, std::wstring_view error)
{
    for (const FileTimeInfo* time : {&entry.Created, &entry.Modified, &entry.Accessed}) {
        out += L',';
        AppendInventoryTime(out, *time);
    }
    out += L',';
    AppendAttributeText(out, entry);
    out += L',';
    AppendCsvField(out, error);
}

void AppendInventoryTime(std::wstring& out, const FileTimeInfo& time)
{
    if (time.Ticks.FitsUInt64()) AppendIsoUtcText(out, time.Ticks.Low());
}

std::optional<InventorySize> InventorySizeFromText(std::string_view text)
{
    if (text.empty()) return std::nullopt;
    std::uint32_t limbs[4] = {};  // least significant first
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        std::uint64_t carry = static_cast<std::uint64_t>(c - '0');
        for (std::uint32_t& limb : limbs) {
            std::uint64_t value = static_cast<std::uint64_t>(limb) * 10 + carry;
            limb = static_cast<std::uint32_t>(value);
            carry = value >> 32;
        }
        if (carry != 0) return std::nullopt;
    }
    return InventorySize{limbs[0] | (static_cast<std::uint64_t>(limbs[1]) << 32),
                         limbs[2] | (static_cast<std::uint64_t>(limbs[3]) << 32)};
}

void AppendInventorySize(std::wstring& out, InventorySize size)
{
    if (size.High == 0) {
        AppendDecimal(out, size.Low);
        return;
    }
    // DivideSmall works on the bits as an unsigned number, whatever the sign bit says.
    ExactSize rest = ExactSize::FromHalves(size.Low, size.High);
    std::wstring digits;
    while (rest != ExactSize()) digits.insert(digits.begin(), static_cast<wchar_t>(L'0' + rest.DivideSmall(10)));
    out += digits;
}

std::optional<InventoryAttributes> InventoryAttributesFromText(std::string_view text)
{
    if (text.size() != 7 && text.size() != 8) return std::nullopt;
    InventoryAttributes attributes;
    attributes.Count = static_cast<std::uint8_t>(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == kAttributeLetters[i])
            attributes.Set = static_cast<std::uint8_t>(attributes.Set | (1u << i));
        else if (text[i] != '-')
            return std::nullopt;
    }
    return attributes;
}

void AppendInventoryAttributes(std::wstring& out, InventoryAttributes attributes)
{
    for (std::size_t i = 0; i < attributes.Count; ++i)
        out += (attributes.Set & (1u << i)) ? static_cast<wchar_t>(kAttributeLetters[i]) : L'-';
}
