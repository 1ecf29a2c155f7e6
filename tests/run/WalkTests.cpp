#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "FailingAllocations.h"
#include "ListingFixture.h"
#include "run/ListingRun.h"
#include "run/SaveOptions.h"

namespace {

SYSTEMTIME Now()
{
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return now;
}

// Folder links inside a test folder, removed again before the folder is (removing
// the tree through them would reach back into it). The platform makes them where it
// may; under Wine, whose call only pretends to, they are Unix symbolic links.
class FolderLinks {
public:
    FolderLinks() = default;
    FolderLinks(const FolderLinks&) = delete;
    FolderLinks& operator=(const FolderLinks&) = delete;
    ~FolderLinks()
    {
        for (const std::wstring& link : links_) RemoveDirectoryW(link.c_str());
        if (!unixMade_.empty()) RunUnix(L"/bin/rm -f" + unixArguments_, unixMade_, false);
    }

    // target is relative to the link's folder.
    bool Make(const std::wstring& link, const std::wstring& target)
    {
        // Unprivileged creation needs developer mode, and older systems reject the flag.
        for (DWORD flags : {DWORD{SYMBOLIC_LINK_FLAG_DIRECTORY | SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE},
                            DWORD{SYMBOLIC_LINK_FLAG_DIRECTORY}}) {
            if (CreateSymbolicLinkW(link.c_str(), target.c_str(), flags) && Exists(link)) {
                links_.push_back(link);
                return true;
            }
        }
        using UnixNameOf = char*(CDECL*)(const wchar_t*);
        auto unixNameOf = reinterpret_cast<UnixNameOf>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
        if (!unixNameOf) return false;
        char* name = unixNameOf(link.c_str());
        if (!name) return false;
        std::wstring unixLink = L" \"" + Widened(name) + L"\"";
        HeapFree(GetProcessHeap(), 0, name);
        std::wstring unixTarget = target;
        for (wchar_t& c : unixTarget)
            if (c == L'\\') c = L'/';
        if (!RunUnix(L"/bin/ln -s " + unixTarget + unixLink, {link}, true)) return false;
        unixArguments_ += unixLink;
        unixMade_.push_back(link);
        return true;
    }

private:
    static bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

    static std::wstring Widened(const char* utf8)
    {
        int size = static_cast<int>(std::strlen(utf8));
        std::wstring text(static_cast<std::size_t>(size), L'\0');
        int length = MultiByteToWideChar(CP_UTF8, 0, utf8, size, text.data(), size);
        text.resize(static_cast<std::size_t>(std::max(length, 0)));
        return text;
    }

    // Wine starts a Unix program without a handle to wait on, so wait for its effect.
    static bool RunUnix(std::wstring command, const std::vector<std::wstring>& paths, bool appear)
    {
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process{};
        if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
            return false;
        // Wine hands back no real process for a Unix program (its id is 0) and may leave
        // stray values in the handles; closing them could close one of ours.
        if (process.dwProcessId != 0) {
            CloseHandle(process.hThread);
            CloseHandle(process.hProcess);
        }
        for (int wait = 0; wait < 500; ++wait) {
            bool done = true;
            for (const std::wstring& path : paths) done = done && Exists(path) == appear;
            if (done) return true;
            Sleep(10);
        }
        return false;
    }

    std::vector<std::wstring> links_;
    std::vector<std::wstring> unixMade_;
    std::wstring unixArguments_;  // their Unix names, quoted
};

std::wstring Joined(const std::vector<std::wstring>& lines)
{
    std::wstring text;
    for (const std::wstring& line : lines) text += line + L"\r\n";
    return text;
}

struct Outcome {
    RunResult Result;
    std::wstring Text;
};

class Walk : public testing::Test {
protected:
    Walk()
    {
        job_.SetRootFolder(fixture_.Root());
        job_.SetFolderFilter(L"*");
        options_.Format = ListingFormats::Tree;
        options_.SaveMode = SaveModes::Both;
        EXPECT_EQ(PrepareRun(state_, job_, {}, {}, Now()), SizeWarning::None);
    }

    // Every pump and status comes through at once (no throttling).
    Outcome RunTo(const std::wstring& path, FakeHost& host, std::uint32_t interval = 0)
    {
        Outcome run;
        run.Result = RunListing(state_, host.Control, job_, options_, path, host, interval);
        run.Text = ListingText(run.Result.OutputPath);
        return run;
    }

    Outcome RunOnce(FakeHost& host, std::uint32_t interval = 0) { return RunTo(output_ / L"listing.txt", host, interval); }

    std::wstring Lines(std::initializer_list<std::wstring> lines)
    {
        std::wstring text;
        for (const std::wstring& line : lines) text += line + L"\r\n";
        return text;
    }

    ListingFixture fixture_;
    TestFolder output_;
    JobInfo job_;
    RunState state_;
    ListingOptions options_;
};

}  // namespace

TEST_F(Walk, StopDuringAnEnumerationWritesThatSectionThenOnlyTheClosingLines)
{
    options_.Format = ListingFormats::Txt;
    const std::wstring lastRowBeforeStop = fixture_.Root() + L"\\sub1\\one.doc";
    int pumpsAfterRow = -1;
    FakeHost host;
    host.OnEvent = [&](FakeHost& h) {
        if (!h.Statuses.empty() && h.Statuses.back() == lastRowBeforeStop && pumpsAfterRow < 0) pumpsAfterRow = h.Pumps;
        // One pump follows the row; then the deep folder's ".", ".." and "deeper".
        if (pumpsAfterRow >= 0 && h.Pumps == pumpsAfterRow + 4) h.PressStop();
    };
    Outcome run = RunOnce(host);
    EXPECT_TRUE(run.Result.Stopped);
    EXPECT_EQ(run.Result.FolderCount, 5);  // the three top folders, deep, deeper
    EXPECT_EQ(run.Result.FileCount, 5);    // the four top files and one.doc
    EXPECT_EQ(MatchListing(run.Text, ExpectedListing("stop_txt_both", fixture_)), "");
}

TEST_F(Walk, RunningOutOfMemoryStopsTheRunWithItsClosingLines)
{
    options_.Format = ListingFormats::Txt;
    const std::wstring root = fixture_.Root();
    // Memory runs out while a folder is enumerated, while a row is written, after a section.
    for (std::wstring event : {root + L"\\sub1", root + L"\\alpha.txt", root + L"\\sub1\\deep"}) {
        FakeHost host;
        bool failed = false;
        host.OnEvent = [&](FakeHost& h) {
            if (!failed && !h.Statuses.empty() && h.Statuses.back() == event) {
                failed = true;
                FailNextAllocation();
            }
        };
        Outcome run = RunTo(output_ / (L"listing" + std::to_wstring(event.size()) + L".txt"), host);
        ASSERT_TRUE(failed);
        EXPECT_TRUE(run.Result.OutOfMemory) << testing::PrintToString(event);
        EXPECT_TRUE(run.Result.Stopped);
        EXPECT_TRUE(run.Result.AllWritten);
        EXPECT_LT(run.Result.FileCount, 8);
        EXPECT_NE(run.Text.find(L"########################### - 完成時間："), std::wstring::npos);
        EXPECT_TRUE(run.Text.ends_with(L" 秒 - ###########################\r\n"));
        EXPECT_EQ(state_.WalkDepth, 0);
    }
}

TEST_F(Walk, StopAfterASectionWritesNoFurtherRows)
{
    options_.Format = ListingFormats::Tree;
    const std::wstring sub1 = fixture_.Root() + L"\\sub1";
    FakeHost host;
    host.OnEvent = [&](FakeHost& h) {
        if (!h.Statuses.empty() && h.Statuses.back() == sub1) h.PressStop();
    };
    Outcome run = RunOnce(host);
    const std::wstring& r = fixture_.Root();
    EXPECT_EQ(run.Text, Lines({r, L"│  alpha.txt", L"│  Beta.EXE", L"│  gamma.jpeg2k", L"│  R&D notes.htm",
                               L"├─" + r + L"\\empty", L"├─" + r + L"\\sub1"}));
    EXPECT_EQ(run.Result.FolderCount, 4);
    EXPECT_EQ(run.Result.FileCount, 5);
}

TEST_F(Walk, AFolderThatVanishesBeforeItsWalkIsSkipped)
{
    const std::wstring root = fixture_.Root();
    FakeHost host;
    host.OnEvent = [&](FakeHost& h) {
        if (!h.Statuses.empty() && h.Statuses.back() == root + L"\\R&D notes.htm") RemoveTree(root + L"\\empty");
    };
    Outcome run = RunOnce(host);
    EXPECT_EQ(run.Text, Lines({root, L"│  alpha.txt", L"│  Beta.EXE", L"│  gamma.jpeg2k", L"│  R&D notes.htm",
                               L"├─" + root + L"\\sub1", L"│  │  one.doc", L"│  ├─" + root + L"\\sub1\\deep",
                               L"│  │  │  two.bin", L"│  │  ├─" + root + L"\\sub1\\deep\\deeper",
                               L"├─" + root + L"\\zeta & co", L"│  │  z.txt"}));
    // Its parent had already counted it; nothing below it is counted.
    EXPECT_EQ(run.Result.FolderCount, 5);
    EXPECT_EQ(run.Result.FileCount, 7);
}

TEST_F(Walk, AChosenPathThatIsNoFolderGivesOnlyTheFrame)
{
    job_.SetRootFolder(fixture_.Root() + L"\\alpha.txt");
    options_.Format = ListingFormats::Txt;
    FakeHost host;
    Outcome run = RunOnce(host);
    EXPECT_TRUE(run.Result.Started);
    EXPECT_EQ(run.Result.FolderCount, 0);
    EXPECT_EQ(run.Result.FileCount, 0);
    EXPECT_EQ(MatchListing(run.Text, Lines({L"########################### - 開始時間：{TIME} - ###########################",
                                            L"----------- ---------------- ---------------- ---------------- -------- "
                                            L"-------- --------------------------------------------------------",
                                            L"########################### - 完成時間：{TIME} - ###########################"})),
              "");
}

TEST_F(Walk, AnEmptyChosenFolderGivesOneSectionAndNoCounts)
{
    job_.SetRootFolder(fixture_.Root() + L"\\empty");
    FakeHost host;
    Outcome run = RunOnce(host);
    EXPECT_EQ(run.Text, Lines({fixture_.Root() + L"\\empty"}));
    EXPECT_EQ(run.Result.FolderCount, 0);
    EXPECT_EQ(run.Result.FileCount, 0);
}

TEST_F(Walk, WithoutAFormatNoFileIsMadeButTheWalkCounts)
{
    options_.Format = ListingFormats::None;
    FakeHost host;
    std::wstring path = output_ / L"none.txt";
    Outcome run = RunTo(path, host);
    EXPECT_TRUE(run.Result.Started);
    EXPECT_TRUE(host.Started);
    EXPECT_TRUE(run.Result.AllWritten);
    EXPECT_EQ(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(run.Result.FolderCount, 5);
    EXPECT_EQ(run.Result.FileCount, 7);
}

TEST_F(Walk, AnOutputFileThatCannotBeMadeStopsTheRunBeforeItStarts)
{
    FakeHost host;
    RunResult result = RunListing(state_, host.Control, job_, options_, output_ / L"missing\\listing.txt", host, 0);
    EXPECT_FALSE(result.Started);
    EXPECT_FALSE(host.Started);
    EXPECT_FALSE(result.AllWritten);
    EXPECT_EQ(host.Pumps, 0);
}

TEST_F(Walk, ANameTakenByAFileOrAFolderIsNeverReplaced)
{
    std::wstring wanted = output_.MakeFile(L"20240507_150405_Quorvane.txt", "earlier");
    output_.MakeFolder(L"20240507_150405_Quorvane (2).txt");
    FakeHost host;
    RunResult result = RunListing(state_, host.Control, job_, options_, wanted, host, 0);
    EXPECT_TRUE(result.Started);
    EXPECT_EQ(result.OutputPath, output_ / L"20240507_150405_Quorvane (3).txt");
    EXPECT_EQ(ReadFileBytes(wanted), "earlier");
    EXPECT_TRUE(ListingText(result.OutputPath).starts_with(fixture_.Root() + L"\r\n"));
}

TEST_F(Walk, EveryStepPumpsAndShowsItsPathWhenNotThrottled)
{
    FakeHost host;
    RunOnce(host, 0);
    const std::wstring& r = fixture_.Root();
    EXPECT_EQ(host.Statuses,
              (std::vector<std::wstring>{r, r + L"\\alpha.txt", r + L"\\Beta.EXE", r + L"\\gamma.jpeg2k",
                                         r + L"\\R&D notes.htm", r + L"\\empty", r + L"\\sub1", r + L"\\sub1\\one.doc",
                                         r + L"\\sub1\\deep", r + L"\\sub1\\deep\\two.bin", r + L"\\sub1\\deep\\deeper",
                                         r + L"\\zeta & co", r + L"\\zeta & co\\z.txt"}));
    // 9 + 2 + 4 + 4 + 2 + 3 entries with "." and "..", 7 rows, 5 subfolders.
    EXPECT_EQ(host.Pumps, 24 + 7 + 5);
}

TEST_F(Walk, ThrottlingKeepsPumpsAndStatusTextsFewWhileStopStillWorks)
{
    FakeHost host;
    RunOnce(host, 3600 * 1000);
    EXPECT_LE(host.Pumps, 1);
    EXPECT_LE(host.Statuses.size(), 1u);

    FakeHost stopper(1);  // Stop in the very first pump
    Outcome run = RunOnce(stopper, 3600 * 1000);
    EXPECT_EQ(run.Text, Lines({fixture_.Root()}));
    EXPECT_EQ(run.Result.FileCount, 0);
}

TEST_F(Walk, AFailedWriteIsReported)
{
    const char* volume = std::getenv("QUORVANE_SMALL_VOLUME");
    if (!volume || !*volume) GTEST_SKIP() << "QUORVANE_SMALL_VOLUME is not set";
    std::wstring folder(volume, volume + std::strlen(volume));
    options_.Format = ListingFormats::Html;
    // Leave one page free: the file opens, the listing does not fit.
    ULARGE_INTEGER free{};
    ASSERT_TRUE(GetDiskFreeSpaceExW((folder + L"\\").c_str(), &free, nullptr, nullptr));
    std::wstring filler = folder + L"\\filler.bin";
    HANDLE file = CreateFileW(filler.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    std::string block(4096, 'f');
    DWORD written = 0;
    for (ULONGLONG left = free.QuadPart - 4096; left >= 4096; left -= 4096)
        if (!WriteFile(file, block.data(), 4096, &written, nullptr)) break;
    CloseHandle(file);
    FakeHost host;
    std::wstring path = folder + L"\\listing.html";
    RunResult result = RunListing(state_, host.Control, job_, options_, path, host, 0);
    DeleteFileW(path.c_str());
    DeleteFileW(filler.c_str());
    EXPECT_TRUE(result.Started);
    EXPECT_FALSE(result.AllWritten);
    EXPECT_NE(result.WriteError, 0u);
    EXPECT_EQ(result.FileCount, 7);
}

TEST_F(Walk, ASecondRunWithTheControlOfARunningOneStartsNothing)
{
    FakeHost host;
    RunResult nested;
    std::wstring nestedPath = output_ / L"nested.txt";
    host.OnEvent = [&](FakeHost& h) {
        if (h.Pumps != 3 || nested.Started) return;
        h.PressStop();
        FakeHost inner;
        nested = RunListing(state_, h.Control, job_, options_, nestedPath, inner, 0);
        EXPECT_FALSE(inner.Started);
    };
    Outcome run = RunOnce(host);
    EXPECT_FALSE(nested.Started);
    EXPECT_EQ(GetFileAttributesW(nestedPath.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(run.Result.Started);
    EXPECT_FALSE(host.Control.Running());
    EXPECT_EQ(run.Text, Lines({fixture_.Root()}));  // stopped during the first enumeration
}

TEST(WalkDepth, AChainOfFoldersDeeperThanTheWalkGoesEndsWithoutHarm)
{
    TestFolder folder;
    std::wstring relative = L"d";
    folder.MakeFolder(relative);
    for (int level = 2; level <= 520; ++level) {
        relative += L"\\d";
        folder.MakeFolder(relative);
    }
    JobInfo job;
    job.SetRootFolder(folder.Path());
    job.SetFolderFilter(L"*");
    RunState state;
    ListingOptions options;
    options.Format = ListingFormats::None;
    FakeHost host;
    RunResult result = RunListing(state, host.Control, job, options, L"", host);
    // Folders down to 512 levels are walked; the one below the last of them is counted.
    EXPECT_EQ(result.FolderCount, 513);
    EXPECT_EQ(state.WalkDepth, 0);
}

TEST(WalkLinks, AFolderThatLeadsBackUpIsCountedButNotWalked)
{
    TestFolder folder;
    FolderLinks links;
    const std::wstring root = folder.MakeFolder(L"root");
    folder.MakeFolder(L"root\\a");
    folder.MakeFile(L"root\\a\\x.txt", "x");
    folder.MakeFolder(L"other");
    folder.MakeFile(L"other\\y.txt", "yy");
    // The folder itself, the chosen folder from below, the folder above the chosen
    // one, and a link that leads elsewhere and is walked like any folder.
    const struct {
        const wchar_t* Link;
        const wchar_t* Target;
    } made[] = {{L"root\\self", L"."}, {L"root\\a\\up", L".."}, {L"root\\parent", L".."},
                {L"root\\elsewhere", L"..\\other"}};
    for (const auto& link : made)
        if (!links.Make(folder / link.Link, link.Target)) GTEST_SKIP() << "folder links cannot be made here";

    const struct {
        bool Subfolders;
        std::vector<std::wstring> Lines;
    } cases[] = {
        {true, {root, L"├─" + root + L"\\a", L"│  │  x.txt", L"├─" + root + L"\\elsewhere", L"│  │  y.txt"}},
        {false, {root, L"├─" + root + L"\\a", L"├─" + root + L"\\elsewhere"}},
    };
    TestFolder output;
    for (const auto& c : cases) {
        JobInfo job;
        job.SetRootFolder(root);
        job.SetFolderFilter(L"*");
        job.SetSortKey(FieldCodes::Name);
        job.SetIncludeSubFolders(c.Subfolders);
        RunState state;
        EXPECT_EQ(PrepareRun(state, job, {}, {}, Now()), SizeWarning::None);
        ListingOptions options;
        options.Format = ListingFormats::Tree;
        FakeHost host;
        std::wstring path = output / (std::to_wstring(c.Subfolders) + L".txt");
        RunResult result = RunListing(state, host.Control, job, options, path, host, 0);
        EXPECT_EQ(ListingText(path), Joined(c.Lines)) << "subfolders " << c.Subfolders;
        // Folders: a, elsewhere, parent and self in the chosen one, up in a.
        EXPECT_EQ(result.FolderCount, 5) << "subfolders " << c.Subfolders;
        EXPECT_EQ(result.FileCount, 2) << "subfolders " << c.Subfolders;
    }
}
