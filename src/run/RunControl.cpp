#include "run/RunControl.h"

void RunControl::FinishNow()
{
    RequestStop();
    if (finish_) finish_();
}

RunControl::FinishHook::FinishHook(RunControl& control, std::function<void()> finish) : control_(control)
{
    control_.finish_ = std::move(finish);
}

RunControl::FinishHook::~FinishHook() { control_.finish_ = nullptr; }
