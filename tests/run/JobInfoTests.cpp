#include <gtest/gtest.h>

#include "run/JobInfo.h"

namespace {

std::vector<std::int32_t> Codes(const std::vector<FieldInfo>& fields)
{
    std::vector<std::int32_t> codes;
    for (const FieldInfo& field : fields) codes.push_back(field.code);
    return codes;
}

}  // namespace

TEST(JobInfo, ANewJobHasTheDefaults)
{
    JobInfo job;
    EXPECT_EQ(Codes(job.FileFields()), (std::vector<std::int32_t>{8, 9, 10, 11, 6, 1}));
    EXPECT_EQ(Codes(job.FolderFields()), (std::vector<std::int32_t>{3, 8, 9, 10, 11, 13, 12, 6, 7}));
    EXPECT_TRUE(job.HiliteMacros());
    EXPECT_TRUE(job.HiliteExes());
    EXPECT_EQ(job.SortOrder(), 0);
    EXPECT_EQ(job.SortKey(), 1);
    EXPECT_EQ(job.FolderFilter(), L"*.*");
    EXPECT_EQ(job.FileFilter(), L"*.*");
    EXPECT_TRUE(job.IncludeSubFolders() && job.IncludeSystem() && job.IncludeHidden() && job.IncludeReadOnly());
    EXPECT_TRUE(job.ShowFiles() && job.ShowFolders());
    EXPECT_EQ(job.RootFolder(), ProgramFolder());
    EXPECT_FALSE(job.RootFolder().empty());
    EXPECT_FALSE(job.RootFolder().ends_with(L'\\'));
}

TEST(JobInfo, AddingAFieldTwiceChangesNothing)
{
    JobInfo job;
    job.FileFieldAdd(9);
    EXPECT_EQ(job.FileFields().size(), 6u);
    job.FileFieldsClear();
    job.FileFieldAdd(9);
    job.FileFieldAdd(9);
    EXPECT_EQ(Codes(job.FileFields()), (std::vector<std::int32_t>{9}));
    job.FolderFieldsClear();
    EXPECT_TRUE(job.FolderFields().empty());
    job.SetFolderFields({FieldInfo{4}, FieldInfo{2}});
    EXPECT_EQ(Codes(job.FolderFields()), (std::vector<std::int32_t>{4, 2}));
    EXPECT_EQ(FieldInfo{}.code, -1);
}

TEST(JobInfo, FieldListsAreCopiedInAndOut)
{
    JobInfo job;
    std::vector<FieldInfo> fields = job.FileFields();
    fields.clear();
    EXPECT_EQ(job.FileFields().size(), 6u);
    job.SetFileFields({});
    EXPECT_TRUE(job.FileFields().empty());
}

TEST(JobInfo, AnEmptyFilterIsKeptAsAllFiles)
{
    JobInfo job;
    job.SetFileFilter(L"");
    EXPECT_EQ(job.FileFilter(), L"*.*");
    job.SetFileFilter(L" ");
    EXPECT_EQ(job.FileFilter(), L" ");
    job.SetFolderFilter(L"");
    EXPECT_EQ(job.FolderFilter(), L"*.*");
    job.SetFolderFilter(L"*");
    EXPECT_EQ(job.FolderFilter(), L"*");
}
