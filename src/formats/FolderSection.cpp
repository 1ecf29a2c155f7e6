#include "formats/FolderSection.h"

#include "formats/ListingTexts.h"
#include "formats/ValueText.h"

namespace {

constexpr int kDeepestTreeLevel = 15;

struct SectionValues {
    std::wstring Path;
    std::wstring Size;
    std::wstring Attributes;
    std::wstring Created;
    std::wstring Modified;
    std::wstring Accessed;
};

SectionValues ValuesOf(const EntryInfo& folder, const FolderTotals& totals)
{
    return {VisibleText(folder.FullPath), WholeNumberText(totals.TotalSize), AttributeText(folder),
            ListingDateText(folder.Created), ListingDateText(folder.Modified), ListingDateText(folder.Accessed)};
}

// Empty means no file passed the filters; files of 0 bytes still have rows to head.
bool HasListedFiles(const FolderTotals& totals) { return totals.FileCount > 0; }

void WriteTxtSection(LineWriter& out, const ListingOptions& options, const SectionValues& v, bool listedFiles)
{
    bool both = options.SaveMode == SaveModes::Both;
    if (both) out.WriteLine(RuleLine());
    out.WriteLine(L"\r\n資料夾名稱　：" + v.Path + L"\r\n資料夾大小　：" + v.Size + L" 個位元組\r\n資料夾屬性　：" +
                  v.Attributes + L"\r\n建立時間　　：" + v.Created + L"\r\n最後修改時間：" + v.Modified +
                  L"\r\n最後存取時間：" + v.Accessed);
    if (both && listedFiles) out.WriteLine(RuleLine() + L"\r\n" + TxtColumnHeader() + L"\r\n" + RuleLine());
}

void WriteCsvSection(LineWriter& out, const ListingOptions& options, const SectionValues& v, bool listedFiles)
{
    out.WriteLine(L"\r\n資料夾名稱　：\t" + v.Path + L"\r\n資料夾大小　：\t" + v.Size + L" 個位元組\r\n資料夾屬性　：\t" +
                  v.Attributes + L"\r\n建立時間　　：\t" + v.Created + L"\r\n最後修改時間：\t" + v.Modified +
                  L"\r\n最後存取時間：\t" + v.Accessed + L"\r\n");
    if (options.SaveMode == SaveModes::Both && listedFiles) out.WriteLine(CsvColumnHeader());
}

void WriteHtmlSection(LineWriter& out, const ListingOptions& options, const SectionValues& v, bool listedFiles)
{
    const std::wstring row = L"<tr><td bgcolor=#E0E0E0 nowrap>";
    out.WriteLine(L"<table border='1' cellpadding='3'><tr bgcolor='E0E0E0'>\r\n"
                  L"<br><th><font color='000080'>名稱</font></th><th><font color='000080'>值</font></th>\r\n" +
                  row + L"資料夾名稱<td bgcolor=#FFFDF0 nowrap>" + HtmlText(v.Path) + L"</td></tr>\r\n" + row +
                  L"資料夾大小<td bgcolor=#FFFCF0 nowrap>" + v.Size + L" 個位元組</td></tr>\r\n" + row +
                  L"資料夾屬性<td bgcolor=#FFFAF0 nowrap>" + v.Attributes + L"</td></tr>\r\n" + row +
                  L"起始建立時間<td bgcolor=#FFF9F0 nowrap>" + v.Created + L"</td></tr>\r\n" + row +
                  L"最後修改時間<td bgcolor=#FFF8F0 nowrap>" + v.Modified + L"</td></tr>\r\n" + row +
                  L"最後存取時間<td bgcolor=#FFF6F0 nowrap>" + v.Accessed + L"</td></tr>\r\n</table>");
    if (options.SaveMode == SaveModes::Both && listedFiles) out.WriteLine(HtmlFileTableHeader());
}

void WriteTreeSection(LineWriter& out, int depth, const std::wstring& path)
{
    if (depth > kDeepestTreeLevel) return;
    std::wstring line;
    if (depth > 0) line = TreeIndent(depth - 1) + L"├─";
    AppendVisibleText(line, path);
    out.WriteLine(line);
}

}  // namespace

std::wstring TreeIndent(int levels)
{
    std::wstring indent;
    indent.reserve(static_cast<std::size_t>(levels) * 3);
    for (int i = 0; i < levels; ++i) indent += L"│  ";
    return indent;
}

bool WriteFolderSection(LineWriter& out, const ListingOptions& options, bool showFolders, int depth,
                        const EntryInfo& folder, const FolderTotals& totals)
{
    if (options.DepthLimit > 0 && depth > options.DepthLimit) return false;
    if (!showFolders) return false;

    if (options.EasyMode) {
        out.WriteLine(VisibleText(options.FullPath ? folder.FullPath : folder.Name));
        return true;
    }
    bool listedFiles = HasListedFiles(totals);
    if (options.IgnoreEmptyFolders && !listedFiles) return true;

    switch (options.Format) {
    case ListingFormats::Txt: WriteTxtSection(out, options, ValuesOf(folder, totals), listedFiles); break;
    case ListingFormats::Csv: WriteCsvSection(out, options, ValuesOf(folder, totals), listedFiles); break;
    case ListingFormats::Html: WriteHtmlSection(out, options, ValuesOf(folder, totals), listedFiles); break;
    case ListingFormats::Tree: WriteTreeSection(out, depth, folder.FullPath); break;
    default: break;
    }
    return true;
}
