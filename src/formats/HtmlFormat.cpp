// The HTML listing: a table per folder section and one for each folder's file rows.
// The head declares UTF-8 although the file is UTF-16; its text is kept as it is.
#include "formats/ListingFormat.h"
#include "formats/ValueText.h"

namespace {

// The file table's opening row and header cells, two lines; the row stays open.
const std::wstring& FileTableHeader()
{
    static const std::wstring header = [] {
        std::wstring text = L"<br><table border='1' cellpadding='3'><tr bgcolor='E0E0E0'>\r\n";
        for (const wchar_t* title :
             {L"檔案大小", L"起始建立日期", L"最後修改日期", L"最後存取日期", L"檔案屬性", L"副檔名", L"檔案名稱"})
            text += std::wstring(L"<th><font color='000080'>") + title + L"</font></th>";
        return text;
    }();
    return header;
}

class HtmlListing final : public ListingFormat {
public:
    const wchar_t* FileExtension() const override { return L".html"; }

    void OpeningLines(LineWriter& out, const ListingOptions& options, const SYSTEMTIME&) const override
    {
        out.WriteLine(L"<html>\r\n<head>\r\n<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\r\n"
                      L"<title>Quorvane 檔案/資料夾清單</title>\r\n</head>\r\n<body>\r\n");
        if (options.SaveMode == SaveModes::FilesOnly) out.WriteLine(FileTableHeader());
    }

    void FolderSection(LineWriter& out, const ListingOptions& options, int, const EntryInfo& folder,
                       const FolderTotals& totals) const override
    {
        FolderValues v = FolderValuesOf(folder, totals);
        const std::wstring row = L"<tr><td bgcolor=#E0E0E0 nowrap>";
        out.WriteLine(L"<table border='1' cellpadding='3'><tr bgcolor='E0E0E0'>\r\n"
                      L"<br><th><font color='000080'>名稱</font></th><th><font color='000080'>值</font></th>\r\n" +
                      row + L"資料夾名稱<td bgcolor=#FFFDF0 nowrap>" + HtmlText(v.Path) + L"</td></tr>\r\n" + row +
                      L"資料夾大小<td bgcolor=#FFFCF0 nowrap>" + v.Size + L" 個位元組</td></tr>\r\n" + row +
                      L"資料夾屬性<td bgcolor=#FFFAF0 nowrap>" + v.Attributes + L"</td></tr>\r\n" + row +
                      L"起始建立時間<td bgcolor=#FFF9F0 nowrap>" + v.Created + L"</td></tr>\r\n" + row +
                      L"最後修改時間<td bgcolor=#FFF8F0 nowrap>" + v.Modified + L"</td></tr>\r\n" + row +
                      L"最後存取時間<td bgcolor=#FFF6F0 nowrap>" + v.Accessed + L"</td></tr>\r\n</table>");
        if (FileHeaderFollows(options, totals)) out.WriteLine(FileTableHeader());
    }

    void Row(LineWriter& out, const ListingOptions& options, int, const EntryInfo& entry) const override
    {
        std::wstring& line = out.BeginLine();
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
        for (wchar_t c : entry.Extension) AppendHtmlChar(line, ExtensionChar(c));
        line += L"</td><td bgcolor=#FCF0F3 nowrap>";
        for (wchar_t c : ShownName(options, entry)) AppendHtmlChar(line, VisibleChar(c));
        line += L"</td></tr>";
        out.EndLine();
    }

    void ClosingLines(LineWriter& out, const ListingOptions&, const SYSTEMTIME&) const override
    {
        out.WriteLine(L"</table>\r\n</body>\r\n</html>");
    }
};

const HtmlListing kFormat;

}  // namespace

const ListingFormat& HtmlFormat() { return kFormat; }
