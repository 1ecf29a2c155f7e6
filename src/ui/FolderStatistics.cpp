#include "ui/FolderStatistics.h"

#include "fs/Enumeration.h"

std::optional<FolderStatistics> CountFolder(const std::wstring& folder, const std::function<bool()>& keepGoing)
{
    FolderStatistics statistics;
    EntryFind find;
    HANDLE handle = FindFirstEntry(find, folder, L"*.*");
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return statistics;
    int seen = 0;
    bool cut = false;
    while (find.Found) {
        const EntryInfo& entry = find.Entry;
        if (entry.IsFolder) {
            if (entry.Name != L"." && entry.Name != L"..") ++statistics.Folders;
        } else {
            ++statistics.Files;
            statistics.Size += entry.Size;
            statistics.CompressedSize += entry.CompressedSize;
        }
        if (++seen % 11 == 0 && keepGoing && !keepGoing()) {
            cut = true;
            break;
        }
        if (!FindNextEntry(find)) break;
    }
    CloseEntryFind(find);
    if (cut) return std::nullopt;
    return statistics;
}

FolderCounter::~FolderCounter()
{
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
    }
    asked_.notify_all();
    if (thread_.joinable()) thread_.join();
}

void FolderCounter::Count(HWND window, UINT message, unsigned request, std::wstring folder)
{
    {
        std::lock_guard lock(mutex_);
        window_ = window;
        message_ = message;
        folder_ = std::move(folder);
        pending_ = true;
        latest_ = request;
    }
    asked_.notify_all();
    if (!thread_.joinable()) {
        try {
            thread_ = std::thread([this] { Loop(); });
        } catch (const std::system_error&) {
            // No thread to spare: the statistics stay as they are.
        }
    }
}

std::optional<FolderStatistics> FolderCounter::Result(unsigned request)
{
    std::lock_guard lock(mutex_);
    if (request != doneRequest_) return std::nullopt;
    return done_;
}

void FolderCounter::Loop()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        asked_.wait(lock, [this] { return pending_ || quit_; });
        if (quit_) return;
        pending_ = false;
        unsigned request = latest_;
        std::wstring folder = folder_;
        lock.unlock();
        auto stillWanted = [this, request] { return latest_ == request && !quit_; };
        std::optional<FolderStatistics> counted = CountFolder(folder, stillWanted);
        lock.lock();
        if (!counted || latest_ != request) continue;
        doneRequest_ = request;
        done_ = counted;
        PostMessageW(window_, message_, request, 0);
    }
}
