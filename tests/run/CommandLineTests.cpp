#include <gtest/gtest.h>

#include <functional>

#include "run/CommandLine.h"
#include "support/TestTimes.h"

namespace {

// Saved attribute options all on, so that turning one off shows.
OptionValues SavedValues()
{
    OptionValues values = StartOptionValues(At(2024, 5, 7, 15, 4, 5));
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
        {{L"/sub"}, [](OptionValues& v) { v.Saved.ScanSubFolders = true; }},
        {{L"/sub", L"/nosub"}, [](OptionValues& v) { v.Saved.ScanSubFolders = false; }},
        {{L"/depth", L"99"}, [](OptionValues& v) { v.optIndentLevel0 = false, v.Saved.DirectoryLevel.Selected = 98; }},
        {{L"/sort", L"ext", L"/desc"}, [](OptionValues& v) { v.Saved.SortSave.Selected = 2, v.optAscSave0 = false; }},
        {{L"/sort", L"accessed"}, [](OptionValues& v) { v.Saved.SortSave.Selected = 6; }},
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
