#pragma once
// The job and state of a benchmark's listing: files and folders of the whole tree.
#include <cstdint>
#include <string>

#include "run/JobInfo.h"
#include "run/RunState.h"

JobInfo JobFor(const std::wstring& root, std::int32_t sortKey);
// The state as Save leaves it before the run: no size or time bounds.
RunState PreparedState(const JobInfo& job);
