#include "fs/OutputFile.h"

#include <windows.h>

#include <string>

void OutputFile::Fail()
{
    lastError_ = GetLastError();
    if (lastError_ == 0) lastError_ = ERROR_WRITE_FAULT;  // a short write sets no error
    failed_ = true;
    handle_.Reset();
}

bool OpenOutputFile(OutputFile& file, std::wstring_view path, OpenMode mode)
{
    file.handle_.Reset();
    file.failed_ = false;
    file.lastError_ = 0;
    std::wstring name(path);
    DWORD disposition = mode == OpenMode::CreateNew ? CREATE_NEW : CREATE_ALWAYS;
    file.handle_.Reset(CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, disposition,
                                   FILE_ATTRIBUTE_ARCHIVE, nullptr));
    if (!file.handle_) {
        file.lastError_ = GetLastError();
        file.failed_ = true;
        return false;
    }
    static const unsigned char kByteOrderMark[] = {0xFF, 0xFE};
    if (!SetEndOfFile(file.handle_.Get()) || !WriteAll(file.handle_.Get(), kByteOrderMark, 2)) {
        file.Fail();
        return false;
    }
    return true;
}

void WriteOutputLine(OutputFile& file, std::wstring_view text)
{
    if (!file.handle_) return;
    std::wstring line;
    line.reserve(text.size() + 2);
    line.append(text).append(L"\r\n");
    // wchar_t is 16 bits on Windows, so the string's memory already is UTF-16LE.
    static_assert(sizeof(wchar_t) == 2);
    if (line.size() > MAXDWORD / 2 || !WriteAll(file.handle_.Get(), line.data(), static_cast<DWORD>(line.size() * 2)))
        file.Fail();
}

void CloseOutputFile(OutputFile& file)
{
    if (!file.handle_) return;
    SetEndOfFile(file.handle_.Get());
    file.handle_.Reset();
}
