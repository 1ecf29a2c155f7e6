#include "fs/InputFile.h"

#include <windows.h>

#include <algorithm>
#include <string>

#include "fs/LongPath.h"

bool InputFile::Open(std::wstring_view path)
{
    lastError_ = 0;
    handle_.Reset(CreateFileW(LongPathArg(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!handle_) lastError_ = GetLastError();
    return handle_.Valid();
}

std::size_t InputFile::Read(char* buffer, std::size_t size)
{
    if (!handle_) return 0;
    DWORD read = 0;
    if (!ReadFile(handle_.Get(), buffer, static_cast<DWORD>(std::min<std::size_t>(size, MAXDWORD)), &read, nullptr)) {
        lastError_ = GetLastError();
        if (lastError_ == 0) lastError_ = ERROR_READ_FAULT;
        handle_.Reset();
        return 0;
    }
    return read;
}
