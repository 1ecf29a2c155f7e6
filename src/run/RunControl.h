#pragma once
// How a listing is ended early. Its owner (the window, or the command line with its
// Ctrl+C handler) asks for a stop and hands it to RunListing; the walk reads it between
// its steps. While the listing runs, it can also complete the listing file at once, for
// when the process may be ended before the walk has returned.
#include <atomic>
#include <functional>

class RunControl {
public:
    RunControl() = default;
    RunControl(const RunControl&) = delete;
    RunControl& operator=(const RunControl&) = delete;

    // Attributes
    bool StopRequested() const { return stop_; }
    // A listing runs with this control: RunListing has created its file and not returned.
    bool Running() const { return static_cast<bool>(finish_); }

    // Operations
    // Safe from any thread: a console's Ctrl+C arrives on a thread of its own.
    void RequestStop() { stop_ = true; }
    // Before the next run.
    void Reset() { stop_ = false; }
    // Asks the walk to stop, writes the closing lines and closes the file now; whatever
    // the unwinding walk writes after that goes nowhere. Nothing when no listing runs.
    void FinishNow();

    // How the running listing completes its file at once; RunListing holds one while
    // it runs.
    class FinishHook {
    public:
        FinishHook(RunControl& control, std::function<void()> finish);
        ~FinishHook();
        FinishHook(const FinishHook&) = delete;
        FinishHook& operator=(const FinishHook&) = delete;

    private:
        RunControl& control_;
    };

private:
    std::atomic<bool> stop_{false};
    std::function<void()> finish_;
};
