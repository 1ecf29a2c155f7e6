#pragma once
// ClsDate: a date (style 0) or time (style 1) picker filling a host panel.
//
// Usage: Style(0); PictureBox(&panel); Create(); Value(date); Enabled(true).
#include <windows.h>

#include "controls/Form.h"
#include "controls/GuiHandles.h"
#include "fs/DateTime.h"

class ClsDate {
public:
    enum { StyleDate = 0, StyleTime = 1 };

    ClsDate();
    ~ClsDate() = default;
    ClsDate(const ClsDate&) = delete;
    ClsDate& operator=(const ClsDate&) = delete;

    // Attributes
    HWND hwnd() const { return picker_.Get(); }
    bool Enabled() const { return enabled_; }
    void Enabled(bool value);
    HostPanel* PictureBox() const { return host_; }
    // Also takes the host's border away and makes it one text line plus 8 pixels high.
    void PictureBox(HostPanel* ctlNewPictureBox);
    int Style() const { return style_; }
    void Style(int intNewStyle) { style_ = intNewStyle; }
    // Whole seconds; 0 (no date) without a picker.
    OleDate Value() const;
    bool Value(OleDate dtmNewValue);

    // Operations
    // Any style other than 0 or 1 creates no picker.
    bool Create();

private:
    UniqueWindow picker_;
    HostPanel* host_ = nullptr;
    HFONT font_ = nullptr;  // stock font: never deleted
    int style_ = StyleDate;
    bool enabled_ = false;
};
