#include <gtest/gtest.h>

#include <functional>

#include "run/CommandLine.h"
#include "support/TestFolder.h"

namespace {

// No list with a choice; attribute options all on, so that turning one off shows.
OptionValues SavedValues()
{
    OptionValues values;
    values.Saved.ScanSystem = values.Saved.ScanHidden = values.Saved.ScanReadOnly = true;
    values.Saved.Size0 = L"50";
    values.Saved.Size1 = L"10";
    return values;
}

}  // namespace

TEST(CommandLine, ListFlagsSetTheWindowsOptions)
{
    struct Case {
        std::vector<std::wstring> Flags;
        std::function<void(OptionValues&)> Expected;  // the changes to the saved values
    };
    const Case cases[] = {
        {{L"/format", L"TREE", L"/mode", L"folders", L"/ignore-empty"},
         [](OptionValues& v) { v.Saved.Format.Selected = 3, v.Saved.SaveMode.Selected = 1, v.Saved.EmptyDirectory = true; }},
        // The window offers no inventory: it takes the saved format's place, until a later flag.
        {{L"/format", L"inventory"},
         [](OptionValues& v) { v.Saved.Format.Selected = -1, v.CommandLineFormat = ListingFormats::Inventory; }},
        {{L"/format", L"inventory", L"/format", L"csv"}, [](OptionValues& v) { v.Saved.Format.Selected = 1; }},
        {{L"/format", L"txt", L"/mode", L"both"}, [](OptionValues& v) { v.Saved.Format.Selected = 0, v.Saved.SaveMode.Selected = 2; }},
        {{L"/format", L"Html", L"/mode", L"FILES"}, [](OptionValues& v) { v.Saved.Format.Selected = 2, v.Saved.SaveMode.Selected = 0; }},
        {{L"/sub"}, [](OptionValues& v) { v.Saved.ScanSubFolders = true; }},
        {{L"/sub", L"/nosub"}, [](OptionValues& v) { v.Saved.ScanSubFolders = false; }},
        {{L"/depth", L"99"}, [](OptionValues& v) { v.optIndentLevel0 = false, v.Saved.DirectoryLevel.Selected = 98; }},
        {{L"/sort", L"ext", L"/desc"}, [](OptionValues& v) { v.Saved.SortSave.Selected = 2, v.optAscSave0 = false; }},
        {{L"/sort", L"accessed"}, [](OptionValues& v) { v.Saved.SortSave.Selected = 6; }},
        {{L"/sort", L"modified"}, [](OptionValues& v) { v.Saved.SortSave.Selected = 5; }},
        {{L"/sort", L"created"}, [](OptionValues& v) { v.Saved.SortSave.Selected = 4; }},
        {{L"/sort", L"size"}, [](OptionValues& v) { v.Saved.SortSave.Selected = 3; }},
        {{L"/sort", L"name"}, [](OptionValues& v) { v.Saved.SortSave.Selected = 1; }},
        {{L"/sort", L"none"}, [](OptionValues& v) { v.Saved.SortSave.Selected = 0; }},
        {{L"/filter", L"*.txt;*.doc\t*.log"}, [](OptionValues& v) { v.Saved.SaveFilter = {-1, L"*.txt;*.doc\t*.log"}; }},
        {{L"/no-hidden", L"/no-system", L"/no-readonly"},
         [](OptionValues& v) { v.Saved.ScanHidden = v.Saved.ScanSystem = v.Saved.ScanReadOnly = false; }},
        // A minimum alone is "至多" with the second box; a maximum alone "至少" with the first.
        {{L"/size-min", L"50KB"},
         [](OptionValues& v) { v.Saved.Size.Selected = 2, v.Saved.Size1 = L"50", v.Saved.SizeType1.Selected = 0; }},
        {{L"/size-max", L"10mb"},
         [](OptionValues& v) { v.Saved.Size.Selected = 1, v.Saved.Size0 = L"10", v.Saved.SizeType0.Selected = 1; }},
        {{L"/size-max", L"2048", L"/size-min", L"1"},
         [](OptionValues& v) {
             v.Saved.Size.Selected = 3, v.Saved.Size0 = L"1", v.Saved.SizeType0.Selected = -1;
             v.Saved.Size1 = L"2048", v.Saved.SizeType1.Selected = -1;
         }},
        {{L"/time", L"created", L"/from", L"2024-02-29", L"/to", L"2024-03-01"},
         [](OptionValues& v) {
             v.Saved.Date.Selected = 2, v.ClsDate1 = *OleDateFromParts({2024, 2, 29}), v.ClsDate2 = *OleDateFromParts({2024, 3, 1});
         }},
        {{L"/time", L"modified"}, [](OptionValues& v) { v.Saved.Date.Selected = 1; }},
        {{L"/time", L"accessed", L"/to", L"2024-12-31"},
         [](OptionValues& v) { v.Saved.Date.Selected = 3, v.ClsDate2 = *OleDateFromParts({2024, 12, 31}); }},
        {{L"/EASY", L"/fullpath", L"/noext"}, [](OptionValues& v) { v.chkEasy = v.chkFullPath = v.chkDelEXE = true; }},
    };
    for (const Case& c : cases) {
        std::vector<std::wstring> arguments{L"/list", L"C:\\Data"};
        arguments.insert(arguments.end(), c.Flags.begin(), c.Flags.end());
        CommandLine command = ParseCommandLine(arguments);
        ASSERT_EQ(command.Kind, CommandKind::List) << testing::PrintToString(arguments);
        EXPECT_EQ(command.Folder, L"C:\\Data");
        OptionValues expected = SavedValues();
        c.Expected(expected);
        OptionValues actual = SavedValues();
        ApplyListFlags(command.Flags, actual);
        EXPECT_TRUE(actual == expected) << testing::PrintToString(arguments);
    }
}

// The first fault found, with the flag as typed and its value.
TEST(CommandLine, ListArgumentsAreRefusedAtTheirFirstFault)
{
    using enum ArgumentError;
    const struct {
        std::vector<std::wstring> Arguments;
        ArgumentError Error;
        std::wstring Argument = L"", Value = L"";
    } cases[] = {
        {{L"/list"}, NoListFolder},
        {{L"/sub", L"/list"}, NoListFolder},
        {{L"/list", L"C:\\", L"/Bogus", L"/format"}, UnknownFlag, L"/Bogus"},
        {{L"/list", L"C:\\", L"/format"}, MissingValue, L"/format"},
        {{L"/list", L"C:\\", L"/sort", L"date"}, BadChoice, L"/sort", L"date"},
        {{L"/list", L"C:\\", L"/depth", L"0"}, BadDepth, L"/depth", L"0"},
        {{L"/list", L"C:\\", L"/depth", L"0099"}, BadDepth, L"/depth", L"0099"},
        {{L"/list", L"C:\\", L"/readers", L"65"}, BadReaders, L"/readers", L"65"},
        {{L"/list", L"C:\\", L"/size-min", L"1.5MB"}, BadSize, L"/size-min", L"1.5MB"},
        {{L"/list", L"C:\\", L"/size-max", L"KB"}, BadSize, L"/size-max", L"KB"},
        {{L"/list", L"C:\\", L"/from", L"2024-02-30"}, BadDate, L"/from", L"2024-02-30"},
        {{L"/list", L"C:\\", L"/to", L"2024-2-01"}, BadDate, L"/to", L"2024-2-01"},
    };
    for (const auto& c : cases) {
        CommandLine command = ParseCommandLine(c.Arguments);
        EXPECT_EQ(command.Kind, CommandKind::BadArguments) << testing::PrintToString(c.Arguments);
        EXPECT_EQ(std::tie(command.Error.Kind, command.Error.Argument, command.Error.Value),
                  std::tie(c.Error, c.Argument, c.Value))
            << testing::PrintToString(c.Arguments);
    }
    EXPECT_EQ(ParseCommandLine({L"/list", L"C:\\", L"/sort", L"date"}).Error.Choices,
              L"none|name|ext|size|created|modified|accessed");
    CommandLine readers = ParseCommandLine({L"/list", L"C:\\", L"/readers", L"64"});
    EXPECT_EQ(readers.Flags.Readers, 64);
}

// Several items dropped on the program's icon: the first folder among them, as on disk.
TEST(CommandLine, TheWindowTakesTheFirstExistingFolder)
{
    TestFolder folder;
    std::wstring file = folder.MakeFile(L"a.txt"), first = folder.MakeFolder(L"First"), second = folder.MakeFolder(L"second");
    CommandLine command = ParseCommandLine({folder / L"missing", file, folder / L"FIRST", second});
    EXPECT_EQ(command.Kind, CommandKind::Window);
    EXPECT_EQ(command.Folder, first + L"\\");
    EXPECT_EQ(ParseCommandLine({file}).Folder, L"");
}

TEST(CommandLine, CompareTakesTwoInventoriesAndAnOutputFolderAnywhere)
{
    using enum ArgumentError;
    const struct {
        std::vector<std::wstring> Arguments;
        ArgumentError Error;
        std::wstring Out = L"";
    } cases[] = {
        {{L"/compare", L"old.csv", L"new.csv"}, None},
        {{L"/out", L"D:\\x\"", L"/COMPARE", L"old.csv", L"new.csv"}, None, L"D:\\x\\"},
        {{L"/compare", L"old.csv", L"new.csv", L"/out", L"o"}, None, L"o"},
        {{L"/compare", L"old.csv"}, NoCompareFiles},
        {{L"/compare", L"old.csv", L"/out", L"o"}, NoCompareFiles},
        {{L"/compare", L"old.csv", L"new.csv", L"/out"}, MissingValue},
        {{L"/compare", L"old.csv", L"new.csv", L"/sub"}, UnknownFlag},
        {{L"/list", L"C:\\", L"/compare", L"old.csv", L"new.csv"}, UnknownFlag},
    };
    for (const auto& c : cases) {
        CommandLine command = ParseCommandLine(c.Arguments);
        EXPECT_EQ(command.Kind, c.Error == None ? CommandKind::Compare : CommandKind::BadArguments);
        EXPECT_EQ(command.Error.Kind, c.Error) << testing::PrintToString(c.Arguments);
        if (c.Error != None) continue;
        EXPECT_EQ(std::tie(command.CompareOld, command.CompareNew, command.OutFolder),
                  std::tie(L"old.csv", L"new.csv", c.Out));
    }
}
