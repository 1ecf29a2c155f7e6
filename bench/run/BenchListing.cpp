#include "BenchListing.h"

#include <windows.h>

#include "run/SaveOptions.h"

JobInfo JobFor(const std::wstring& root, std::int32_t sortKey)
{
    JobInfo job;
    job.SetRootFolder(root);
    job.SetFolderFilter(L"*");
    job.SetSortKey(sortKey);
    return job;
}

RunState PreparedState(const JobInfo& job)
{
    RunState state;
    SYSTEMTIME now{};
    GetLocalTime(&now);
    PrepareRun(state, job, {}, {}, now);
    return state;
}
