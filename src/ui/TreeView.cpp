#include "ui/TreeView.h"

#include <shellapi.h>
#include <shlobj.h>

#include <memory>

#include "fs/LongPath.h"
#include "ui/Texts.h"

namespace {

constexpr std::size_t kFixedEntries = 256;  // documents + one per drive string position
constexpr int kClosedFolderIcon = 3;
constexpr int kOpenFolderIcon = 4;

struct PidlDeleter {
    void operator()(ITEMIDLIST* list) const { CoTaskMemFree(list); }
};
using UniquePidl = std::unique_ptr<ITEMIDLIST, PidlDeleter>;

UniquePidl SpecialFolder(int csidl)
{
    ITEMIDLIST* list = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &list))) return nullptr;
    return UniquePidl(list);
}

std::wstring Trimmed(std::wstring text)
{
    std::size_t first = text.find_first_not_of(L' ');
    if (first == std::wstring::npos) return {};
    std::size_t last = text.find_last_not_of(L' ');
    return text.substr(first, last - first + 1);
}

// The folder of a special folder with a trailing "\"; empty when it has no path.
std::wstring SpecialFolderPath(int csidl)
{
    UniquePidl list = SpecialFolder(csidl);
    wchar_t buffer[MAX_PATH] = {};
    if (!list || !SHGetPathFromIDListW(list.get(), buffer)) return {};
    std::wstring path = Trimmed(TrimAtNul(std::wstring_view(buffer, MAX_PATH)));
    if (!path.empty() && !path.ends_with(L'\\')) path += L'\\';
    return path;
}

struct ShellLook {
    std::wstring Name;
    int Icon = 0;
};

ShellLook LookOfPath(const std::wstring& path)
{
    SHFILEINFOW info{};
    SHGetFileInfoW(path.c_str(), 0, &info, sizeof(info), SHGFI_DISPLAYNAME | SHGFI_SYSICONINDEX);
    return {TrimAtNul(std::wstring_view(info.szDisplayName, MAX_PATH)), info.iIcon};
}

int IconOfSpecialFolder(int csidl)
{
    UniquePidl list = SpecialFolder(csidl);
    if (!list) return 0;
    SHFILEINFOW info{};
    SHGetFileInfoW(reinterpret_cast<LPCWSTR>(list.get()), 0, &info, sizeof(info), SHGFI_PIDL | SHGFI_SYSICONINDEX);
    return info.iIcon;
}

bool IsDotName(const wchar_t* name)
{
    return name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0));
}

// Calls visit for each subfolder name of a folder (path ends with "\") until it returns false.
template <typename Visit>
void ForEachSubfolder(const std::wstring& path, Visit visit)
{
    WIN32_FIND_DATAW record;
    HANDLE find = FindFirstFileW(LongPathArg(path + L"*.*").c_str(), &record);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        if ((record.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !IsDotName(record.cFileName))
            if (!visit(TrimAtNul(std::wstring_view(record.cFileName, MAX_PATH)))) break;
    } while (FindNextFileW(find, &record));
    FindClose(find);
}

// How many entries of a folder are read to decide on its expand button: a folder of
// millions of files beside the selected one must not hold up the tree.
constexpr int kSubfolderProbeEntries = 256;

// False only when a folder (path ends with "\") was read to its end without finding a
// subfolder. Past the bound the node keeps its button; expanding it settles the question.
bool MayHaveSubfolders(const std::wstring& path)
{
    WIN32_FIND_DATAW record;
    HANDLE find = FindFirstFileW(LongPathArg(path + L"*.*").c_str(), &record);
    if (find == INVALID_HANDLE_VALUE) return false;
    bool may = false;
    for (int read = 1; !may; ++read) {
        may = ((record.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !IsDotName(record.cFileName)) ||
              read == kSubfolderProbeEntries;
        if (!may && !FindNextFileW(find, &record)) break;
    }
    FindClose(find);
    return may;
}

}  // namespace

clsTreeView::~clsTreeView()
{
    engine_.Terminate();
    tree_.Reset();
}

bool clsTreeView::Create()
{
    if (!host_ || !host_->hwnd() || tree_) return false;
    tree_.Reset(CreateWindowExW(WS_EX_CLIENTEDGE, WC_TREEVIEWW, L"",
                                WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES |
                                    TVS_DISABLEDRAGDROP | TVS_SHOWSELALWAYS | TVS_INFOTIP,
                                0, 0, TwipsToPixelsX(host_->Width()), TwipsToPixelsY(host_->Height()), host_->hwnd(),
                                nullptr, GetModuleHandleW(nullptr), nullptr));
    if (!tree_) return false;
    SendMessageW(tree_.Get(), WM_SETFONT, reinterpret_cast<WPARAM>(StockGuiFont()), TRUE);
    SendMessageW(tree_.Get(), CCM_SETUNICODEFORMAT, 1, 0);

    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    std::wstring systemRoot = TrimAtNul(std::wstring_view(system, MAX_PATH)).substr(0, 3);
    SHFILEINFOW info{};
    auto images = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoW(systemRoot.c_str(), 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    SendMessageW(tree_.Get(), TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images));

    engine_.Subclass(host_->hwnd(), this);
    engine_.AddMessage(host_->hwnd(), WM_NOTIFY, SubclassBefore);
    engine_.AddMessage(host_->hwnd(), WM_SETFOCUS, SubclassBefore);
    host_->Resize = [this] { FitToHost(); };
    return true;
}

void clsTreeView::FitToHost()
{
    if (tree_ && host_)
        MoveWindow(tree_.Get(), 0, 0, TwipsToPixelsX(host_->Width()), TwipsToPixelsY(host_->Height()), TRUE);
}

void clsTreeView::WndProc(bool, bool& bHandled, LRESULT& lReturn, HWND, UINT uMsg, WPARAM, LPARAM lParam, LONG_PTR&)
{
    if (uMsg == WM_SETFOCUS) {
        if (tree_) SetFocus(tree_.Get());
        return;
    }
    if (uMsg == WM_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (!header || header->hwndFrom != tree_.Get()) return;
        bHandled = true;
        lReturn = 0;
        OnNotify(*header);
    }
}

void clsTreeView::OnNotify(const NMHDR& header)
{
    switch (header.code) {
    case TVN_ITEMEXPANDINGW:
    case TVN_ITEMEXPANDINGA:
        OnExpanding(reinterpret_cast<const NMTREEVIEWW&>(header));
        break;
    case TVN_SELCHANGEDW:
    case TVN_SELCHANGEDA:
        OnSelectionChanged(reinterpret_cast<const NMTREEVIEWW&>(header));
        break;
    case NM_RCLICK:
        if (RightClick) RightClick();
        break;
    default:
        break;
    }
}

void clsTreeView::OnExpanding(const NMTREEVIEWW& change)
{
    HTREEITEM node = change.itemNew.hItem;
    UINT state = static_cast<UINT>(SendMessageW(tree_.Get(), TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(node),
                                                TVIS_EXPANDEDONCE | TVIS_EXPANDED));
    if (!(state & TVIS_EXPANDEDONCE)) {
        LoadChildren(node);
    } else if (!(state & TVIS_EXPANDED)) {
        // Opened again: read it afresh, so folders made meanwhile appear.
        DeleteChildren(node);
        if (node == pvTVGetRoot()) pvAddUPDrives(node);
        LoadChildren(node);
    }
}

void clsTreeView::OnSelectionChanged(const NMTREEVIEWW& change)
{
    HTREEITEM node = change.itemNew.hItem;
    if (node != pvTVGetRoot()) {
        PumpPendingMessages();
        if (ChangeAfter) ChangeAfter(TablePath(change.itemOld.hItem ? change.itemOld.lParam : 0));
    }
    if (MouseClick) MouseClick(node);
}

HTREEITEM clsTreeView::AddNode(HTREEITEM parent, const std::wstring& text, int image, LPARAM index,
                               bool hasChildren)
{
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent ? parent : TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = const_cast<wchar_t*>(text.c_str());
    insert.item.iImage = image;
    insert.item.iSelectedImage = image == kClosedFolderIcon ? kOpenFolderIcon : image;
    if (index > 0) {
        insert.item.mask |= TVIF_PARAM;
        insert.item.lParam = index;
    }
    if (hasChildren) {
        insert.item.mask |= TVIF_CHILDREN;
        insert.item.cChildren = 1;
    }
    return reinterpret_cast<HTREEITEM>(
        SendMessageW(tree_.Get(), TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
}

void clsTreeView::ResetTable() { table_.resize(kFixedEntries); }

void clsTreeView::pvAddDrives()
{
    if (!tree_) return;
    ResetTable();
    HTREEITEM root = AddNode(nullptr, kDesktopNode, IconOfSpecialFolder(CSIDL_DESKTOP), 0, false);
    pvAddUPDrives(root);
    SendMessageW(tree_.Get(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root));
    SendMessageW(tree_.Get(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(root));
}

void clsTreeView::pvAddUPDrives(HTREEITEM node)
{
    if (!tree_) return;
    ResetTable();
    HTREEITEM documents = AddNode(node, kDocumentsNode, IconOfSpecialFolder(CSIDL_PERSONAL), 0, true);
    table_[0] = {documents, SpecialFolderPath(CSIDL_PERSONAL)};

    std::wstring drives(4000, L'\0');
    DWORD length = GetLogicalDriveStringsW(static_cast<DWORD>(drives.size()), drives.data());
    drives.resize(length < drives.size() ? length : 0);
    std::size_t position = 0;
    std::size_t start = 0;
    while (start < drives.size()) {
        std::size_t end = drives.find(L'\0', start);
        if (end == std::wstring::npos) end = drives.size();
        std::wstring piece = Trimmed(drives.substr(start, end - start));
        if (!piece.empty() && position + 1 < kFixedEntries) {
            std::wstring path = piece.substr(0, 1) + L":\\";
            ShellLook look = LookOfPath(path);
            LPARAM index = static_cast<LPARAM>(position + 1);
            table_[position + 1] = {AddNode(node, look.Name, look.Icon, index, true), path};
        }
        ++position;
        start = end + 1;
    }

    AddSubfolders(SpecialFolderPath(CSIDL_DESKTOP), node);
    SendMessageW(tree_.Get(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(node));
    SendMessageW(tree_.Get(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node));
}

int clsTreeView::AddSubfolders(const std::wstring& path, HTREEITEM parent)
{
    if (path.empty()) return 0;
    int added = 0;
    ForEachSubfolder(path, [&](const std::wstring& name) {
        std::wstring full = path + name + L"\\";
        ShellLook look = LookOfPath(full);
        LPARAM index = static_cast<LPARAM>(table_.size());
        table_.push_back({nullptr, full});
        table_.back().Node = AddNode(parent, look.Name, look.Icon, index, MayHaveSubfolders(full));
        ++added;
        return true;
    });
    return added;
}

void clsTreeView::LoadChildren(HTREEITEM node)
{
    if (!node || node == pvTVGetRoot()) return;
    int added = AddSubfolders(TablePath(NodeIndex(node)), node);
    SendMessageW(tree_.Get(), TVM_SORTCHILDREN, TRUE, reinterpret_cast<LPARAM>(node));
    SendMessageW(tree_.Get(), TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(node));
    if (added == 0) {
        // No subfolder (or an unreadable folder): drop the expand button.
        TVITEMW item{};
        item.mask = TVIF_CHILDREN;
        item.hItem = node;
        item.cChildren = 0;
        SendMessageW(tree_.Get(), TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
}

void clsTreeView::DeleteChildren(HTREEITEM node)
{
    while (HTREEITEM child = reinterpret_cast<HTREEITEM>(
               SendMessageW(tree_.Get(), TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(node))))
        SendMessageW(tree_.Get(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(child));
}

HTREEITEM clsTreeView::pvTVGetRoot() const
{
    if (!tree_) return nullptr;
    return reinterpret_cast<HTREEITEM>(SendMessageW(tree_.Get(), TVM_GETNEXTITEM, TVGN_ROOT, 0));
}

bool clsTreeView::pvTVExpand(HTREEITEM node)
{
    if (!tree_ || !node) return false;
    return SendMessageW(tree_.Get(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(node)) != 0;
}

LPARAM clsTreeView::NodeIndex(HTREEITEM node) const
{
    TVITEMW item{};
    item.mask = TVIF_PARAM;
    item.hItem = node;
    if (!node || !SendMessageW(tree_.Get(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return 0;
    return item.lParam;
}

std::wstring clsTreeView::TablePath(LPARAM index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= table_.size()) return {};
    return table_[static_cast<std::size_t>(index)].Path;
}

HTREEITEM clsTreeView::SelectedNode() const
{
    if (!tree_) return nullptr;
    return reinterpret_cast<HTREEITEM>(SendMessageW(tree_.Get(), TVM_GETNEXTITEM, TVGN_CARET, 0));
}

std::wstring clsTreeView::FolderOf(HTREEITEM node) const
{
    if (!node || node == pvTVGetRoot()) return {};
    return TablePath(NodeIndex(node));
}

std::wstring clsTreeView::Path() const
{
    if (!tree_) return {};
    return TablePath(NodeIndex(SelectedNode()));
}

void clsTreeView::Path(std::wstring path)
{
    if (!tree_) return;
    if (!path.ends_with(L'\\')) path += L'\\';
    HTREEITEM found = nullptr;
    for (std::size_t cut = path.find(L'\\'); cut != std::wstring::npos; cut = path.find(L'\\', cut + 1)) {
        std::wstring prefix = path.substr(0, cut + 1);
        found = nullptr;
        for (const TableEntry& entry : table_) {
            if (entry.Node && entry.Path == prefix) {
                found = entry.Node;
                break;
            }
        }
        if (!found) break;
        if (cut + 1 < path.size()) pvTVExpand(found);
    }
    SendMessageW(tree_.Get(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(found));
}
