#pragma once
// The host panels and control wrappers of a window, kept by their names, so that a
// window is laid out from a table and its parts are found as "cboSize" or "picSave".
#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "controls/Control.h"
#include "controls/Form.h"

// One host panel of a layout table: position and size in twips, relative to the parent.
struct PanelSpec {
    const wchar_t* Name;
    const wchar_t* Parent;  // null: the window itself
    int Left, Top, Width, Height;
};

class NamedControls {
public:
    // Creates the panels of a table in order; a parent must come before its children.
    template <std::size_t N>
    void MakePanels(const PanelSpec (&table)[N], HWND window)
    {
        for (const PanelSpec& spec : table)
            MakePanel(spec.Name, spec.Parent ? Panel(spec.Parent)->hwnd() : window, spec.Left, spec.Top, spec.Width,
                      spec.Height);
    }
    // Position and size in twips, relative to the parent.
    HostPanel& MakePanel(const wchar_t* name, HWND parent, int left, int top, int width, int height);
    // A control filling the named panel; enabled, with its text when given.
    clsControl& MakeControl(const wchar_t* name, const wchar_t* host, int kind, const wchar_t* text = nullptr,
                            int border = 0);

    HostPanel* Panel(std::wstring_view name) const;
    clsControl* Control(std::wstring_view name) const;
    // A control's native window, else a panel's; null for an unknown name.
    HWND Window(std::wstring_view name) const;

private:
    std::map<std::wstring, std::unique_ptr<HostPanel>, std::less<>> panels_;
    std::map<std::wstring, std::unique_ptr<clsControl>, std::less<>> controls_;
};
