#include <gtest/gtest.h>

#include "SettingsTestSupport.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"
#include "support/TestFolder.h"

namespace {

ListChoice List(int selected, int count) { return {selected, count}; }

// What the default Setting.ini gives, written out from its lines.
SettingsModel DefaultModel()
{
    SettingsModel model;
    model.ExplorerPath = L"\\";
    model.SavePath = L"C:\\";
    model.SaveMode = List(2, 3);
    model.SortSave = List(0, 7);
    model.DirectoryLevel = List(2, 99);
    model.ScanSystem = model.ScanHidden = model.ScanReadOnly = true;
    model.Date = List(0, 4);
    model.Size = List(0, 4);
    model.Format = List(0, 4);
    model.SizeType0 = List(0, 2);
    model.SizeType1 = List(1, 2);
    model.Size0 = L"50";
    model.Size1 = L"10";
    model.SaveFilter = {0, L"所有檔案 (*.*)"};
    return model;
}

SettingsModel LoadFromText(const TestFolder& folder, const std::string& bytes, SettingsModel model = {})
{
    folder.MakeFile(L"Setting.ini", bytes);
    LoadSettings(model, LoadFileTypeTable(folder.Path()), folder.Path());
    return model;
}

SettingsModel LoadFromLines(const TestFolder& folder, const std::vector<std::wstring>& lines, SettingsModel model = {})
{
    return LoadFromText(folder, Utf16Text(lines), std::move(model));
}

std::string SaveAndRead(const TestFolder& folder, const SettingsModel& model)
{
    EXPECT_EQ(SaveSettings(model, LoadFileTypeTable(folder.Path()), folder.Path()), 0u);
    return ReadFileBytes(folder / L"Setting.ini");
}

bool HasLine(const std::string& fileBytes, const std::wstring& line)
{
    return fileBytes.find(Utf16Text({L"", line}).substr(2)) != std::string::npos;
}

}  // namespace

TEST(Settings, FirstStartCreatesTheDefaultFileAndLoadsItsValues)
{
    TestFolder folder;
    SettingsModel model;
    LoadSettings(model, LoadFileTypeTable(folder.Path()), folder.Path());
    EXPECT_EQ(ReadFileBytes(folder / L"Setting.ini"), Utf16Text(DefaultSettingLines()));
    EXPECT_EQ(model, DefaultModel());
    EXPECT_EQ(SaveAndRead(folder, model), Utf16Text(DefaultSettingLines()));
}

TEST(Settings, SaveWritesEveryOptionInOrderAndLoadsItBack)
{
    TestFolder folder;
    SettingsModel model = DefaultModel();
    model.ExplorerPath = L"D:\\資料\\Sub";
    model.SavePath = L"C:\\PROGRA~1\\";
    model.SaveMode.Selected = 0;
    model.SortSave.Selected = 6;
    model.DirectoryLevel.Selected = 98;
    model.EmptyDirectory = model.ScanSubFolders = true;
    model.ScanSystem = false;
    model.Date.Selected = 3;
    model.Size.Selected = -1;
    model.Format.Selected = 3;
    model.SizeType0.Selected = 1;
    model.SizeType1.Selected = 0;
    model.Size0 = L"";
    model.Size1 = L"1,5";
    model.SaveFilter = {4, L"圖片檔案"};
    std::string bytes = SaveAndRead(folder, model);
    EXPECT_EQ(bytes, Utf16Text({L"[Setting]", L"ExplorerPath=D:\\資料\\Sub", L"SavePath=C:\\PROGRA~1\\", L"SaveMode=0",
                                L"SortSave=6", L"DirectoryLevel=98", L"EmptyDirectory=1", L"ScanSubFolders=1",
                                L"ScanSystem=0", L"ScanHidden=1", L"ScanReadOnly=1", L"Date=3", L"Size=-1",
                                L"Format=3", L"SizeType0=1", L"SizeType1=0", L"Size0=", L"Size1=1,5",
                                L"SaveFilter=*.jpeg;*.jpg;*.bmp;*.gif;*.dib;*.ico;*.png;*.psd;*.pcx"}));

    SettingsModel loaded;
    LoadSettings(loaded, LoadFileTypeTable(folder.Path()), folder.Path());
    EXPECT_EQ(loaded, model);
    EXPECT_EQ(SaveAndRead(folder, loaded), bytes);
}

TEST(Settings, KeyNamesInAnyLetterCaseAreFound)
{
    TestFolder folder;
    SettingsModel model = LoadFromLines(folder, {L"[SETTING]", L"savemode=1", L"SCANHIDDEN=1", L"size0=7"});
    EXPECT_EQ(model.SaveMode.Selected, 1);
    EXPECT_TRUE(model.ScanHidden);
    EXPECT_EQ(model.Size0, L"7");
}

TEST(Settings, AnIndexOutsideItsListSelectsNothing)
{
    TestFolder folder;
    SettingsModel start;
    start.SaveMode.Selected = 1;
    SettingsModel model = LoadFromLines(
        folder, {L"[Setting]", L"SaveMode=7", L"DirectoryLevel=99", L"SortSave=-5", L"Date=2.5", L"Size=3.5"}, start);
    EXPECT_EQ(model.SaveMode.Selected, -1);
    EXPECT_EQ(model.DirectoryLevel.Selected, -1);
    EXPECT_EQ(model.SortSave.Selected, -1);
    EXPECT_EQ(model.Date.Selected, 2);
    EXPECT_EQ(model.Size.Selected, -1);

    std::string saved = SaveAndRead(folder, model);
    EXPECT_TRUE(HasLine(saved, L"SaveMode=-1"));
    SettingsModel again = LoadFromText(folder, saved, start);
    EXPECT_EQ(again.SaveMode.Selected, -1);

    SettingsModel shortList;
    shortList.DirectoryLevel.ItemCount = 5;
    EXPECT_EQ(LoadFromLines(folder, {L"[Setting]", L"DirectoryLevel=5"}, shortList).DirectoryLevel.Selected, -1);
}

TEST(Settings, AValueThatDoesNotConvertLeavesOnlyItsOption)
{
    TestFolder folder;
    SettingsModel start = DefaultModel();
    start.ScanHidden = false;
    SettingsModel model = LoadFromLines(folder,
                                        {L"[Setting]", L"ScanHidden=abc", L"ScanSystem=2", L"ScanReadOnly=false",
                                         L"SaveMode=abc", L"Format=99999999999", L"Date=1", L"Size=", L"Size0=x"},
                                        start);
    EXPECT_FALSE(model.ScanHidden);
    EXPECT_TRUE(model.ScanSystem);
    EXPECT_FALSE(model.ScanReadOnly);
    EXPECT_EQ(model.SaveMode, start.SaveMode);
    EXPECT_EQ(model.Format, start.Format);
    EXPECT_EQ(model.Size, start.Size);
    EXPECT_EQ(model.Date.Selected, 1);
    EXPECT_EQ(model.Size0, L"x");
    EXPECT_EQ(model.Size1, L"");  // missing key
    EXPECT_EQ(model.ExplorerPath, L"");
}

TEST(Settings, SaveFilterSelectsTheMatchingTypeOrStaysAsTypedText)
{
    TestFolder folder;
    SettingsModel typed = LoadFromLines(folder, {L"[Setting]", L"SaveFilter=*.TXT;*.RTF"});
    EXPECT_EQ(typed.SaveFilter, (ComboChoice{-1, L"*.TXT;*.RTF"}));
    EXPECT_TRUE(HasLine(SaveAndRead(folder, typed), L"SaveFilter=*.TXT;*.RTF"));

    SettingsModel chosen = LoadFromLines(folder, {L"[Setting]", L"SaveFilter=*.EXE;*.DLL;*.OCX;*.COM"});
    EXPECT_EQ(chosen.SaveFilter, (ComboChoice{2, L"執行檔案"}));
    EXPECT_TRUE(HasLine(SaveAndRead(folder, chosen), L"SaveFilter=*.exe;*.dll;*.ocx;*.com"));

    // Only the first of two groups with the same pattern list can be chosen.
    folder.MakeFile(L"FileType.txt", Utf16Text({L"[FileType]", L"TypeList=2", L"Title1=One", L"Type1=*.a",
                                                L"Title2=Two", L"Type2=*.A"}));
    EXPECT_EQ(LoadFromLines(folder, {L"[Setting]", L"SaveFilter=*.a"}).SaveFilter, (ComboChoice{1, L"One"}));
}

TEST(Settings, AFileThatCannotBeCreatedEmptiesOnlyTheTexts)
{
    TestFolder folder;
    std::wstring missing = folder / L"missing";
    SettingsModel model = DefaultModel();
    LoadSettings(model, LoadFileTypeTable(missing), missing);
    SettingsModel expected = DefaultModel();
    expected.ExplorerPath = expected.SavePath = expected.Size0 = expected.Size1 = L"";
    expected.SaveFilter = {-1, L""};
    EXPECT_EQ(model, expected);
    EXPECT_NE(SaveSettings(model, {}, missing), 0u);

    TestFolder noSection;
    EXPECT_EQ(LoadFromLines(noSection, {L"[Other]", L"SaveMode=1", L"Size0=5"}, DefaultModel()), expected);
}

TEST(Settings, DamagedFilesLoadWhatTheyCanAndAreNotTouchedByLoading)
{
    TestFolder folder;
    std::string noise;
    for (int i = 0; i < 3000; ++i) noise.push_back(static_cast<char>((i * 7919 + 17) % 256));
    LoadFromText(folder, noise, DefaultModel());
    EXPECT_EQ(ReadFileBytes(folder / L"Setting.ini"), noise);
    noise.replace(0, 2, "\xFF\xFE");
    LoadFromText(folder, noise, DefaultModel());

    SettingsModel ansi = LoadFromText(folder, "[Setting]\r\nSaveMode=1\r\nSize0=12\r\n");
    EXPECT_EQ(ansi.SaveMode.Selected, 1);
    EXPECT_EQ(ansi.Size0, L"12");
    // Saved by a text editor: UTF-8 without the mark; other bytes are the system's code page.
    SettingsModel utf8 = LoadFromText(folder, "[Setting]\nFormat=2\nExplorerPath=D:\\\xE8\xB3\x87\xE6\x96\x99\nSize1=\xE4\xB8\xAD\n");
    EXPECT_EQ(utf8.Format.Selected, 2);
    EXPECT_EQ(utf8.ExplorerPath, L"D:\\資料");
    EXPECT_EQ(utf8.Size1, L"中");
    SettingsModel codePage = LoadFromText(folder, "[Setting]\r\nSize1=caf\xE9\r\n");
    wchar_t expected[8]{};
    MultiByteToWideChar(CP_ACP, 0, "caf\xE9", 4, expected, 8);
    EXPECT_EQ(codePage.Size1, expected);

    SettingsModel twice = LoadFromLines(folder, {L"[Setting]", L"Format=1", L"Format=2", L"[Setting]", L"Format=3"});
    EXPECT_EQ(twice.Format.Selected, 1);
}

TEST(Settings, LongValuesSurviveARoundTripUpToTheLongestPath)
{
    TestFolder folder;
    std::wstring longText(10000, L'9');
    std::wstring longFilter;
    while (longFilter.size() < 10000) longFilter += L"*.x" + std::to_wstring(longFilter.size()) + L";";
    SettingsModel model =
        LoadFromLines(folder, {L"[Setting]", L"Size0=" + longText, L"SaveFilter=" + longFilter, L"SavePath=" + longText});
    EXPECT_EQ(model.Size0, longText);
    EXPECT_EQ(model.SavePath, longText);
    EXPECT_EQ(model.SaveFilter, (ComboChoice{-1, longFilter}));
    SettingsModel again = LoadFromText(folder, SaveAndRead(folder, model));
    EXPECT_EQ(again, model);

    std::wstring huge(10 * 1024 * 1024, L'7');
    SettingsModel cut = LoadFromLines(folder, {L"[Setting]", L"Size0=" + huge, L"SaveFilter=" + huge, L"Format=2"});
    EXPECT_EQ(cut.Size0, std::wstring(32767, L'7'));
    EXPECT_EQ(cut.SaveFilter, (ComboChoice{-1, std::wstring(32767, L'7')}));
    EXPECT_EQ(cut.Format.Selected, 2);
}

TEST(Settings, AFailedSaveIsReportedAndKeepsThePreviousFile)
{
    TestFolder folder;
    std::wstring path = folder.MakeFile(L"Setting.ini", Utf16Text(DefaultSettingLines()));
    folder.MakeFolder(L"Setting.ini.new");
    SettingsModel model = DefaultModel();
    model.Size0 = L"99";
    {
        LockedFile target(path);
        EXPECT_EQ(SaveSettings(model, {}, folder.Path()), static_cast<unsigned long>(ERROR_SHARING_VIOLATION));
    }
    EXPECT_EQ(ReadFileBytes(path), Utf16Text(DefaultSettingLines()));

    TestFolder withFolder;
    withFolder.MakeFolder(L"Setting.ini");
    EXPECT_NE(SaveSettings(model, {}, withFolder.Path()), 0u);
    EXPECT_TRUE(FileExists(withFolder / L"Setting.ini"));
    EXPECT_FALSE(FileExists(withFolder / L"Setting.ini.new"));
}

TEST(Settings, WhereNoNewFileCanBeMadeTheFileIsWrittenInPlace)
{
    TestFolder folder;
    std::vector<std::wstring> longer = DefaultSettingLines();
    longer.push_back(L"Extra=" + std::wstring(1000, L'x'));
    std::wstring path = folder.MakeFile(L"Setting.ini", Utf16Text(longer));
    folder.MakeFolder(L"Setting.ini.new");
    SettingsModel model = DefaultModel();
    model.Size0 = L"99";
    EXPECT_EQ(SaveAndRead(folder, model), Utf16Text(ReplaceLine(DefaultSettingLines(), L"Size0=", L"Size0=99")));

    model.Size1.assign(5000, L'8');
    SettingsModel again = LoadFromText(folder, SaveAndRead(folder, model));
    EXPECT_EQ(again, model);
}

TEST(Settings, AReadOnlyFileIsLeftAsItIs)
{
    TestFolder folder;
    std::string bytes = Utf16Text({L"[Setting]", L"Format=3"});
    std::wstring path = folder.MakeFile(L"Setting.ini", bytes);
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
    DWORD attributes = GetFileAttributesW(path.c_str());
    EXPECT_EQ(SaveSettings(DefaultModel(), {}, folder.Path()), 0u);
    EXPECT_EQ(ReadFileBytes(path), bytes);
    EXPECT_EQ(GetFileAttributesW(path.c_str()), attributes);
    EXPECT_FALSE(FileExists(path + L".new"));
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(Settings, ASaveFailingPartWayKeepsThePreviousFile)
{
    std::wstring volume = SmallVolumeFolder();
    if (volume.empty()) GTEST_SKIP() << "QUORVANE_SMALL_VOLUME is not set";
    std::wstring folder = volume + L"\\settings-" + std::to_wstring(GetCurrentProcessId());
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    SettingsModel model = DefaultModel();
    ASSERT_EQ(SaveSettings(model, {}, folder), 0u);
    std::string before = ReadFileBytes(folder + L"\\Setting.ini");
    model.Size1.assign(1024 * 1024, L'7');  // more than the whole volume holds
    bool saved = SaveSettings(model, {}, folder) == 0;
    std::string after = ReadFileBytes(folder + L"\\Setting.ini");
    bool pendingLeft = FileExists(folder + L"\\Setting.ini.new");
    RemoveTree(folder);
    EXPECT_FALSE(saved);
    EXPECT_EQ(after, before);
    EXPECT_FALSE(pendingLeft);
}
