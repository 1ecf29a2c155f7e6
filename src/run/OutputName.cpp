#include "run/OutputName.h"

#include "formats/ListingFormat.h"
#include "formats/NumberText.h"

namespace {

std::wstring NamedByMoment(std::wstring_view outputFolder, const SYSTEMTIME& now, std::wstring_view ending)
{
    return std::wstring(outputFolder) + ZeroPadded(now.wYear, 4) + ZeroPadded(now.wMonth, 2) +
           ZeroPadded(now.wDay, 2) + L"_" + ZeroPadded(now.wHour, 2) + ZeroPadded(now.wMinute, 2) +
           ZeroPadded(now.wSecond, 2) + L"_Quorvane" + std::wstring(ending);
}

// A folder of that name gives ERROR_ACCESS_DENIED, as does an output folder we may
// not write to; only the first means the name is taken.
bool NameTaken(const std::wstring& path, unsigned long error)
{
    if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) return true;
    if (error != ERROR_ACCESS_DENIED) return false;
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

std::optional<std::wstring> OutputFileName(std::wstring_view outputFolder, const SYSTEMTIME& now, int format,
                                           bool easyMode)
{
    const wchar_t* extension = ListingFormatOf(format, easyMode).FileExtension();
    if (!extension) return std::nullopt;
    return NamedByMoment(outputFolder, now, extension);
}

std::wstring ChangesFileName(std::wstring_view outputFolder, const SYSTEMTIME& now)
{
    return NamedByMoment(outputFolder, now, L"_changes.csv");
}

std::wstring NumberedName(std::wstring_view path, int number)
{
    std::size_t nameStart = path.find_last_of(L"\\/");
    nameStart = nameStart == std::wstring_view::npos ? 0 : nameStart + 1;
    std::size_t dot = path.rfind(L'.');
    if (dot == std::wstring_view::npos || dot < nameStart) dot = path.size();
    return std::wstring(path.substr(0, dot)) + L" (" + std::to_wstring(number) + L")" + std::wstring(path.substr(dot));
}

std::wstring OpenFreeName(OutputFile& file, std::wstring_view wanted, TextEncoding encoding)
{
    for (int number = 1; number <= kMostNumberedNames; ++number) {
        std::wstring path = number == 1 ? std::wstring(wanted) : NumberedName(wanted, number);
        if (OpenOutputFile(file, path, OpenMode::CreateNew, encoding)) return path;
        if (!NameTaken(path, file.LastError())) break;
    }
    return {};
}
