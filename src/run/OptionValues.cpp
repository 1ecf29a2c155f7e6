#include "run/OptionValues.h"

#include "run/Choices.h"

OptionValues StartOptionValues(const SYSTEMTIME& nowLocal)
{
    OptionValues values;
    SettingsModel& saved = values.Saved;
    saved.SaveMode = {SavedOf(kModeChoices, ListingModeOf(JobInfo())), WindowItems(kModeChoices)};
    saved.SortSave.ItemCount = WindowItems(kSortChoices);
    saved.DirectoryLevel.ItemCount = kDeepestDepthLimit;
    saved.Date.ItemCount = WindowItems(kTimeChoices);
    saved.Size.ItemCount = WindowItems(kSizeChoices);
    saved.Format.ItemCount = WindowItems(kFormatChoices);
    saved.SizeType0.ItemCount = saved.SizeType1.ItemCount = WindowItems(kSizeUnits);
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
    ApplyListingMode(job, MeaningOfSaved(kModeChoices, saved.SaveMode.Selected, SaveModes::None));
    job.SetIncludeSubFolders(saved.ScanSubFolders);
    job.SetIncludeSystem(saved.ScanSystem);
    job.SetIncludeHidden(saved.ScanHidden);
    job.SetIncludeReadOnly(saved.ScanReadOnly);
    if (const Choice<std::int32_t>* sort = ChoiceOfSaved(kSortChoices, saved.SortSave.Selected))
        job.SetSortKey(sort->Meaning);
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
    options.Format = values.CommandLineFormat != ListingFormats::None
                         ? values.CommandLineFormat
                         : MeaningOfSaved(kFormatChoices, values.Saved.Format.Selected, ListingFormats::None);
    options.SaveMode = MeaningOfSaved(kModeChoices, values.Saved.SaveMode.Selected, SaveModes::None);
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
    return {MeaningOfSaved(kSizeChoices, saved.Size.Selected, SizeMode::None), saved.Size0,
            MeaningOfSaved(kSizeUnits, saved.SizeType0.Selected, SizeUnit::None), saved.Size1,
            MeaningOfSaved(kSizeUnits, saved.SizeType1.Selected, SizeUnit::None)};
}

TimeControls TimeControlsOf(const OptionValues& values)
{
    return {MeaningOfSaved(kTimeChoices, values.Saved.Date.Selected, TimeKind::None), values.ClsDate1, values.ClsDate2};
}
