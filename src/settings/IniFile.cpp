#include "settings/IniFile.h"

#include <windows.h>

#include <algorithm>

#include "fs/LongPath.h"

namespace {

// A value can be no longer than its file; this only keeps a damaged, enormous file from
// exhausting memory (32 MB of text).
constexpr DWORD kMaxBufferChars = 16u * 1024 * 1024;

// Calls read(buffer, size) with a growing buffer while the result fills it; `slack` is
// how far short of the size a cut result comes (1 for a value, 2 for a name list).
template <typename Read>
std::wstring ReadGrowing(Read read, DWORD slack)
{
    std::wstring buffer(128, L'\0');
    for (;;) {
        auto size = static_cast<DWORD>(buffer.size());
        DWORD got = read(buffer.data(), size);
        if (got + slack < size || size >= kMaxBufferChars) {
            buffer.resize(std::min(got, size));
            return buffer;
        }
        buffer.assign(static_cast<std::size_t>(size) * 2, L'\0');
    }
}

}  // namespace

std::wstring ReadIniValue(std::wstring_view section, std::wstring_view key, std::wstring_view file)
{
    std::wstring sectionName(section), keyName(key), path(file);
    std::wstring value = ReadGrowing(
        [&](wchar_t* buffer, DWORD size) {
            return GetPrivateProfileStringW(sectionName.c_str(), keyName.c_str(), L"", buffer, size, path.c_str());
        },
        1);
    std::erase(value, L'\0');
    return value;
}

std::vector<std::wstring> ReadIniKeyNames(std::wstring_view section, std::wstring_view file)
{
    std::wstring sectionName(section), path(file);
    // With no key name the reader returns every key name, each ended by a NUL.
    std::wstring list = ReadGrowing(
        [&](wchar_t* buffer, DWORD size) {
            return GetPrivateProfileStringW(sectionName.c_str(), nullptr, L"", buffer, size, path.c_str());
        },
        2);
    std::vector<std::wstring> names;
    std::size_t start = 0;
    while (start < list.size()) {
        std::size_t end = list.find(L'\0', start);
        if (end == std::wstring::npos) end = list.size();
        if (end > start) names.emplace_back(list, start, end - start);
        start = end + 1;
    }
    return names;
}

bool FileExists(std::wstring_view path)
{
    if (path.empty()) return false;
    return GetFileAttributesW(LongPathArg(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring FileInFolder(std::wstring_view folder, std::wstring_view name)
{
    std::wstring path(folder);
    if (!path.ends_with(L'\\')) path += L'\\';
    return path.append(name);
}
