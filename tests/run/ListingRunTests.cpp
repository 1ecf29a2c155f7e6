#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <fstream>
#include <iterator>
#include <memory>
#include <mutex>
#include <new>
#include <regex>

#include "run/InventoryCompare.h"
#include "run/ListingRun.h"
#include "run/SaveOptions.h"
#include "support/TestFolder.h"
#include "support/TestTimes.h"

// The run tests' allocations come through here, so that one can fail as when memory runs out.
static std::atomic<bool> failNextAllocation{false};
void* operator new(std::size_t size)
{
    if (failNextAllocation.exchange(false)) throw std::bad_alloc();
    if (void* memory = HeapAlloc(GetProcessHeap(), 0, size ? size : 1)) return memory;
    throw std::bad_alloc();
}
void operator delete(void* memory) noexcept { if (memory) HeapFree(GetProcessHeap(), 0, memory); }
void operator delete(void* memory, std::size_t) noexcept { operator delete(memory); }

namespace {

// Creation and modification alike, since Wine reports the one as the other.
void SetLocalTimes(const std::wstring& path, const SYSTEMTIME& written, const SYSTEMTIME& accessed)
{
    FILETIME times[2];
    for (int i = 0; i < 2; ++i) {
        SYSTEMTIME utc{};
        EXPECT_TRUE(TzSpecificLocalTimeToSystemTime(nullptr, i == 0 ? &written : &accessed, &utc));
        EXPECT_TRUE(SystemTimeToFileTime(&utc, &times[i]));
    }
    HANDLE handle = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    EXPECT_TRUE(SetFileTime(handle, &times[0], &times[1], &times[0]));
    CloseHandle(handle);
}

// Made once for the program and only read. Folder times are set last, since their files
// change them; folder access times lie in the future, since reading a folder moves an
// older one on file systems that keep it (relatime).
const TestFolder& ListingTree()
{
    static const std::unique_ptr<TestFolder> tree = [] {
        auto made = std::make_unique<TestFolder>();
        const struct {
            const wchar_t* Path;
            int Size;  // -1: a folder
            SYSTEMTIME Written, Accessed;
            DWORD Attributes = FILE_ATTRIBUTE_ARCHIVE;
        } entries[] = {
            {L"empty", -1, At(2022, 6, 6, 6, 6), At(2031, 5, 5, 5, 5)}, {L"sub1", -1, At(2022, 3, 3, 3, 3), At(2031, 2, 2, 2, 2)},
            {L"sub1\\deep", -1, At(2022, 4, 4, 4, 4), At(2031, 3, 3, 3, 3)},
            {L"sub1\\deep\\deeper", -1, At(2022, 5, 5, 5, 5), At(2031, 4, 4, 4, 4)},
            {L"zeta & co", -1, At(2022, 7, 7, 7, 7), At(2031, 6, 6, 6, 6)},
            {L"alpha.txt", 1234, At(2023, 5, 1, 15, 4, 10), At(2023, 5, 3, 10, 0, 0)},
            {L"Beta.EXE", 100, At(2022, 12, 31, 23, 59, 59), At(2023, 1, 1), FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY},
            {L"gamma.jpeg2k", 0, At(2024, 2, 29, 12, 0, 0), At(2024, 3, 1, 8, 30, 0)},
            {L"R&D notes.htm", 2048, At(2021, 7, 4, 9, 5, 0), At(2021, 7, 5, 18, 45, 0)},
            {L"sub1\\one.doc", 5000, At(2020, 1, 2, 3, 4, 5), At(2025, 6, 7, 8, 9, 0)},
            {L"sub1\\deep\\two.bin", 3000000, At(2019, 11, 11, 11, 11, 0), At(2019, 11, 12, 12, 12, 0)},
            {L"zeta & co\\z.txt", 0, At(2018, 8, 8, 8, 8, 0), At(2018, 8, 9, 9, 9, 0)},
        };
        for (const auto& e : entries) {
            if (e.Size < 0) {
                made->MakeFolder(e.Path);
                continue;
            }
            std::wstring path = made->MakeFile(e.Path, std::string(static_cast<std::size_t>(e.Size), 'q'));
            SetLocalTimes(path, e.Written, e.Accessed);
            SetFileAttributesW(path.c_str(), e.Attributes);
        }
        for (const auto& e : entries)
            if (e.Size < 0) SetLocalTimes(*made / e.Path, e.Written, e.Accessed);
        SetLocalTimes(made->Path(), At(2022, 2, 2, 2, 2), At(2031, 1, 1, 1, 1));
        return made;
    }();
    return *tree;
}

// A host that records what the run shows and may press Stop.
class FakeHost : public RunHost {
public:
    void ShowStatus(std::wstring_view text) override
    {
        Statuses.emplace_back(text);
        if (OnStatus) OnStatus(*this);
    }
    void RunStarting() override { Started = true; }
    void ListingFinished(const RunResult&) override
    {
        Finished = true;
        if (OnFinished) OnFinished();
    }

    bool Started = false, Finished = false;
    std::vector<std::wstring> Statuses;
    std::function<void(FakeHost&)> OnStatus;
    std::function<void()> OnFinished;  // before the readers are stopped and waited for
    RunControl Control;  // the run's, as the window holds it
};

void ReplaceAll(std::wstring& text, std::wstring_view from, std::wstring_view to)
{
    for (std::size_t at = text.find(from); at != std::wstring::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

// expected/<name>.txt (UTF-8, LF line ends, checked by hand) with {ROOT}, {RULE} and {HEADER}
// for the chosen folder, the TXT rule line and column header, and {TIME} for a frame time.
std::wstring ExpectedListing(const std::string& name, const std::wstring& root)
{
    std::ifstream file(std::string(QUORVANE_EXPECTED_DIR) + "/" + name + ".txt", std::ios::binary);
    EXPECT_TRUE(file.good()) << "no expected file " << name;
    std::wstring text = FromUtf8(std::string(std::istreambuf_iterator<char>(file), {}));
    ReplaceAll(text, L"\n", L"\r\n");
    ReplaceAll(text, L"{RULE}", L"----------- ---------------- ---------------- ---------------- -------- -------- " +
                                    std::wstring(56, L'-'));
    ReplaceAll(text, L"{HEADER}", L"  檔案大小    起始建立時間     最後修改時間     最後存取時間   檔案屬性  副檔名  檔案名稱" +
                                      std::wstring(48, L' '));
    ReplaceAll(text, L"{ROOT}", root);
    return text;
}

// The text after the byte-order mark, with {TIME} for each time in a frame line.
std::wstring ListingText(const std::wstring& path)
{
    static const std::wregex time(L"\\d{4} 年 \\d\\d 月 \\d\\d 日 - [A-Z]{2} \\d\\d 時 \\d\\d 分 \\d\\d 秒");
    return std::regex_replace(FileText(path), time, L"{TIME}");
}

std::wstring Lines(std::initializer_list<std::wstring> lines)
{
    std::wstring text;
    for (const std::wstring& line : lines) text += line + L"\r\n";
    return text;
}

// A run of the listing tree as Save starts it: every file type, every folder.
class Listing : public testing::Test {
protected:
    Listing()
    {
        job_.SetRootFolder(root_);
        job_.SetFolderFilter(L"*");
    }

    // Every pump and status comes through at once.
    RunResult Run(FakeHost& host)
    {
        SYSTEMTIME now{};
        GetLocalTime(&now);
        EXPECT_EQ(PrepareRun(state_, job_, {}, {}, now), SizeWarning::None);
        if (setup_) setup_();
        RunResult result = RunListing(state_, host.Control, job_, options_, output_ / L"listing.txt", host, 0, reading_);
        text_ = ListingText(result.OutputPath);
        EXPECT_TRUE(host.Finished);
        return result;
    }
    // Several readers whose requests overlap: each waits a little before it is made.
    void ReadWith(int readers)
    {
        reading_.Readers = readers;
        reading_.LatencyMs = 2;
    }

    const std::wstring root_ = ListingTree().Path();
    JobInfo job_;
    ListingOptions options_{ListingFormats::Tree};
    RunState state_;
    std::function<void()> setup_;  // after PrepareRun
    ReadSettings reading_;
    TestFolder output_;
    std::wstring text_;
};

// Together the runs write every format and every listing mode, and each option once.
struct ListingCase {
    const char* Expected;  // expected/<name>.txt
    int Format, Mode;
    std::int32_t FolderCount = 5, FileCount = 7;
    void (*Setup)(JobInfo&, RunState&, ListingOptions&) = nullptr;  // after PrepareRun
};

void PrintTo(const ListingCase& c, std::ostream* out) { *out << c.Expected; }

class ListingRuns : public Listing, public testing::WithParamInterface<ListingCase> {};

// One reader, then eight whose requests overlap: the same bytes either way.
TEST_P(ListingRuns, WriteTheExpectedFile)
{
    const ListingCase& c = GetParam();
    options_.Format = c.Format;
    options_.SaveMode = c.Mode;
    job_.SetShowFiles(c.Mode != SaveModes::FoldersOnly);
    job_.SetShowFolders(c.Mode != SaveModes::FilesOnly);
    if (c.Setup) setup_ = [&] { c.Setup(job_, state_, options_); };
    for (int readers : {1, 8}) {
        ReadWith(readers);
        FakeHost host;
        RunResult result = Run(host);
        EXPECT_TRUE(result.Started && host.Started && result.AllWritten);
        EXPECT_EQ(std::make_pair(result.FolderCount, result.FileCount), std::make_pair(c.FolderCount, c.FileCount));
        EXPECT_EQ(text_, ExpectedListing(c.Expected, root_)) << readers << " readers";
        if (c.Format == ListingFormats::Inventory) {
            // What a program reads back of it is what was written.
            CompareResult read = CompareInventories(result.OutputPath, result.OutputPath, output_ / L"changes.csv",
                                                    host.Control);
            EXPECT_TRUE(read.End == CompareEnd::Compared && !read.Differs());
            DeleteFileW(read.OutputPath.c_str());
        }
    }
}

using namespace ListingFormats;
using namespace SaveModes;
using O = ListingOptions;

const ListingCase kCases[] = {
    {"txt_both", Txt, Both}, {"csv_both", Csv, Both}, {"html_both", Html, Both}, {"html_files", Html, FilesOnly},
    {"tree_files", Tree, FilesOnly},
    {"filter_txt_files", Txt, FilesOnly, 5, 3, [](JobInfo& job, RunState&, O&) { job.SetFileFilter(L"*.txt;*.doc"); }},
    {"size_range_csv_files", Csv, FilesOnly, 5, 4,
     [](JobInfo&, RunState& state, O&) { state.SizeLower = 100, state.SizeUpper = 5000, state.SizeTest = 3; }},
    {"ignore_empty_txt_folders", Txt, FoldersOnly, 5, 7, [](JobInfo&, RunState&, O& o) { o.IgnoreEmptyFolders = true; }},
    // Without subfolders the direct subfolders get their sections only when folders are listed.
    {"nosub_txt_both", Txt, Both, 4, 6, [](JobInfo& job, RunState&, O&) { job.SetIncludeSubFolders(false); }},
    {"nosub_csv_files", Csv, FilesOnly, 3, 4, [](JobInfo& job, RunState&, O&) { job.SetIncludeSubFolders(false); }},
    {"name_desc_tree_both", Tree, Both, 5, 7, [](JobInfo& job, RunState&, O&) { job.SetSortOrder(1); }},
    // Files by extension, folders by name.
    {"ext_tree_both", Tree, Both, 5, 7, [](JobInfo& job, RunState&, O&) { job.SetSortKey(FieldCodes::Extension); }},
    {"depth1_tree_both", Tree, Both, 5, 7, [](JobInfo&, RunState&, O& o) { o.DepthLimit = 1; }},
    // Easy mode names every folder, empty or not.
    {"easy_fullpath_noext", Html, Both, 5, 7,
     [](JobInfo&, RunState&, O& o) { o.EasyMode = o.FullPath = o.DeleteExtension = o.IgnoreEmptyFolders = true; }},
    {"easy_files_noext", ListingFormats::None, FilesOnly, 5, 7,
     [](JobInfo&, RunState&, O& o) { o.EasyMode = o.DeleteExtension = true; }},
    // Exact sizes and UTC times; each folder's row holds the sums of everything below it.
    {"inventory_both", Inventory, Both},
};

INSTANTIATE_TEST_SUITE_P(EveryFormatModeAndOption, ListingRuns, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<ListingCase>& info) { return std::string(info.param.Expected); });

}  // namespace

TEST_F(Listing, StopWritesNothingMoreButTheClosingLines)
{
    options_.Format = ListingFormats::Txt;
    for (int readers : {1, 8}) {
        ReadWith(readers);
        FakeHost host;
        host.OnStatus = [&](FakeHost& h) {
            if (h.Statuses.back() == root_ + L"\\sub1\\one.doc") h.Control.RequestStop();
        };
        RunResult result = Run(host);
        // The three top folders and deep; the four top files and one.doc.
        EXPECT_EQ(std::make_tuple(result.Stopped, result.FolderCount, result.FileCount), std::make_tuple(true, 4, 5));
        EXPECT_EQ(text_, ExpectedListing("stop_txt_both", root_)) << readers << " readers";
    }
    // The inventory's folders whose walk was cut short have empty sums; a folder walked has its own.
    options_.Format = ListingFormats::Inventory;
    FakeHost host;
    host.OnStatus = [&](FakeHost& h) {
        if (h.Statuses.back() == root_ + L"\\sub1\\one.doc") h.Control.RequestStop();
    };
    std::wstring rows = FileText(Run(host).OutputPath);
    for (auto [folder, sums] : {std::pair{root_, L",,,"}, {root_ + L"\\sub1", L",,,"}, {root_ + L"\\empty", L"0,0,0,0"}})
        EXPECT_NE(rows.find(L"\r\n" + folder + L",folder," + sums + L","), std::wstring::npos) << folder << "\n" << rows;
}

TEST_F(Listing, RunningOutOfMemoryEndsTheRunAsStopDoesWithTheClosingLines)
{
    options_.Format = ListingFormats::Txt;
    const std::wstring closing = L"########################### - 完成時間：{TIME} - ###########################\r\n";
    // While a row is written.
    FakeHost host;
    host.OnStatus = [armed = true](FakeHost& h) mutable {
        if (armed && h.Statuses.size() == 3) armed = false, failNextAllocation = true;
    };
    RunResult result = Run(host);
    EXPECT_TRUE(result.OutOfMemory && result.Stopped && result.FileCount < 7) << result.FileCount;
    EXPECT_TRUE(text_.ends_with(closing));

    // In a reader, in the middle of a folder's enumeration.
    struct FailInDeep : ProgressReport {
        void Report(std::uint64_t, std::uint64_t, std::wstring_view folder) override
        {
            if (folder.ends_with(L"\\deep")) failNextAllocation = true;
        }
    } failInDeep;
    ReadWith(8);
    reading_.Progress = &failInDeep;
    FakeHost second;
    result = Run(second);
    EXPECT_TRUE(result.OutOfMemory && result.Stopped && result.FileCount < 7) << result.FileCount;
    EXPECT_TRUE(text_.ends_with(closing));
}

TEST_F(Listing, AFolderThatCannotBeReadIsCountedAndReportedButLeavesNoTraceInTheListing)
{
    TestFolder tree;
    for (const wchar_t* folder : {L"a", L"b", L"c"}) tree.MakeFolder(folder);
    for (const wchar_t* file : {L"f.txt", L"b\\g.txt", L"c\\h.txt"}) tree.MakeFile(file);
    job_.SetRootFolder(tree.Path());
    // a is gone between its parent's enumeration and its own; c is locked where it can be.
    reading_.BeforeRequest = [&](std::wstring_view folder) {
        if (folder == tree / L"a") RemoveDirectoryW((tree / L"a").c_str());
    };
    const bool locked = LockFolder(tree / L"c", true);
    FakeHost host;
    RunResult result = Run(host);
    std::wstring listed = Lines({tree.Path(), L"│  f.txt", L"├─" + tree / L"b", L"│  │  g.txt"});
    if (!locked) listed += Lines({L"├─" + tree / L"c", L"│  │  h.txt"});
    EXPECT_EQ(text_, listed);
    EXPECT_EQ(std::make_pair(result.FolderCount, result.FileCount), std::make_pair(3, locked ? 2 : 3));
    std::vector<std::wstring> unreadable;
    for (const UnreadableFolder& folder : result.Report.Unreadable) unreadable.push_back(folder.Path);
    std::vector<std::wstring> expected{tree / L"a"};
    if (locked) expected.push_back(tree / L"c");
    EXPECT_EQ(unreadable, expected);
    EXPECT_TRUE(result.Report.Unreadable[0].Error == ERROR_PATH_NOT_FOUND ||
                result.Report.Unreadable[0].Error == ERROR_FILE_NOT_FOUND);
    if (locked) {
        EXPECT_EQ(result.Report.Unreadable[1].Error, static_cast<unsigned long>(ERROR_ACCESS_DENIED));
        LockFolder(tree / L"c", false);
    }
}

TEST_F(Listing, AfterAStopTheReadersAskForNoFolder)
{
    FakeHost host;
    std::vector<std::wstring> afterStop;
    reading_.Readers = 1;
    reading_.BeforeRequest = [&](std::wstring_view folder) {
        if (host.Control.StopRequested()) afterStop.emplace_back(folder);
        if (folder.ends_with(L"\\empty")) host.Control.RequestStop();
    };
    host.OnFinished = [] { Sleep(100); };  // a reader still going would ask meanwhile
    EXPECT_TRUE(Run(host).Stopped);
    EXPECT_TRUE(afterStop.empty()) << afterStop.front();
}

// Names in any letter case, files and folders alike; nothing below a left-out folder is read.
TEST_F(Listing, ExcludedNamesAreNeitherListedCountedNorWalked)
{
    options_.Format = ListingFormats::Tree;
    job_.SetExcludedNames(L"SUB1; *.EXE;ZETA*;");
    std::vector<std::wstring> requested;
    reading_.BeforeRequest = [&](std::wstring_view folder) { requested.emplace_back(folder); };
    FakeHost host;
    RunResult result = Run(host);
    EXPECT_EQ(text_, Lines({root_, L"│  alpha.txt", L"│  gamma.jpeg2k", L"│  R&D notes.htm", L"├─" + root_ + L"\\empty"}));
    EXPECT_EQ(std::make_pair(result.FolderCount, result.FileCount), std::make_pair(1, 3));
    for (const std::wstring& folder : requested) EXPECT_EQ(folder.find(L"sub1"), std::wstring::npos) << folder;
}

TEST_F(Listing, ANameTakenByAFileOrAFolderIsNeverReplaced)
{
    FakeHost host;
    std::wstring wanted = output_.MakeFile(L"20240507_150405_Quorvane.txt", "earlier");
    output_.MakeFolder(L"20240507_150405_Quorvane (2).txt");
    RunResult result = RunListing(state_, host.Control, job_, options_, wanted, host, 0);
    EXPECT_EQ(result.OutputPath, output_ / L"20240507_150405_Quorvane (3).txt");
    EXPECT_EQ(ReadFileBytes(wanted), "earlier");
    EXPECT_TRUE(ListingText(result.OutputPath).starts_with(root_ + L"\r\n"));
}

TEST_F(Listing, AChainOfFoldersDeeperThanTheWalkGoesEndsWithoutHarm)
{
    TestFolder tree;
    const std::wstring unixTree = UnixPath(tree.Path());
    std::wstring chain = tree.Path(), unixChain = unixTree;
    for (int level = 1; level <= 514; ++level) chain += L"\\d", unixChain += L"/d";
    if (unixTree.empty() || !RunUnixShell(L"mkdir -p " + unixChain, chain))
        for (std::wstring path = tree.Path(); path.size() < chain.size();)
            CreateDirectoryW(ExtendedPath(path += L"\\d").c_str(), nullptr);
    job_.SetRootFolder(tree.Path());
    options_.Format = ListingFormats::None;
    FakeHost host;
    // Folders down to 512 levels are walked; the one below the last of them is counted.
    EXPECT_EQ(Run(host).FolderCount, 513);
    if (!unixTree.empty()) RunUnixShell(L"rm -rf " + unixTree + L"/d", tree / L"d", false);
}

TEST_F(Listing, AFolderThatLeadsBackUpIsCountedButNotWalked)
{
    TestFolder tree;
    const std::wstring root = tree.MakeFolder(L"root"), unixTree = UnixPath(tree.Path());
    tree.MakeFolder(L"root\\a");
    tree.MakeFile(L"root\\a\\x.txt", "x");
    tree.MakeFolder(L"root\\a\\b");
    tree.MakeFolder(L"other");
    tree.MakeFile(L"other\\y.txt", "yy");
    // The folder itself, the chosen folder from below, the folder above the chosen one, one
    // on the way down, and a link that leads elsewhere and is walked like any folder.
    const std::pair<std::wstring, std::wstring> links[] = {{L"root/self", L"."},       {L"root/a/up", L".."},
                                                           {L"root/parent", L".."},    {L"root/a/b/toa", L".."},
                                                           {L"root/elsewhere", L"../other"}};
    std::wstring make = L"cd " + unixTree, remove = make + L" && rm -f";
    for (auto [link, target] : links) {
        make += L" && ln -s " + target + L" " + link;
        remove += L" " + link;
        std::replace(link.begin(), link.end(), L'/', L'\\');
        std::replace(target.begin(), target.end(), L'/', L'\\');
        if (unixTree.empty() && !CreateSymbolicLinkW((tree / link).c_str(), target.c_str(),
                                                     SYMBOLIC_LINK_FLAG_DIRECTORY | SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE))
            GTEST_SKIP() << "folder links cannot be made here";
    }
    ASSERT_TRUE(unixTree.empty() || RunUnixShell(make, root + L"\\elsewhere"));
    job_.SetRootFolder(root);
    for (bool subfolders : {true, false}) {
        job_.SetIncludeSubFolders(subfolders);
        ReadWith(subfolders ? 8 : 1);
        FakeHost host;
        RunResult result = Run(host);
        EXPECT_EQ(text_, subfolders ? Lines({root, L"├─" + root + L"\\a", L"│  │  x.txt", L"│  ├─" + root + L"\\a\\b",
                                             L"├─" + root + L"\\elsewhere", L"│  │  y.txt"})
                                    : Lines({root, L"├─" + root + L"\\a", L"├─" + root + L"\\elsewhere"}));
        // Folders: a, elsewhere, parent and self in the chosen one, up and b in a, toa in b.
        EXPECT_EQ(std::make_pair(result.FolderCount, result.FileCount), std::make_pair(subfolders ? 7 : 6, 2));
        // Named as not followed, in the order of the listing; none of them is unreadable.
        std::vector<std::wstring> loops{root + L"\\parent", root + L"\\self"};
        if (subfolders) loops.insert(loops.end(), {root + L"\\a\\up", root + L"\\a\\b\\toa"});
        if (!unixTree.empty()) {
            EXPECT_EQ(result.Report.NotFollowed, loops);
        }
        EXPECT_TRUE(result.Report.Unreadable.empty());
    }
    // The links go before the folder, whose removal must not follow them.
    if (!unixTree.empty()) RunUnixShell(remove, root + L"\\elsewhere", false);
    for (auto [link, target] : links) RemoveDirectoryW((tree / link).c_str());
}

// What is read ahead is bounded: 1,022 folders, then one of 1,100 files, fill the room
// (with the chosen folder, 1,024 folders) while the writer is held at the chosen folder's
// file, so the reader waits in the large folder until the writer moves on.
TEST_F(Listing, AReaderFarAheadOfTheWriterWaitsForRoom)
{
    TestFolder tree;
    const std::wstring unixTree = UnixPath(tree.Path()), root = tree / L"t";
    if (unixTree.empty()) GTEST_SKIP() << "the tree is made by a Unix shell";
    ASSERT_TRUE(RunUnixShell(L"cd " + unixTree + L" && mkdir t && cd t && touch 0.txt && seq 1000 2021 | sed s/^/c/ | "
                             L"xargs mkdir && mkdir large && cd large && seq 1 1100 | xargs touch && mkdir ../../done",
                             tree / L"done"));
    std::mutex mutex;
    std::condition_variable changed;
    bool largeStarted = false;
    std::vector<std::wstring> events;
    struct Reports : ProgressReport {
        std::function<void(std::wstring_view)> Heard;
        void Report(std::uint64_t, std::uint64_t, std::wstring_view folder) override { Heard(folder); }
    } reports;
    reports.Heard = [&](std::wstring_view folder) {
        std::lock_guard lock(mutex);
        if (!folder.ends_with(L"\\large")) return;
        if (std::exchange(largeStarted, true)) events.push_back(L"read ahead");
        changed.notify_all();
    };
    FakeHost host;
    host.OnStatus = [&](FakeHost& h) {
        if (h.Statuses.back() != root + L"\\0.txt") return;
        std::unique_lock lock(mutex);
        changed.wait_for(lock, std::chrono::seconds(20), [&] { return largeStarted; });
        lock.unlock();
        Sleep(200);  // time enough for the reader to get past its first thousand entries
        lock.lock();
        events.push_back(L"writer on");
    };
    job_.SetRootFolder(root);
    reading_.Readers = 1;
    reading_.Progress = &reports;
    RunResult result = Run(host);
    EXPECT_EQ(std::make_pair(result.FolderCount, result.FileCount), std::make_pair(1023, 1101));
    EXPECT_EQ(events, (std::vector<std::wstring>{L"writer on", L"read ahead"}));
    RunUnixShell(L"rm -rf " + unixTree + L"/t", root, false);
}

TEST(FolderReads, ManyReadersForAShareOneForADiskThatSeeksAndASimulatedLatency)
{
    const int local = DefaultReaderCount(VolumeKind::NoSeekPenalty);
    EXPECT_EQ(DefaultReaderCount(VolumeKind::SeekPenalty), 1);
    EXPECT_EQ(DefaultReaderCount(VolumeKind::Unknown), local);
    EXPECT_TRUE(local >= 2 && DefaultReaderCount(VolumeKind::Network) > local) << local;
    // A share's round trip, simulated: 1 to 1,000 ms.
    for (auto [text, ms] : {std::pair{L"1", 1u}, {L"1000", 1000u}, {L"0", 0u}, {L"1001", 0u}, {L"12x", 0u}, {L"", 0u}}) {
        SetEnvironmentVariableW(L"QUORVANE_SIMULATED_LATENCY_MS", text);
        EXPECT_EQ(SimulatedLatencyMs(), ms) << text;
    }
    SetEnvironmentVariableW(L"QUORVANE_SIMULATED_LATENCY_MS", nullptr);
}
