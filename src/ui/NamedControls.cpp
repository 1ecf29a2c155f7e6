#include "ui/NamedControls.h"

HostPanel& NamedControls::MakePanel(const wchar_t* name, HWND parent, int left, int top, int width, int height)
{
    auto panel = std::make_unique<HostPanel>();
    panel->Create(parent, left, top, width, height);
    HostPanel& result = *panel;
    panels_[name] = std::move(panel);
    return result;
}

clsControl& NamedControls::MakeControl(const wchar_t* name, const wchar_t* host, int kind, const wchar_t* text,
                                       int border)
{
    auto control = std::make_unique<clsControl>();
    control->TargetPictureBox(Panel(host));
    if (border) control->BorderStyle(border);
    control->Create(kind);
    if (text) control->Text(text);
    control->Enabled(true);
    clsControl& result = *control;
    controls_[name] = std::move(control);
    return result;
}

HostPanel* NamedControls::Panel(std::wstring_view name) const
{
    auto found = panels_.find(name);
    return found == panels_.end() ? nullptr : found->second.get();
}

clsControl* NamedControls::Control(std::wstring_view name) const
{
    auto found = controls_.find(name);
    return found == controls_.end() ? nullptr : found->second.get();
}

HWND NamedControls::Window(std::wstring_view name) const
{
    if (clsControl* control = Control(name)) return control->hwnd();
    if (HostPanel* panel = Panel(name)) return panel->hwnd();
    return nullptr;
}
