#include "formats/EntryRow.h"

#include "formats/FolderSection.h"
#include "formats/ValueText.h"

namespace {

constexpr int kDeepestTreeLevel = 15;
constexpr std::size_t kTxtRowWidth = 81;

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }

// first and last are 1-based positions; the value is cut to the span. A cut that would
// keep only the first half of a surrogate pair leaves a blank in its place instead.
void Overwrite(std::wstring& row, std::size_t first, std::size_t last, std::wstring_view value)
{
    std::size_t span = last - first + 1;
    if (value.size() > span) {
        value = value.substr(0, span);
        if (IsHighSurrogate(value.back())) value.remove_suffix(1);
    }
    row.replace(first - 1, value.size(), value);
}

void PutBar(std::wstring& row, std::size_t position) { row[position - 1] = L'|'; }

std::wstring ShownName(const ListingOptions& options, const EntryInfo& entry)
{
    return options.SaveMode == SaveModes::Both ? entry.Name : entry.FullPath;
}

struct RowValues {
    std::wstring Size, Created, Modified, Accessed, Attributes, Extension;
};

bool SameTime(const FileTimeInfo& a, const FileTimeInfo& b) { return a.Invalid == b.Invalid && a.Local == b.Local; }

// Creation and modification often coincide; their text is then made once.
RowValues ValuesOf(const EntryInfo& entry)
{
    RowValues v;
    v.Size = SizeText(entry.Size);
    v.Created = ListingDateText(entry.Created);
    v.Modified = SameTime(entry.Modified, entry.Created) ? v.Created : ListingDateText(entry.Modified);
    v.Accessed = SameTime(entry.Accessed, entry.Modified) ? v.Modified : ListingDateText(entry.Accessed);
    v.Attributes = AttributeText(entry);
    AppendVisibleText(v.Extension, UpperCaseText(entry.Extension));
    return v;
}

std::wstring CsvRow(const EntryInfo& entry, const std::wstring& name)
{
    RowValues v = ValuesOf(entry);
    std::wstring row;
    row.reserve(80 + name.size());
    for (const std::wstring* field : {&v.Size, &v.Created, &v.Modified, &v.Accessed, &v.Attributes, &v.Extension})
        row.append(*field).append(1, L'\t');
    AppendVisibleText(row, name);
    return row;
}

std::wstring HtmlRow(const EntryInfo& entry, const std::wstring& name)
{
    RowValues v = ValuesOf(entry);
    std::wstring row;
    row.reserve(300 + name.size());
    row.append(L"<tr><td bgcolor=#FFFFF0 nowrap>").append(v.Size);
    row.append(L"</td><td bgcolor=#FFF9F0 nowrap>").append(v.Created);
    row.append(L"</td><td bgcolor=#FFF6F0 nowrap>").append(v.Modified);
    row.append(L"</td><td bgcolor=#FFF3F0 nowrap>").append(v.Accessed);
    row.append(L"</td><td bgcolor=#FFF0F0 nowrap>").append(v.Attributes);
    row.append(L"</td><td bgcolor=#FFFCF0 nowrap>").append(HtmlText(v.Extension));
    row.append(L"</td><td bgcolor=#FCF0F3 nowrap>");
    AppendVisibleText(row, HtmlText(name));
    return row.append(L"</td></tr>");
}

void WriteTreeRow(LineWriter& out, const ListingOptions& options, int depth, const EntryInfo& entry)
{
    std::wstring line;
    if (options.SaveMode != SaveModes::Both) {
        line.assign(static_cast<std::size_t>(depth), L'\t');
        AppendVisibleText(line, entry.FullPath);
    } else if (depth <= kDeepestTreeLevel) {
        line = TreeIndent(depth);
        AppendVisibleText(line, entry.Name);
    } else {
        return;
    }
    out.WriteLine(line);
}

std::wstring EasyText(const ListingOptions& options, const EntryInfo& entry)
{
    std::wstring text = VisibleText(options.FullPath ? entry.FullPath : entry.Name);
    return options.DeleteExtension ? RemoveExtension(text) : text;
}

}  // namespace

std::wstring TxtRow(const EntryInfo& entry, std::wstring_view shownName)
{
    RowValues v = ValuesOf(entry);
    std::wstring row(kTxtRowWidth, L' ');
    row.reserve(kTxtRowWidth + shownName.size());
    Overwrite(row, 1, 11, v.Size);  // the bar at 12 would take a twelfth character anyway
    PutBar(row, 12);
    Overwrite(row, 13, 28, v.Created);
    PutBar(row, 29);
    Overwrite(row, 30, 45, v.Modified);
    PutBar(row, 46);
    Overwrite(row, 47, 62, v.Accessed);
    PutBar(row, 63);
    Overwrite(row, 64, 71, v.Attributes);
    PutBar(row, 72);
    Overwrite(row, 73, 77, v.Extension);
    PutBar(row, 81);
    AppendVisibleText(row, shownName);
    return row;
}

bool WriteEntryRow(LineWriter& out, const ListingOptions& options, bool showFiles, bool stopRequested, int depth,
                   const EntryInfo& entry)
{
    if (options.DepthLimit > 0 && depth > options.DepthLimit + 1) return false;
    if (stopRequested || !showFiles) return false;

    if (options.EasyMode) {
        out.WriteLine(EasyText(options, entry));
        return true;
    }
    switch (options.Format) {
    case ListingFormats::Txt: out.WriteLine(TxtRow(entry, ShownName(options, entry))); break;
    case ListingFormats::Csv: out.WriteLine(CsvRow(entry, ShownName(options, entry))); break;
    case ListingFormats::Html: out.WriteLine(HtmlRow(entry, ShownName(options, entry))); break;
    case ListingFormats::Tree: WriteTreeRow(out, options, depth, entry); break;
    default: break;
    }
    return true;
}
