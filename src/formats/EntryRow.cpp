#include "formats/EntryRow.h"

#include <windows.h>

#include "formats/FolderSection.h"
#include "formats/ValueText.h"

// Rows are appended straight into the writer's pending text: a listing writes a row per
// file, and building each value as a string of its own would cost more than the rest.
namespace {

constexpr int kDeepestTreeLevel = 15;
constexpr std::size_t kTxtRowWidth = 81;

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }

// Puts what `append` adds into the row's 1-based positions first to last, cut to the
// span. A cut that would keep only the first half of a surrogate pair leaves a blank
// in its place instead.
template <typename Append>
void PutCut(std::wstring& line, std::size_t row, std::size_t first, std::size_t last, Append append)
{
    std::size_t mark = line.size();
    append(line);
    std::size_t length = std::min(line.size() - mark, last - first + 1);
    if (length < line.size() - mark && IsHighSurrogate(line[mark + length - 1])) --length;
    std::copy(line.begin() + static_cast<std::ptrdiff_t>(mark), line.begin() + static_cast<std::ptrdiff_t>(mark + length),
              line.begin() + static_cast<std::ptrdiff_t>(row + first - 1));
    line.resize(mark);
}

void PutBar(std::wstring& line, std::size_t row, std::size_t position) { line[row + position - 1] = L'|'; }

const std::wstring& ShownName(const ListingOptions& options, const EntryInfo& entry)
{
    return options.SaveMode == SaveModes::Both ? entry.Name : entry.FullPath;
}

wchar_t UpperChar(wchar_t c)
{
    if (c < 0x80) return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c;
    UpperCaseInPlace(&c, 1);
    return c;
}

// The extension column: upper case, control characters made visible, and in HTML the
// characters that would be markup escaped.
void AppendExtension(std::wstring& line, std::wstring_view extension, bool html)
{
    for (wchar_t c : extension) {
        c = VisibleChar(UpperChar(c));
        if (html)
            AppendHtmlChar(line, c);
        else
            line += c;
    }
}

void AppendCsvRow(std::wstring& line, const EntryInfo& entry, std::wstring_view name)
{
    AppendSizeText(line, entry.Size);
    for (const FileTimeInfo* time : {&entry.Created, &entry.Modified, &entry.Accessed}) {
        line += L'\t';
        AppendListingDateText(line, *time);
    }
    line += L'\t';
    AppendAttributeText(line, entry);
    line += L'\t';
    AppendExtension(line, entry.Extension, false);
    line += L'\t';
    AppendVisibleText(line, name);
}

void AppendHtmlRow(std::wstring& line, const EntryInfo& entry, std::wstring_view name)
{
    line += L"<tr><td bgcolor=#FFFFF0 nowrap>";
    AppendSizeText(line, entry.Size);
    line += L"</td><td bgcolor=#FFF9F0 nowrap>";
    AppendListingDateText(line, entry.Created);
    line += L"</td><td bgcolor=#FFF6F0 nowrap>";
    AppendListingDateText(line, entry.Modified);
    line += L"</td><td bgcolor=#FFF3F0 nowrap>";
    AppendListingDateText(line, entry.Accessed);
    line += L"</td><td bgcolor=#FFF0F0 nowrap>";
    AppendAttributeText(line, entry);
    line += L"</td><td bgcolor=#FFFCF0 nowrap>";
    AppendExtension(line, entry.Extension, true);
    line += L"</td><td bgcolor=#FCF0F3 nowrap>";
    for (wchar_t c : name) AppendHtmlChar(line, VisibleChar(c));
    line += L"</td></tr>";
}

void WriteTreeRow(LineWriter& out, const ListingOptions& options, int depth, const EntryInfo& entry)
{
    if (options.SaveMode == SaveModes::Both && depth > kDeepestTreeLevel) return;
    std::wstring& line = out.BeginLine();
    if (options.SaveMode != SaveModes::Both) {
        line.append(static_cast<std::size_t>(depth), L'\t');
        AppendVisibleText(line, entry.FullPath);
    } else {
        for (int i = 0; i < depth; ++i) line += L"│  ";
        AppendVisibleText(line, entry.Name);
    }
    out.EndLine();
}

std::wstring EasyText(const ListingOptions& options, const EntryInfo& entry)
{
    std::wstring text = VisibleText(options.FullPath ? entry.FullPath : entry.Name);
    return options.DeleteExtension ? RemoveExtension(text) : text;
}

}  // namespace

void AppendTxtRow(std::wstring& line, const EntryInfo& entry, std::wstring_view shownName)
{
    const std::size_t row = line.size();
    line.append(kTxtRowWidth, L' ');
    // The size goes to 1-11: the bar at 12 would take a twelfth character anyway.
    PutCut(line, row, 1, 11, [&](std::wstring& l) { AppendSizeText(l, entry.Size); });
    PutBar(line, row, 12);
    PutCut(line, row, 13, 28, [&](std::wstring& l) { AppendListingDateText(l, entry.Created); });
    PutBar(line, row, 29);
    PutCut(line, row, 30, 45, [&](std::wstring& l) { AppendListingDateText(l, entry.Modified); });
    PutBar(line, row, 46);
    PutCut(line, row, 47, 62, [&](std::wstring& l) { AppendListingDateText(l, entry.Accessed); });
    PutBar(line, row, 63);
    PutCut(line, row, 64, 71, [&](std::wstring& l) { AppendAttributeText(l, entry); });
    PutBar(line, row, 72);
    PutCut(line, row, 73, 77, [&](std::wstring& l) { AppendExtension(l, entry.Extension, false); });
    PutBar(line, row, 81);
    AppendVisibleText(line, shownName);
}

std::wstring TxtRow(const EntryInfo& entry, std::wstring_view shownName)
{
    std::wstring row;
    AppendTxtRow(row, entry, shownName);
    return row;
}

bool WriteEntryRow(LineWriter& out, const ListingOptions& options, bool showFiles, bool stopRequested, int depth,
                   const EntryInfo& entry)
{
    if (options.DepthLimit > 0 && depth > options.DepthLimit + 1) return false;
    if (stopRequested || !showFiles) return false;
    if (!out.Active()) return true;  // no file: nothing to lay out

    if (options.EasyMode) {
        out.WriteLine(EasyText(options, entry));
        return true;
    }
    switch (options.Format) {
    case ListingFormats::Txt: AppendTxtRow(out.BeginLine(), entry, ShownName(options, entry)); break;
    case ListingFormats::Csv: AppendCsvRow(out.BeginLine(), entry, ShownName(options, entry)); break;
    case ListingFormats::Html: AppendHtmlRow(out.BeginLine(), entry, ShownName(options, entry)); break;
    case ListingFormats::Tree: WriteTreeRow(out, options, depth, entry); return true;
    default: return true;
    }
    out.EndLine();
    return true;
}
