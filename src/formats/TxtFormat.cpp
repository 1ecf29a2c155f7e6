#include "formats/TxtFormat.h"

#include <array>
#include <iterator>

#include "formats/ListingFormat.h"
#include "formats/NumberText.h"
#include "formats/ValueText.h"

namespace {

// The table's columns. The rule line has a run of dashes as wide as each column and a
// blank between two; the header centres each title over its column (an odd blank goes
// before it), except the last, which starts at its column's edge; a row puts each
// value into its column, cut to the width, and a bar where the rule has its blank.
struct TxtColumn {
    std::wstring_view Title;  // wide characters, two columns each
    std::size_t Width;
};
constexpr TxtColumn kColumns[] = {
    {L"檔案大小", 11}, {L"起始建立時間", 16}, {L"最後修改時間", 16}, {L"最後存取時間", 16},
    {L"檔案屬性", 8},  {L"副檔名", 8},        {L"檔案名稱", 56},
};
enum Column : std::size_t { Size, Created, Modified, Accessed, Attributes, Extension, Name, ColumnCount };
static_assert(std::size(kColumns) == ColumnCount);
constexpr std::size_t kExtensionShown = 5;  // of its column's 8 characters

// Where each column starts in a line; the name column's start is the width of a row
// without its name.
constexpr std::array<std::size_t, ColumnCount> kStarts = [] {
    std::array<std::size_t, ColumnCount> starts{};
    for (std::size_t i = 1; i < ColumnCount; ++i) starts[i] = starts[i - 1] + kColumns[i - 1].Width + 1;
    return starts;
}();

constexpr std::wstring_view kHashRun = L"###########################";

const std::wstring& RuleLine()
{
    static const std::wstring line = [] {
        std::wstring text;
        for (const TxtColumn& column : kColumns) {
            if (!text.empty()) text += L' ';
            text.append(column.Width, L'-');
        }
        return text;
    }();
    return line;
}

const std::wstring& ColumnHeader()
{
    static const std::wstring header = [] {
        std::wstring text;
        for (std::size_t i = 0; i < ColumnCount; ++i) {
            const TxtColumn& column = kColumns[i];
            std::size_t titleWidth = 2 * column.Title.size();
            std::size_t before = i + 1 < ColumnCount ? (column.Width - titleWidth + 1) / 2 : 0;
            if (i > 0) text += L' ';
            text.append(before, L' ');
            text += column.Title;
            text.append(column.Width - titleWidth - before, L' ');
        }
        return text;
    }();
    return header;
}

// Rule, header, rule: written as one.
void WriteColumnHeader(LineWriter& out) { out.WriteLine(RuleLine() + L"\r\n" + ColumnHeader() + L"\r\n" + RuleLine()); }

std::wstring RunLine(std::wstring_view label, const SYSTEMTIME& local)
{
    return std::wstring(kHashRun) + L" - " + std::wstring(label) + L"：" + FrameTimeText(local) + L" - " +
           std::wstring(kHashRun);
}

std::wstring DayPeriod(int hour)
{
    wchar_t text[32] = {};
    int length = GetLocaleInfoW(LOCALE_USER_DEFAULT, hour < 12 ? LOCALE_S1159 : LOCALE_S2359, text, 32);
    return length > 1 ? std::wstring(text, static_cast<std::size_t>(length - 1)) : std::wstring(hour < 12 ? L"AM" : L"PM");
}

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }

// Puts what `append` adds into the line from `at` on, cut to `span` characters; rows
// are laid out in the writer's pending text, without a string of their own per value.
// A cut that would keep only the first half of a surrogate pair leaves a blank in its
// place instead.
template <typename Append>
void PutCut(std::wstring& line, std::size_t at, std::size_t span, Append append)
{
    std::size_t mark = line.size();
    append(line);
    std::size_t length = std::min(line.size() - mark, span);
    if (length < line.size() - mark && IsHighSurrogate(line[mark + length - 1])) --length;
    std::copy(line.begin() + static_cast<std::ptrdiff_t>(mark), line.begin() + static_cast<std::ptrdiff_t>(mark + length),
              line.begin() + static_cast<std::ptrdiff_t>(at));
    line.resize(mark);
}

void AppendRow(std::wstring& line, const EntryInfo& entry, std::wstring_view shownName)
{
    const std::size_t row = line.size();
    line.append(kStarts[Name], L' ');
    auto put = [&](Column column, auto append) {
        PutCut(line, row + kStarts[column], column == Extension ? kExtensionShown : kColumns[column].Width, append);
    };
    put(Size, [&](std::wstring& l) { AppendSizeText(l, entry.Size); });
    put(Created, [&](std::wstring& l) { AppendListingDateText(l, entry.Created); });
    put(Modified, [&](std::wstring& l) { AppendListingDateText(l, entry.Modified); });
    put(Accessed, [&](std::wstring& l) { AppendListingDateText(l, entry.Accessed); });
    put(Attributes, [&](std::wstring& l) { AppendAttributeText(l, entry); });
    put(Extension, [&](std::wstring& l) { AppendExtensionText(l, entry.Extension); });
    for (std::size_t column = Size; column < Name; ++column) line[row + kStarts[column + 1] - 1] = L'|';
    AppendVisibleText(line, shownName);
}

class TxtListing final : public ListingFormat {
public:
    const wchar_t* FileExtension() const override { return L".txt"; }

    void OpeningLines(LineWriter& out, const ListingOptions& options, const SYSTEMTIME& startLocal) const override
    {
        out.WriteLine(RunLine(L"開始時間", startLocal));
        if (options.SaveMode == SaveModes::FilesOnly) WriteColumnHeader(out);
    }

    void FolderSection(LineWriter& out, const ListingOptions& options, int, const EntryInfo& folder,
                       const FolderTotals& totals) const override
    {
        if (options.SaveMode == SaveModes::Both) out.WriteLine(RuleLine());
        FolderValues v = FolderValuesOf(folder, totals);
        out.WriteLine(L"\r\n資料夾名稱　：" + v.Path + L"\r\n資料夾大小　：" + v.Size + L" 個位元組\r\n資料夾屬性　：" +
                      v.Attributes + L"\r\n建立時間　　：" + v.Created + L"\r\n最後修改時間：" + v.Modified +
                      L"\r\n最後存取時間：" + v.Accessed);
        if (FileHeaderFollows(options, totals)) WriteColumnHeader(out);
    }

    void Row(LineWriter& out, const ListingOptions& options, int, const EntryInfo& entry) const override
    {
        AppendRow(out.BeginLine(), entry, ShownName(options, entry));
        out.EndLine();
    }

    void ClosingLines(LineWriter& out, const ListingOptions& options, const SYSTEMTIME& endLocal) const override
    {
        if (options.SaveMode != SaveModes::FoldersOnly) out.WriteLine(RuleLine());
        out.WriteLine(RunLine(L"完成時間", endLocal));
    }
};

const TxtListing kFormat;

}  // namespace

const ListingFormat& TxtFormat() { return kFormat; }

std::wstring FrameTimeText(const SYSTEMTIME& t)
{
    int hour12 = t.wHour % 12 == 0 ? 12 : t.wHour % 12;
    return ZeroPadded(t.wYear, 4) + L" 年 " + ZeroPadded(t.wMonth, 2) + L" 月 " + ZeroPadded(t.wDay, 2) + L" 日 - " +
           DayPeriod(t.wHour) + L" " + ZeroPadded(hour12, 2) + L" 時 " + ZeroPadded(t.wMinute, 2) + L" 分 " +
           ZeroPadded(t.wSecond, 2) + L" 秒";
}

std::wstring TxtRow(const EntryInfo& entry, std::wstring_view shownName)
{
    std::wstring row;
    AppendRow(row, entry, shownName);
    return row;
}
