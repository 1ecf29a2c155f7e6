#include "ui/ListingThread.h"

#include <atomic>
#include <mutex>

#include "fs/UniqueHandle.h"

namespace {

struct EventHandleTraits {
    using Handle = HANDLE;
    static Handle None() { return nullptr; }
    static bool Close(Handle h) { return CloseHandle(h) != FALSE; }
};
using UniqueEvent = UniqueHandle<EventHandleTraits>;

}  // namespace

// What one run tells the window, from the run's thread.
class ListingThread::News : public RunHost {
public:
    News() : started_(CreateEventW(nullptr, TRUE, FALSE, nullptr)), finished_(CreateEventW(nullptr, TRUE, FALSE, nullptr))
    {
    }

    void ShowStatus(std::wstring_view text) override
    {
        std::lock_guard lock(mutex_);
        status_.assign(text);
        statusChanged_ = true;
    }
    void RunStarting() override
    {
        Started = true;
        SetEvent(started_.Get());
    }
    void ListingFinished(const RunResult& result) override
    {
        Result = result;
        Finished = true;
        SetEvent(finished_.Get());
        SetEvent(started_.Get());
    }
    std::optional<std::wstring> TakeStatus()
    {
        std::lock_guard lock(mutex_);
        if (!statusChanged_) return std::nullopt;
        statusChanged_ = false;
        return status_;
    }
    HANDLE StartedEvent() const { return started_.Get(); }
    HANDLE FinishedEvent() const { return finished_.Get(); }

    std::atomic<bool> Started{false};
    std::atomic<bool> Finished{false};
    std::atomic<bool> Ended{false};  // the thread has nothing left to do
    RunResult Result;  // set before Finished

private:
    UniqueEvent started_;  // set when started or finished
    UniqueEvent finished_;
    std::mutex mutex_;
    std::wstring status_;
    bool statusChanged_ = false;
};

ListingThread::~ListingThread()
{
    for (auto& [thread, news] : threads_) thread.join();
}

bool ListingThread::Finished() const { return !news_ || news_->Finished; }

HANDLE ListingThread::FinishedEvent() const { return news_ ? news_->FinishedEvent() : nullptr; }

const RunResult& ListingThread::Result() const
{
    static const RunResult none;
    return news_ ? news_->Result : none;
}

bool ListingThread::Start(std::function<RunResult(RunHost&)> run)
{
    JoinEnded();
    auto news = std::make_shared<News>();
    threads_.reserve(threads_.size() + 1);  // a started thread must find its place
    try {
        std::thread thread([news, run = std::move(run)] {
            run(*news);
            news->Ended = true;
        });
        threads_.emplace_back(std::move(thread), news);
    } catch (const std::system_error&) {
        return false;
    }
    news_ = std::move(news);
    return true;
}

bool ListingThread::AwaitStart()
{
    if (!news_) return false;
    WaitForSingleObject(news_->StartedEvent(), INFINITE);
    return news_->Started;
}

std::optional<std::wstring> ListingThread::TakeStatus() { return news_ ? news_->TakeStatus() : std::nullopt; }

void ListingThread::JoinEnded()
{
    std::erase_if(threads_, [](auto& entry) {
        if (!entry.second->Ended) return false;
        entry.first.join();
        return true;
    });
}
