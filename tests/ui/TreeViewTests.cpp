#include <gtest/gtest.h>

#include <ole2.h>

#include <vector>

#include "support/TestFolder.h"
#include "ui/FolderStatistics.h"
#include "ui/Texts.h"
#include "ui/TreeView.h"

namespace {

std::wstring NodeText(HWND tree, HTREEITEM node)
{
    wchar_t text[MAX_PATH] = {};
    TVITEMW item{};
    item.mask = TVIF_TEXT;
    item.hItem = node;
    item.pszText = text;
    item.cchTextMax = MAX_PATH;
    SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return text;
}

HTREEITEM NextItem(HWND tree, HTREEITEM node, UINT relation)
{
    return reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(node)));
}

std::vector<std::wstring> ChildTexts(HWND tree, HTREEITEM node)
{
    std::vector<std::wstring> texts;
    for (HTREEITEM child = NextItem(tree, node, TVGN_CHILD); child; child = NextItem(tree, child, TVGN_NEXT))
        texts.push_back(NodeText(tree, child));
    return texts;
}

HTREEITEM Selected(HWND tree) { return NextItem(tree, nullptr, TVGN_CARET); }

int ChildrenMark(HWND tree, HTREEITEM node)
{
    TVITEMW item{};
    item.mask = TVIF_CHILDREN;
    item.hItem = node;
    SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return item.cChildren;
}

// A form with the tree in a panel, built the way the main window builds it.
class FolderTree : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
        ASSERT_TRUE(form.Create(L"tree test", WS_OVERLAPPEDWINDOW, 0, 4500, 6000));
        ASSERT_TRUE(panel.Create(form.hwnd(), 45, 45, 3950, 5235));
        tree.TargetPictureBox(&panel);
        ASSERT_TRUE(tree.Create());
        tree.ChangeAfter = [this](const std::wstring& previous) { changes.push_back(previous); };
        tree.pvAddDrives();
        tree.pvTVExpand(tree.pvTVGetRoot());
        form.Show();
    }
    void TearDown() override { OleUninitialize(); }

    // Keys go to the tree window itself, as they would from the keyboard.
    void PressKey(UINT key)
    {
        SendMessageW(tree.hwnd(), WM_KEYDOWN, key, 0);
        SendMessageW(tree.hwnd(), WM_KEYUP, key, 0);
    }

    TopLevelWindow form;
    HostPanel panel;
    clsTreeView tree;
    std::vector<std::wstring> changes;
};

}  // namespace

TEST(FolderStatistics, CountsFilesAndSubfoldersDirectlyInTheFolder)
{
    TestFolder folder;
    for (auto name : {L"a.txt", L"b.txt", L"c.txt"}) folder.MakeFile(name, std::string(1234, 'x'));
    folder.MakeFolder(L"one");
    folder.MakeFolder(L"two");
    folder.MakeFile(L"one\\deeper.txt", "not counted");

    FolderStatistics statistics = CountFolder(folder.Path() + L"\\", {}).value();
    EXPECT_EQ(statistics.Files, 3);
    EXPECT_EQ(statistics.Folders, 2);
    EXPECT_EQ(statistics.Size, ExactSize(3702));
    auto lines = FolderStatisticsLines(statistics);
    EXPECT_EQ(lines[0], L"目錄大小：3.62 KB (3,702 位元組)");
    EXPECT_EQ(lines[1], L"磁碟大小：3.62 KB (3,702 位元組)");
    EXPECT_EQ(lines[2], L"內含　　：3 個檔案，2 個資料夾");
}

TEST(FolderStatistics, LetsMessagesRunAfterEveryEleventhEntryAndStopsWhenTold)
{
    TestFolder folder;
    for (int i = 0; i < 20; ++i) folder.MakeFile(L"f" + std::to_wstring(i));
    int pumps = 0;
    auto statistics = CountFolder(folder.Path() + L"\\", [&] {
        ++pumps;
        return true;
    });
    ASSERT_TRUE(statistics.has_value());
    EXPECT_EQ(statistics->Files, 20);
    EXPECT_EQ(pumps, 22 / 11);  // twenty files plus "." and ".."

    pumps = 0;
    EXPECT_FALSE(CountFolder(folder.Path() + L"\\", [&] {
        ++pumps;
        return false;
    }).has_value());
    EXPECT_EQ(pumps, 1);
}

TEST(FolderStatistics, AnUnreadableFolderCountsNothing)
{
    TestFolder folder;
    FolderStatistics statistics = CountFolder(folder / L"missing\\", {}).value();
    EXPECT_EQ(statistics.Files, 0);
    EXPECT_EQ(statistics.Folders, 0);
    EXPECT_EQ(FolderStatisticsLines(statistics)[0], L"目錄大小：0 位元組 (0 位元組)");
}

TEST_F(FolderTree, TheRootHoldsDocumentsThenTheDrives)
{
    HWND window = tree.hwnd();
    HTREEITEM root = tree.pvTVGetRoot();
    EXPECT_EQ(NodeText(window, root), L"桌面");
    std::vector<std::wstring> children = ChildTexts(window, root);
    ASSERT_GE(children.size(), 2u);
    EXPECT_EQ(children[0], L"我的文件夾");
    // The root is selected, which reads as the documents folder.
    EXPECT_EQ(Selected(window), root);
    std::wstring documents = tree.Path();
    EXPECT_TRUE(documents.ends_with(L'\\')) << documents;
    EXPECT_TRUE(changes.empty());
}

TEST_F(FolderTree, AssigningAPathExpandsTheWayAndSelectsIt)
{
    TestFolder folder;
    folder.MakeFolder(L"Data");
    folder.MakeFolder(L"Data\\Sub");
    tree.Path(folder / L"Data\\Sub");
    EXPECT_EQ(tree.Path(), folder / L"Data\\Sub\\");
    EXPECT_EQ(NodeText(tree.hwnd(), Selected(tree.hwnd())), L"Sub");
    ASSERT_FALSE(changes.empty());
}

TEST_F(FolderTree, APathInAnotherCaseOrNotInTheTreeSelectsNothing)
{
    TestFolder folder;
    folder.MakeFolder(L"Mixed");
    std::wstring upper = folder / L"Mixed";
    CharUpperW(upper.data());
    tree.Path(upper);
    EXPECT_EQ(Selected(tree.hwnd()), nullptr);
    tree.Path(L"\\");
    EXPECT_EQ(Selected(tree.hwnd()), nullptr);
    tree.Path(L"Q:\\nowhere");
    EXPECT_EQ(Selected(tree.hwnd()), nullptr);
}

TEST_F(FolderTree, ExpandingLoadsSortedSubfoldersAndReopeningRereadsThem)
{
    TestFolder folder;
    folder.MakeFolder(L"parent");
    folder.MakeFolder(L"parent\\b-leaf");
    folder.MakeFolder(L"parent\\a-branch");
    folder.MakeFolder(L"parent\\a-branch\\inner");
    tree.Path(folder / L"parent");
    HWND window = tree.hwnd();
    HTREEITEM parent = Selected(window);
    ASSERT_NE(parent, nullptr);

    PressKey(VK_ADD);
    EXPECT_EQ(ChildTexts(window, parent), (std::vector<std::wstring>{L"a-branch", L"b-leaf"}));
    HTREEITEM branch = NextItem(window, parent, TVGN_CHILD);
    EXPECT_EQ(ChildrenMark(window, branch), 1);
    EXPECT_EQ(ChildrenMark(window, NextItem(window, branch, TVGN_NEXT)), 0);

    PressKey(VK_SUBTRACT);
    folder.MakeFolder(L"parent\\c-new");
    PressKey(VK_ADD);
    EXPECT_EQ(ChildTexts(window, parent), (std::vector<std::wstring>{L"a-branch", L"b-leaf", L"c-new"}));
}

TEST_F(FolderTree, AFolderWhoseSubfoldersVanishedLosesItsExpandButton)
{
    TestFolder folder;
    folder.MakeFolder(L"holder");
    folder.MakeFolder(L"holder\\was-full");
    std::wstring inner = folder.MakeFolder(L"holder\\was-full\\inner");
    tree.Path(folder / L"holder\\was-full");
    HWND window = tree.hwnd();
    HTREEITEM node = Selected(window);
    ASSERT_EQ(NodeText(window, node), L"was-full");
    EXPECT_EQ(ChildrenMark(window, node), 1);

    RemoveDirectoryW(inner.c_str());
    PressKey(VK_ADD);
    EXPECT_EQ(ChildrenMark(window, node), 0);
    EXPECT_TRUE(ChildTexts(window, node).empty());
}

TEST_F(FolderTree, AFolderTooFullToReadAtOnceKeepsItsButtonUntilExpanded)
{
    TestFolder folder;
    folder.MakeFolder(L"holder");
    folder.MakeFolder(L"holder\\crowded");
    for (int i = 0; i < 300; ++i) folder.MakeFile(L"holder\\crowded\\file " + std::to_wstring(i));
    tree.Path(folder / L"holder\\crowded");
    HWND window = tree.hwnd();
    HTREEITEM node = Selected(window);
    ASSERT_EQ(NodeText(window, node), L"crowded");
    // Only its first entries were read: a subfolder may still follow them.
    EXPECT_EQ(ChildrenMark(window, node), 1);
    PressKey(VK_ADD);
    EXPECT_EQ(ChildrenMark(window, node), 0);
}

TEST_F(FolderTree, SelectionChangesReportThePreviousPath)
{
    TestFolder folder;
    folder.MakeFolder(L"first");
    folder.MakeFolder(L"second");
    tree.Path(folder / L"first");
    changes.clear();
    tree.Path(folder / L"second");
    ASSERT_FALSE(changes.empty());
    EXPECT_EQ(changes.back(), folder / L"first\\");
    EXPECT_EQ(tree.Path(), folder / L"second\\");
}
