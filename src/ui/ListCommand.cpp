#include "ui/ListCommand.h"

#include <windows.h>

#include "fs/FolderPath.h"
#include "fs/LongPath.h"
#include "run/ListingRun.h"
#include "run/OutputName.h"
#include "ui/CompareCommand.h"
#include "ui/Texts.h"

namespace {

// Relative paths count from the current folder, as a shell user expects; the settings
// reader would otherwise look for them in the Windows folder.
std::wstring FullPath(const std::wstring& path)
{
    std::wstring full = FullPathName(path);
    return full.empty() ? path : full;
}

CommandOutcome Refused(std::wstring message)
{
    return {ExitCodes::BadArguments, L"", message + L"\r\n"};
}

// Nothing to show without a window: the console's progress line follows the readers.
class CommandHost : public RunHost {
public:
    void ShowStatus(std::wstring_view) override {}
};

CommandOutcome RunList(const CommandLine& command, std::wstring_view programFolder, RunControl& control,
                       ProgressReport* progress)
{
    std::wstring settingsPath =
        command.SettingsFile.empty() ? SettingsFilePath(programFolder) : FullPath(command.SettingsFile);
    if (!command.SettingsFile.empty() && !IsExistingFile(settingsPath)) return Refused(kNoSettingsFile + command.SettingsFile);
    std::optional<std::wstring> root = ExistingFolderPath(command.Folder);
    if (!root) return Refused(kNoFolderToList + command.Folder);

    SYSTEMTIME now = LocalNow();
    FileTypeTable fileTypes = LoadFileTypeTable(programFolder, MissingFile::ReadDefault);
    OptionValues values = StartOptionValues(now);
    LoadSettingsFile(values.Saved, fileTypes, settingsPath, MissingFile::ReadDefault);
    ApplyListFlags(command.Flags, values);

    JobInfo job;
    job.SetRootFolder(*root);
    ApplyOptionsToJob(job, values, fileTypes);
    job.SetExcludedNames(command.Flags.Excluded);
    RunState state;
    SizeWarning warning = PrepareRun(state, job, SizeControlsOf(values), TimeControlsOf(values), now);
    if (warning != SizeWarning::None) return Refused(SizeWarningText(warning));

    std::wstring folder = command.OutFolder.empty() ? values.Saved.SavePath : FullPath(command.OutFolder);
    if (folder.empty()) return Refused(kNoOutputFolder);
    if (!folder.ends_with(L'\\')) folder += L'\\';
    ListingOptions options = ListingOptionsOf(values);
    std::optional<std::wstring> path = OutputFileName(folder, LocalNow(), options.Format, options.EasyMode);
    if (!path) return Refused(kChooseFormat);

    CommandHost host;
    ReadSettings reading;
    reading.Readers = command.Flags.Readers.value_or(0);
    reading.Progress = progress;
    RunResult result = RunListing(state, control, job, options, *path, host, 20, reading);
    if (!result.Started) return {ExitCodes::CannotCreate, L"", CannotCreateText(*path, result.WriteError) + L"\r\n"};
    int exitCode = ExitCodes::Complete;
    if (!RunComplete(result))
        exitCode = ExitCodes::Incomplete;
    else if (!result.Report.Unreadable.empty())
        exitCode = ExitCodes::Unreadable;
    CommandOutcome outcome{exitCode, result.OutputPath + L"\r\n", PassedOverText(result.Report)};
    (RunFailed(result) ? outcome.Errors : outcome.Output) += RunReportText(result) + L"\r\n";
    return outcome;
}

}  // namespace

CommandOutcome RunCommand(const CommandLine& command, std::wstring_view programFolder, RunControl& control,
                          ProgressReport* progress)
{
    switch (command.Kind) {
    case CommandKind::Usage: return {ExitCodes::Complete, UsageText(), L""};
    case CommandKind::BadArguments: return Refused(CommandErrorText(command.Error) + L"\r\n" + kUsageHint);
    case CommandKind::List: return RunList(command, programFolder, control, progress);
    case CommandKind::Compare: return RunCompare(command, control, progress);
    case CommandKind::Window: break;
    }
    return {};
}
