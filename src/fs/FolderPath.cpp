#include "fs/FolderPath.h"

#include <windows.h>

#include <cwctype>

#include "fs/Handles.h"
#include "fs/LongPath.h"

std::wstring FullPathName(const std::wstring& path)
{
    std::wstring full(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 2; ++attempt) {
        DWORD length = GetFullPathNameW(LongPathArg(path).c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (length == 0) return {};
        if (length < full.size()) {
            full.resize(length);
            return full;
        }
        full.assign(length, L'\0');
    }
    return {};
}

bool IsExistingFile(std::wstring_view path)
{
    DWORD attributes = GetFileAttributesW(LongPathArg(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsExistingFolder(std::wstring_view path)
{
    DWORD attributes = GetFileAttributesW(LongPathArg(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

namespace {

// "\\?\C:\x" and "\\?\UNC\server\share\x" in their plain forms.
std::wstring WithoutExtendedPrefix(std::wstring path)
{
    if (path.starts_with(L"\\\\?\\UNC\\")) return L"\\\\" + path.substr(8);
    if (path.starts_with(L"\\\\?\\")) return path.substr(4);
    return path;
}

// Length of the root ("C:\" or "\\server\share\") that starts a full path; 0 for none.
std::size_t RootLength(const std::wstring& full)
{
    bool letter = full.size() >= 3 && ((full[0] >= L'A' && full[0] <= L'Z') || (full[0] >= L'a' && full[0] <= L'z'));
    if (letter && full[1] == L':' && full[2] == L'\\') return 3;
    if (!full.starts_with(L"\\\\") || full.starts_with(L"\\\\.\\")) return 0;
    std::size_t server = full.find(L'\\', 2);
    if (server == std::wstring::npos || server == 2) return 0;
    std::size_t share = full.find(L'\\', server + 1);
    if (share == server + 1) return 0;
    return share == std::wstring::npos ? full.size() : share + 1;
}

}  // namespace

std::optional<std::wstring> ExistingFolderPath(std::wstring_view path)
{
    std::wstring given = WithoutExtendedPrefix(std::wstring(path));
    if (given.empty() || given.find_first_of(L"*?\"<>|") != std::wstring::npos) return std::nullopt;
    // A long path is resolved in its extended form, which comes back with the prefix.
    std::wstring full = WithoutExtendedPrefix(FullPathName(given));
    std::size_t rootLength = RootLength(full);
    if (rootLength == 0) return std::nullopt;

    std::wstring result = full.substr(0, rootLength);
    if (!result.ends_with(L'\\')) result += L'\\';
    if (result[1] == L':') result[0] = static_cast<wchar_t>(towupper(result[0]));
    if (!IsExistingFolder(result)) return std::nullopt;
    // Each name is looked up on its own: the entry found carries the long name as stored.
    for (std::size_t start = rootLength; start < full.size();) {
        std::size_t end = full.find(L'\\', start);
        if (end == std::wstring::npos) end = full.size();
        if (end > start) {
            WIN32_FIND_DATAW found{};
            UniqueFind find(FindFirstFileW(LongPathArg(result + full.substr(start, end - start)).c_str(), &found));
            if (!find || !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return std::nullopt;
            result += UpToNul(std::wstring_view(found.cFileName, MAX_PATH));
            result += L'\\';
        }
        start = end + 1;
    }
    return result;
}
