#pragma once
// clsTreeView: the folder tree of the main window. The root is the desktop; under it
// stand the documents folder, the drives and the desktop's subfolders. Subfolders load
// when a node is expanded and reload each time it is reopened.
//
// Usage: TargetPictureBox(&panel); Create(); pvAddDrives(); pvTVExpand(pvTVGetRoot());
// then Path(...) to select a saved folder.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "controls/Form.h"
#include "controls/GuiHandles.h"
#include "controls/Subclass.h"

class clsTreeView : private GXISubclass {
public:
    clsTreeView() = default;
    ~clsTreeView();
    clsTreeView(const clsTreeView&) = delete;
    clsTreeView& operator=(const clsTreeView&) = delete;

    // Attributes
    void TargetPictureBox(HostPanel* host) { host_ = host; }
    HWND hwnd() const { return tree_.Get(); }
    // The selected node's folder, ending with "\"; the documents folder for the root
    // or no selection; empty before Create.
    std::wstring Path() const;
    // Selects the node of a path, expanding the way to it; no node matches a path in
    // another letter case or one that is not in the tree.
    void Path(std::wstring path);
    // The selected node; null when none is.
    HTREEITEM SelectedNode() const;
    // The folder a node stands for, ending with "\"; empty for the root (the desktop
    // as a whole is no folder that can be listed), for no node, and for a special folder
    // that could not be resolved.
    std::wstring FolderOf(HTREEITEM node) const;

    // Operations
    bool Create();
    void pvAddDrives();
    void pvAddUPDrives(HTREEITEM node);
    HTREEITEM pvTVGetRoot() const;
    bool pvTVExpand(HTREEITEM node);

    // Events
    std::function<void()> RightClick;
    std::function<void(HTREEITEM)> MouseClick;
    // The path of the node selected before the change; read Path for the new one.
    std::function<void(const std::wstring&)> ChangeAfter;

private:
    struct TableEntry {
        HTREEITEM Node = nullptr;
        std::wstring Path;
    };

    void WndProc(bool bBefore, bool& bHandled, LRESULT& lReturn, HWND lHwnd, UINT uMsg, WPARAM wParam,
                 LPARAM lParam, LONG_PTR& lParamUser) override;
    void OnNotify(const NMHDR& header);
    void OnExpanding(const NMTREEVIEWW& change);
    void OnSelectionChanged(const NMTREEVIEWW& change);
    void FitToHost();

    HTREEITEM AddNode(HTREEITEM parent, const std::wstring& text, int image, LPARAM index, bool hasChildren);
    void ResetTable();
    int AddSubfolders(const std::wstring& path, HTREEITEM parent);
    void LoadChildren(HTREEITEM node);
    void DeleteChildren(HTREEITEM node);
    LPARAM NodeIndex(HTREEITEM node) const;
    std::wstring TablePath(LPARAM index) const;

    GXMSubclass engine_;
    UniqueWindow tree_;
    HostPanel* host_ = nullptr;
    std::vector<TableEntry> table_;
};
