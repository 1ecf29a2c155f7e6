#pragma once
// How a listing is ended early. Its owner (the window, or the command line with its
// Ctrl+C handler) asks for a stop and hands it to RunListing; the walk and its readers
// read it between their steps. The listing may run on another thread than its owner's:
// every member is safe from any thread.
#include <atomic>
#include <condition_variable>
#include <mutex>

class RunControl {
public:
    RunControl() = default;
    RunControl(const RunControl&) = delete;
    RunControl& operator=(const RunControl&) = delete;

    // Attributes
    bool StopRequested() const { return stop_; }
    // A listing runs with this control: RunListing has created its file and not returned.
    bool Running() const { return running_; }

    // Operations
    void RequestStop() { stop_ = true; }
    // Before the next run.
    void Reset() { stop_ = false; }
    // Asks the walk to stop and returns once the listing file has its closing lines and is
    // closed (at once when no listing runs). Not from the thread that runs the listing.
    void FinishNow();

    // What RunListing tells the control; one Session lives while a listing runs.
    class Session {
    public:
        explicit Session(RunControl& control);
        ~Session();
        Session(const Session&) = delete;
        Session& operator=(const Session&) = delete;
        // The file is complete and closed; readers may still be inside a call.
        void Finished();

    private:
        RunControl& control_;
    };

private:
    void SetFinished(bool finished);

    std::atomic<bool> stop_{false};
    std::atomic<bool> running_{false};
    std::mutex mutex_;
    std::condition_variable changed_;
    bool finished_ = true;  // no listing file is open
};
