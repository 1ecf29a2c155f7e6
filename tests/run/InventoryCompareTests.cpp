#include <gtest/gtest.h>

#include "formats/InventoryColumns.h"
#include "formats/InventoryListing.h"
#include "run/InventoryCompare.h"
#include "support/TestFolder.h"

namespace {

const std::string kTime = "2024-05-07T07:04:05.1234567Z";

std::string Inventory(const std::vector<std::string>& rows)
{
    std::string bytes = "\xEF\xBB\xBFPath,Type,Size,CompressedSize,Files,Folders,Created,Modified,Accessed,Attributes,Error\r\n";
    for (const std::string& row : rows) bytes += row + "\r\n";
    return bytes;
}

std::string Folder(const std::string& path, const std::string& size = "0")
{
    return path + ",folder," + size + "," + size + ",0,0,,,,-------,";
}

std::string File(const std::string& path, const std::string& size = "1", const std::string& modified = kTime,
                 const std::string& attributes = "---A----")
{
    return path + ",file," + size + "," + size + ",,," + kTime + "," + modified + ",," + attributes + ",";
}

class LastReport : public ProgressReport {
public:
    void Report(std::uint64_t entries, std::uint64_t, std::wstring_view item) override
    {
        Entries = entries;
        Item = item;
    }
    std::uint64_t Entries = 0;
    std::wstring Item;
};

struct Comparing : testing::Test {
    CompareResult Compare(const std::string& before, const std::string& after, ProgressReport* progress = nullptr)
    {
        oldPath = folder.MakeFile(L"old.csv", before);
        newPath = folder.MakeFile(L"new.csv", after);
        return CompareInventories(oldPath, newPath, out / L"changes.csv", control, progress);
    }
    // The changes file after its mark and header row.
    static std::string Changes(const CompareResult& result)
    {
        std::string bytes = ReadFileBytes(result.OutputPath);
        std::string start = "\xEF\xBB\xBF" "Change,Path,OldSize,NewSize,OldModified,NewModified,OldAttributes,NewAttributes\r\n";
        EXPECT_TRUE(bytes.starts_with(start)) << bytes;
        return bytes.substr(std::min(bytes.size(), start.size()));
    }
    bool NothingWritten() const { return GetFileAttributesW((out / L"changes.csv").c_str()) == INVALID_FILE_ATTRIBUTES; }

    TestFolder folder, out;
    std::wstring oldPath, newPath;
    RunControl control;
};

}  // namespace

TEST_F(Comparing, FilesAddedRemovedOrChangedAndFoldersAddedOrRemovedInPathOrderUnderAnyRoot)
{
    std::string before = Inventory({Folder("C:\\Data", "99"), File("C:\\Data\\same.txt"), File("C:\\Data\\size.txt", "10"),
                                    File("C:\\Data\\time.txt"), File("C:\\Data\\attr.txt"), File("C:\\Data\\gone.txt"),
                                    Folder("C:\\Data\\old dir"), File("C:\\Data\\old dir\\in.txt"), File("C:\\Data\\kind"),
                                    Folder("C:\\Data\\sub", "5"), File("C:\\Data\\Case.txt")});
    // The share's root, listed with its separator; folder totals differ but do not count.
    std::string after = Inventory({Folder("\\\\nas\\share\\", "7"), File("\\\\nas\\share\\same.txt"),
                                   File("\\\\nas\\share\\size.txt", "11"), File("\\\\nas\\share\\time.txt", "1", ""),
                                   File("\\\\nas\\share\\attr.txt", "1", kTime, "R--A----"), Folder("\\\\nas\\share\\new dir"),
                                   File("\"\\\\nas\\share\\new dir\\a,\"\"b\"\".txt\""), Folder("\\\\nas\\share\\kind"),
                                   Folder("\\\\nas\\share\\sub", "9"), File("\\\\nas\\share\\case.txt")});
    LastReport progress;
    CompareResult result = Compare(before, after, &progress);
    ASSERT_EQ(result.End, CompareEnd::Compared);
    EXPECT_EQ(std::make_tuple(result.Added, result.Removed, result.Changed), std::make_tuple(4u, 5u, 3u));
    const std::string t = kTime;
    EXPECT_EQ(Changes(result), "removed,Case.txt,1,," + t + ",,---A----,\r\n"
                               "changed,attr.txt,1,1," + t + "," + t + ",---A----,R--A----\r\n"
                               "added,case.txt,,1,," + t + ",,---A----\r\n"
                               "removed,gone.txt,1,," + t + ",,---A----,\r\n"
                               "removed,kind,1,," + t + ",,---A----,\r\n"
                               "added,kind,,0,,,,-------\r\n"
                               "added,new dir,,0,,,,-------\r\n"
                               "added,\"new dir\\a,\"\"b\"\".txt\",,1,," + t + ",,---A----\r\n"
                               "removed,old dir,0,,,,-------,\r\n"
                               "removed,old dir\\in.txt,1,," + t + ",,---A----,\r\n"
                               "changed,size.txt,10,11," + t + "," + t + ",---A----,---A----\r\n"
                               "changed,time.txt,1,1," + t + ",,---A----,---A----\r\n");
    EXPECT_EQ(std::make_pair(progress.Entries, progress.Item), std::make_pair(11ull, newPath));

    // A second file of the same name never replaces the first; no difference leaves the header alone.
    result = Compare(before, before);
    EXPECT_EQ(result.OutputPath, out / L"changes (2).csv");
    EXPECT_TRUE(result.End == CompareEnd::Compared && !result.Differs());
    EXPECT_EQ(Changes(result), "");
    result = CompareInventories(oldPath, newPath, out / L"missing\\changes.csv", control);
    EXPECT_TRUE(result.End == CompareEnd::CannotCreate && result.WriteError == ERROR_PATH_NOT_FOUND);
    control.RequestStop();
    EXPECT_EQ(Compare(before, after).End, CompareEnd::Stopped);
}

// The rows as the walk gives them: a folder's row first, its sums once what is below it
// has been walked; an unreadable folder's row says why.
TEST_F(Comparing, AnInventoryOfTheWriterReadsBackWithNoDifferenceFromItself)
{
    auto write = [this](const std::wstring& name, const std::wstring& root) {
        InventoryListing rows;
        EXPECT_TRUE(rows.Open());
        EntryInfo entry;
        entry.FullPath = root;
        entry.Attributes = FILE_ATTRIBUTE_DIRECTORY;
        entry.Created.Ticks = entry.Modified.Ticks = entry.Accessed.Ticks = -1;  // unknown
        std::uint32_t top = rows.Folder(entry, L"");
        entry.Attributes = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY;
        entry.Size = entry.CompressedSize = ExactSize::FromUInt64(~0ull);
        entry.Modified.Ticks = ExactSize::FromUInt64(133595390451234567ull);
        for (const wchar_t* name : {L"\\a,\"b\"\r\n\x01.exe", L"\\\U0001F600 \u4e2d", L"\\sub"}) {
            entry.FullPath = root + name;
            rows.File(entry);
        }
        entry.FullPath = root + L"\\locked";
        entry.Attributes = FILE_ATTRIBUTE_DIRECTORY;
        rows.FolderDone(rows.Folder(entry, L"Access is denied."), {});
        rows.FolderDone(top, {1, 2, ExactSize::FromHalves(5, 1), ExactSize::FromUInt64(9007199254740993ull)});
        OutputFile file;
        EXPECT_TRUE(OpenOutputFile(file, folder / name, OpenMode::Replace, TextEncoding::Utf8));
        EXPECT_TRUE(rows.WriteTo(file));
        CloseOutputFile(file);
        return ReadFileBytes(folder / name);
    };
    std::string before = write(L"old.csv", L"C:\\Tree"), after = write(L"new.csv", L"E:\\Copy of tree");
    EXPECT_EQ(before, Inventory({"C:\\Tree,folder,18446744073709551621,9007199254740993,2,1,,,,-------,",
                                 "\"C:\\Tree\\a,\"\"b\"\"\r\n\x01.exe\",file,18446744073709551615,18446744073709551615,,,,"
                                 "2024-05-07T07:04:05.1234567Z,,R--A---X,",
                                 "C:\\Tree\\\xF0\x9F\x98\x80 \xE4\xB8\xAD,file,18446744073709551615,18446744073709551615,,,"
                                 ",2024-05-07T07:04:05.1234567Z,,R--A----,",
                                 "C:\\Tree\\sub,file,18446744073709551615,18446744073709551615,,,"
                                 ",2024-05-07T07:04:05.1234567Z,,R--A----,",
                                 "C:\\Tree\\locked,folder,0,0,0,0,,2024-05-07T07:04:05.1234567Z,,-------,Access is denied."}));
    CompareResult result = Compare(before, after);
    EXPECT_TRUE(result.End == CompareEnd::Compared && !result.Differs()) << Changes(result);
}

TEST_F(Comparing, ABadInventoryIsNamedWithItsLineAndNothingIsWritten)
{
    const std::string good = Inventory({Folder("C:\\Data"), File("C:\\Data\\a.txt")});
    const struct Case {
        std::string Old, New;  // the bad one: the one that is not `good`
        InventoryFault Fault;
        std::uint64_t Line;
        std::wstring Value = L"";
    } cases[] = {
        {"", good, InventoryFault::NotAnInventory, 1},
        {std::string("\xFF\xFEP\0a\0t\0h\0\r\0\n\0", 14), good, InventoryFault::NotAnInventory, 1},
        {"Path,Type,Size\r\nC:\\Data,folder,0\r\n", good, InventoryFault::NotAnInventory, 1},
        {Inventory({}), good, InventoryFault::NoListedFolder, 0},
        {Inventory({File("C:\\Data")}), good, InventoryFault::NoListedFolder, 2},
        {Inventory({Folder("C:\\Data"), "C:\\Data\\a.txt,file,1,1,,,,,,---A----"}), good, InventoryFault::FieldCount, 3},
        {Inventory({Folder("C:\\Data"), File("\"C:\\Data\\a.txt")}), good, InventoryFault::UnterminatedQuote, 3},
        {Inventory({Folder("C:\\Data"), File("C:\\Data\\a\"b.txt")}), good, InventoryFault::StrayQuote, 3},
        {good, Inventory({Folder("C:\\Data"), File("\"C:\\Data\\\r\n\xC3.txt\"")}), InventoryFault::InvalidUtf8, 4},
        {Inventory({Folder("C:\\Data"), "C:\\Data\\a,File,1,1,,,,,,---A----,"}), good, InventoryFault::BadType, 3, L"File"},
        {Inventory({Folder("C:\\Data"), File("C:\\Data\\a", "12a")}), good, InventoryFault::BadNumber, 3, L"12a"},
        {Inventory({Folder("C:\\Data"), File("C:\\Data\\a", "340282366920938463463374607431768211456")}), good,
         InventoryFault::BadNumber, 3, L"340282366920938463463374607431768211456"},
        {Inventory({Folder("C:\\Data"), "C:\\Data\\sub,folder,0,0,,0,,,,-------,"}), good, InventoryFault::BadNumber, 3},
        {Inventory({Folder("C:\\Data"), File("C:\\Data\\a", "1", "2024-05-07T07:04:05Z")}), good, InventoryFault::BadTime,
         3, L"2024-05-07T07:04:05Z"},
        {Inventory({Folder("C:\\Data"), File("C:\\Data\\a", "1", kTime, "---X----")}), good,
         InventoryFault::BadAttributes, 3, L"---X----"},
        {Inventory({Folder("C:\\Data"), File("C:\\Database\\a")}), good, InventoryFault::OutsideRoot, 3, L"C:\\Database\\a"},
        {Inventory({Folder("C:\\Data"), Folder("C:\\Data\\")}), good, InventoryFault::DuplicatePath, 3},
        {Inventory({Folder("C:\\Data"), File("C:\\Data\\a"), File("C:\\Data\\a")}), good, InventoryFault::DuplicatePath, 4},
        // In NEW: a path of OLD twice, even as another type, and a new path twice.
        {good, Inventory({Folder("D:\\X"), File("D:\\X\\a.txt"), File("D:\\X\\a.txt")}), InventoryFault::DuplicatePath, 4},
        {good, Inventory({Folder("D:\\X"), File("D:\\X\\a.txt"), Folder("D:\\X\\a.txt")}), InventoryFault::DuplicatePath, 4},
        {good, Inventory({Folder("D:\\X"), File("D:\\X\\b"), File("D:\\X\\b")}), InventoryFault::DuplicatePath, 4},
    };
    for (const Case& c : cases) {
        CompareResult result = Compare(c.Old, c.New);
        bool newAtFault = c.Old == good;
        EXPECT_EQ(result.End, CompareEnd::BadInput);
        EXPECT_EQ(result.Problem.File, newAtFault ? newPath : oldPath) << (newAtFault ? c.New : c.Old);
        EXPECT_EQ(std::make_pair(result.Problem.Fault, result.Problem.Line), std::make_pair(c.Fault, c.Line))
            << (newAtFault ? c.New : c.Old);
        if (!c.Value.empty()) {
            EXPECT_EQ(result.Problem.Value, c.Value);
        }
        EXPECT_TRUE(NothingWritten());
    }
    CompareResult missing = CompareInventories(folder / L"none.csv", newPath, out / L"changes.csv", control);
    EXPECT_EQ(std::make_tuple(missing.End, missing.Problem.Fault, missing.Problem.SystemError),
              std::make_tuple(CompareEnd::BadInput, InventoryFault::CannotRead, static_cast<unsigned long>(ERROR_FILE_NOT_FOUND)));
    EXPECT_TRUE(NothingWritten());
}
