#include "run/OptionValues.h"

#include <iterator>

namespace {

// By the index of cboSortSave: none, name, extension, size, then the three times.
const std::int32_t kSortKeys[] = {0,
                                  FieldCodes::Name,
                                  FieldCodes::Extension,
                                  FieldCodes::Size,
                                  FieldCodes::Created,
                                  FieldCodes::Modified,
                                  FieldCodes::Accessed};

}  // namespace

OptionValues StartOptionValues(const SYSTEMTIME& nowLocal)
{
    OptionValues values;
    values.Saved.SaveMode.Selected = ListingModeOf(JobInfo());
    values.ClsDate1 = values.ClsDate2 = OleDateFromSystemTime(nowLocal).value_or(0);
    return values;
}

int ListingModeOf(const JobInfo& job)
{
    if (job.ShowFiles() && job.ShowFolders()) return SaveModes::Both;
    return job.ShowFolders() ? SaveModes::FoldersOnly : SaveModes::FilesOnly;
}

void ApplyListingMode(JobInfo& job, int saveMode)
{
    switch (saveMode) {
    case SaveModes::FilesOnly: job.SetShowFiles(true), job.SetShowFolders(false); break;
    case SaveModes::FoldersOnly: job.SetShowFiles(false), job.SetShowFolders(true); break;
    case SaveModes::Both: job.SetShowFiles(true), job.SetShowFolders(true); break;
    default: break;
    }
}

void ApplyOptionsToJob(JobInfo& job, const OptionValues& values, const FileTypeTable& fileTypes)
{
    const SettingsModel& saved = values.Saved;
    ApplyListingMode(job, saved.SaveMode.Selected);
    job.SetIncludeSubFolders(saved.ScanSubFolders);
    job.SetIncludeSystem(saved.ScanSystem);
    job.SetIncludeHidden(saved.ScanHidden);
    job.SetIncludeReadOnly(saved.ScanReadOnly);
    int sort = saved.SortSave.Selected;
    if (sort >= 0 && sort < static_cast<int>(std::size(kSortKeys))) job.SetSortKey(kSortKeys[sort]);
    job.SetSortOrder(values.optAscSave0 ? 0 : 1);
    int type = saved.SaveFilter.Selected;
    if (type >= 0 && static_cast<std::size_t>(type) < fileTypes.size())
        job.SetFileFilter(fileTypes[static_cast<std::size_t>(type)].Type);
    else
        job.SetFileFilter(saved.SaveFilter.Text);
    job.SetFolderFilter(L"*");
}

ListingOptions ListingOptionsOf(const OptionValues& values)
{
    ListingOptions options;
    options.Format = values.Saved.Format.Selected;
    options.SaveMode = values.Saved.SaveMode.Selected;
    options.EasyMode = values.chkEasy;
    options.FullPath = values.chkFullPath;
    options.DeleteExtension = values.chkDelEXE;
    options.IgnoreEmptyFolders = values.Saved.EmptyDirectory;
    options.DepthLimit = values.optIndentLevel0 ? 0 : values.Saved.DirectoryLevel.Selected + 1;
    return options;
}

SizeControls SizeControlsOf(const OptionValues& values)
{
    const SettingsModel& saved = values.Saved;
    return {saved.Size.Selected, saved.Size0, saved.SizeType0.Selected, saved.Size1,
            saved.SizeType1.Selected};
}

TimeControls TimeControlsOf(const OptionValues& values)
{
    return {values.Saved.Date.Selected, values.ClsDate1, values.ClsDate2};
}
