#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <regex>

#include "ProgramSupport.h"
#include "fs/OutputFile.h"
#include "run/ListingRun.h"
#include "run/SaveOptions.h"

namespace {

class QuietHost : public RunHost {
public:
    void PumpMessages() override {}
    void ShowStatus(std::wstring_view) override {}
};

std::vector<std::wstring> FilesIn(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW record;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &record);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(record.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(record.cFileName);
    } while (FindNextFileW(find, &record));
    FindClose(find);
    return names;
}

// The listing's text with the moments in its start and end lines masked.
std::wstring MaskedListing(const std::wstring& path)
{
    std::string bytes = ReadFileBytes(path);
    std::wstring text;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        text.push_back(static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                            (static_cast<unsigned char>(bytes[i + 1]) << 8)));
    static const std::wregex times(L"(開始時間|完成時間)：[^\r\n]*");
    return std::regex_replace(text, times, L"$1：<time>");
}

std::wstring FirstLine(const std::wstring& text) { return text.substr(0, text.find(L"\r\n")); }

SYSTEMTIME LocalNow()
{
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return now;
}

void WriteLines(const std::wstring& path, const std::vector<std::wstring>& lines)
{
    OutputFile file;
    ASSERT_TRUE(OpenOutputFile(file, path));
    for (const std::wstring& line : lines) WriteOutputLine(file, line);
    CloseOutputFile(file);
}

class ListCommand : public testing::Test {
protected:
    void SetUp() override
    {
        listed.MakeFile(L"b.txt", "bbbb");
        listed.MakeFile(L"A.log", std::string(1500, 'a'));
        listed.MakeFolder(L"sub");
        listed.MakeFile(L"sub\\inner.dat", std::string(70000, 'i'));
        listed.MakeFolder(L"sub\\deeper");
        program_ = CopyOfProgram(programFolder);
    }

    void WriteSettings()
    {
        WriteLines(programFolder / L"Setting.ini",
                   {L"[Setting]", L"SavePath=" + output.Path() + L"\\", L"SaveMode=2", L"SortSave=1", L"ScanSubFolders=1",
                    L"ScanSystem=1", L"ScanHidden=1", L"ScanReadOnly=1", L"Date=0", L"Size=0", L"Format=0",
                    L"SizeType0=0", L"SizeType1=1", L"SaveFilter=*.*"});
    }

    // /list of the listed folder into the output folder; later flags may replace either.
    ProgramRun List(const std::vector<std::wstring>& flags)
    {
        std::vector<std::wstring> arguments{L"/list", listed.Path(), L"/out", output.Path()};
        arguments.insert(arguments.end(), flags.begin(), flags.end());
        return RunProgram(program_, arguments);
    }

    TestFolder programFolder;
    TestFolder listed;
    TestFolder output;
    std::wstring program_;
};

struct Expected {
    JobInfo Job;
    ListingOptions Options;
    SizeControls Sizes;
    TimeControls Times;
};

}  // namespace

TEST_F(ListCommand, ListsWhatTheEngineListsForTheSameOptions)
{
    struct Case {
        std::vector<std::wstring> Flags;
        const wchar_t* Ending;
        std::function<void(Expected&)> Options;  // how the window would be set for the same listing
    };
    OleDate today = *OleDateFromSystemTime(LocalNow());
    const Case cases[] = {
        {{}, L"Quorvane.txt", [](Expected&) {}},
        {{L"/format", L"csv", L"/mode", L"files", L"/sort", L"size", L"/desc"}, L"Quorvane.csv",
         [](Expected& e) {
             e.Options.Format = 1, e.Options.SaveMode = 0;
             e.Job.SetShowFolders(false), e.Job.SetSortKey(6), e.Job.SetSortOrder(1);
         }},
        {{L"/format", L"html", L"/nosub", L"/filter", L"*.log;*.dat"}, L"Quorvane.html",
         [](Expected& e) { e.Options.Format = 2, e.Job.SetIncludeSubFolders(false), e.Job.SetFileFilter(L"*.log;*.dat"); }},
        {{L"/format", L"tree", L"/depth", L"1", L"/mode", L"folders", L"/ignore-empty"}, L"Quorvane.txt",
         [](Expected& e) {
             e.Options.Format = 3, e.Options.SaveMode = 1, e.Options.DepthLimit = 1, e.Options.IgnoreEmptyFolders = true;
             e.Job.SetShowFiles(false);
         }},
        {{L"/format", L"html", L"/easy", L"/fullpath", L"/noext", L"/sort", L"ext"}, L"Quorvane.txt",
         [](Expected& e) {
             e.Options.Format = 2, e.Options.EasyMode = e.Options.FullPath = e.Options.DeleteExtension = true;
             e.Job.SetSortKey(5);
         }},
        {{L"/size-min", L"1KB", L"/size-max", L"60KB", L"/time", L"modified", L"/from", L"2000-01-01"}, L"Quorvane.txt",
         [](Expected& e) {
             e.Sizes = {SizeModes::Between, L"1", SizeUnits::KB, L"60", SizeUnits::KB};
             e.Times.Kind = TimeKinds::Modified, e.Times.First = *OleDateFromParts({2000, 1, 1});
         }},
    };
    WriteSettings();
    for (const Case& c : cases) {
        for (const std::wstring& name : FilesIn(output.Path())) DeleteFileW((output / name).c_str());
        ProgramRun run = List(c.Flags);
        std::wstring flags;
        for (const std::wstring& flag : c.Flags) flags += L" " + flag;
        ASSERT_EQ(run.ExitCode, 0u) << flags << "\n" << run.Errors;
        EXPECT_EQ(run.Errors, L"");
        std::wstring path = FirstLine(run.Output);
        EXPECT_TRUE(path.starts_with(output.Path() + L"\\") && path.ends_with(c.Ending)) << path;
        ASSERT_EQ(FilesIn(output.Path()).size(), 1u) << flags;

        // The window's job for the same settings: its tree spells the folder with a trailing "\".
        Expected e{JobInfo(), ListingOptions(), SizeControls(), TimeControls{TimeKinds::Any, today, today}};
        e.Job.SetRootFolder(listed.Path() + L"\\");
        e.Job.SetFolderFilter(L"*");
        c.Options(e);
        RunState state;
        ASSERT_EQ(PrepareRun(state, e.Job, e.Sizes, e.Times, LocalNow()), SizeWarning::None);
        TestFolder reference;
        QuietHost host;
        RunControl control;
        RunResult result = RunListing(state, control, e.Job, e.Options, reference / L"expected", host);
        EXPECT_EQ(MaskedListing(path), MaskedListing(reference / L"expected")) << flags;
        std::wstring counts = std::to_wstring(result.FileCount) + L" 個檔案 , " +
                              std::to_wstring(result.FolderCount) + L" 個資料夾\r\n";
        EXPECT_TRUE(run.Output.ends_with(counts)) << run.Output;
        EXPECT_NE(run.Output.find(L"\r\nOK！！ 花費時間共："), std::wstring::npos) << run.Output;
    }
}

TEST_F(ListCommand, BadArgumentsAndOptionsWriteNothingAndEndWith1)
{
    struct Case {
        std::vector<std::wstring> Flags;
        std::wstring Message;
    };
    const Case cases[] = {
        {{L"/bogus"}, L"無法辨識的參數：/bogus"},
        {{L"/depth", L"0"}, L"/depth 的值必須是 1 到 99 的整數：0"},
        {{L"/from", L"2024-02-30"}, L"/from 的值不是有效的日期：2024-02-30"},
        {{L"/size-max", L"0"}, L"請指定小於數值，不可留空白或設定為 0"},
        {{L"/size-min", L"0KB"}, L"請指定大於數值，不可留空白或設定為 0"},
        {{L"/size-min", L"10MB", L"/size-max", L"10240KB"}, L"最小數值不可以大於最大數值"},
        {{L"/settings", programFolder / L"missing.ini"}, L"找不到設定檔：" + programFolder / L"missing.ini"},
        {{L"/list", listed / L"missing"}, L"找不到要列出的資料夾：" + listed / L"missing"},
    };
    WriteSettings();
    for (const Case& c : cases) {
        ProgramRun run = List(c.Flags);
        EXPECT_EQ(run.ExitCode, 1u) << c.Message;
        EXPECT_NE(run.Errors.find(c.Message), std::wstring::npos) << run.Errors;
        EXPECT_EQ(run.Output, L"");
        EXPECT_TRUE(FilesIn(output.Path()).empty()) << c.Message;
    }
    ProgramRun usage = RunProgram(program_, {L"/?"});
    EXPECT_EQ(usage.ExitCode, 0u);
    EXPECT_NE(usage.Output.find(L"/size-min N[KB|MB]"), std::wstring::npos) << usage.Output;
}

TEST_F(ListCommand, AnOutputFileThatCannotBeCreatedEndsWith2)
{
    listed.MakeFile(L"in the way");
    WriteSettings();
    for (const std::wstring& folder : {output / L"missing", listed / L"in the way\\below"}) {
        ProgramRun run = List({L"/out", folder});
        EXPECT_EQ(run.ExitCode, 2u) << folder;
        EXPECT_TRUE(run.Errors.starts_with(L"無法建立清單檔案：\r\n" + folder + L"\\")) << run.Errors;
        EXPECT_EQ(run.Output, L"");
    }
}

TEST_F(ListCommand, MissingSettingsAreReadFromTheDefaultsAndNeverWritten)
{
    // The default Setting.ini lists in TXT without subfolders; FileType.txt's groups come along.
    ProgramRun run = List({L"/filter", L"*.log"});
    EXPECT_EQ(run.ExitCode, 0u) << run.Errors;
    EXPECT_TRUE(FirstLine(run.Output).ends_with(L"Quorvane.txt")) << run.Output;
    EXPECT_TRUE(run.Output.ends_with(L"1 個檔案 , 2 個資料夾\r\n")) << run.Output;
    EXPECT_EQ(FilesIn(programFolder.Path()), std::vector<std::wstring>{L"Quorvane.exe"});
}

TEST_F(ListCommand, AListingCutShortByAFullDiskEndsWith3)
{
    const char* volume = std::getenv("QUORVANE_SMALL_VOLUME");
    if (!volume || !*volume) GTEST_SKIP() << "QUORVANE_SMALL_VOLUME is not set";
    std::wstring full(volume, volume + std::strlen(volume));
    std::wstring target = full + L"\\command-line-out";
    CreateDirectoryW(target.c_str(), nullptr);
    ULARGE_INTEGER free{};
    GetDiskFreeSpaceExW(target.c_str(), &free, nullptr, nullptr);
    std::wstring filler = full + L"\\command-line-filler.bin";
    {
        OutputFile file;
        ASSERT_TRUE(OpenOutputFile(file, filler));
        if (free.QuadPart > 6000) WriteOutputLine(file, std::wstring((free.QuadPart - 6000) / 2, L'f'));
        CloseOutputFile(file);
    }
    for (int i = 0; i < 300; ++i) listed.MakeFile(L"many " + std::to_wstring(i) + L".txt", "x");
    WriteSettings();
    ProgramRun run = List({L"/out", target});
    for (const std::wstring& name : FilesIn(target)) DeleteFileW((target + L"\\" + name).c_str());
    RemoveDirectoryW(target.c_str());
    DeleteFileW(filler.c_str());
    EXPECT_EQ(run.ExitCode, 3u);
    EXPECT_TRUE(FirstLine(run.Output).starts_with(target + L"\\")) << run.Output;
    EXPECT_TRUE(run.Errors.starts_with(L"清單檔案寫入失敗，內容不完整！")) << run.Errors;
    EXPECT_NE(run.Errors.find(L"303 個檔案 , 2 個資料夾"), std::wstring::npos) << run.Errors;
}
