#pragma once
// Window subclassing: an object intercepts chosen messages of any window of this
// process, before and/or after the window's own procedure handles them.
//
// Usage: an owner implements GXISubclass, owns one GXMSubclass, calls Subclass(window,
// this) and AddMessage(window, WM_xxx, SubclassBefore). It must call UnSubclass (or
// destroy the engine) before it is destroyed itself: the engine keeps a plain pointer.
#include <windows.h>

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

// Message number that stands for every message in AddMessage and DeleteMessage.
inline constexpr UINT kAllMessages = static_cast<UINT>(-1);

// Phase selector of AddMessage / DeleteMessage (a bit set).
enum SubclassWhen : int {
    SubclassBefore = 1,
    SubclassAfter = 2,
    SubclassBeforeAndAfter = 3,
};

class GXISubclass {
public:
    // bHandled set in the before phase answers the message with lReturn: neither the
    // previous procedure nor the after phase run. In the after phase lReturn holds the
    // previous procedure's result and its final value is what the window returns.
    // lParamUser is the window's stored user value; changes are kept.
    virtual void WndProc(bool bBefore, bool& bHandled, LRESULT& lReturn, HWND lHwnd, UINT uMsg,
                         WPARAM wParam, LPARAM lParam, LONG_PTR& lParamUser) = 0;

protected:
    ~GXISubclass() = default;
};

// 32 slots; count 0 = nothing, -1 = every message, 1..32 = slots ever used (a deleted
// message leaves a 0 slot and the count never shrinks).
struct MessageTable {
    static constexpr int kSlots = 32;
    std::int32_t Count = 0;
    std::array<UINT, kSlots> Slots{};

    bool Matches(UINT message) const;
    void Add(UINT message);
    void Delete(UINT message);
};

struct SubclassEntry;

class GXMSubclass {
public:
    GXMSubclass() = default;
    ~GXMSubclass() { Terminate(); }
    GXMSubclass(const GXMSubclass&) = delete;
    GXMSubclass& operator=(const GXMSubclass&) = delete;

    // 0 when the window is not subclassed by this engine.
    LONG_PTR p_ParamUser(HWND lHwnd) const;
    void p_ParamUser(HWND lHwnd, LONG_PTR value);

    // False for a non-window, a window of another process, a window this engine already
    // subclasses, or when the procedure could not be replaced. bIdeSafety has no effect.
    bool Subclass(HWND lHwnd, GXISubclass* oCallback, LONG_PTR lParamUser = 0, bool bIdeSafety = true);
    void AddMessage(HWND lHwnd, UINT uMsg, int eWhen);
    void DeleteMessage(HWND lHwnd, UINT uMsg, int eWhen);
    // Calls the procedure this engine replaced; 0 when the window is not subclassed.
    LRESULT CallOldWndProc(HWND lHwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    // Stops the callbacks at once; the window's procedure is put back when the window's
    // next message has been handled and no call of it is in progress. False when this
    // engine does not subclass the window.
    bool UnSubclass(HWND lHwnd);
    // UnSubclass for every window, newest first.
    void Terminate();

    bool IsSubclassed(HWND lHwnd) const { return Find(lHwnd) != nullptr; }

private:
    friend struct SubclassChain;
    SubclassEntry* Find(HWND lHwnd) const;
    void Forget(HWND lHwnd);

    // In subclassing order; the entries themselves belong to their window.
    std::vector<std::pair<HWND, SubclassEntry*>> registry_;
};
