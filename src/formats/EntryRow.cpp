#include "formats/EntryRow.h"

#include "formats/FolderSection.h"
#include "formats/ValueText.h"

namespace {

constexpr int kDeepestTreeLevel = 15;
constexpr std::size_t kTxtRowWidth = 81;

// first and last are 1-based positions; the value is cut to the span.
void Overwrite(std::wstring& row, std::size_t first, std::size_t last, std::wstring_view value)
{
    std::size_t span = last - first + 1;
    row.replace(first - 1, std::min(span, value.size()), value.substr(0, span));
}

void PutBar(std::wstring& row, std::size_t position) { row[position - 1] = L'|'; }

std::wstring ShownName(const ListingOptions& options, const EntryInfo& entry)
{
    return options.SaveMode == SaveModes::Both ? entry.Name : entry.FullPath;
}

std::wstring CsvRow(const EntryInfo& entry, const std::wstring& name)
{
    return SizeText(entry.Size) + L"\t" + ListingDateText(entry.Created) + L"\t" + ListingDateText(entry.Modified) +
           L"\t" + ListingDateText(entry.Accessed) + L"\t" + AttributeText(entry) + L"\t" +
           UpperCaseText(entry.Extension) + L"\t" + name;
}

std::wstring HtmlRow(const EntryInfo& entry, const std::wstring& name)
{
    return L"<tr><td bgcolor=#FFFFF0 nowrap>" + SizeText(entry.Size) + L"</td><td bgcolor=#FFF9F0 nowrap>" +
           ListingDateText(entry.Created) + L"</td><td bgcolor=#FFF6F0 nowrap>" + ListingDateText(entry.Modified) +
           L"</td><td bgcolor=#FFF3F0 nowrap>" + ListingDateText(entry.Accessed) +
           L"</td><td bgcolor=#FFF0F0 nowrap>" + AttributeText(entry) + L"</td><td bgcolor=#FFFCF0 nowrap>" +
           HtmlText(UpperCaseText(entry.Extension)) + L"</td><td bgcolor=#FCF0F3 nowrap>" + HtmlText(name) +
           L"</td></tr>";
}

void WriteTreeRow(LineWriter& out, const ListingOptions& options, int depth, const EntryInfo& entry)
{
    if (options.SaveMode != SaveModes::Both) {
        out.WriteLine(std::wstring(static_cast<std::size_t>(depth), L'\t') + entry.FullPath);
        return;
    }
    if (depth <= kDeepestTreeLevel) out.WriteLine(TreeIndent(depth) + entry.Name);
}

std::wstring EasyText(const ListingOptions& options, const EntryInfo& entry)
{
    std::wstring text = options.FullPath ? entry.FullPath : entry.Name;
    return options.DeleteExtension ? RemoveExtension(text) : text;
}

}  // namespace

std::wstring TxtRow(const EntryInfo& entry, std::wstring_view shownName)
{
    std::wstring row(kTxtRowWidth, L' ');
    Overwrite(row, 1, 12, SizeText(entry.Size));
    PutBar(row, 12);
    Overwrite(row, 13, 28, ListingDateText(entry.Created));
    PutBar(row, 29);
    Overwrite(row, 30, 45, ListingDateText(entry.Modified));
    PutBar(row, 46);
    Overwrite(row, 47, 62, ListingDateText(entry.Accessed));
    PutBar(row, 63);
    Overwrite(row, 64, 71, AttributeText(entry));
    PutBar(row, 72);
    Overwrite(row, 73, 77, UpperCaseText(entry.Extension));
    PutBar(row, 81);
    row += shownName;
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
