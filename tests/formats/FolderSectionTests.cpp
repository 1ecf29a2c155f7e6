#include <gtest/gtest.h>

#include "WrittenText.h"
#include "formats/ListingFormat.h"

namespace {

const std::wstring kRule =
    L"----------- ---------------- ---------------- ---------------- -------- -------- "
    L"--------------------------------------------------------";
const std::wstring kHeader =
    L"  檔案大小    起始建立時間     最後修改時間     最後存取時間   檔案屬性  副檔名  檔案名稱"
    L"                                                ";

EntryInfo Folder(const std::wstring& path)
{
    std::size_t slash = path.rfind(L'\\');
    EntryInfo folder = FileEntry(path.substr(0, slash + 1), path.substr(slash + 1), 0, AttributeBits::Directory);
    folder.Extension.clear();
    return folder;
}

FolderTotals Holding(std::int64_t bytes)
{
    FolderTotals totals;
    totals.FileCount = bytes > 0 ? 1 : 0;
    totals.TotalSize = bytes;
    return totals;
}

std::wstring Section(const ListingOptions& options, int depth, const std::wstring& path, std::int64_t bytes,
                     bool showFolders = true)
{
    return WrittenText([&](LineWriter& out) {
        WriteFolderSection(out, options, showFolders, depth, Folder(path), Holding(bytes));
    });
}

ListingOptions Options(int format, int mode)
{
    ListingOptions options;
    options.Format = format;
    options.SaveMode = mode;
    return options;
}

}  // namespace

TEST(FolderSection, FixedTextsHaveTheirWidths)
{
    EXPECT_EQ(kRule.size(), 137u);
    EXPECT_EQ(kHeader.size(), 104u);
}

TEST(FolderSection, TxtBlockWithRuleAndHeaderWhenBothAreListed)
{
    EXPECT_EQ(Section(Options(ListingFormats::Txt, SaveModes::Both), 0, L"C:\\Data", 1234567),
              kRule + L"\r\n\r\n資料夾名稱　：C:\\Data\r\n資料夾大小　：1,234,567 個位元組\r\n資料夾屬性　：----"
                      L"---\r\n建立時間　　：2023-05-01 15:04\r\n最後修改時間：2023-05-02 09:30\r\n最後存取時間：2023-"
                      L"05-03 10:00\r\n" +
                  kRule + L"\r\n" + kHeader + L"\r\n" + kRule + L"\r\n");
}

TEST(FolderSection, TxtBlockOfAnEmptyFolderHasNoHeader)
{
    EXPECT_EQ(Section(Options(ListingFormats::Txt, SaveModes::Both), 0, L"C:\\Data", 0),
              kRule + L"\r\n\r\n資料夾名稱　：C:\\Data\r\n資料夾大小　：0 個位元組\r\n資料夾屬性　：-------\r\n建立"
                      L"時間　　：2023-05-01 15:04\r\n最後修改時間：2023-05-02 09:30\r\n最後存取時間：2023-05-03 "
                      L"10:00\r\n");
    EXPECT_NE(Section(Options(ListingFormats::Txt, SaveModes::Both), 0, L"C:\\Da\tta", 0)
                  .find(L"\r\n資料夾名稱　：C:\\Da\u2409ta\r\n"),
              std::wstring::npos);
    // Folders only: no rule before, none after.
    EXPECT_EQ(Section(Options(ListingFormats::Txt, SaveModes::FoldersOnly), 0, L"C:\\Data", 5),
              L"\r\n資料夾名稱　：C:\\Data\r\n資料夾大小　：5 個位元組\r\n資料夾屬性　：-------\r\n建立時間　　："
              L"2023-05-01 15:04\r\n最後修改時間：2023-05-02 09:30\r\n最後存取時間：2023-05-03 10:00\r\n");
}

TEST(FolderSection, CsvBlockIsTabSeparatedAndFramedByEmptyLines)
{
    EXPECT_EQ(Section(Options(ListingFormats::Csv, SaveModes::Both), 1, L"C:\\Data\\A", 10),
              L"\r\n資料夾名稱　：\tC:\\Data\\A\r\n資料夾大小　：\t10 個位元組\r\n資料夾屬性　：\t-------\r\n建立時"
              L"間　　：\t2023-05-01 15:04\r\n最後修改時間：\t2023-05-02 09:30\r\n最後存取時間：\t2023-05-03 "
              L"10:00\r\n\r\n檔案大小\t建立日期\t修改日期\t存取日期\t檔案屬性\t副檔名\t檔案名稱\r\n");
    EXPECT_EQ(Section(Options(ListingFormats::Csv, SaveModes::FoldersOnly), 1, L"C:\\Data\\A", 10),
              L"\r\n資料夾名稱　：\tC:\\Data\\A\r\n資料夾大小　：\t10 個位元組\r\n資料夾屬性　：\t-------\r\n建立時"
              L"間　　：\t2023-05-01 15:04\r\n最後修改時間：\t2023-05-02 09:30\r\n最後存取時間：\t2023-05-03 "
              L"10:00\r\n\r\n");
}

TEST(FolderSection, HtmlBlockEscapesThePathAndOpensTheFileTable)
{
    EXPECT_EQ(
        Section(Options(ListingFormats::Html, SaveModes::Both), 0, L"C:\\R&D", 2048),
        L"<table border='1' cellpadding='3'><tr bgcolor='E0E0E0'>\r\n"
        L"<br><th><font color='000080'>名稱</font></th><th><font color='000080'>值</font></th>\r\n"
        L"<tr><td bgcolor=#E0E0E0 nowrap>資料夾名稱<td bgcolor=#FFFDF0 nowrap>C:\\R&amp;D</td></tr>\r\n"
        L"<tr><td bgcolor=#E0E0E0 nowrap>資料夾大小<td bgcolor=#FFFCF0 nowrap>2,048 個位元組</td></tr>\r\n"
        L"<tr><td bgcolor=#E0E0E0 nowrap>資料夾屬性<td bgcolor=#FFFAF0 nowrap>-------</td></tr>\r\n"
        L"<tr><td bgcolor=#E0E0E0 nowrap>起始建立時間<td bgcolor=#FFF9F0 nowrap>2023-05-01 15:04</td></tr>\r\n"
        L"<tr><td bgcolor=#E0E0E0 nowrap>最後修改時間<td bgcolor=#FFF8F0 nowrap>2023-05-02 09:30</td></tr>\r\n"
        L"<tr><td bgcolor=#E0E0E0 nowrap>最後存取時間<td bgcolor=#FFF6F0 nowrap>2023-05-03 10:00</td></tr>\r\n"
        L"</table>\r\n"
        L"<br><table border='1' cellpadding='3'><tr bgcolor='E0E0E0'>\r\n"
        L"<th><font color='000080'>檔案大小</font></th><th><font color='000080'>起始建立日期</font></th>"
        L"<th><font color='000080'>最後修改日期</font></th><th><font color='000080'>最後存取日期</font></th>"
        L"<th><font color='000080'>檔案屬性</font></th><th><font color='000080'>副檔名</font></th>"
        L"<th><font color='000080'>檔案名稱</font></th>\r\n");
}

TEST(FolderSection, TreeLinesByDepth)
{
    ListingOptions tree = Options(ListingFormats::Tree, SaveModes::Both);
    EXPECT_EQ(Section(tree, 0, L"C:\\Data", 0), L"C:\\Data\r\n");
    EXPECT_EQ(Section(tree, 1, L"C:\\Data\\A", 0), L"├─C:\\Data\\A\r\n");
    EXPECT_EQ(Section(tree, 2, L"C:\\Data\\A\\B", 0), L"│  ├─C:\\Data\\A\\B\r\n");
    EXPECT_EQ(Section(tree, 1, L"C:\\Data\\A\tB\n", 0), L"├─C:\\Data\\A\u2409B\u240A\r\n");
    std::wstring fourteenBars;
    for (int i = 0; i < 14; ++i) fourteenBars += L"│  ";
    EXPECT_EQ(Section(tree, 15, L"C:\\d", 9), fourteenBars + L"├─C:\\d\r\n");
    EXPECT_EQ(Section(tree, 16, L"C:\\d", 9), L"");
}

TEST(FolderSection, DepthLimitAndHiddenFoldersWriteNothing)
{
    ListingOptions limited = Options(ListingFormats::Tree, SaveModes::Both);
    limited.DepthLimit = 1;
    EXPECT_EQ(Section(limited, 1, L"C:\\Data\\A", 0), L"├─C:\\Data\\A\r\n");
    EXPECT_EQ(Section(limited, 2, L"C:\\Data\\A\\B", 0), L"");
    EXPECT_EQ(Section(Options(ListingFormats::Tree, SaveModes::FilesOnly), 0, L"C:\\Data", 0, false), L"");

    bool status = true;
    WrittenText([&](LineWriter& out) {
        status = WriteFolderSection(out, limited, true, 2, Folder(L"C:\\Data\\A\\B"), Holding(0));
    });
    EXPECT_FALSE(status) << "a folder below the limit leaves the status strip alone";
}

TEST(FolderSection, IgnoringEmptyFoldersSkipsTheBlockButNotTheEasyLine)
{
    ListingOptions options = Options(ListingFormats::Txt, SaveModes::Both);
    options.IgnoreEmptyFolders = true;
    bool status = false;
    EXPECT_EQ(WrittenText([&](LineWriter& out) {
                  status = WriteFolderSection(out, options, true, 0, Folder(L"C:\\Data"), Holding(0));
              }),
              L"");
    EXPECT_TRUE(status) << "a skipped empty folder still shows in the status strip";
    EXPECT_NE(Section(options, 0, L"C:\\Data", 1), L"");

    options.EasyMode = true;
    EXPECT_EQ(Section(options, 0, L"C:\\Data", 0), L"Data\r\n");
    EXPECT_EQ(Section(options, 0, L"C:\\Da\rta", 0), L"Da\u240Dta\r\n");
    options.FullPath = true;
    options.DeleteExtension = true;  // folders keep their names whole
    EXPECT_EQ(Section(options, 3, L"C:\\Data\\v1.2", 0), L"C:\\Data\\v1.2\r\n");
}
