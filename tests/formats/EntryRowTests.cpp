#include <gtest/gtest.h>

#include "WrittenText.h"
#include "formats/ListingFormat.h"
#include "formats/TxtFormat.h"

namespace {

ListingOptions Options(int format, int mode)
{
    ListingOptions options;
    options.Format = format;
    options.SaveMode = mode;
    return options;
}

std::wstring Row(const ListingOptions& options, int depth, const EntryInfo& entry, bool showFiles = true,
                 bool stop = false)
{
    return WrittenText([&](LineWriter& out) { WriteEntryRow(out, options, showFiles, stop, depth, entry); });
}

EntryInfo Notes() { return FileEntry(L"C:\\x\\", L"notes.txt", 1234, AttributeBits::Archive); }

}  // namespace

TEST(EntryRow, TxtRowPutsEachValueInItsColumns)
{
    EXPECT_EQ(Row(Options(ListingFormats::Txt, SaveModes::Both), 1, Notes()),
              L"1.21 KB    |2023-05-01 15:04|2023-05-02 09:30|2023-05-03 10:00|---A----|TXT     |notes.txt\r\n");
    EXPECT_EQ(Row(Options(ListingFormats::Txt, SaveModes::FilesOnly), 1, Notes()),
              L"1.21 KB    |2023-05-01 15:04|2023-05-02 09:30|2023-05-03 10:00|---A----|TXT     |C:\\x\\notes.txt\r\n");
}

TEST(EntryRow, TxtRowCutsLongValuesToTheirSpan)
{
    EntryInfo entry = FileEntry(L"C:\\x\\", L"photo.jpeg2k", 1023, 0);
    entry.Modified.Invalid = true;
    entry.Accessed = FileTimeInfo{};
    EXPECT_EQ(TxtRow(entry, L"photo.jpeg2k"),
              L"1,023 Bytes|2023-05-01 15:04|invalid         |unknown         |--------|JPEG2   |photo.jpeg2k");
    // A twelve-character size loses its last character to the bar.
    EntryInfo big = FileEntry(L"C:\\x\\", L"big", 0, 0);
    big.Size = ExactSize::FromUInt64(1023ull << 30) + ExactSize(1);  // 1,023.00 GB
    EXPECT_EQ(TxtRow(big, L"big").substr(0, 13), L"1,023.00 GB|2");
    big.Size = ExactSize::FromUInt64(1000ull << 30);
    EXPECT_EQ(TxtRow(big, L"big").substr(0, 12), L"1,000.00 GB|");
    EXPECT_EQ(TxtRow(Notes(), L"").size(), 81u);
    // A character outside the BMP that does not fit whole leaves a blank, not half a pair.
    EXPECT_EQ(TxtRow(FileEntry(L"C:\\x\\", L"a.abcd\U0001D11E", 0, 0), L"").substr(71), L"|ABCD    |");
}

TEST(EntryRow, CsvAndHtmlRowsKeepTheWholeExtension)
{
    EntryInfo entry = FileEntry(L"C:\\R&D\\", L"a&b.jpeg2k", 0, AttributeBits::ReadOnly);
    EXPECT_EQ(Row(Options(ListingFormats::Csv, SaveModes::FilesOnly), 1, entry),
              L"0 Bytes\t2023-05-01 15:04\t2023-05-02 09:30\t2023-05-03 10:00\tR-------\tJPEG2K\tC:\\R&D\\a&b.jpeg2k\r\n");
    EXPECT_EQ(Row(Options(ListingFormats::Html, SaveModes::Both), 1, entry),
              L"<tr><td bgcolor=#FFFFF0 nowrap>0 Bytes</td><td bgcolor=#FFF9F0 nowrap>2023-05-01 15:04</td>"
              L"<td bgcolor=#FFF6F0 nowrap>2023-05-02 09:30</td><td bgcolor=#FFF3F0 nowrap>2023-05-03 10:00</td>"
              L"<td bgcolor=#FFF0F0 nowrap>R-------</td><td bgcolor=#FFFCF0 nowrap>JPEG2K</td>"
              L"<td bgcolor=#FCF0F3 nowrap>a&amp;b.jpeg2k</td></tr>\r\n");
}

TEST(EntryRow, ARowWithoutExtensionHasAnEmptyColumn)
{
    EntryInfo entry = FileEntry(L"C:\\x\\", L"README", 5, 0);
    EXPECT_EQ(Row(Options(ListingFormats::Csv, SaveModes::Both), 1, entry),
              L"5 Bytes\t2023-05-01 15:04\t2023-05-02 09:30\t2023-05-03 10:00\t--------\t\tREADME\r\n");
}

TEST(EntryRow, TreeLinesIndentNamesOrTabPaths)
{
    ListingOptions both = Options(ListingFormats::Tree, SaveModes::Both);
    ListingOptions files = Options(ListingFormats::Tree, SaveModes::FilesOnly);
    EXPECT_EQ(Row(both, 1, Notes()), L"│  notes.txt\r\n");
    EXPECT_EQ(Row(both, 2, Notes()), L"│  │  notes.txt\r\n");
    EXPECT_EQ(Row(both, 0, Notes()), L"notes.txt\r\n");
    EXPECT_EQ(Row(both, 16, Notes()), L"");
    EXPECT_EQ(Row(files, 1, Notes()), L"\tC:\\x\\notes.txt\r\n");
    EXPECT_EQ(Row(files, 2, Notes()), L"\t\tC:\\x\\notes.txt\r\n");
    EXPECT_EQ(Row(files, 17, Notes()), std::wstring(17, L'\t') + L"C:\\x\\notes.txt\r\n");
}

TEST(EntryRow, EasyModeWritesNameOrPathOptionallyWithoutExtension)
{
    ListingOptions easy = Options(ListingFormats::Html, SaveModes::Both);
    easy.EasyMode = true;
    EntryInfo entry = FileEntry(L"C:\\x\\", L"a.tar.gz", 1, 0);
    EXPECT_EQ(Row(easy, 1, entry), L"a.tar.gz\r\n");
    easy.DeleteExtension = true;
    EXPECT_EQ(Row(easy, 1, entry), L"a.tar\r\n");
    easy.FullPath = true;
    EXPECT_EQ(Row(easy, 1, entry), L"C:\\x\\a.tar\r\n");
    easy.DeleteExtension = false;
    EXPECT_EQ(Row(easy, 1, FileEntry(L"C:\\R&D\\", L"<b>", 1, 0)), L"C:\\R&D\\<b>\r\n");
}

TEST(EntryRow, NothingAfterStopBelowTheLimitOrWithoutFiles)
{
    ListingOptions options = Options(ListingFormats::Txt, SaveModes::Both);
    options.DepthLimit = 2;
    EXPECT_NE(Row(options, 3, Notes()), L"");
    EXPECT_EQ(Row(options, 4, Notes()), L"");
    EXPECT_EQ(Row(options, 1, Notes(), true, true), L"");
    EXPECT_EQ(Row(options, 1, Notes(), false), L"");

    bool status = true;
    WrittenText([&](LineWriter& out) { status = WriteEntryRow(out, options, true, true, 1, Notes()); });
    EXPECT_FALSE(status);
    WrittenText([&](LineWriter& out) { status = WriteEntryRow(out, options, true, false, 1, Notes()); });
    EXPECT_TRUE(status);
}

TEST(EntryRow, ControlCharactersInNamesNeverBreakTheRow)
{
    EntryInfo entry = FileEntry(L"C:\\x\n\\", L"a\tb.c\rd", 1, 0);
    ListingOptions easy = Options(ListingFormats::Txt, SaveModes::FilesOnly);
    easy.EasyMode = true;
    easy.FullPath = true;
    for (const ListingOptions& options :
         {Options(ListingFormats::Txt, SaveModes::FilesOnly), Options(ListingFormats::Txt, SaveModes::Both),
          Options(ListingFormats::Csv, SaveModes::FilesOnly), Options(ListingFormats::Html, SaveModes::Both),
          Options(ListingFormats::Tree, SaveModes::FilesOnly), Options(ListingFormats::Tree, SaveModes::Both), easy}) {
        std::wstring row = Row(options, 1, entry);
        EXPECT_NE(row.find(L"a\u2409b.c\u240Dd"), std::wstring::npos) << row;
        EXPECT_EQ(row.find_first_of(L"\r\n"), row.size() - 2) << row;
    }
}
