#include "run/ListCommand.h"

#include <windows.h>

#include "fs/FolderPath.h"
#include "fs/LongPath.h"
#include "run/Frame.h"
#include "run/ListingRun.h"
#include "run/RunReport.h"

namespace {

const wchar_t kUsageHint[] = L"用法請見 Quorvane.exe /?";
const wchar_t kNoFolder[] = L"找不到要列出的資料夾：";
const wchar_t kNoSettings[] = L"找不到設定檔：";
const wchar_t kNoOutputFolder[] = L"沒有輸出資料夾：請以 /out 指定";
const wchar_t kNoFormat[] = L"請選擇儲存格式";

SYSTEMTIME LocalNow()
{
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return now;
}

// Relative paths count from the current folder, as a shell user expects; the settings
// reader would otherwise look for them in the Windows folder.
std::wstring FullPath(const std::wstring& path)
{
    std::wstring full(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 2; ++attempt) {
        DWORD length = GetFullPathNameW(LongPathArg(path).c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (length == 0) return path;
        if (length < full.size()) return full.substr(0, length);
        full.assign(length, L'\0');
    }
    return path;
}

bool IsFile(const std::wstring& path)
{
    DWORD attributes = GetFileAttributesW(LongPathArg(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

CommandOutcome Refused(std::wstring message)
{
    return {ExitCodes::BadArguments, L"", message + L"\r\n"};
}

// Nothing to pump or show without a window.
class CommandHost : public RunHost {
public:
    void PumpMessages() override {}
    void ShowStatus(std::wstring_view) override {}
};

CommandOutcome RunList(const CommandLine& command, std::wstring_view programFolder, RunControl& control)
{
    std::wstring settingsPath =
        command.SettingsFile.empty() ? SettingsFilePath(programFolder) : FullPath(command.SettingsFile);
    if (!command.SettingsFile.empty() && !IsFile(settingsPath)) return Refused(kNoSettings + command.SettingsFile);
    std::optional<std::wstring> root = ExistingFolderPath(command.Folder);
    if (!root) return Refused(kNoFolder + command.Folder);

    SYSTEMTIME now = LocalNow();
    FileTypeTable fileTypes = LoadFileTypeTable(programFolder, MissingFile::ReadDefault);
    OptionValues values = StartOptionValues(now);
    LoadSettingsFile(values.Saved, fileTypes, settingsPath, MissingFile::ReadDefault);
    ApplyListFlags(command.Flags, values);

    JobInfo job;
    job.SetRootFolder(*root);
    ApplyOptionsToJob(job, values, fileTypes);
    RunState state;
    std::wstring warning = PrepareRun(state, job, SizeControlsOf(values), TimeControlsOf(values), now);
    if (!warning.empty()) return Refused(warning);

    std::wstring folder = command.OutFolder.empty() ? values.Saved.SavePath : FullPath(command.OutFolder);
    if (folder.empty()) return Refused(kNoOutputFolder);
    if (!folder.ends_with(L'\\')) folder += L'\\';
    ListingOptions options = ListingOptionsOf(values);
    std::optional<std::wstring> path = OutputFileName(folder, LocalNow(), options.Format, options.EasyMode);
    if (!path) return Refused(kNoFormat);

    CommandHost host;
    RunResult result = RunListing(state, control, job, options, *path, host);
    if (!result.Started) return {ExitCodes::CannotCreate, L"", CannotCreateText(*path, result.WriteError) + L"\r\n"};
    CommandOutcome outcome{RunComplete(result) ? ExitCodes::Complete : ExitCodes::Incomplete,
                           result.OutputPath + L"\r\n", L""};
    (RunFailed(result) ? outcome.Errors : outcome.Output) += RunReportText(result) + L"\r\n";
    return outcome;
}

}  // namespace

CommandOutcome RunCommand(const CommandLine& command, std::wstring_view programFolder, RunControl& control)
{
    switch (command.Kind) {
    case CommandKind::Usage: return {ExitCodes::Complete, UsageText(), L""};
    case CommandKind::BadArguments: return Refused(command.Error + L"\r\n" + kUsageHint);
    case CommandKind::List: return RunList(command, programFolder, control);
    case CommandKind::Window: break;
    }
    return {};
}
