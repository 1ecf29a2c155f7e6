#pragma once
// Which folder a path leads to, whatever links, junctions or mount points lie on the way.
#include <cstdint>
#include <optional>
#include <string_view>

struct FolderIdentity {
    std::uint32_t VolumeSerial = 0;
    std::uint64_t FileIndex = 0;
    bool operator==(const FolderIdentity&) const = default;
};

// Empty when the folder cannot be opened or queried.
std::optional<FolderIdentity> ReadFolderIdentity(std::wstring_view path);
