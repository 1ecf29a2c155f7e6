#include "fs/LongPath.h"

#include <windows.h>

#include <vector>

namespace {

// MAX_PATH counts the terminating NUL, so 259 characters is the longest plain path.
constexpr std::size_t kMaxPlainPath = MAX_PATH - 1;

bool StartsWithFtp(std::wstring_view spec)
{
    if (spec.size() < 6) return false;
    return CompareStringOrdinal(spec.data(), 6, L"ftp://", 6, TRUE) == CSTR_EQUAL;
}

std::wstring AfterLastSeparator(std::wstring_view path)
{
    std::size_t p = LastSeparatorBeforeEnd(path);
    return std::wstring(p == std::wstring_view::npos ? path : path.substr(p + 1));
}

}  // namespace

std::wstring LongPathArg(std::wstring_view path)
{
    if (path.size() <= kMaxPlainPath) return std::wstring(path);
    if (path.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + std::wstring(path.substr(2));
    return L"\\\\?\\" + std::wstring(path);
}

std::wstring EntryPathArg(std::wstring_view path)
{
    bool bareDrive = path.size() == 2 && path[1] == L':';
    if (!bareDrive) return LongPathArg(path);
    return std::wstring(path) + L'\\';
}

std::wstring_view UpToNul(std::wstring_view text) { return text.substr(0, text.find(L'\0')); }

std::wstring TrimAtNul(std::wstring_view text) { return std::wstring(UpToNul(text)); }

std::size_t LastSeparatorBeforeEnd(std::wstring_view path)
{
    if (path.size() < 2) return std::wstring_view::npos;
    return path.rfind(L'\\', path.size() - 2);
}

void SplitSearchPath(std::wstring_view spec, EntryInfo& entry)
{
    if (StartsWithFtp(spec)) {
        entry.PathKind = PathKinds::Ftp;
        return;
    }
    entry.PathKind = spec.starts_with(L"\\\\") ? PathKinds::Unc : PathKinds::Local;
    std::size_t p = LastSeparatorBeforeEnd(spec);
    std::size_t count = p == std::wstring_view::npos ? 0 : p + 1;
    if (entry.PathKind == PathKinds::Unc && count <= 2) count = 0;  // "\\" alone is no folder
    entry.Folder.assign(spec.substr(0, count));
}

void CompleteEntryNames(EntryInfo& entry)
{
    if (entry.Name == L"." || entry.Name == L"..") {
        entry.Extension.clear();
        entry.FullPath = entry.Folder + entry.Name;
        entry.ShortName = entry.Name;
        entry.ShortNameKnown = true;
        return;
    }
    if (entry.Name.empty()) {
        entry.Name = AfterLastSeparator(entry.FullPath);
        if (entry.Name.ends_with(L'\\')) entry.Name.pop_back();
    }
    std::size_t dot = entry.Name.rfind(L'.');
    if (dot == std::wstring::npos)
        entry.Extension.clear();
    else
        entry.Extension.assign(entry.Name, dot + 1);
    entry.FullPath.reserve(entry.Folder.size() + entry.Name.size());
    entry.FullPath.assign(entry.Folder).append(entry.Name);
    entry.ShortNameKnown = !entry.ShortName.empty();
}

void SetEntryKind(EntryInfo& entry)
{
    entry.IsFolder = (entry.Attributes & AttributeBits::Directory) != 0;
    entry.IsFile = !entry.IsFolder;
}

const std::wstring& EntryShortName(EntryInfo& entry)
{
    if (entry.ShortNameKnown) return entry.ShortName;
    // In and out share one buffer, sized to the argument: when the call fails or
    // the short form would not fit, the buffer still holds the long path.
    std::wstring arg = LongPathArg(entry.FullPath);
    std::vector<wchar_t> buffer(arg.begin(), arg.end());
    buffer.push_back(L'\0');
    GetShortPathNameW(buffer.data(), buffer.data(), static_cast<DWORD>(buffer.size()));
    entry.ShortName = AfterLastSeparator(TrimAtNul(std::wstring_view(buffer.data(), buffer.size())));
    entry.ShortNameKnown = true;
    return entry.ShortName;
}
