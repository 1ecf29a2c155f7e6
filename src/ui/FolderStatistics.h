#pragma once
// What the main window shows about the selected folder: the sizes of the files directly
// in it and the number of files and subfolders, counted on a thread of its own.
#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "fs/ExactSize.h"

struct FolderStatistics {
    int Folders = 0;
    int Files = 0;
    ExactSize Size;
    ExactSize CompressedSize;
};

// folder ends with "\". keepGoing runs after every eleventh entry; when it answers false
// the count is cut short and there is no result.
std::optional<FolderStatistics> CountFolder(const std::wstring& folder, const std::function<bool()>& keepGoing);

// Counts the latest folder asked for, one at a time; a count overtaken by a newer request
// stops and is dropped. When a count is done, `message` is posted to the window with the
// request's number as wParam.
class FolderCounter {
public:
    FolderCounter() = default;
    // Stops the count and waits for the thread (a platform call under way ends first).
    ~FolderCounter();
    FolderCounter(const FolderCounter&) = delete;
    FolderCounter& operator=(const FolderCounter&) = delete;

    // request: a number that grows with every selection.
    void Count(HWND window, UINT message, unsigned request, std::wstring folder);
    // The result of that request, once its message has come.
    std::optional<FolderStatistics> Result(unsigned request);

private:
    void Loop();

    std::mutex mutex_;
    std::condition_variable asked_;
    std::thread thread_;
    HWND window_ = nullptr;
    UINT message_ = 0;
    std::atomic<unsigned> latest_{0};
    std::wstring folder_;
    bool pending_ = false;
    std::atomic<bool> quit_{false};
    unsigned doneRequest_ = 0;
    std::optional<FolderStatistics> done_;
};
