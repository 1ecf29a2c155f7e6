#include "fs/FolderIdentity.h"

#include <windows.h>

#include "fs/Handles.h"
#include "fs/LongPath.h"

std::optional<FolderIdentity> ReadFolderIdentity(std::wstring_view path)
{
    // Backup semantics are what lets CreateFileW open a folder; sharing everything
    // keeps the open from getting in anyone's way.
    UniqueFile folder(CreateFileW(EntryPathArg(path).c_str(), FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!folder) return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(folder.Get(), &info)) return std::nullopt;
    return FolderIdentity{info.dwVolumeSerialNumber,
                          (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}
