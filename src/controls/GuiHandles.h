#pragma once
// Owners for the window-system handles the control layer creates.
#include <windows.h>

#include "fs/UniqueHandle.h"

struct WindowHandleTraits {
    using Handle = HWND;
    static Handle None() { return nullptr; }
    // A window may already be gone with its parent; destroying a stale handle would fail anyway.
    static bool Close(Handle h) { return !IsWindow(h) || DestroyWindow(h) != FALSE; }
};

struct ModuleHandleTraits {
    using Handle = HMODULE;
    static Handle None() { return nullptr; }
    static bool Close(Handle h) { return FreeLibrary(h) != FALSE; }
};

struct GdiObjectTraits {
    using Handle = HGDIOBJ;
    static Handle None() { return nullptr; }
    static bool Close(Handle h) { return DeleteObject(h) != FALSE; }
};

using UniqueWindow = UniqueHandle<WindowHandleTraits>;
using UniqueModule = UniqueHandle<ModuleHandleTraits>;
using UniqueGdiObject = UniqueHandle<GdiObjectTraits>;

// The stock GUI font every control uses; stock objects are never deleted.
inline HFONT StockGuiFont()
{
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}
