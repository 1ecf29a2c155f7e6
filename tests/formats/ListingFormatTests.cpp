#include <gtest/gtest.h>

#include <functional>

#include "formats/LineWriter.h"
#include "formats/ListingFormat.h"
#include "formats/TxtFormat.h"
#include "fs/LongPath.h"
#include "support/TestFolder.h"
#include "support/TestTimes.h"

namespace {

// What the writers put into a real output file, after its byte-order mark.
std::wstring WrittenText(const std::function<void(LineWriter&)>& write, std::size_t chunkChars = 4096)
{
    TestFolder folder;
    OutputFile file;
    EXPECT_TRUE(OpenOutputFile(file, folder / L"out.txt"));
    {
        LineWriter out(&file, chunkChars);
        write(out);
    }
    CloseOutputFile(file);
    return FileText(folder / L"out.txt");
}

// Created 2023-05-01 15:04; the other times unknown.
EntryInfo FileEntry(const std::wstring& folder, const std::wstring& name, std::int64_t size, std::uint32_t attributes)
{
    EntryInfo entry;
    entry.Folder = folder;
    entry.Name = name;
    CompleteEntryNames(entry);
    entry.Attributes = attributes;
    entry.Size = entry.CompressedSize = size;
    entry.Created.Local = *OleDateFromParts({2023, 5, 1, 15, 4, 0});
    return entry;
}

std::wstring Row(const ListingOptions& options, int depth, const EntryInfo& entry)
{
    return WrittenText([&](LineWriter& out) { WriteEntryRow(out, options, true, false, depth, entry); });
}

std::wstring Section(const ListingOptions& options, int depth, const std::wstring& path)
{
    std::size_t slash = path.rfind(L'\\');
    EntryInfo folder = FileEntry(path.substr(0, slash + 1), path.substr(slash + 1), 0, AttributeBits::Directory);
    FolderTotals totals;
    totals.FileCount = 1;
    return WrittenText([&](LineWriter& out) { WriteFolderSection(out, options, true, depth, folder, totals); });
}

}  // namespace

TEST(TxtRow, ValuesAreCutToTheirColumns)
{
    EntryInfo entry = FileEntry(L"C:\\x\\", L"photo.jpeg2k", 1023, 0);
    entry.Modified.Invalid = true;
    EXPECT_EQ(TxtRow(entry, L"photo.jpeg2k"),
              L"1,023 Bytes|2023-05-01 15:04|invalid         |unknown         |--------|JPEG2   |photo.jpeg2k");
    // A twelve-character size loses its last character to the bar.
    entry.Size = ExactSize::FromUInt64(1023ull << 30) + ExactSize(1);
    EXPECT_EQ(TxtRow(entry, L"").substr(0, 13), L"1,023.00 GB|2");
    // A character outside the BMP that does not fit whole leaves a blank, not half a pair.
    EXPECT_EQ(TxtRow(FileEntry(L"C:\\x\\", L"a.abcd\U0001D11E", 0, 0), L"").substr(71), L"|ABCD    |");
}

TEST(TreeFormat, BesideFoldersNothingIsDrawnBelowTheFifteenthLevel)
{
    const ListingOptions both = ListingOptions{ListingFormats::Tree, SaveModes::Both};
    const EntryInfo file = FileEntry(L"C:\\x\\", L"notes.txt", 1, 0);
    std::wstring bars;
    for (int i = 0; i < 14; ++i) bars += L"│  ";
    EXPECT_EQ(Section(both, 15, L"C:\\d"), bars + L"├─C:\\d\r\n");
    EXPECT_EQ(Section(both, 16, L"C:\\d"), L"");
    EXPECT_EQ(Row(both, 15, file), bars + L"│  notes.txt\r\n");
    EXPECT_EQ(Row(both, 16, file), L"");
    EXPECT_EQ(Row(ListingOptions{ListingFormats::Tree, SaveModes::FilesOnly}, 17, file),
              std::wstring(17, L'\t') + L"C:\\x\\notes.txt\r\n");
}

TEST(ListingFormats, ControlCharactersInNamesNeverBreakALine)
{
    const EntryInfo entry = FileEntry(L"C:\\x\n\\", L"a\tb.c\rd", 1, 0);
    ListingOptions easy = ListingOptions{ListingFormats::Txt, SaveModes::FilesOnly};
    easy.EasyMode = easy.FullPath = true;
    for (const ListingOptions& options :
         {ListingOptions{ListingFormats::Txt, SaveModes::FilesOnly}, ListingOptions{ListingFormats::Txt, SaveModes::Both},
          ListingOptions{ListingFormats::Csv, SaveModes::Both}, ListingOptions{ListingFormats::Html, SaveModes::Both},
          ListingOptions{ListingFormats::Tree, SaveModes::FilesOnly}, ListingOptions{ListingFormats::Tree, SaveModes::Both}, easy}) {
        std::wstring row = Row(options, 1, entry);
        EXPECT_NE(row.find(L"a\u2409b.c\u240Dd"), std::wstring::npos) << row;
        EXPECT_EQ(row.find_first_of(L"\r\n"), row.size() - 2) << row;
        EXPECT_NE(Section(options, 1, L"C:\\Da\tt\na").find(L"Da\u2409t\u240Aa"), std::wstring::npos) << options.Format;
    }
}

TEST(EasyFormat, FoldersKeepTheirNamesWholeWhereFilesLoseTheirExtension)
{
    ListingOptions easy = ListingOptions{ListingFormats::Html, SaveModes::Both};
    easy.EasyMode = easy.FullPath = easy.DeleteExtension = true;
    EXPECT_EQ(Section(easy, 3, L"C:\\Data\\v1.2"), L"C:\\Data\\v1.2\r\n");
    EXPECT_EQ(Row(easy, 1, FileEntry(L"C:\\R&D\\", L"a.tar.gz", 1, 0)), L"C:\\R&D\\a.tar\r\n");
}

TEST(FrameTimeText, TwelveHourClockWithTheRegionalDesignator)
{
    EXPECT_EQ(FrameTimeText(At(2024, 5, 7, 15, 4, 5)), L"2024 年 05 月 07 日 - PM 03 時 04 分 05 秒");
    EXPECT_EQ(FrameTimeText(At(2024, 1, 2, 0, 30, 0)), L"2024 年 01 月 02 日 - AM 12 時 30 分 00 秒");
    EXPECT_EQ(FrameTimeText(At(2024, 1, 2, 12, 0, 59)), L"2024 年 01 月 02 日 - PM 12 時 00 分 59 秒");
}

TEST(LineWriter, LinesReachTheFileWholeAndInOrderAcrossChunks)
{
    auto write = [](LineWriter& out) {
        for (auto line : {L"one", L"", L"three", L"x\r\ny"}) out.WriteLine(line);
        out.BeginLine() += L"made in place";
        out.EndLine();
    };
    EXPECT_EQ(WrittenText(write, 3), L"one\r\n\r\nthree\r\nx\r\ny\r\nmade in place\r\n");
}
