#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "UiSupport.h"
#include "fs/OutputFile.h"
#include "ui/Console.h"
#include "ui/ListCommand.h"
#include "ui/Texts.h"

namespace {

std::wstring FirstLine(const std::wstring& text) { return text.substr(0, text.find(L"\r\n")); }

// A copy of the program with a folder to list and one to list into.
struct ProgramRuns : testing::Test {
    void SetUp() override
    {
        listed.MakeFile(L"b.txt", "bbbb");
        listed.MakeFile(L"A.log", std::string(1500, 'a'));
        listed.MakeFolder(L"sub");
        listed.MakeFile(L"sub\\inner.dat", std::string(70000, 'i'));
        program = CopyOfProgram(programFolder);
    }
    // /list of the listed folder into the output folder; later flags may replace either.
    ProgramRun List(std::vector<std::wstring> flags)
    {
        flags.insert(flags.begin(), {L"/list", listed.Path(), L"/out", output.Path()});
        return RunProgram(program, Arguments(flags));
    }
    TestFolder programFolder, listed, output;
    std::wstring program;
};

}  // namespace

TEST_F(ProgramRuns, ListsWhatTheEngineListsAndSaysWhatWentWrongInItsExitCode)
{
    // Without Setting.ini the defaults are read, and nothing is written beside the program.
    ProgramRun run = List({L"/filter", L"*.log"});
    EXPECT_EQ(run.ExitCode, 0u) << run.Errors;
    EXPECT_NE(run.Output.find(L"\r\n1 個檔案 , "), std::wstring::npos) << run.Output;
    EXPECT_TRUE(FilesIn(programFolder.Path()) == std::vector<std::wstring>{L"Quorvane.exe"});
    DeleteFileW(FirstLine(run.Output).c_str());

    WriteLines(programFolder / L"Setting.ini", {L"[Setting]", L"SaveMode=2", L"ScanSubFolders=1", L"Format=0"});
    run = List({L"/format", L"csv", L"/mode", L"files", L"/readers", L"3"});
    std::wstring path = FirstLine(run.Output);
    EXPECT_EQ(run.ExitCode, 0u) << run.Errors;
    EXPECT_EQ(run.Errors, L"");  // no progress line in redirected output
    EXPECT_TRUE(path.starts_with(output.Path() + L"\\") && path.ends_with(L"Quorvane.csv")) << path;
    EXPECT_NE(run.Output.find(L"\r\n3 個檔案 , "), std::wstring::npos) << run.Output;  // with the subfolder's
    DeleteFileW(path.c_str());

    const struct {
        std::vector<std::wstring> Flags;
        DWORD ExitCode;
        std::wstring Says;
    } refused[] = {
        {{L"/bogus"}, 1, L"無法辨識的參數：/bogus"},
        {{L"/format"}, 1, L"/format 後面缺少值"},
        {{L"/sort", L"date"}, 1, L"/sort 的值無效：date"},
        {{L"/depth", L"100"}, 1, L"/depth 的值必須是 1 到 99 的整數：100"},
        {{L"/readers", L"0"}, 1, L"/readers 的值必須是 1 到 64 的整數：0"},
        {{L"/size-max", L"1.5MB"}, 1, L"/size-max 的值不是有效的大小：1.5MB"},
        {{L"/to", L"2024-02-30"}, 1, L"/to 的值不是有效的日期：2024-02-30"},
        {{L"/size-min", L"10MB", L"/size-max", L"10240KB"}, 1, L"最小數值不可以大於最大數值"},
        {{L"/settings", programFolder / L"missing.ini"}, 1, L"找不到設定檔：" + programFolder / L"missing.ini"},
        {{L"/list", listed / L"missing"}, 1, L"找不到要列出的資料夾：" + listed / L"missing"},
        {{L"/out", output / L"missing"}, 2, L"無法建立清單檔案：\r\n" + output / L"missing\\"},
    };
    for (const auto& c : refused) {
        run = List(c.Flags);
        EXPECT_EQ(run.ExitCode, c.ExitCode) << c.Says;
        EXPECT_NE(run.Errors.find(c.Says), std::wstring::npos) << run.Errors;
        EXPECT_EQ(run.Output, L"");
    }
    EXPECT_TRUE(FilesIn(output.Path()).empty());
    run = RunProgram(program, L"/?");
    EXPECT_EQ(run.ExitCode, 0u);
    EXPECT_NE(run.Output.find(L"/size-min N[KB|MB]"), std::wstring::npos) << run.Output;
}

// Exit 4 says what 0 says and that some folders could not be read, each named on standard
// error; left-out names are gone from the inventory as from any listing.
TEST_F(ProgramRuns, AnInventoryLeavesOutExcludedNamesAndReportsFoldersItCouldNotRead)
{
    listed.MakeFolder(L"node_modules");
    listed.MakeFile(L"node_modules\\x.js", "x");
    listed.MakeFile(L"Thumbs.db", "t");
    listed.MakeFolder(L"locked");
    listed.MakeFile(L"locked\\secret.txt", "s");
    if (!LockFolder(listed / L"locked", true)) GTEST_SKIP() << "a folder cannot be locked here";
    ProgramRun run = List({L"/format", L"inventory", L"/sub", L"/exclude", L"node_modules", L"/exclude", L"thumbs.DB;*.tmp"});
    LockFolder(listed / L"locked", false);
    EXPECT_EQ(run.ExitCode, 4u) << run.Errors;
    std::wstring path = FirstLine(run.Output);
    EXPECT_TRUE(path.ends_with(L"_Quorvane_inventory.csv")) << path;
    EXPECT_NE(run.Errors.find(L"無法讀取的資料夾：" + listed / L"locked"), std::wstring::npos) << run.Errors;
    std::wstring rows = FileText(path);
    EXPECT_TRUE(rows.find(L"node_modules") == std::wstring::npos && rows.find(L"Thumbs") == std::wstring::npos) << rows;
    EXPECT_NE(rows.find(L"\r\n" + listed.Path() + L",folder,71504,71504,3,2,"), std::wstring::npos) << rows;
    // The unreadable folder's row says why; the error text is the system's own.
    EXPECT_NE(rows.find(L"\r\n" + listed / L"locked,folder,0,0,0,0,"), std::wstring::npos) << rows;
    EXPECT_EQ(rows.find(L"secret"), std::wstring::npos);
}

// As after Ctrl+C, whose handler asks the run's control for a stop.
TEST_F(ProgramRuns, AStoppedListingEndsWith3)
{
    RunControl control;
    control.RequestStop();
    CommandOutcome outcome =
        RunCommand(ParseCommandLine({L"/list", listed.Path(), L"/out", output.Path()}), programFolder.Path(), control);
    EXPECT_EQ(outcome.ExitCode, 3);
    EXPECT_TRUE(outcome.Output.starts_with(output.Path() + L"\\")) << outcome.Output;
    EXPECT_TRUE(FileText(FirstLine(outcome.Output)).ends_with(L" 秒 - ###########################\r\n"));
}

TEST_F(ProgramRuns, AListingCutShortByAFullDiskEndsWith3)
{
    const char* volume = std::getenv("QUORVANE_SMALL_VOLUME");
    if (!volume || !*volume) GTEST_SKIP() << "QUORVANE_SMALL_VOLUME is not set";
    std::wstring root(volume, volume + std::strlen(volume));
    std::wstring target = root + L"\\command-line-out", filler = root + L"\\filler.bin";
    CreateDirectoryW(target.c_str(), nullptr);
    ULARGE_INTEGER free{};
    GetDiskFreeSpaceExW(target.c_str(), &free, nullptr, nullptr);
    OutputFile file;
    ASSERT_TRUE(OpenOutputFile(file, filler));
    if (free.QuadPart > 6000) WriteOutputLine(file, std::wstring((free.QuadPart - 6000) / 2, L'f'));
    CloseOutputFile(file);
    for (int i = 0; i < 300; ++i) listed.MakeFile(L"many " + std::to_wstring(i) + L".txt", "x");
    ProgramRun run = List({L"/out", target});
    RemoveTree(target);
    DeleteFileW(filler.c_str());
    EXPECT_EQ(run.ExitCode, 3u);
    EXPECT_TRUE(FirstLine(run.Output).starts_with(target + L"\\")) << run.Output;
    EXPECT_TRUE(run.Errors.starts_with(L"清單檔案寫入失敗，內容不完整！")) << run.Errors;
}

TEST_F(ProgramRuns, CompareTellsWhatChangedByItsExitCodeAndShowsNoProgressWhenRedirected)
{
    const std::string header = "\xEF\xBB\xBFPath,Type,Size,CompressedSize,Files,Folders,Created,Modified,Accessed,"
                               "Attributes,Error\r\nC:\\Data,folder,0,0,0,0,,,,-------,\r\n";
    std::wstring before = listed.MakeFile(L"old.csv", header + "C:\\Data\\a.txt,file,1,1,,,,,,---A----,\r\n");
    std::wstring after = output.MakeFile(L"new.csv", header + "C:\\Data\\a.txt,file,2,2,,,,,,---A----,\r\n");
    std::wstring bad = output.MakeFile(L"bad.csv", header + "C:\\Data\\a.txt,file,2,2,,,,,,---A----\r\n");
    const struct {
        std::vector<std::wstring> Arguments;
        DWORD ExitCode;
        std::wstring Folder, Summary, Errors;  // where the changes file goes, the last line, what the errors hold
    } runs[] = {
        {{L"/compare", before, after}, 5, output.Path(), L"added 0, removed 0, changed 1", L""},
        {{L"/compare", after, after, L"/out", listed.Path()}, 0, listed.Path(), L"added 0, removed 0, changed 0", L""},
        {{L"/compare", before, bad}, 1, L"", L"", L"清冊檔案有誤：" + bad + L"\r\n第 3 行：欄位數目不對：應為 11 個，實為 10 個"},
        {{L"/compare", before, after, L"/out", output / L"missing"}, 2, L"", L"", L"無法建立變更檔案："},
        {{L"/compare", before}, 1, L"", L"", L"/compare 後面要接兩個清冊檔案"},
    };
    for (const auto& r : runs) {
        ProgramRun run = RunProgram(program, Arguments(r.Arguments));
        EXPECT_EQ(run.ExitCode, r.ExitCode) << run.Errors;
        std::wstring changes = FirstLine(run.Output);
        if (r.Folder.empty()) {
            EXPECT_EQ(run.Output, L"");
        } else {
            EXPECT_TRUE(changes.starts_with(r.Folder + L"\\") && changes.ends_with(L"_Quorvane_changes.csv")) << changes;
            EXPECT_EQ(run.Output.substr(changes.size()), L"\r\n" + r.Summary + L"\r\n");
        }
        // The progress line would begin with CR, and show before anything else.
        EXPECT_EQ(run.Errors.find(L'\r'), r.Errors.empty() ? std::wstring::npos : run.Errors.find(L"\r\n")) << run.Errors;
        EXPECT_NE(run.Errors.find(r.Errors), std::wstring::npos) << run.Errors;
    }
    EXPECT_EQ(FilesIn(output.Path()).size(), 3u);  // NEW, the bad one and one changes file
}

TEST(ProgressLine, RewrittenAtMostEveryHalfSecondWithinTheConsoleAndClearedAtTheEnd)
{
    const std::wstring counts = L"0 個項目，3 個資料夾，0:00";  // 26 columns
    const struct {
        std::uint64_t At, Entries;
        std::wstring Item, Written;
    } reports[] = {
        {0, 0, L"C:\\a.csv", L"\r" + counts + L"  C:\\a.csv"},
        {499, 5, L"C:\\a.csv", L""},
        // The end of an item too long, counted in columns: two for a wide character.
        {500, 0, L"D:\\報告書.docx", L"\r" + counts + L"  ...書.docx"},
        {1000, 1234, L"D:\\x.docx", L"\r1,234 個項目，3 個資料夾，0:01  ...docx"},
        {65000, 7, L"", L"\r7 個項目，3 個資料夾，1:05" + std::wstring(13, L' ')},
    };
    ProgressLine line(40);
    for (const auto& r : reports) EXPECT_EQ(line.Update(r.At, r.Entries, 3, r.Item), r.Written) << r.At;
    EXPECT_EQ(line.Clear(), L"\r" + std::wstring(26, L' ') + L"\r");
    EXPECT_EQ(line.Clear(), L"");
}

TEST(Texts, ElapsedTimeAndTheCompletionMessage)
{
    const std::pair<std::uint64_t, const wchar_t*> times[] = {
        {0, L"0 毫秒"},         {999, L"999 毫秒"},        {1000, L"1.000 秒"},       {59999, L"59.999 秒"},
        {60000, L"1 分"},       {60500, L"1 分, 0.500 秒"}, {61000, L"1 分, 1 秒"},     {61001, L"1 分, 1.001 秒"},
        {4294967295ull, L"71582 分, 47.295 秒"},
    };
    for (auto [ms, text] : times) EXPECT_EQ(ElapsedText(ms), text) << ms;

    // The elapsed time only when above zero; after a failure, what went wrong comes first.
    RunResult result;
    result.Started = true;
    EXPECT_EQ(RunReportText(result), L"OK！！ 花費時間共：\r\n0 個檔案 , 0 個資料夾");
    result.ElapsedMs = 2350, result.FileCount = 1234567, result.FolderCount = 8;
    EXPECT_EQ(RunReportText(result), L"OK！！ 花費時間共： (2.350 秒)\r\n1234567 個檔案 , 8 個資料夾");
    result.OutOfMemory = true;
    EXPECT_TRUE(RunReportText(result).starts_with(L"記憶體不足，清單不完整！ 花費時間共： (2.350 秒)\r\n"));
    result.AllWritten = false;
    EXPECT_TRUE(RunReportText(result).starts_with(L"清單檔案寫入失敗，內容不完整！ 花費時間共："));

    // The completion message's line on unreadable folders names the first three.
    WalkReport report;
    EXPECT_EQ(UnreadableSummaryText(report), L"");
    for (const wchar_t* path : {L"C:\\a", L"C:\\b", L"C:\\c", L"C:\\d"})
        report.Unreadable.push_back({path, ERROR_ACCESS_DENIED});
    EXPECT_EQ(UnreadableSummaryText(report), L"\r\n無法讀取的資料夾：4\r\nC:\\a\r\nC:\\b\r\nC:\\c");
}
