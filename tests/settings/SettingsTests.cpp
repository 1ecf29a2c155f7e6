#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "settings/FileTypes.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"
#include "support/TestFolder.h"

namespace {

// The byte-order mark, then each line ending in CR LF.
std::string Utf16Text(const std::vector<std::wstring>& lines)
{
    std::string bytes("\xFF\xFE");
    for (const std::wstring& line : lines)
        for (wchar_t c : line + L"\r\n") bytes += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
    return bytes;
}

// The lines with each "key=value" of `changes` put in place of the line of that key,
// whatever the letter case of the key.
std::vector<std::wstring> With(std::vector<std::wstring> lines, const std::vector<std::wstring>& changes)
{
    for (const std::wstring& change : changes)
        for (std::wstring& line : lines)
            if (_wcsnicmp(line.c_str(), change.c_str(), change.find(L'=') + 1) == 0) line = change;
    return lines;
}

// A built-in default file, as the program carries it.
std::string Resource(const wchar_t* name)
{
    HRSRC info = FindResourceW(nullptr, name, L"FILE");
    return std::string(static_cast<const char*>(LockResource(LoadResource(nullptr, info))), SizeofResource(nullptr, info));
}

// The lines of the built-in Setting.ini (UTF-16LE with its mark).
std::vector<std::wstring> DefaultSettingLines()
{
    std::string bytes = Resource(L"SETTING");
    std::wstring text;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) text += static_cast<wchar_t>((bytes[i] & 0xFF) | (bytes[i + 1] << 8));
    std::vector<std::wstring> lines;
    for (std::size_t at = 0, end; (end = text.find(L"\r\n", at)) != std::wstring::npos; at = end + 2)
        lines.push_back(text.substr(at, end - at));
    return lines;
}

// Nine groups and the given count.
std::vector<std::wstring> NineGroups(const std::wstring& typeList)
{
    std::vector<std::wstring> lines{L"[FileType]", L"TypeList=" + typeList};
    for (int n = 1; n <= 9; ++n)
        lines.insert(lines.end(), {L"Title" + std::to_wstring(n) + L"=G", L"Type" + std::to_wstring(n) + L"=*.g"});
    return lines;
}

// A file held open without sharing, so nobody else can open, replace or delete it.
struct LockedFile {
    HANDLE Handle;
    explicit LockedFile(const std::wstring& path)
        : Handle(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0, nullptr)) {}
    ~LockedFile() { CloseHandle(Handle); }
};

// The lists with as many items as the window's, none selected.
SettingsModel WindowLists()
{
    SettingsModel model;
    model.SaveMode.ItemCount = 3, model.SortSave.ItemCount = 7, model.DirectoryLevel.ItemCount = 99;
    model.Date.ItemCount = model.Size.ItemCount = model.Format.ItemCount = 4;
    model.SizeType0.ItemCount = model.SizeType1.ItemCount = 2;
    return model;
}

SettingsModel Loaded(const TestFolder& folder, SettingsModel model = WindowLists())
{
    LoadSettings(model, LoadFileTypeTable(folder.Path()), folder.Path());
    return model;
}

std::string Saved(const TestFolder& folder, const SettingsModel& model)
{
    EXPECT_EQ(SaveSettings(model, LoadFileTypeTable(folder.Path()), folder.Path()), 0u);
    return ReadFileBytes(folder / L"Setting.ini");
}

std::string DefaultsWith(const std::vector<std::wstring>& changes)
{
    return Utf16Text(With(DefaultSettingLines(), changes));
}

// With every text emptied, as a file without those keys leaves them.
std::string EmptiedWith(std::vector<std::wstring> changes = {})
{
    changes.insert(changes.begin(), {L"ExplorerPath=", L"SavePath=", L"Size0=", L"Size1=", L"SaveFilter="});
    return DefaultsWith(changes);
}

const FileTypeEntry kAllFiles{L"*.*", L"所有檔案 (*.*)"};

std::wstring WriteFileTypes(const TestFolder& folder, const std::vector<std::wstring>& lines)
{
    return folder.MakeFile(L"FileType.txt", Utf16Text(lines));
}

}  // namespace

TEST(Settings, EveryOptionIsWrittenInOrderAndLoadsBackIntoItsOwnPlace)
{
    TestFolder folder;
    // Lists as the window fills them: the selected item and the number of items.
    const SettingsModel model{.ExplorerPath = L"D:\\資料\\Sub", .SavePath = L"C:\\PROGRA~1\\", .SaveMode = {1, 3},
                              .SortSave = {6, 7}, .DirectoryLevel = {98, 99}, .ScanSubFolders = true, .ScanHidden = true,
                              .Date = {3, 4}, .Size = {2, 4}, .Format = {1, 4}, .SizeType0 = {-1, 2}, .SizeType1 = {0, 2},
                              .Size0 = L"7", .Size1 = L"1,5", .SaveFilter = {4, L"圖片檔案"}};
    EXPECT_EQ(Saved(folder, model),
              Utf16Text({L"[Setting]", L"ExplorerPath=D:\\資料\\Sub", L"SavePath=C:\\PROGRA~1\\", L"SaveMode=1",
                         L"SortSave=6", L"DirectoryLevel=98", L"EmptyDirectory=0", L"ScanSubFolders=1",
                         L"ScanSystem=0", L"ScanHidden=1", L"ScanReadOnly=0", L"Date=3", L"Size=2", L"Format=1",
                         L"SizeType0=-1", L"SizeType1=0", L"Size0=7", L"Size1=1,5",
                         L"SaveFilter=*.jpeg;*.jpg;*.bmp;*.gif;*.dib;*.ico;*.png;*.psd;*.pcx"}));
    EXPECT_EQ(Loaded(folder), model);
}

// Each file is loaded over the default options and saved again. A value that does not
// convert leaves only its own option as it was; loading never changes the file.
TEST(Settings, EachKeyIsReadOnItsOwn)
{
    TestFolder folder;
    const SettingsModel start = Loaded(folder);  // the first start makes the file from its default
    EXPECT_EQ(ReadFileBytes(folder / L"Setting.ini"), Resource(L"SETTING"));
    ASSERT_EQ(Utf16Text(DefaultSettingLines()), Resource(L"SETTING"));
    std::wstring longText(10000, L'9');
    wchar_t inCodePage[8]{};
    MultiByteToWideChar(CP_ACP, 0, "caf\xE9", -1, inCodePage, 8);
    const std::pair<std::string, std::string> cases[] = {
        {Utf16Text(DefaultSettingLines()), Utf16Text(DefaultSettingLines())},
        {DefaultsWith({L"SAVEMODE=0", L"scanhidden=0", L"size0=7", L"EmptyDirectory= True "}),
         DefaultsWith({L"SaveMode=0", L"ScanHidden=0", L"Size0=7", L"EmptyDirectory=1"})},
        {DefaultsWith({L"SaveMode=7", L"DirectoryLevel=99", L"SortSave=-5", L"Date=2.5", L"Size=3.5", L"Format=3e0"}),
         DefaultsWith({L"SaveMode=-1", L"DirectoryLevel=-1", L"SortSave=-1", L"Date=2", L"Size=-1", L"Format=3"})},
        {DefaultsWith({L"ScanHidden=abc", L"EmptyDirectory=1x", L"ScanSubFolders=0.5", L"ScanReadOnly=false",
                       L"SaveMode=abc", L"Format=99999999999", L"Size=", L"SortSave=2x", L"Date=1"}),
         DefaultsWith({L"ScanSubFolders=1", L"ScanReadOnly=0", L"Date=1"})},
        {DefaultsWith({L"SaveFilter=*.TXT;*.RTF"}), DefaultsWith({L"SaveFilter=*.TXT;*.RTF"})},
        {DefaultsWith({L"SaveFilter=*.EXE;*.DLL;*.OCX;*.COM"}), DefaultsWith({L"SaveFilter=*.exe;*.dll;*.ocx;*.com"})},
        {DefaultsWith({L"Size0=" + longText, L"SavePath=" + longText, L"Size1=" + std::wstring(40000, L'8')}),
         DefaultsWith({L"Size0=" + longText, L"SavePath=" + longText, L"Size1=" + std::wstring(32767, L'8')})},
        {Utf16Text({L"[Other]", L"Size0=other", L"[Setting]", L" Size0 = \"7 8\" ", L"Size1=first", L"Size1=second",
                    L"SavePath='a"}),
         EmptiedWith({L"Size0=7 8", L"Size1=first", L"SavePath='a"})},
        // Saved by a text editor: without the mark, UTF-8 or else the system's code page.
        {"[Setting]\r\nSaveMode=1\r\nSize1=" + std::string(1000, 'x') + "\r\n",
         EmptiedWith({L"SaveMode=1", L"Size1=" + std::wstring(1000, L'x')})},
        {"[Setting]\nFormat=2\nExplorerPath=D:\\\xE8\xB3\x87\xE6\x96\x99\n",
         EmptiedWith({L"Format=2", L"ExplorerPath=D:\\資料"})},
        {"\xEF\xBB\xBF[Setting]\r\nFormat=2\r\n", EmptiedWith({L"Format=2"})},
        {"[Setting]\r\nSize1=caf\xE9\r\n", EmptiedWith({L"Size1=" + std::wstring(inCodePage)})},
        {std::string(3000, '\xC0'), EmptiedWith()},  // bytes no editor writes
        {"\xFF\xFE" + std::string(3000, '\xC0'), EmptiedWith()},
    };
    auto tempEntries = [] {  // the program's copies only: other test programs share the temp folder
        return std::ranges::count_if(std::filesystem::directory_iterator(std::filesystem::temp_directory_path()),
                                     [](const auto& entry) { return entry.path().filename().wstring().starts_with(L"qvn"); });
    };
    auto entriesBefore = tempEntries();
    for (const auto& [file, saved] : cases) {
        std::wstring path = folder.MakeFile(L"Setting.ini", file);
        SettingsModel model = Loaded(folder, start);
        EXPECT_EQ(ReadFileBytes(path), file);
        EXPECT_EQ(Saved(folder, model), saved) << file.substr(0, 80);
    }
    EXPECT_EQ(tempEntries(), entriesBefore);  // no copy of a UTF-8 file is left behind

    // Where the file cannot be made, every key reads empty.
    std::wstring missing = folder / L"missing";
    SettingsModel model = start;
    LoadSettings(model, LoadFileTypeTable(missing), missing);
    EXPECT_EQ(Saved(folder, model), EmptiedWith());
}

TEST(Settings, SavingNeverLosesThePreviousFile)
{
    TestFolder folder;
    std::string before = DefaultsWith({L"Size1=" + std::wstring(1000, L'x')});
    std::wstring path = folder.MakeFile(L"Setting.ini", before);
    SettingsModel model = Loaded(folder);
    model.Size1 = L"99";
    folder.MakeFolder(L"Setting.ini.new");  // no new file can be made beside it
    {
        LockedFile locked(path);
        EXPECT_EQ(SaveSettings(model, {}, folder.Path()), static_cast<unsigned long>(ERROR_SHARING_VIOLATION));
    }
    EXPECT_EQ(ReadFileBytes(path), before);
    // So the file is overwritten in place, shorter and then longer.
    EXPECT_EQ(Saved(folder, model), DefaultsWith({L"Size1=99"}));
    model.Size1.assign(5000, L'8');
    std::string longer = Saved(folder, model);
    EXPECT_EQ(longer, DefaultsWith({L"Size1=" + model.Size1}));
    // A read-only file is the user's choice: it is left as it is.
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(SaveSettings(SettingsModel{}, {}, folder.Path()), 0u);
    EXPECT_EQ(ReadFileBytes(path), longer);
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(Settings, ASaveFailingPartWayKeepsThePreviousFile)
{
    const char* volume = std::getenv("QUORVANE_SMALL_VOLUME");
    if (!volume || !*volume) GTEST_SKIP() << "QUORVANE_SMALL_VOLUME is not set";
    std::wstring folder = std::filesystem::path(volume).wstring() + L"\\settings-" + std::to_wstring(GetCurrentProcessId());
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    SettingsModel model;
    ASSERT_EQ(SaveSettings(model, {}, folder), 0u);
    std::string before = ReadFileBytes(folder + L"\\Setting.ini");
    model.Size1.assign(1024 * 1024, L'7');  // more than the whole volume holds
    EXPECT_NE(SaveSettings(model, {}, folder), 0u);
    EXPECT_EQ(ReadFileBytes(folder + L"\\Setting.ini"), before);
    EXPECT_FALSE(FileExists(folder + L"\\Setting.ini.new"));
    RemoveTree(folder);
}

TEST(FileTypes, FirstUseCreatesTheDefaultFileRestoringPutsItBackAndAnUnusableFileLeavesAllFiles)
{
    TestFolder folder;
    FileTypeTable table = LoadFileTypeTable(folder.Path());
    const std::string defaults = Resource(L"FILEFILTERS");
    EXPECT_EQ(ReadFileBytes(folder / L"FileType.txt"), defaults);
    ASSERT_EQ(table.size(), 10u);
    EXPECT_EQ(table[0], kAllFiles);

    WriteFileTypes(folder, {L"[FileType]", L"Title1=A", L"Type1=*.a", L"TypeList=1", std::wstring(3000, L';')});
    FileTypeGroupList list = RestoreFileTypeDefaults(folder.Path());
    EXPECT_EQ(ReadFileBytes(folder / L"FileType.txt"), defaults);
    EXPECT_EQ(list.Rows.size(), 9u);
    EXPECT_EQ(list.SelectedRow, 0);

    std::wstring missing = folder / L"missing";
    EXPECT_EQ(LoadFileTypeTable(missing), FileTypeTable{kAllFiles});
    EXPECT_EQ(LoadGroupList(missing).SelectedRow, -1);
    std::string noise(4096, '\xC0');
    std::wstring path = folder.MakeFile(L"FileType.txt", noise);
    EXPECT_EQ(LoadFileTypeTable(folder.Path()).at(0), kAllFiles);
    EXPECT_EQ(ReadFileBytes(path), noise);
    LockedFile locked(path);
    EXPECT_EQ(LoadFileTypeTable(folder.Path()), FileTypeTable{kAllFiles});
}

TEST(FileTypes, TypeListCountsTheGroupsUpToTheLastOneThere)
{
    TestFolder folder;
    for (auto [typeList, groups] : {std::pair{L"3.5", 4u}, {L"2.5", 2u}, {L" 5 groups", 5u}, {L"12abc", 9u},
                                    {L"-1", 0u}, {L"abc", 0u}, {L"1e12", 0u}}) {
        WriteFileTypes(folder, NineGroups(typeList));
        EXPECT_EQ(LoadFileTypeTable(folder.Path()).size(), groups + 1) << typeList;
    }

    // Missing keys inside the numbering give empty groups; none follow the last one there.
    WriteFileTypes(folder, {L"[filetype]", L"title1=A", L"TYPE1=*.a", L"Type3=*.c", L"Title5=E", L"Title7=ignored",
                            L"Type07=not a key", L"TypeList=6"});
    EXPECT_EQ(LoadFileTypeTable(folder.Path()),
              (FileTypeTable{kAllFiles, {L"*.a", L"A"}, {}, {L"*.c", L""}, {}, {L"", L"E"}}));
    FileTypeGroupList list = LoadGroupList(folder.Path());
    EXPECT_EQ(list.Rows[2], (FileTypeRow{L"", L"*.c"}));
    EXPECT_EQ(list.SelectedRow, 0);

    WriteFileTypes(folder, {L"[FileType]", L"TypeList=2147483647", L"Title1=A", L"Type1=*.a", L"Title2147483647=far"});
    EXPECT_EQ(LoadFileTypeTable(folder.Path()), (FileTypeTable{kAllFiles, {L"*.a", L"A"}}));
}

TEST(FileTypes, SavingWritesTheGroupsThenTheirCountOrKeepsThePreviousFile)
{
    TestFolder folder;
    // A row missing a text is left out but counted, so its number reads back empty.
    std::vector<FileTypeRow> rows{{L"A", L"*.a"}, {L"", L"*.b"}, {L"C", L""}, {L" D ", L"*.d;;*.D"}};
    ASSERT_EQ(WriteFileTypeList(rows, folder.Path() + L"\\"), 0u);
    std::string saved = ReadFileBytes(folder / L"FileType.txt");
    EXPECT_EQ(saved, Utf16Text({L"[FileType]", L"Title1=A", L"Type1=*.a", L"Title4= D ", L"Type4=*.d;;*.D", L"TypeList=4"}));
    EXPECT_EQ(LoadGroupList(folder.Path()).Rows, (std::vector<FileTypeRow>{{L"A", L"*.a"}, {}, {}, {L"D", L"*.d;;*.D"}}));

    {
        LockedFile pending(folder / L"FileType.txt.new");
        EXPECT_NE(WriteFileTypeList({{L"X", L"*.x"}}, folder.Path()), 0u);
    }
    EXPECT_EQ(ReadFileBytes(folder / L"FileType.txt"), saved);
    TestFolder withFolder;
    withFolder.MakeFolder(L"FileType.txt");
    EXPECT_NE(WriteFileTypeList({{L"X", L"*.x"}}, withFolder.Path()), 0u);
    EXPECT_FALSE(FileExists(withFolder / L"FileType.txt.new"));
}
