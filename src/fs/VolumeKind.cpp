#include "fs/VolumeKind.h"

#include <windows.h>
#include <winioctl.h>

#include <string>

#include "fs/Handles.h"
#include "fs/LongPath.h"

namespace {

bool IsSharePath(std::wstring_view path)
{
    if (path.starts_with(L"\\\\?\\UNC\\")) return true;
    // "\\?\C:\" and "\\.\device" are local forms; "\\server\share" is not.
    return path.starts_with(L"\\\\") && !path.starts_with(L"\\\\?\\") && !path.starts_with(L"\\\\.\\");
}

// The root of the volume holding the folder ("C:\", or the folder a volume is mounted on).
std::wstring VolumeRoot(std::wstring_view folder)
{
    wchar_t root[MAX_PATH + 1] = {};
    if (!GetVolumePathNameW(LongPathArg(folder).c_str(), root, MAX_PATH)) return {};
    return root;
}

VolumeKind SeekPenaltyOf(const std::wstring& root)
{
    wchar_t volume[MAX_PATH + 1] = {};
    if (!GetVolumeNameForVolumeMountPointW(root.c_str(), volume, MAX_PATH)) return VolumeKind::Unknown;
    std::wstring device(volume);
    if (device.ends_with(L'\\')) device.pop_back();  // the volume itself, not its root folder
    // No access rights are needed to ask for the device's properties.
    UniqueFile handle(CreateFileW(device.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                  nullptr));
    if (!handle) return VolumeKind::Unknown;
    STORAGE_PROPERTY_QUERY query{};
    query.PropertyId = StorageDeviceSeekPenaltyProperty;
    query.QueryType = PropertyStandardQuery;
    DEVICE_SEEK_PENALTY_DESCRIPTOR answer{};
    DWORD size = 0;
    if (!DeviceIoControl(handle.Get(), IOCTL_STORAGE_QUERY_PROPERTY, &query, sizeof(query), &answer, sizeof(answer),
                         &size, nullptr) ||
        size < sizeof(answer))
        return VolumeKind::Unknown;
    return answer.IncursSeekPenalty ? VolumeKind::SeekPenalty : VolumeKind::NoSeekPenalty;
}

}  // namespace

VolumeKind VolumeKindOf(std::wstring_view folder)
{
    if (IsSharePath(folder)) return VolumeKind::Network;
    std::wstring root = VolumeRoot(folder);
    if (root.empty()) return VolumeKind::Unknown;
    if (GetDriveTypeW(root.c_str()) == DRIVE_REMOTE) return VolumeKind::Network;
    return SeekPenaltyOf(root);
}
