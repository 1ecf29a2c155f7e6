#include "run/OutputName.h"

#include "formats/ListingFormat.h"
#include "formats/NumberText.h"

std::optional<std::wstring> OutputFileName(std::wstring_view outputFolder, const SYSTEMTIME& now, int format,
                                           bool easyMode)
{
    const wchar_t* extension = ListingFormatOf(format, easyMode).FileExtension();
    if (!extension) return std::nullopt;
    return std::wstring(outputFolder) + ZeroPadded(now.wYear, 4) + ZeroPadded(now.wMonth, 2) +
           ZeroPadded(now.wDay, 2) + L"_" + ZeroPadded(now.wHour, 2) + ZeroPadded(now.wMinute, 2) +
           ZeroPadded(now.wSecond, 2) + L"_Quorvane" + extension;
}
