#pragma once
// Where a long run of the command line tells how far it has got (the console shows it).
#include <cstdint>
#include <string_view>

class ProgressReport {
public:
    virtual ~ProgressReport() = default;
    // entries and folders: so far; item: what is being read now. Called often and from
    // any thread, so it must be cheap and is free to show only some of the calls.
    virtual void Report(std::uint64_t entries, std::uint64_t folders, std::wstring_view item) = 0;
};
