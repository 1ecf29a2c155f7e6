#include "controls/Subclass.h"

#include <algorithm>
#include <memory>

// Every subclassed window has one chain, attached as a window property. All entries
// share one replacement procedure, so the chain remembers which entry a forwarded call
// is meant for: the procedure an entry replaced may be the previous entry's replacement.
struct SubclassEntry {
    HWND Window = nullptr;
    WNDPROC Previous = nullptr;
    GXISubclass* Callback = nullptr;
    GXMSubclass* Engine = nullptr;
    LONG_PTR ParamUser = 0;
    MessageTable Before;
    MessageTable After;
    // Calls of the replacement procedure for this entry in progress, callbacks included,
    // so that an entry is never unhooked while a frame of its own still runs.
    int Depth = 0;
    bool RemovalPending = false;
};

struct SubclassChain {
    std::vector<std::unique_ptr<SubclassEntry>> Entries;  // oldest first
    // Unhooked entries whose frames may still be on the stack; freed when no call runs.
    std::vector<std::unique_ptr<SubclassEntry>> Retired;
    SubclassEntry* ForwardTarget = nullptr;
    // Forwards that went to a procedure someone else installed between two entries. That
    // procedure passes the message on to the window's procedure, which is ours again; the
    // call must then go on to the entry older than the forwarding one, not start over.
    struct ForeignHop {
        SubclassEntry* Target;
        UINT Message;
        WPARAM WParam;
        LPARAM LParam;
    };
    std::vector<ForeignHop> ForeignHops;
    int ActiveCalls = 0;
    bool Detached = false;

    static SubclassChain* Of(HWND window);
    static LRESULT CALLBACK ReplacementProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    SubclassEntry* OlderThan(const SubclassEntry& entry) const;
    SubclassEntry* HopTarget(UINT message, WPARAM wParam, LPARAM lParam) const;
    LRESULT Forward(SubclassEntry& entry, UINT message, WPARAM wParam, LPARAM lParam);
    void Unhook(SubclassEntry& entry);
    void DetachAll(HWND window);
    void Leave();
};

namespace {

const wchar_t kChainProperty[] = L"Quorvane.SubclassChain";

WNDPROC CurrentProc(HWND window)
{
    return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
}

bool SetProc(HWND window, WNDPROC proc)
{
    SetLastError(0);
    LONG_PTR old = SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
    return old != 0 || GetLastError() == 0;
}

bool InvokeCallback(SubclassEntry& entry, const MessageTable& table, bool before, bool& handled,
                    LRESULT& result, HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!entry.Callback || !table.Matches(message)) return false;
    entry.Callback->WndProc(before, handled, result, window, message, wParam, lParam, entry.ParamUser);
    return true;
}

}  // namespace

bool MessageTable::Matches(UINT message) const
{
    if (Count == 0) return false;
    if (Count < 0) return true;
    return std::find(Slots.begin(), Slots.begin() + Count, message) != Slots.begin() + Count;
}

void MessageTable::Add(UINT message)
{
    if (message == kAllMessages) {
        Count = -1;
        return;
    }
    if (Count >= kSlots) return;
    for (int i = 0; i < kSlots; ++i) {
        if (i >= Count) {
            Slots[i] = message;
            Count = i + 1;
            return;
        }
        if (Slots[i] == 0) {
            Slots[i] = message;
            return;
        }
        if (Slots[i] == message) return;
    }
}

void MessageTable::Delete(UINT message)
{
    if (message == kAllMessages) {
        Count = 0;
        return;
    }
    for (int i = 0; i < Count; ++i) {
        if (Slots[i] == message) {
            Slots[i] = 0;
            return;
        }
    }
}

SubclassChain* SubclassChain::Of(HWND window)
{
    return static_cast<SubclassChain*>(GetPropW(window, kChainProperty));
}

SubclassEntry* SubclassChain::OlderThan(const SubclassEntry& entry) const
{
    for (size_t i = 1; i < Entries.size(); ++i) {
        if (Entries[i].get() == &entry) return Entries[i - 1].get();
    }
    return nullptr;
}

SubclassEntry* SubclassChain::HopTarget(UINT message, WPARAM wParam, LPARAM lParam) const
{
    if (ForeignHops.empty()) return nullptr;
    const ForeignHop& hop = ForeignHops.back();
    bool same = hop.Message == message && hop.WParam == wParam && hop.LParam == lParam;
    return same ? hop.Target : nullptr;
}

LRESULT SubclassChain::Forward(SubclassEntry& entry, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (entry.Previous == &ReplacementProc) {
        ForwardTarget = OlderThan(entry);
        if (!ForwardTarget) return DefWindowProcW(entry.Window, message, wParam, lParam);
        return CallWindowProcW(entry.Previous, entry.Window, message, wParam, lParam);
    }
    SubclassEntry* older = OlderThan(entry);
    if (!older) return CallWindowProcW(entry.Previous, entry.Window, message, wParam, lParam);
    ForeignHops.push_back({older, message, wParam, lParam});
    LRESULT result = CallWindowProcW(entry.Previous, entry.Window, message, wParam, lParam);
    ForeignHops.pop_back();
    return result;
}

void SubclassChain::Unhook(SubclassEntry& entry)
{
    auto it = std::find_if(Entries.begin(), Entries.end(), [&](const auto& e) { return e.get() == &entry; });
    if (it == Entries.end()) return;
    if (it + 1 != Entries.end()) {
        // A newer entry replaced this one directly: let it skip straight to what this one
        // replaced. When someone else's procedure sits in between, it calls ours, so this
        // entry stays as a plain pass-through.
        SubclassEntry& newer = **(it + 1);
        if (newer.Previous != &ReplacementProc) return;
        newer.Previous = entry.Previous;
    } else if (CurrentProc(entry.Window) != &ReplacementProc || !SetProc(entry.Window, entry.Previous)) {
        // Someone else subclassed the window after us; cutting them off would lose their
        // procedure, so this entry stays as a plain pass-through.
        return;
    }
    Retired.push_back(std::move(*it));
    Entries.erase(it);
    if (Entries.empty()) {
        RemovePropW(entry.Window, kChainProperty);
        Detached = true;
    }
}

// The window is being destroyed: nothing can reach its entries any more.
void SubclassChain::DetachAll(HWND window)
{
    for (auto& entry : Entries) {
        if (entry->Engine) entry->Engine->Forget(window);
        entry->Callback = nullptr;
        entry->Engine = nullptr;
        Retired.push_back(std::move(entry));
    }
    if (!Retired.empty() && CurrentProc(window) == &ReplacementProc) SetProc(window, Retired.front()->Previous);
    Entries.clear();
    RemovePropW(window, kChainProperty);
    Detached = true;
}

void SubclassChain::Leave()
{
    if (--ActiveCalls > 0) return;
    Retired.clear();
    if (Detached) delete this;
}

LRESULT CALLBACK SubclassChain::ReplacementProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    SubclassChain* chain = Of(window);
    if (!chain) return DefWindowProcW(window, message, wParam, lParam);
    SubclassEntry* entry = std::exchange(chain->ForwardTarget, nullptr);
    if (!entry) entry = chain->HopTarget(message, wParam, lParam);
    const bool fromSystem = entry == nullptr;
    if (!entry) {
        if (chain->Entries.empty()) return DefWindowProcW(window, message, wParam, lParam);
        entry = chain->Entries.back().get();
    }

    ++chain->ActiveCalls;
    ++entry->Depth;
    bool handled = false;
    LRESULT result = 0;
    InvokeCallback(*entry, entry->Before, true, handled, result, window, message, wParam, lParam);
    if (!handled) {
        result = chain->Forward(*entry, message, wParam, lParam);
        if (entry->RemovalPending && entry->Depth == 1) {
            chain->Unhook(*entry);
        } else {
            InvokeCallback(*entry, entry->After, false, handled, result, window, message, wParam, lParam);
        }
    }
    --entry->Depth;
    if (message == WM_NCDESTROY && fromSystem && !chain->Detached) chain->DetachAll(window);
    chain->Leave();
    return result;
}

SubclassEntry* GXMSubclass::Find(HWND lHwnd) const
{
    auto it = std::find_if(registry_.begin(), registry_.end(), [&](const auto& item) { return item.first == lHwnd; });
    return it == registry_.end() ? nullptr : it->second;
}

void GXMSubclass::Forget(HWND lHwnd)
{
    std::erase_if(registry_, [&](const auto& item) { return item.first == lHwnd; });
}

LONG_PTR GXMSubclass::p_ParamUser(HWND lHwnd) const
{
    const SubclassEntry* entry = Find(lHwnd);
    return entry ? entry->ParamUser : 0;
}

void GXMSubclass::p_ParamUser(HWND lHwnd, LONG_PTR value)
{
    if (SubclassEntry* entry = Find(lHwnd)) entry->ParamUser = value;
}

bool GXMSubclass::Subclass(HWND lHwnd, GXISubclass* oCallback, LONG_PTR lParamUser, bool)
{
    if (!lHwnd || !IsWindow(lHwnd)) return false;
    DWORD process = 0;
    GetWindowThreadProcessId(lHwnd, &process);
    if (process != GetCurrentProcessId()) return false;
    if (Find(lHwnd)) return false;

    SubclassChain* chain = SubclassChain::Of(lHwnd);
    const bool newChain = chain == nullptr;
    if (newChain) {
        chain = new SubclassChain;
        if (!SetPropW(lHwnd, kChainProperty, chain)) {
            delete chain;
            return false;
        }
    }
    auto entry = std::make_unique<SubclassEntry>();
    entry->Window = lHwnd;
    entry->Previous = CurrentProc(lHwnd);
    entry->Callback = oCallback;
    entry->Engine = this;
    entry->ParamUser = lParamUser;
    SubclassEntry* raw = entry.get();
    chain->Entries.push_back(std::move(entry));

    if (!raw->Previous || !SetProc(lHwnd, &SubclassChain::ReplacementProc)) {
        chain->Entries.pop_back();
        if (newChain) {
            RemovePropW(lHwnd, kChainProperty);
            delete chain;
        }
        return false;
    }
    registry_.emplace_back(lHwnd, raw);
    return true;
}

void GXMSubclass::AddMessage(HWND lHwnd, UINT uMsg, int eWhen)
{
    SubclassEntry* entry = Find(lHwnd);
    if (!entry) return;
    if (eWhen & SubclassBefore) entry->Before.Add(uMsg);
    if (eWhen & SubclassAfter) entry->After.Add(uMsg);
}

void GXMSubclass::DeleteMessage(HWND lHwnd, UINT uMsg, int eWhen)
{
    SubclassEntry* entry = Find(lHwnd);
    if (!entry) return;
    if (eWhen & SubclassBefore) entry->Before.Delete(uMsg);
    if (eWhen & SubclassAfter) entry->After.Delete(uMsg);
}

LRESULT GXMSubclass::CallOldWndProc(HWND lHwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    SubclassEntry* entry = Find(lHwnd);
    SubclassChain* chain = entry ? SubclassChain::Of(lHwnd) : nullptr;
    if (!chain) return 0;
    ++chain->ActiveCalls;
    ++entry->Depth;
    LRESULT result = chain->Forward(*entry, uMsg, wParam, lParam);
    --entry->Depth;
    chain->Leave();
    return result;
}

bool GXMSubclass::UnSubclass(HWND lHwnd)
{
    SubclassEntry* entry = Find(lHwnd);
    if (!entry) return false;
    entry->RemovalPending = true;
    entry->Before.Count = 0;
    entry->After.Count = 0;
    entry->Callback = nullptr;
    entry->Engine = nullptr;
    Forget(lHwnd);
    return true;
}

void GXMSubclass::Terminate()
{
    while (!registry_.empty()) UnSubclass(registry_.back().first);
    registry_.clear();
    registry_.shrink_to_fit();
}
