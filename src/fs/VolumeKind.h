#pragma once
// What kind of volume a folder lies on, which decides how many directory requests are
// worth having in flight at once: a share answers each with a network round trip, a
// solid-state disk serves several at once, a spinning disk only seeks more.
#include <string_view>

enum class VolumeKind {
    Network,       // a share, or a drive letter mapped to one
    NoSeekPenalty,  // a local disk that reads anywhere as fast (solid state)
    SeekPenalty,   // a local disk with moving heads
    Unknown,       // the platform would not say
};

VolumeKind VolumeKindOf(std::wstring_view folder);
