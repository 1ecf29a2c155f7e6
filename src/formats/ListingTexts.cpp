#include "formats/ListingTexts.h"

const std::wstring& RuleLine()
{
    static const std::wstring line = std::wstring(11, L'-') + L" " + std::wstring(16, L'-') + L" " +
                                     std::wstring(16, L'-') + L" " + std::wstring(16, L'-') + L" " +
                                     std::wstring(8, L'-') + L" " + std::wstring(8, L'-') + L" " +
                                     std::wstring(56, L'-');
    return line;
}

const std::wstring& TxtColumnHeader()
{
    static const std::wstring header =
        L"  檔案大小    起始建立時間     最後修改時間     最後存取時間   檔案屬性  副檔名  檔案名稱" +
        std::wstring(48, L' ');
    return header;
}

const std::wstring& CsvColumnHeader()
{
    static const std::wstring header = L"檔案大小\t建立日期\t修改日期\t存取日期\t檔案屬性\t副檔名\t檔案名稱";
    return header;
}

const std::wstring& HtmlFileTableHeader()
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
