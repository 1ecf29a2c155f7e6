#include "settings/SafeWrite.h"

#include <windows.h>

#include "fs/Handles.h"
#include "fs/LongPath.h"
#include "fs/OutputFile.h"

namespace {

std::wstring PendingPath(std::wstring_view path) { return std::wstring(path) + L".new"; }

// Moves the finished pending file over the target; on failure the target is untouched.
unsigned long CommitPending(const std::wstring& pending, std::wstring_view path)
{
    // Write-through: the rename must not reach the disk before the new content does.
    if (MoveFileExW(LongPathArg(pending).c_str(), LongPathArg(path).c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return 0;
    unsigned long error = GetLastError();
    DeleteFileW(LongPathArg(pending).c_str());
    return error != 0 ? error : ERROR_WRITE_FAULT;
}

unsigned long Discard(const std::wstring& pending, unsigned long error)
{
    DeleteFileW(LongPathArg(pending).c_str());
    return error != 0 ? error : ERROR_WRITE_FAULT;
}

}  // namespace

unsigned long ReplaceWithLines(std::wstring_view path, const std::vector<std::wstring>& lines)
{
    std::wstring pending = PendingPath(path);
    OutputFile file;
    // Opening can fail after the file was created (the mark not written), so clean up.
    if (!OpenOutputFile(file, LongPathArg(pending))) return Discard(pending, file.LastError());
    for (const auto& line : lines) WriteOutputLine(file, line);
    CloseOutputFile(file);
    if (file.Failed()) return Discard(pending, file.LastError());
    return CommitPending(pending, path);
}

unsigned long ReplaceWithBytes(std::wstring_view path, const void* bytes, unsigned long size)
{
    std::wstring pending = PendingPath(path);
    UniqueFile file(CreateFileW(LongPathArg(pending).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_ARCHIVE, nullptr));
    if (!file) return GetLastError() != 0 ? GetLastError() : ERROR_WRITE_FAULT;
    DWORD written = 0;
    bool complete = WriteFile(file.Get(), bytes, size, &written, nullptr) && written == size;
    unsigned long error = complete ? 0 : GetLastError();
    if (!file.Reset() && complete) {
        complete = false;
        error = GetLastError();
    }
    if (!complete) return Discard(pending, error);
    return CommitPending(pending, path);
}

bool WriteResourceToFile(std::wstring_view resourceName, std::wstring_view path)
{
    std::wstring name(resourceName);
    HRSRC info = FindResourceW(nullptr, name.c_str(), L"FILE");
    if (!info) return false;
    HGLOBAL loaded = LoadResource(nullptr, info);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) return false;
    return ReplaceWithBytes(path, bytes, SizeofResource(nullptr, info)) == 0;
}
