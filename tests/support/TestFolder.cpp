#include "support/TestFolder.h"

#include <gtest/gtest.h>

#include <winioctl.h>

#include <atomic>
#include <cstring>
#include <memory>

std::wstring ExtendedPath(const std::wstring& path)
{
    if (path.starts_with(L"\\\\?\\")) return path;
    if (path.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + path.substr(2);
    return L"\\\\?\\" + path;
}

namespace {

struct HandleCloser {
    void operator()(HANDLE handle) const
    {
        if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    }
};
using File = std::unique_ptr<void, HandleCloser>;

File Open(const std::wstring& path, DWORD access, DWORD disposition, DWORD flags = 0)
{
    return File(CreateFileW(ExtendedPath(path).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, disposition,
                            flags, nullptr));
}

}  // namespace

TestFolder::TestFolder()
{
    static std::atomic<int> counter{0};
    wchar_t temp[MAX_PATH + 1];
    std::wstring base(temp, GetTempPathW(MAX_PATH + 1, temp));
    if (!base.ends_with(L'\\')) base += L'\\';
    path_ = base + L"qv-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetTickCount()) + L"-" +
            std::to_wstring(counter++);
    EXPECT_TRUE(CreateDirectoryW(path_.c_str(), nullptr)) << "cannot create the test folder";
}

TestFolder::~TestFolder() { RemoveTree(path_); }

std::wstring TestFolder::MakeFolder(std::wstring_view relative) const
{
    std::wstring full = *this / relative;
    EXPECT_TRUE(CreateDirectoryW(ExtendedPath(full).c_str(), nullptr)) << "cannot create folder";
    return full;
}

std::wstring TestFolder::MakeFile(std::wstring_view relative, std::string_view content) const
{
    std::wstring full = *this / relative;
    File file = Open(full, GENERIC_WRITE, CREATE_ALWAYS);
    DWORD written = 0;
    EXPECT_NE(file.get(), INVALID_HANDLE_VALUE) << "cannot create file";
    if (!content.empty()) WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    EXPECT_EQ(written, content.size());
    return full;
}

std::wstring TestFolder::MakeFileOfSize(std::wstring_view relative, std::uint64_t size) const
{
    std::wstring full = *this / relative;
    File file = Open(full, GENERIC_WRITE, CREATE_ALWAYS);
    EXPECT_NE(file.get(), INVALID_HANDLE_VALUE) << "cannot create file";
    // Sparse where the file system allows, so large sizes cost no disk space.
    DWORD returned = 0;
    DeviceIoControl(file.get(), FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(size);
    EXPECT_TRUE(SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN) && SetEndOfFile(file.get()));
    return full;
}

std::string ReadFileBytes(const std::wstring& path)
{
    File file = Open(path, GENERIC_READ, OPEN_EXISTING);
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    return bytes;
}

std::wstring FileText(const std::wstring& path)
{
    std::string bytes = ReadFileBytes(path);
    if (bytes.starts_with("\xEF\xBB\xBF")) return FromUtf8(std::string_view(bytes).substr(3));
    if (!bytes.starts_with("\xFF\xFE")) return L"<no mark>";
    std::wstring text(bytes.size() / 2 - 1, L'\0');
    std::memcpy(text.data(), bytes.data() + 2, text.size() * 2);
    return text;
}

std::wstring FromUtf8(std::string_view bytes)
{
    std::wstring text(bytes.size(), L'\0');
    text.resize(static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()),
                                                             text.data(), static_cast<int>(text.size()))));
    return text;
}

void SetModifiedTime(const std::wstring& path, const SYSTEMTIME& utc)
{
    FILETIME time;
    File file = Open(path, FILE_WRITE_ATTRIBUTES, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS);
    EXPECT_TRUE(SystemTimeToFileTime(&utc, &time) && SetFileTime(file.get(), nullptr, nullptr, &time)) << "no time set";
}

void RemoveTree(const std::wstring& path)
{
    std::wstring extended = ExtendedPath(path);
    WIN32_FIND_DATAW record;
    HANDLE find = FindFirstFileW((extended + L"\\*").c_str(), &record);
    for (bool more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileW(find, &record)) {
        std::wstring name = record.cFileName;
        if (name == L"." || name == L"..") continue;
        std::wstring child = ExtendedPath(path + L"\\" + name);
        SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
        bool folder = (record.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        // A link is removed, never followed: it may lead outside, or back up.
        if (folder && !(record.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
            RemoveTree(child);
        else if (folder)
            RemoveDirectoryW(child.c_str());
        else
            DeleteFileW(child.c_str());
    }
    if (find != INVALID_HANDLE_VALUE) FindClose(find);
    SetFileAttributesW(extended.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryW(extended.c_str());
}

// Under Wine a Unix shell makes in one step what takes the platform a call per folder, each
// looking up every level (a chain hundreds deep takes seconds), and the folder links and
// locked folders that Wine's own calls only pretend to make. The path is in single
// quotes for the shell; empty outside Wine.
std::wstring UnixPath(const std::wstring& path)
{
    using UnixNameOf = char*(CDECL*)(const wchar_t*);
    auto unixNameOf = reinterpret_cast<UnixNameOf>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* name = unixNameOf ? unixNameOf(path.c_str()) : nullptr;
    if (!name) return {};
    std::wstring text = FromUtf8(name);
    HeapFree(GetProcessHeap(), 0, name);
    return L"'" + text + L"'";
}

// Wine starts a Unix program without a handle to wait on: this waits until `path` exists
// (or, with appear false, is gone). A Unix program has no real process (its id is 0) and
// the handles may hold stray values; closing them could close one of ours.
bool RunUnixShell(const std::wstring& script, const std::wstring& path, bool appear)
{
    std::wstring command = L"/bin/sh -c \"" + script + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    if (process.dwProcessId != 0) CloseHandle(process.hThread), CloseHandle(process.hProcess);
    for (int wait = 0; wait < 1000; ++wait, Sleep(10))
        if ((GetFileAttributesW(ExtendedPath(path).c_str()) != INVALID_FILE_ATTRIBUTES) == appear) return true;
    return false;
}

bool LockFolder(const std::wstring& folder, bool locked)
{
    // The shell says it is done by making a file, away from the folders a test lists.
    static std::atomic<int> count{0};
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    std::wstring marker = std::wstring(temp) + L"qv-lock-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                          std::to_wstring(GetTickCount64()) + L"-" + std::to_wstring(++count);
    DeleteFileW(marker.c_str());
    std::wstring unix = UnixPath(folder);
    if (unix.empty()) return false;
    std::wstring unixMarker = UnixPath(marker);
    bool done = RunUnixShell(std::wstring(locked ? L"chmod 000 " : L"chmod 755 ") + unix + L" && touch " + unixMarker,
                             marker);
    DeleteFileW(marker.c_str());
    if (!done || !locked) return done;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return true;
    FindClose(search);  // read all the same: this process may read anything
    LockFolder(folder, false);
    return false;
}
