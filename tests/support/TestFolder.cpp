#include "support/TestFolder.h"

#include <gtest/gtest.h>

#include <winioctl.h>

#include <atomic>
#include <vector>

namespace {

struct FileCloser {
    HANDLE handle;
    ~FileCloser()
    {
        if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    }
};

HANDLE CreateForWrite(const std::wstring& path)
{
    return CreateFileW(ExtendedPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

}  // namespace

std::wstring ExtendedPath(const std::wstring& path)
{
    if (path.starts_with(L"\\\\?\\")) return path;
    if (path.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + path.substr(2);
    return L"\\\\?\\" + path;
}

TestFolder::TestFolder()
{
    static std::atomic<int> counter{0};
    wchar_t temp[MAX_PATH + 1];
    DWORD length = GetTempPathW(MAX_PATH + 1, temp);
    std::wstring base(temp, length);
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
    FileCloser file{CreateForWrite(full)};
    EXPECT_NE(file.handle, INVALID_HANDLE_VALUE) << "cannot create file";
    if (file.handle == INVALID_HANDLE_VALUE) return full;
    DWORD written = 0;
    if (!content.empty()) WriteFile(file.handle, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    EXPECT_EQ(written, content.size());
    return full;
}

std::wstring TestFolder::MakeFileOfSize(std::wstring_view relative, std::uint64_t size) const
{
    std::wstring full = *this / relative;
    FileCloser file{CreateForWrite(full)};
    EXPECT_NE(file.handle, INVALID_HANDLE_VALUE) << "cannot create file";
    if (file.handle == INVALID_HANDLE_VALUE) return full;
    // Sparse where the file system allows, so large sizes cost no disk space.
    DWORD returned = 0;
    DeviceIoControl(file.handle, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(size);
    EXPECT_TRUE(SetFilePointerEx(file.handle, end, nullptr, FILE_BEGIN));
    EXPECT_TRUE(SetEndOfFile(file.handle));
    return full;
}

std::string ReadFileBytes(const std::wstring& path)
{
    FileCloser file{CreateFileW(ExtendedPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr)};
    if (file.handle == INVALID_HANDLE_VALUE) return {};
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file.handle, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    return bytes;
}

void SetModifiedTime(const std::wstring& path, const SYSTEMTIME& utc)
{
    FILETIME time;
    ASSERT_TRUE(SystemTimeToFileTime(&utc, &time));
    FileCloser file{CreateFileW(ExtendedPath(path).c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr)};
    ASSERT_NE(file.handle, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(SetFileTime(file.handle, nullptr, nullptr, &time));
}

void RemoveTree(const std::wstring& path)
{
    std::wstring extended = ExtendedPath(path);
    WIN32_FIND_DATAW record;
    HANDLE find = FindFirstFileW((extended + L"\\*").c_str(), &record);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = record.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring child = path + L"\\" + name;
            SetFileAttributesW(ExtendedPath(child).c_str(), FILE_ATTRIBUTE_NORMAL);
            bool folder = (record.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            bool link = (record.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
            // A link is removed, never followed: it may lead outside, or back up.
            if (folder && link)
                RemoveDirectoryW(ExtendedPath(child).c_str());
            else if (folder)
                RemoveTree(child);
            else
                DeleteFileW(ExtendedPath(child).c_str());
        } while (FindNextFileW(find, &record));
        FindClose(find);
    }
    SetFileAttributesW(extended.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryW(extended.c_str());
}
