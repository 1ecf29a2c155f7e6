#include "settings/SafeWrite.h"

#include <windows.h>

#include "fs/FolderPath.h"
#include "fs/Handles.h"
#include "fs/LongPath.h"

namespace {

std::wstring PendingPath(std::wstring_view path) { return std::wstring(path) + L".new"; }

// A short write sets no error of its own.
unsigned long LastErrorOr(unsigned long fallback)
{
    DWORD error = GetLastError();
    return error != 0 ? error : fallback;
}

// Moves the finished pending file over the target; on failure the target is untouched.
unsigned long CommitPending(const std::wstring& pending, std::wstring_view path)
{
    // Write-through: the rename must not reach the disk before the new content does.
    if (MoveFileExW(LongPathArg(pending).c_str(), LongPathArg(path).c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return 0;
    unsigned long error = LastErrorOr(ERROR_WRITE_FAULT);
    DeleteFileW(LongPathArg(pending).c_str());
    return error;
}

unsigned long Discard(const std::wstring& pending, unsigned long error)
{
    DeleteFileW(LongPathArg(pending).c_str());
    return error;
}

// Overwrites the file itself. Its new length is claimed first, so that a full disk fails
// before any of the old content is lost.
unsigned long WriteInPlace(std::wstring_view path, const void* bytes, unsigned long size)
{
    UniqueFile file(CreateFileW(LongPathArg(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return LastErrorOr(ERROR_WRITE_FAULT);
    LARGE_INTEGER oldSize{}, newSize{}, start{};
    newSize.QuadPart = size;
    if (!GetFileSizeEx(file.Get(), &oldSize)) return LastErrorOr(ERROR_WRITE_FAULT);
    if (newSize.QuadPart > oldSize.QuadPart &&
        (!SetFilePointerEx(file.Get(), newSize, nullptr, FILE_BEGIN) || !SetEndOfFile(file.Get())))
        return LastErrorOr(ERROR_DISK_FULL);
    if (!SetFilePointerEx(file.Get(), start, nullptr, FILE_BEGIN) || !WriteAll(file.Get(), bytes, size) ||
        !SetEndOfFile(file.Get()))
        return LastErrorOr(ERROR_WRITE_FAULT);
    return file.Reset() ? 0 : LastErrorOr(ERROR_WRITE_FAULT);
}

// The lines as the bytes of a UTF-16LE text file.
std::wstring TextOfLines(const std::vector<std::wstring>& lines)
{
    std::wstring text(1, L'\xFEFF');
    for (const auto& line : lines) text.append(line).append(L"\r\n");
    return text;
}

unsigned long Replace(std::wstring_view path, const void* bytes, unsigned long size, bool overwriteIfNeeded)
{
    // Replacing would drop the attribute on some systems and fail on others.
    if (IsReadOnlyFile(path)) return ERROR_ACCESS_DENIED;
    std::wstring pending = PendingPath(path);
    UniqueFile file(CreateFileW(LongPathArg(pending).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_ARCHIVE, nullptr));
    if (!file) {
        unsigned long error = LastErrorOr(ERROR_WRITE_FAULT);
        return overwriteIfNeeded && IsExistingFile(path) ? WriteInPlace(path, bytes, size) : error;
    }
    bool complete = WriteAll(file.Get(), bytes, size);
    unsigned long error = complete ? 0 : LastErrorOr(ERROR_WRITE_FAULT);
    if (!file.Reset() && complete) {
        complete = false;
        error = LastErrorOr(ERROR_WRITE_FAULT);
    }
    if (!complete) return Discard(pending, error);
    return CommitPending(pending, path);
}

unsigned long ReplaceWithText(std::wstring_view path, const std::wstring& text, bool overwriteIfNeeded)
{
    // wchar_t is 16 bits on Windows, so the string's memory already is UTF-16LE.
    static_assert(sizeof(wchar_t) == 2);
    if (text.size() > MAXDWORD / 2) return ERROR_FILE_TOO_LARGE;
    return Replace(path, text.data(), static_cast<unsigned long>(text.size() * 2), overwriteIfNeeded);
}

}  // namespace

unsigned long ReplaceWithLines(std::wstring_view path, const std::vector<std::wstring>& lines)
{
    return ReplaceWithText(path, TextOfLines(lines), false);
}

unsigned long ReplaceOrOverwriteWithLines(std::wstring_view path, const std::vector<std::wstring>& lines)
{
    return ReplaceWithText(path, TextOfLines(lines), true);
}

unsigned long ReplaceWithBytes(std::wstring_view path, const void* bytes, unsigned long size)
{
    return Replace(path, bytes, size, false);
}

namespace {

// The bytes of the built-in resource of type "FILE"; null when it cannot be loaded.
const void* ResourceBytes(std::wstring_view resourceName, unsigned long& size)
{
    std::wstring name(resourceName);
    HRSRC info = FindResourceW(nullptr, name.c_str(), L"FILE");
    HGLOBAL loaded = info ? LoadResource(nullptr, info) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    size = bytes ? SizeofResource(nullptr, info) : 0;
    return bytes;
}

}  // namespace

bool WriteResourceToFile(std::wstring_view resourceName, std::wstring_view path)
{
    unsigned long size = 0;
    const void* bytes = ResourceBytes(resourceName, size);
    return bytes && ReplaceWithBytes(path, bytes, size) == 0;
}

std::wstring ResourceText(std::wstring_view resourceName)
{
    unsigned long size = 0;
    const auto* bytes = static_cast<const unsigned char*>(ResourceBytes(resourceName, size));
    std::wstring text;
    if (!bytes) return text;
    for (unsigned long i = 0; i + 1 < size; i += 2) text.push_back(static_cast<wchar_t>(bytes[i] | (bytes[i + 1] << 8)));
    if (text.starts_with(L'\xFEFF')) text.erase(0, 1);
    return text;
}

bool IsReadOnlyFile(std::wstring_view path)
{
    DWORD attributes = GetFileAttributesW(LongPathArg(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) &&
           !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}
