#include "ui/Texts.h"

#include "formats/InventoryColumns.h"
#include "formats/NumberText.h"
#include "formats/ValueText.h"
#include "fs/SystemError.h"
#include "run/Choices.h"
#include "run/CommandLine.h"
#include "run/InventoryCompare.h"
#include "run/ListingRun.h"
#include "run/SaveOptions.h"
#include "ui/FolderStatistics.h"

// ---- The program

const wchar_t kProgramTitle[] = L"Quorvane Ver 1.06";

std::wstring SystemErrorText(unsigned long error)
{
    std::wstring text = SystemErrorDescription(error);
    return text.empty() ? L"錯誤代碼：" + std::to_wstring(error) : text;
}

// ---- Main window

const wchar_t kReady[] = L"就緒 ...";
const wchar_t kChooseFormat[] = L"請選擇儲存格式";
const wchar_t kSettingsNotSaved[] = L"設定檔無法儲存：";

// ---- File-type editor

std::wstring FileTypeSaveErrorText(unsigned long error)
{
    std::wstring text = L"副檔名清單無法儲存\r\n錯誤代碼：";
    if (error == 0) return text;
    std::wstring description = SystemErrorDescription(error);
    return text + (description.empty() ? std::to_wstring(error) : description);
}

// ---- A run

namespace {

const wchar_t kWriteFailed[] = L"清單檔案寫入失敗，內容不完整！";
const wchar_t kOutOfMemory[] = L"記憶體不足，清單不完整！";
const wchar_t kCannotCreate[] = L"無法建立清單檔案：";
const wchar_t kUnreadableFolders[] = L"無法讀取的資料夾：";
const wchar_t kNotFollowed[] = L"未進入的連結（指回上層資料夾）：";

// Thousandths of a second as an exact decimal ("2.350").
std::wstring SecondsDecimal(std::uint64_t milliseconds)
{
    return std::to_wstring(milliseconds / 1000) + L"." + ZeroPadded(static_cast<int>(milliseconds % 1000), 3);
}

}  // namespace

std::wstring SizeWarningText(SizeWarning warning)
{
    switch (warning) {
    case SizeWarning::FirstValue: return L"請指定小於數值，不可留空白或設定為 0";
    case SizeWarning::SecondValue: return L"請指定大於數值，不可留空白或設定為 0";
    case SizeWarning::Order: return L"最小數值不可以大於最大數值";
    case SizeWarning::None: break;
    }
    return {};
}

std::wstring ElapsedText(std::uint64_t ms)
{
    if (ms < 1000) return std::to_wstring(ms) + L" 毫秒";
    if (ms < 60000) return FormatNumber(SecondsDecimal(ms), 3) + L" 秒";
    std::uint64_t minutes = ms / 60000;
    std::uint64_t rest = ms - minutes * 60000;
    std::wstring text = std::to_wstring(minutes) + L" 分";
    if (rest == 1000)
        text += L", 1 秒";
    else if (rest != 0)
        text += L", " + FormatNumber(SecondsDecimal(rest), 3) + L" 秒";
    return text;
}

std::wstring CompletionMessageText(std::uint64_t elapsed, std::int32_t fileCount, std::int32_t folderCount)
{
    std::wstring suffix = elapsed > 0 ? L" (" + ElapsedText(elapsed) + L")" : std::wstring();
    return L"OK！！ 花費時間共：" + suffix + L"\r\n" + std::to_wstring(fileCount) + L" 個檔案 , " +
           std::to_wstring(folderCount) + L" 個資料夾";
}

std::wstring RunReportText(const RunResult& result)
{
    std::wstring text = CompletionMessageText(result.ElapsedMs, result.FileCount, result.FolderCount);
    if (!result.AllWritten)
        text.replace(0, text.find(L' '), kWriteFailed);
    else if (result.OutOfMemory)
        text.replace(0, text.find(L' '), kOutOfMemory);
    return text;
}

std::wstring UnreadableSummaryText(const WalkReport& report)
{
    if (report.Unreadable.empty()) return {};
    std::wstring text = L"\r\n" + std::wstring(kUnreadableFolders) + std::to_wstring(report.Unreadable.size());
    for (std::size_t i = 0; i < report.Unreadable.size() && i < 3; ++i) text += L"\r\n" + report.Unreadable[i].Path;
    return text;
}

std::wstring PassedOverText(const WalkReport& report)
{
    std::wstring text;
    for (const UnreadableFolder& folder : report.Unreadable)
        text += kUnreadableFolders + folder.Path + L"（" + SystemErrorDescription(folder.Error) + L"）\r\n";
    for (const std::wstring& path : report.NotFollowed) text += kNotFollowed + path + L"\r\n";
    return text;
}

std::wstring CannotCreateText(std::wstring_view path, unsigned long error)
{
    return std::wstring(kCannotCreate) + L"\r\n" + std::wstring(path) + L"\r\n" + SystemErrorText(error);
}

// ---- The command line

const wchar_t kUsageHint[] = L"用法請見 Quorvane.exe /?";
const wchar_t kNoFolderToList[] = L"找不到要列出的資料夾：";
const wchar_t kNoSettingsFile[] = L"找不到設定檔：";
const wchar_t kNoOutputFolder[] = L"沒有輸出資料夾：請以 /out 指定";

std::wstring CommandErrorText(const CommandError& error)
{
    const std::wstring& flag = error.Argument;
    switch (error.Kind) {
    case ArgumentError::NoListFolder: return L"/list 後面要接要列出的資料夾";
    case ArgumentError::UnknownFlag: return L"無法辨識的參數：" + flag;
    case ArgumentError::MissingValue: return flag + L" 後面缺少值";
    case ArgumentError::BadChoice: return flag + L" 的值無效：" + error.Value + L"（可用：" + error.Choices + L"）";
    case ArgumentError::BadDepth:
        return flag + L" 的值必須是 1 到 " + std::to_wstring(kDeepestDepthLimit) + L" 的整數：" + error.Value;
    case ArgumentError::BadReaders:
        return flag + L" 的值必須是 1 到 " + std::to_wstring(kMostReaders) + L" 的整數：" + error.Value;
    case ArgumentError::BadSize: return flag + L" 的值不是有效的大小：" + error.Value + L"（例如 500、50KB、10MB）";
    case ArgumentError::BadDate: return flag + L" 的值不是有效的日期：" + error.Value + L"（格式為 YYYY-MM-DD）";
    case ArgumentError::NoCompareFiles: return L"/compare 後面要接兩個清冊檔案：舊的、新的";
    case ArgumentError::None: break;
    }
    return {};
}

namespace {

constexpr std::size_t kUsageColumn = 31;

// A flag and what it does, from the usage's column on, or on the next line below a long flag.
std::wstring UsageLine(const std::wstring& flag, const std::wstring& text)
{
    std::wstring line = L"  " + flag;
    if (line.size() < kUsageColumn)
        line.append(kUsageColumn - line.size(), L' ');
    else
        line.append(L"\r\n").append(kUsageColumn, L' ');
    return line + text + L"\r\n";
}

// A flag taking one word of a choice list, and what the words stand for.
template <typename Value, std::size_t N>
std::wstring UsageLine(const wchar_t* flag, const Choice<Value> (&choices)[N], const wchar_t* label)
{
    return UsageLine(flag + (L" " + ChoiceWords(choices, L"|")), label + (L"：" + ChoiceUsages(choices, L"、")));
}

}  // namespace

std::wstring UsageText()
{
    const std::wstring size = L" N[" + ChoiceUsages(kSizeUnits, L"|") + L"]";
    return std::wstring(kProgramTitle) +
           L"\r\n"
           L"\r\n"
           L"Quorvane.exe [資料夾]\r\n"
           L"    開啟主視窗，在資料夾樹中選取該資料夾；程式已在執行時，改由已開啟的視窗選取。\r\n"
           L"\r\n"
           L"Quorvane.exe /list 資料夾 [選項]\r\n"
           L"    不開視窗，列出資料夾並存成清單檔案後結束。選項先取程式旁 Setting.ini\r\n"
           L"    （或 /settings 指定的檔案）所存的值，其餘取視窗每次啟動時的值，再依下列參數變更：\r\n"
           L"\r\n"
           L"  /out 資料夾                  輸出資料夾（預設為設定檔的 SavePath）\r\n"
           L"  /settings 檔案               改用這個設定檔\r\n" +
           UsageLine(L"/format", kFormatChoices, L"格式") + UsageLine(L"/mode", kModeChoices, L"模式") +
           L"  /sub、/nosub                 搜尋子資料夾、不搜尋\r\n" +
           UsageLine(L"/depth N", L"有限目錄層次 1-" + std::to_wstring(kDeepestDepthLimit) + L"（預設無限）") +
           L"  /ignore-empty                忽略空資料夾\r\n" + UsageLine(L"/sort", kSortChoices, L"排序") +
           L"  /desc                        遞減\r\n"
           L"  /filter \"樣式\"               檔案類型，例如 \"*.txt;*.doc\"（以 ; 或 TAB 分隔）\r\n"
           L"  /no-hidden、/no-system、/no-readonly\r\n"
           L"                               不列出隱藏、系統、唯讀的項目\r\n" +
           UsageLine(L"/size-min" + size, L"檔案至少這麼大（不加單位為位元組）") +
           UsageLine(L"/size-max" + size, L"檔案至多這麼大；只要有一個大小參數，設定檔的大小條件即不再使用") +
           UsageLine(L"/time", kTimeChoices, L"依日期篩選") +
           L"  /from YYYY-MM-DD、/to YYYY-MM-DD\r\n"
           L"                               日期範圍，含首尾整日；省略者為今天\r\n"
           L"  /easy                        簡易的儲存模式，搭配 /fullpath（完整路徑）、/noext（移除副檔名）\r\n"
           L"  /exclude \"樣式\"              名稱符合者（不分大小寫，以 ; 分隔）不列出、不計數、不進入，可重複使用\r\n"
           L"  /readers N                   同時讀取的資料夾數 1-" +
           std::to_wstring(kMostReaders) +
           L"（預設依磁碟：網路磁碟 16，固態磁碟依處理器數，傳統硬碟 1）\r\n"
           L"  /?                           顯示這段說明\r\n"
           L"\r\n"
           L"結束代碼：0 清單完整寫入，1 參數或選項錯誤，2 無法建立清單檔案，3 寫入中斷或清單不完整，\r\n"
           L"          4 清單已寫入，但有資料夾無法讀取（列在標準錯誤輸出）\r\n"
           L"\r\n"
           L"Quorvane.exe /compare 舊清冊 新清冊 [/out 資料夾]\r\n"
           L"    比較兩個清冊檔案（/format inventory 所寫），把新增、刪除、變更的項目寫入\r\n"
           L"    yyyymmdd_hhmmss_Quorvane_changes.csv；/out 省略時寫在新清冊所在的資料夾。\r\n"
           L"    結束代碼：0 沒有差異，5 有差異，1 參數或清冊檔案有誤，2 無法建立變更檔案，\r\n"
           L"    3 寫入中斷或比較中斷\r\n";
}

std::wstring ProgressText(std::uint64_t entries, std::uint64_t folders, std::uint64_t elapsedMs)
{
    std::uint64_t seconds = elapsedMs / 1000;
    std::wstring clock = seconds >= 3600 ? std::to_wstring(seconds / 3600) + L":" + ZeroPadded(static_cast<int>(seconds / 60 % 60), 2)
                                         : std::to_wstring(seconds / 60);
    clock += L":" + ZeroPadded(static_cast<int>(seconds % 60), 2);
    return WholeNumberText(ExactSize::FromUInt64(entries)) + L" 個項目，" +
           WholeNumberText(ExactSize::FromUInt64(folders)) + L" 個資料夾，" + clock;
}

// ---- The comparison of two inventories

std::wstring CompareSummaryText(const CompareResult& result)
{
    return L"added " + std::to_wstring(result.Added) + L", removed " + std::to_wstring(result.Removed) +
           L", changed " + std::to_wstring(result.Changed);
}

namespace {

std::wstring InventoryFaultText(const InventoryProblem& p)
{
    std::wstring value = L"：「" + p.Value + L"」";
    switch (p.Fault) {
    case InventoryFault::CannotRead: return L"無法讀取：" + SystemErrorText(p.SystemError);
    case InventoryFault::NotAnInventory:
        return L"不是清冊檔案：第一行應為 " + InventoryHeaderLine();
    case InventoryFault::NoListedFolder: return L"標題列之後應是所列資料夾本身的資料列（Type 為 folder）";
    case InventoryFault::FieldCount:
        return L"欄位數目不對：應為 " + std::to_wstring(InventoryColumns::Count) + L" 個，實為 " +
               std::to_wstring(p.Fields) + L" 個";
    case InventoryFault::UnterminatedQuote: return L"引號開始的欄位沒有結束的引號";
    case InventoryFault::StrayQuote: return L"引號的位置不對（欄位中的引號須寫成兩個，整個欄位以引號括起）";
    case InventoryFault::TooLong: return L"資料列太長";
    case InventoryFault::InvalidUtf8: return L"不是有效的 UTF-8 文字";
    case InventoryFault::BadType: return L"Type 欄應為 folder 或 file" + value;
    case InventoryFault::BadNumber: return p.Column + L" 欄不是有效的數字" + value;
    case InventoryFault::BadTime:
        return p.Column + L" 欄不是有效的時間" + value + L"（格式為 2024-05-07T07:04:05.1234567Z）";
    case InventoryFault::BadAttributes: return L"Attributes 欄不是有效的屬性" + value;
    case InventoryFault::OutsideRoot: return L"路徑不在所列資料夾之下" + value;
    case InventoryFault::DuplicatePath: return L"路徑重複" + value;
    case InventoryFault::None: break;
    }
    return {};
}

}  // namespace

std::wstring InventoryProblemText(const InventoryProblem& problem)
{
    std::wstring where = problem.Line > 0 ? L"第 " + std::to_wstring(problem.Line) + L" 行：" : L"";
    return L"清冊檔案有誤：" + problem.File + L"\r\n" + where + InventoryFaultText(problem);
}

std::wstring CompareFailureText(const CompareResult& result)
{
    switch (result.End) {
    case CompareEnd::CannotCreate:
        return L"無法建立變更檔案：\r\n" + result.OutputPath + L"\r\n" + SystemErrorText(result.WriteError);
    case CompareEnd::WriteFailed: return L"變更檔案寫入失敗，內容不完整！\r\n" + SystemErrorText(result.WriteError);
    case CompareEnd::Stopped: return L"比較已中斷";
    case CompareEnd::OutOfMemory: return L"記憶體不足，無法完成比較！";
    case CompareEnd::BadInput: return InventoryProblemText(result.Problem);
    case CompareEnd::Compared: break;
    }
    return {};
}

// ---- The folder tree and the output folder

const wchar_t kDesktopNode[] = L"桌面";
const wchar_t kDocumentsNode[] = L"我的文件夾";

std::array<std::wstring, 3> FolderStatisticsLines(const FolderStatistics& statistics)
{
    return {L"目錄大小：" + SizeSummaryText(statistics.Size, SizeSummaryModes::Both),
            L"磁碟大小：" + SizeSummaryText(statistics.CompressedSize, SizeSummaryModes::Both),
            L"內含　　：" + WholeNumberText(statistics.Files) + L" 個檔案，" + WholeNumberText(statistics.Folders) +
                L" 個資料夾"};
}

const wchar_t kChooseOutputFolder[] = L"請選擇輸出資料夾：";
