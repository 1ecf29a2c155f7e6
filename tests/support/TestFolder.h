#pragma once
// A real folder under the temp folder, removed with everything in it at the end.
#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

class TestFolder {
public:
    TestFolder();
    ~TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    // Without a trailing "\".
    const std::wstring& Path() const { return path_; }
    std::wstring operator/(std::wstring_view relative) const { return path_ + L"\\" + std::wstring(relative); }

    // Each takes a path relative to the folder; parents must exist.
    std::wstring MakeFolder(std::wstring_view relative) const;
    std::wstring MakeFile(std::wstring_view relative, std::string_view content = {}) const;
    std::wstring MakeFileOfSize(std::wstring_view relative, std::uint64_t size) const;

private:
    std::wstring path_;
};

// Reads a whole file as bytes; empty when it cannot be read.
std::string ReadFileBytes(const std::wstring& path);
// The text of a UTF-16LE or UTF-8 file after its byte-order mark ("<no mark>" without one).
std::wstring FileText(const std::wstring& path);
std::wstring FromUtf8(std::string_view bytes);
// "\\?\" form, for paths of any length.
std::wstring ExtendedPath(const std::wstring& path);
void SetModifiedTime(const std::wstring& path, const SYSTEMTIME& utc);
void RemoveTree(const std::wstring& path);

// Under Wine: the folder's Unix path quoted for a shell; empty elsewhere.
std::wstring UnixPath(const std::wstring& path);
// Runs a Unix shell script under Wine and waits until `path` exists (appear) or is gone.
bool RunUnixShell(const std::wstring& script, const std::wstring& path, bool appear = true);
// Makes the folder unreadable (locked) or readable again. False where this cannot be
// done, or where this process could read the locked folder all the same.
bool LockFolder(const std::wstring& folder, bool locked);
