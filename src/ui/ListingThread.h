#pragma once
// A listing run on a thread of its own, so that the window's thread only shows its
// progress, answers input and stops it. The run's news (started, status, finished) wait
// here for the window's thread to take them. A finished run's thread may still wait for a
// reader inside a platform call; the next run does not wait for it, the end of the
// program does.
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "run/ListingRun.h"

class ListingThread {
public:
    ListingThread() = default;
    ~ListingThread();
    ListingThread(const ListingThread&) = delete;
    ListingThread& operator=(const ListingThread&) = delete;

    // Attributes (of the latest run)
    bool Finished() const;
    // Signalled once the listing is finished.
    HANDLE FinishedEvent() const;
    // After Finished.
    const RunResult& Result() const;

    // Operations
    // Runs `run` on a new thread, giving it the host it reports to. `run` owns what the
    // listing uses, since it may outlive the window's wait. False when no thread could be
    // started.
    bool Start(std::function<RunResult(RunHost&)> run);
    // Waits until the run has created its file (true) or finished without one (false).
    bool AwaitStart();
    // The latest status text, once per change.
    std::optional<std::wstring> TakeStatus();

private:
    class News;
    void JoinEnded();

    std::shared_ptr<News> news_;
    std::vector<std::pair<std::thread, std::shared_ptr<News>>> threads_;
};
