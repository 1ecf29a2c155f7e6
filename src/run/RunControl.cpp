#include "run/RunControl.h"

void RunControl::FinishNow()
{
    RequestStop();
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return finished_; });
}

void RunControl::SetFinished(bool finished)
{
    {
        std::lock_guard lock(mutex_);
        finished_ = finished;
    }
    changed_.notify_all();
}

RunControl::Session::Session(RunControl& control) : control_(control)
{
    control_.SetFinished(false);
    control_.running_ = true;
}

RunControl::Session::~Session()
{
    control_.SetFinished(true);
    control_.running_ = false;
}

void RunControl::Session::Finished() { control_.SetFinished(true); }
