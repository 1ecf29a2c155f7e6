#include "fs/OutputFile.h"

#include <windows.h>

#include <string>

#include "fs/Utf8.h"

void OutputFile::Fail()
{
    lastError_ = GetLastError();
    if (lastError_ == 0) lastError_ = ERROR_WRITE_FAULT;  // a short write sets no error
    failed_ = true;
    handle_.Reset();
}

bool OpenOutputFile(OutputFile& file, std::wstring_view path, OpenMode mode, TextEncoding encoding)
{
    file.handle_.Reset();
    file.failed_ = false;
    file.lastError_ = 0;
    file.encoding_ = encoding;
    std::wstring name(path);
    DWORD disposition = mode == OpenMode::CreateNew ? CREATE_NEW : CREATE_ALWAYS;
    file.handle_.Reset(CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, disposition,
                                   FILE_ATTRIBUTE_ARCHIVE, nullptr));
    if (!file.handle_) {
        file.lastError_ = GetLastError();
        file.failed_ = true;
        return false;
    }
    static const unsigned char kUtf16Mark[] = {0xFF, 0xFE};
    static const unsigned char kUtf8Mark[] = {0xEF, 0xBB, 0xBF};
    bool utf8 = encoding == TextEncoding::Utf8;
    if (!SetEndOfFile(file.handle_.Get()) ||
        !WriteAll(file.handle_.Get(), utf8 ? kUtf8Mark : kUtf16Mark, utf8 ? 3 : 2)) {
        file.Fail();
        return false;
    }
    return true;
}

void WriteOutputLine(OutputFile& file, std::wstring_view text)
{
    if (!file.handle_) return;
    if (file.encoding_ == TextEncoding::Utf8) {
        file.bytes_.clear();
        AppendUtf8(file.bytes_, text);
        file.bytes_ += "\r\n";
        if (file.bytes_.size() > MAXDWORD ||
            !WriteAll(file.handle_.Get(), file.bytes_.data(), static_cast<DWORD>(file.bytes_.size())))
            file.Fail();
        return;
    }
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
