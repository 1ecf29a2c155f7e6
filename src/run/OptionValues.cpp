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
    values.Saved.comSaveMode.Selected = ListingModeOf(JobInfo());
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
    ApplyListingMode(job, saved.comSaveMode.Selected);
    job.SetIncludeSubFolders(saved.chkSubDirSave);
    job.SetIncludeSystem(saved.chkSystemSave);
    job.SetIncludeHidden(saved.chkHiddenSave);
    job.SetIncludeReadOnly(saved.chkReadOnlySave);
    int sort = saved.cboSortSave.Selected;
    if (sort >= 0 && sort < static_cast<int>(std::size(kSortKeys))) job.SetSortKey(kSortKeys[sort]);
    job.SetSortOrder(values.optAscSave0 ? 0 : 1);
    int type = saved.cboFFSave.Selected;
    if (type >= 0 && static_cast<std::size_t>(type) < fileTypes.size())
        job.SetFileFilter(fileTypes[static_cast<std::size_t>(type)].Type);
    else
        job.SetFileFilter(saved.cboFFSave.Text);
    job.SetFolderFilter(L"*");
}

ListingOptions ListingOptionsOf(const OptionValues& values)
{
    ListingOptions options;
    options.Format = values.Saved.comFormat.Selected;
    options.SaveMode = values.Saved.comSaveMode.Selected;
    options.EasyMode = values.chkEasy;
    options.FullPath = values.chkFullPath;
    options.DeleteExtension = values.chkDelEXE;
    options.IgnoreEmptyFolders = values.Saved.chkEmptyFolder;
    options.DepthLimit = values.optIndentLevel0 ? 0 : values.Saved.comIndentLevel.Selected + 1;
    return options;
}

SizeControls SizeControlsOf(const OptionValues& values)
{
    const SettingsModel& saved = values.Saved;
    return {saved.cboSize.Selected, saved.txtMinSize, saved.cboSizeType0.Selected, saved.txtMaxSize,
            saved.cboSizeType1.Selected};
}

TimeControls TimeControlsOf(const OptionValues& values)
{
    return {values.Saved.cboDate.Selected, values.ClsDate1, values.ClsDate2};
}
