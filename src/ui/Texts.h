#pragma once
// What the program says to its user: in its windows, its message boxes and on the
// command line. The fixed texts of the listing files belong to their formats
// (src/formats), the captions of the controls to the windows' layout tables, the items
// of the lists to the choice tables (run/Choices.h).
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

struct CommandError;
struct CompareResult;
struct FolderStatistics;
struct InventoryProblem;
struct RunResult;
struct WalkReport;
enum class SizeWarning;

// ---- The program: window caption, title of every message box, single-instance mutex
extern const wchar_t kProgramTitle[];
// The system's description of an error code; "錯誤代碼：" and the number when it has none.
std::wstring SystemErrorText(unsigned long error);

// ---- Main window
extern const wchar_t kReady[];
// Neither easy mode nor a format is chosen, so nothing would be written; the command
// line says so too.
extern const wchar_t kChooseFormat[];
extern const wchar_t kSettingsNotSaved[];

// ---- File-type editor
// The message shown when FileType.txt cannot be saved.
std::wstring FileTypeSaveErrorText(unsigned long error);

// ---- A run

// Empty for SizeWarning::None.
std::wstring SizeWarningText(SizeWarning warning);
std::wstring ElapsedText(std::uint64_t milliseconds);
std::wstring CompletionMessageText(std::uint64_t elapsedMilliseconds, std::int32_t fileCount,
                                   std::int32_t folderCount);
// The completion message; after a failed write, or when memory ran out, its first word
// gives way to what went wrong.
std::wstring RunReportText(const RunResult& result);
// The completion message's line on folders that could not be read: their number and the
// first three; nothing when there are none.
std::wstring UnreadableSummaryText(const WalkReport& report);
// For the command line: each folder that could not be read with the system's words, and
// each link that was not followed since it leads back up; a line each.
std::wstring PassedOverText(const WalkReport& report);
// The listing file could not be created at path.
std::wstring CannotCreateText(std::wstring_view path, unsigned long error);

// ---- The command line

std::wstring UsageText();
// What is wrong with the arguments.
std::wstring CommandErrorText(const CommandError& error);
extern const wchar_t kUsageHint[];
// These are followed by the path as given.
extern const wchar_t kNoFolderToList[];
extern const wchar_t kNoSettingsFile[];
extern const wchar_t kNoOutputFolder[];
// The progress line on a console, before the item being read.
std::wstring ProgressText(std::uint64_t entries, std::uint64_t folders, std::uint64_t elapsedMilliseconds);

// ---- The comparison of two inventories

// "added N, removed N, changed N".
std::wstring CompareSummaryText(const CompareResult& result);
// What is wrong with an inventory: the file, the line and the fault.
std::wstring InventoryProblemText(const InventoryProblem& problem);
// Why the comparison did not end with a whole changes file (for standard error).
std::wstring CompareFailureText(const CompareResult& result);

// ---- The folder tree and the output folder

extern const wchar_t kDesktopNode[];
extern const wchar_t kDocumentsNode[];
std::array<std::wstring, 3> FolderStatisticsLines(const FolderStatistics& statistics);
// The title inside the output folder dialog.
extern const wchar_t kChooseOutputFolder[];
