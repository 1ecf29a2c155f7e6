#include "ui/CompareCommand.h"

#include "fs/DateTime.h"
#include "fs/FolderPath.h"
#include "run/InventoryCompare.h"
#include "run/OutputName.h"
#include "ui/Texts.h"

namespace {

// Relative paths count from the current folder, as for /list.
std::wstring FullPath(const std::wstring& path)
{
    std::wstring full = FullPathName(path);
    return full.empty() ? path : full;
}

// The folder part of a full path, with its "\".
std::wstring FolderOf(const std::wstring& path)
{
    std::size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? std::wstring() : path.substr(0, separator + 1);
}

}  // namespace

CommandOutcome RunCompare(const CommandLine& command, const RunControl& control, ProgressReport* progress)
{
    std::wstring oldPath = FullPath(command.CompareOld), newPath = FullPath(command.CompareNew);
    std::wstring folder = command.OutFolder.empty() ? FolderOf(newPath) : FullPath(command.OutFolder);
    if (!folder.empty() && !folder.ends_with(L'\\')) folder += L'\\';
    CompareResult result = CompareInventories(oldPath, newPath, ChangesFileName(folder, LocalNow()), control, progress);
    switch (result.End) {
    case CompareEnd::Compared:
        return {result.Differs() ? ExitCodes::Differences : ExitCodes::Complete,
                result.OutputPath + L"\r\n" + CompareSummaryText(result) + L"\r\n", L""};
    case CompareEnd::BadInput: return {ExitCodes::BadArguments, L"", CompareFailureText(result) + L"\r\n"};
    case CompareEnd::CannotCreate: return {ExitCodes::CannotCreate, L"", CompareFailureText(result) + L"\r\n"};
    case CompareEnd::WriteFailed:
    case CompareEnd::Stopped:
    case CompareEnd::OutOfMemory: break;
    }
    std::wstring written = result.OutputPath.empty() ? L"" : result.OutputPath + L"\r\n";
    return {ExitCodes::Incomplete, written, CompareFailureText(result) + L"\r\n"};
}
