#pragma once
// Helpers shared by the settings tests: UTF-16 files built line by line, the default
// texts as written down by hand, and ways to make writes fail.
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

// The byte-order mark, then the lines joined by CR LF (and one after the last if asked).
std::string Utf16Text(const std::vector<std::wstring>& lines, bool endLastLine = true);
// The lines of the built-in Setting.ini and FileType.txt.
std::vector<std::wstring> DefaultSettingLines();
std::vector<std::wstring> DefaultFileTypeLines();
// Same list with the line starting with `prefix` replaced by `line`.
std::vector<std::wstring> ReplaceLine(std::vector<std::wstring> lines, std::wstring_view prefix, std::wstring line);

// A file held open without sharing, so nobody else can open, replace or delete it.
class LockedFile {
public:
    explicit LockedFile(const std::wstring& path);
    ~LockedFile();
    LockedFile(const LockedFile&) = delete;
    LockedFile& operator=(const LockedFile&) = delete;
    bool Locked() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

// A folder on a tiny volume provided by the test script; empty when there is none.
std::wstring SmallVolumeFolder();
