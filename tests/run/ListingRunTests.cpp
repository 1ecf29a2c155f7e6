#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "ListingFixture.h"
#include "run/ListingRun.h"
#include "run/SaveOptions.h"

namespace {

using JobSetup = std::function<void(JobInfo&, RunState&)>;

struct ListingCase {
    const char* Expected;  // expected/<name>.txt
    int Format;
    int Mode;
    std::int32_t FolderCount;
    std::int32_t FileCount;
    JobSetup Setup = nullptr;
    std::function<void(ListingOptions&)> Tweak = nullptr;
};

void PrintTo(const ListingCase& c, std::ostream* out) { *out << c.Expected; }

SYSTEMTIME Now()
{
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return now;
}

// The job as Save fills it from the window for the given listing mode.
JobInfo JobFor(const std::wstring& root, int mode)
{
    JobInfo job;
    job.SetRootFolder(root);
    job.SetShowFiles(mode != SaveModes::FoldersOnly);
    job.SetShowFolders(mode != SaveModes::FilesOnly);
    job.SetFolderFilter(L"*");
    return job;
}

class ListingRuns : public testing::TestWithParam<ListingCase> {
protected:
    static void SetUpTestSuite() { fixture_ = new ListingFixture; }
    static void TearDownTestSuite()
    {
        delete fixture_;
        fixture_ = nullptr;
    }
    static ListingFixture* fixture_;
};

ListingFixture* ListingRuns::fixture_ = nullptr;

TEST_P(ListingRuns, WriteTheExpectedFile)
{
    const ListingCase& c = GetParam();
    ListingOptions options;
    options.Format = c.Format;
    options.SaveMode = c.Mode;
    if (c.Tweak) c.Tweak(options);
    JobInfo job = JobFor(fixture_->Root(), c.Mode);
    RunState state;
    ASSERT_EQ(PrepareRun(state, job, {}, {}, Now()), SizeWarning::None);
    if (c.Setup) c.Setup(job, state);

    TestFolder output;
    std::wstring path = output / L"listing.txt";
    FakeHost host;
    RunResult result = RunListing(state, host.Control, job, options, path, host);

    EXPECT_TRUE(result.Started);
    EXPECT_TRUE(host.Started);
    EXPECT_TRUE(result.AllWritten);
    EXPECT_EQ(result.FolderCount, c.FolderCount);
    EXPECT_EQ(result.FileCount, c.FileCount);
    EXPECT_EQ(state.FolderCount, c.FolderCount);
    EXPECT_EQ(state.FileCount, c.FileCount);
    EXPECT_EQ(state.WalkDepth, 0);
    std::string difference = MatchListing(ListingText(path), ExpectedListing(c.Expected, *fixture_));
    EXPECT_EQ(difference, "");
}

void NameDescending(JobInfo& job, RunState&) { job.SetSortOrder(1); }
void Unsorted(JobInfo& job, RunState&)
{
    job.SetSortKey(0);
    job.SetSortOrder(1);  // no effect without a key
}
void SizeDescending(JobInfo& job, RunState&)
{
    job.SetSortKey(FieldCodes::Size);
    job.SetSortOrder(1);
}
void ByExtension(JobInfo& job, RunState&) { job.SetSortKey(FieldCodes::Extension); }
void ModifiedAscending(JobInfo& job, RunState&) { job.SetSortKey(FieldCodes::Modified); }
void NoSubfolders(JobInfo& job, RunState&) { job.SetIncludeSubFolders(false); }
void TextAndDocuments(JobInfo& job, RunState&) { job.SetFileFilter(L"*.txt;*.doc"); }
void NoReadOnly(JobInfo& job, RunState&) { job.SetIncludeReadOnly(false); }
void SizeRange(JobInfo&, RunState& state)
{
    SizeCheck check = CheckSizeOptions({SizeModes::Between, L"100", SizeUnits::None, L"5000", SizeUnits::None});
    state.SizeLower = check.Bounds.Lower;
    state.SizeUpper = check.Bounds.Upper;
    state.SizeTest = check.Bounds.Test;
}
void ModifiedRange(JobInfo&, RunState& state)
{
    TimeBounds bounds = ComputeTimeBounds(
        {TimeKinds::Modified, *OleDateFromParts({2021, 1, 1, 0, 0, 0}), *OleDateFromParts({2023, 5, 1, 15, 4, 0})},
        Now());
    state.DateFrom = bounds.From;
    state.DateTo = bounds.To;
    state.DateTest = bounds.Test;
    state.DateField = bounds.Field;
    state.AnyTime = bounds.AnyTime;
}

void Easy(ListingOptions& o) { o.EasyMode = true; }
void EasyFullPathNoExtension(ListingOptions& o)
{
    o.EasyMode = true;
    o.FullPath = true;
    o.DeleteExtension = true;
}
void EasyNoExtension(ListingOptions& o)
{
    o.EasyMode = true;
    o.DeleteExtension = true;
}
void DepthOne(ListingOptions& o) { o.DepthLimit = 1; }
void IgnoreEmpty(ListingOptions& o) { o.IgnoreEmptyFolders = true; }

using namespace ListingFormats;
using namespace SaveModes;

INSTANTIATE_TEST_SUITE_P(
    EveryFormatAndMode, ListingRuns,
    testing::Values(ListingCase{"txt_both", Txt, Both, 5, 7}, ListingCase{"txt_files", Txt, FilesOnly, 5, 7},
                    ListingCase{"txt_folders", Txt, FoldersOnly, 5, 7}, ListingCase{"csv_both", Csv, Both, 5, 7},
                    ListingCase{"csv_files", Csv, FilesOnly, 5, 7}, ListingCase{"csv_folders", Csv, FoldersOnly, 5, 7},
                    ListingCase{"html_both", Html, Both, 5, 7}, ListingCase{"html_files", Html, FilesOnly, 5, 7},
                    ListingCase{"html_folders", Html, FoldersOnly, 5, 7}, ListingCase{"tree_both", Tree, Both, 5, 7},
                    ListingCase{"tree_files", Tree, FilesOnly, 5, 7},
                    ListingCase{"tree_folders", Tree, FoldersOnly, 5, 7}),
    [](const testing::TestParamInfo<ListingCase>& info) { return std::string(info.param.Expected); });

INSTANTIATE_TEST_SUITE_P(
    EasyMode, ListingRuns,
    testing::Values(ListingCase{"easy_names", Txt, Both, 5, 7, nullptr, Easy},
                    ListingCase{"easy_fullpath_noext", Html, Both, 5, 7, nullptr, EasyFullPathNoExtension},
                    ListingCase{"easy_files_noext", ListingFormats::None, FilesOnly, 5, 7, nullptr, EasyNoExtension},
                    ListingCase{"easy_folders_ignore_empty", Csv, FoldersOnly, 5, 7, nullptr,
                                [](ListingOptions& o) {
                                    Easy(o);
                                    IgnoreEmpty(o);
                                }}),
    [](const testing::TestParamInfo<ListingCase>& info) { return std::string(info.param.Expected); });

INSTANTIATE_TEST_SUITE_P(
    DepthAndEmptyFolders, ListingRuns,
    testing::Values(ListingCase{"depth1_txt_both", Txt, Both, 5, 7, nullptr, DepthOne},
                    ListingCase{"depth1_tree_both", Tree, Both, 5, 7, nullptr, DepthOne},
                    ListingCase{"depth1_tree_files", Tree, FilesOnly, 5, 7, nullptr, DepthOne},
                    ListingCase{"ignore_empty_txt_both", Txt, Both, 5, 7, nullptr, IgnoreEmpty},
                    ListingCase{"ignore_empty_html_both", Html, Both, 5, 7, nullptr, IgnoreEmpty}),
    [](const testing::TestParamInfo<ListingCase>& info) { return std::string(info.param.Expected); });

INSTANTIATE_TEST_SUITE_P(
    WithoutSubfolders, ListingRuns,
    testing::Values(ListingCase{"nosub_txt_both", Txt, Both, 4, 6, NoSubfolders},
                    ListingCase{"nosub_csv_files", Csv, FilesOnly, 3, 4, NoSubfolders},
                    ListingCase{"nosub_tree_folders", Tree, FoldersOnly, 4, 6, NoSubfolders}),
    [](const testing::TestParamInfo<ListingCase>& info) { return std::string(info.param.Expected); });

INSTANTIATE_TEST_SUITE_P(
    SortingAndFilters, ListingRuns,
    testing::Values(ListingCase{"name_desc_tree_both", Tree, Both, 5, 7, NameDescending},
                    ListingCase{"unsorted_tree_both", Tree, Both, 5, 7, Unsorted},
                    ListingCase{"size_desc_csv_files", Csv, FilesOnly, 5, 7, SizeDescending},
                    ListingCase{"ext_tree_both", Tree, Both, 5, 7, ByExtension},
                    ListingCase{"modified_tree_files", Tree, FilesOnly, 5, 7, ModifiedAscending},
                    ListingCase{"filter_txt_files", Txt, FilesOnly, 5, 3, TextAndDocuments},
                    ListingCase{"readonly_out_tree_files", Tree, FilesOnly, 5, 6, NoReadOnly},
                    ListingCase{"size_range_csv_files", Csv, FilesOnly, 5, 4, SizeRange},
                    ListingCase{"time_range_tree_files", Tree, FilesOnly, 5, 3, ModifiedRange}),
    [](const testing::TestParamInfo<ListingCase>& info) { return std::string(info.param.Expected); });

}  // namespace

namespace {

// The folder's "\\?\unix\..." form. Wine hands such a path to the file system without
// the name checks of its Windows paths, so it can make the names a share served from
// another system may hold. Empty where there is no such form.
std::wstring UnixForm(const std::wstring& folder)
{
    using UnixFileName = char*(CDECL*)(const wchar_t*);
    FARPROC proc = GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name");
    if (!proc) return {};
    char* path = reinterpret_cast<UnixFileName>(reinterpret_cast<void*>(proc))(folder.c_str());
    if (!path) return {};
    std::wstring form = L"\\\\?\\unix";
    for (const char* c = path; *c; ++c)
        form += *c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(*c));
    HeapFree(GetProcessHeap(), 0, path);
    return form;
}

bool MakeEmptyFile(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

}  // namespace

TEST(ControlCharacters, NamesHoldingThemKeepEveryRowAndFieldWhole)
{
    TestFolder folder;
    std::wstring unixForm = UnixForm(folder.Path());
    if (unixForm.empty() || !MakeEmptyFile(unixForm + L"\\tab\there.txt"))
        GTEST_SKIP() << "names with control characters cannot be made here";
    ASSERT_TRUE(MakeEmptyFile(unixForm + L"\\line\nbreak\r.t\x01"));
    ASSERT_TRUE(MakeEmptyFile(unixForm + L"\\del\x7F"));
    TestFolder output;
    auto listing = [&](int format) {
        JobInfo job = JobFor(folder.Path(), SaveModes::Both);
        ListingOptions options;
        options.Format = format;
        RunState state;
        EXPECT_EQ(PrepareRun(state, job, {}, {}, Now()), SizeWarning::None);
        FakeHost host;
        return ListingText(RunListing(state, host.Control, job, options, output / L"listing.txt", host).OutputPath);
    };

    EXPECT_EQ(listing(ListingFormats::Tree),
              folder.Path() + L"\r\n│  del\u2421\r\n│  line\u240Abreak\u240D.t\u2401\r\n│  tab\u2409here.txt\r\n");
    std::wstring csv = listing(ListingFormats::Csv);
    EXPECT_NE(csv.find(L"\tT\u2401\tline\u240Abreak\u240D.t\u2401\r\n"), std::wstring::npos);
    const std::wstring rowStart = L"\r\n0 Bytes\t";
    int rows = 0;
    for (std::size_t at = csv.find(rowStart); at != std::wstring::npos; at = csv.find(rowStart, at + 2), ++rows) {
        std::wstring row = csv.substr(at + 2, csv.find(L"\r\n", at + 2) - at - 2);
        EXPECT_EQ(std::count(row.begin(), row.end(), L'\t'), 6) << "seven fields";
    }
    EXPECT_EQ(rows, 3);
}
