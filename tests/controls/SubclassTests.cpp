#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestWindows.h"
#include "controls/Subclass.h"

namespace {

const UINT kPing = WM_APP + 1;

// Records every call; Before and After, when set, decide what the callback does.
struct Recorder : GXISubclass {
    std::string Name;
    std::vector<std::string>* Log = nullptr;
    std::vector<LRESULT> AfterResults;
    std::vector<UINT> Messages;
    std::function<void(bool, bool&, LRESULT&, LONG_PTR&)> Act;

    explicit Recorder(std::string name = "r", std::vector<std::string>* log = nullptr) : Name(std::move(name)), Log(log) {}

    void WndProc(bool bBefore, bool& bHandled, LRESULT& lReturn, HWND, UINT uMsg, WPARAM, LPARAM,
                 LONG_PTR& lParamUser) override
    {
        Messages.push_back(uMsg);
        if (Log) Log->push_back(Name + (bBefore ? " before" : " after"));
        if (!bBefore) AfterResults.push_back(lReturn);
        if (Act) Act(bBefore, bHandled, lReturn, lParamUser);
    }
};

LRESULT Ping(const ProbeWindow& probe, UINT message = kPing)
{
    return SendMessageW(probe.hwnd(), message, 0, 0);
}

}  // namespace

TEST(Subclass, BeforePhaseThatHandlesAnswersInsteadOfTheWindow)
{
    ProbeWindow probe;
    GXMSubclass engine;
    Recorder recorder;
    recorder.Act = [](bool before, bool& handled, LRESULT& result, LONG_PTR&) {
        if (before) {
            handled = true;
            result = 42;
        }
    };
    ASSERT_TRUE(engine.Subclass(probe.hwnd(), &recorder, 0, true));
    engine.AddMessage(probe.hwnd(), kPing, SubclassBeforeAndAfter);

    EXPECT_EQ(Ping(probe), 42);
    EXPECT_TRUE(probe.Seen.empty());
    EXPECT_EQ(recorder.Messages.size(), 1u);  // no after phase either
}

TEST(Subclass, AfterPhaseSeesAndReplacesTheWindowsResult)
{
    ProbeWindow probe;
    GXMSubclass engine;
    Recorder recorder;
    recorder.Act = [](bool before, bool&, LRESULT& result, LONG_PTR&) {
        if (!before) result = 99;
    };
    ASSERT_TRUE(engine.Subclass(probe.hwnd(), &recorder));
    engine.AddMessage(probe.hwnd(), kPing, SubclassAfter);

    EXPECT_EQ(Ping(probe), 99);
    EXPECT_EQ(probe.Seen.size(), 1u);
    EXPECT_EQ(recorder.AfterResults, std::vector<LRESULT>{ProbeWindow::kProbeResult});
}

TEST(Subclass, UnregisteredMessagesPassStraightThrough)
{
    ProbeWindow probe;
    GXMSubclass engine;
    Recorder recorder;
    ASSERT_TRUE(engine.Subclass(probe.hwnd(), &recorder));
    engine.AddMessage(probe.hwnd(), kPing, SubclassBefore);

    EXPECT_EQ(Ping(probe, WM_APP + 2), ProbeWindow::kProbeResult);
    EXPECT_TRUE(recorder.Messages.empty());
    engine.DeleteMessage(probe.hwnd(), kPing, SubclassBefore);
    Ping(probe);
    EXPECT_TRUE(recorder.Messages.empty());
    EXPECT_EQ(probe.Seen.size(), 2u);
}

TEST(Subclass, RefusesTheSameWindowTwiceAndWindowsThatAreGone)
{
    ProbeWindow probe;
    GXMSubclass engine;
    Recorder recorder;
    EXPECT_TRUE(engine.Subclass(probe.hwnd(), &recorder));
    EXPECT_FALSE(engine.Subclass(probe.hwnd(), &recorder));

    HWND gone = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(gone, nullptr);
    DestroyWindow(gone);
    EXPECT_FALSE(engine.Subclass(gone, &recorder));
    EXPECT_FALSE(engine.Subclass(nullptr, &recorder));
    EXPECT_FALSE(engine.IsSubclassed(gone));
}

TEST(Subclass, RefusesAWindowOfAnotherProcess)
{
    HWND desktop = GetDesktopWindow();
    DWORD owner = 0;
    GetWindowThreadProcessId(desktop, &owner);
    ASSERT_NE(owner, GetCurrentProcessId());
    GXMSubclass engine;
    Recorder recorder;
    EXPECT_FALSE(engine.Subclass(desktop, &recorder));
}

TEST(Subclass, TwoEnginesRunNewestFirstAndUnwindInOrder)
{
    ProbeWindow probe;
    std::vector<std::string> log;
    GXMSubclass older, newer;
    Recorder first("old", &log), second("new", &log);
    ASSERT_TRUE(older.Subclass(probe.hwnd(), &first));
    older.AddMessage(probe.hwnd(), kPing, SubclassBeforeAndAfter);
    ASSERT_TRUE(newer.Subclass(probe.hwnd(), &second));
    newer.AddMessage(probe.hwnd(), kPing, SubclassBeforeAndAfter);

    EXPECT_EQ(Ping(probe), ProbeWindow::kProbeResult);
    EXPECT_EQ(log, (std::vector<std::string>{"new before", "old before", "old after", "new after"}));

    EXPECT_TRUE(newer.UnSubclass(probe.hwnd()));
    EXPECT_TRUE(older.UnSubclass(probe.hwnd()));
    log.clear();
    Ping(probe);  // completes the removals
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(probe.CurrentProc(), probe.OriginalProc());
}

TEST(Subclass, EndingTheOlderOfTwoFirstKeepsTheNewerWorking)
{
    ProbeWindow probe;
    std::vector<std::string> log;
    GXMSubclass older, newer;
    Recorder first("old", &log), second("new", &log);
    older.Subclass(probe.hwnd(), &first);
    older.AddMessage(probe.hwnd(), kPing, SubclassBefore);
    newer.Subclass(probe.hwnd(), &second);
    newer.AddMessage(probe.hwnd(), kPing, SubclassBefore);

    older.UnSubclass(probe.hwnd());
    Ping(probe);
    Ping(probe);
    EXPECT_EQ(log, (std::vector<std::string>{"new before", "new before"}));
    EXPECT_EQ(probe.Seen.size(), 2u);

    newer.UnSubclass(probe.hwnd());
    Ping(probe);
    EXPECT_EQ(probe.CurrentProc(), probe.OriginalProc());
}

// Someone else's subclassing, installed between two of ours.
struct ForeignProc {
    static inline WNDPROC Previous = nullptr;
    static inline std::vector<std::string>* Log = nullptr;
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == kPing && Log) Log->push_back("foreign");
        return CallWindowProcW(Previous, window, message, wParam, lParam);
    }
};

TEST(Subclass, AForeignProcedureBetweenTwoEnginesRunsOnceInTheChain)
{
    ProbeWindow probe;
    std::vector<std::string> log;
    GXMSubclass older, newer;
    Recorder first("old", &log), second("new", &log);
    older.Subclass(probe.hwnd(), &first);
    older.AddMessage(probe.hwnd(), kPing, SubclassBeforeAndAfter);
    ForeignProc::Log = &log;
    ForeignProc::Previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(probe.hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ForeignProc::Proc)));
    newer.Subclass(probe.hwnd(), &second);
    newer.AddMessage(probe.hwnd(), kPing, SubclassBeforeAndAfter);

    EXPECT_EQ(Ping(probe), ProbeWindow::kProbeResult);
    EXPECT_EQ(log, (std::vector<std::string>{"new before", "foreign", "old before", "old after", "new after"}));

    // Ending the older engine first must not cut the foreign procedure out.
    older.UnSubclass(probe.hwnd());
    log.clear();
    Ping(probe);
    EXPECT_EQ(log, (std::vector<std::string>{"new before", "foreign", "new after"}));
    newer.UnSubclass(probe.hwnd());
    log.clear();
    Ping(probe);
    EXPECT_EQ(log, (std::vector<std::string>{"foreign"}));
    EXPECT_EQ(probe.Seen.size(), 3u);
    ForeignProc::Log = nullptr;
}

TEST(Subclass, UnSubclassInsideTheOldProcedureUnhooksOnlyAfterItReturns)
{
    ProbeWindow probe;
    GXMSubclass engine;
    Recorder recorder;
    ASSERT_TRUE(engine.Subclass(probe.hwnd(), &recorder));
    engine.AddMessage(probe.hwnd(), kPing, SubclassBeforeAndAfter);
    WNDPROC hooked = probe.CurrentProc();
    ASSERT_NE(hooked, probe.OriginalProc());

    WNDPROC duringCall = nullptr;
    LRESULT nestedResult = 0;
    bool done = false;
    probe.OnMessage = [&](UINT message) {
        if (message != kPing || done) return;
        done = true;
        EXPECT_TRUE(engine.UnSubclass(probe.hwnd()));
        nestedResult = Ping(probe, WM_APP + 3);  // a nested message of the same window
        duringCall = probe.CurrentProc();
    };
    EXPECT_EQ(Ping(probe), ProbeWindow::kProbeResult);

    EXPECT_EQ(duringCall, hooked);
    EXPECT_EQ(nestedResult, ProbeWindow::kProbeResult);
    EXPECT_EQ(probe.CurrentProc(), probe.OriginalProc());
    EXPECT_EQ(recorder.Messages, std::vector<UINT>{kPing});  // the after phase was dropped
    EXPECT_FALSE(engine.UnSubclass(probe.hwnd()));
}

TEST(Subclass, UnSubclassWithNothingRunningCompletesOnTheNextMessage)
{
    ProbeWindow probe;
    GXMSubclass engine;
    Recorder recorder;
    engine.Subclass(probe.hwnd(), &recorder);
    engine.AddMessage(probe.hwnd(), kAllMessages, SubclassBefore);
    engine.UnSubclass(probe.hwnd());
    EXPECT_NE(probe.CurrentProc(), probe.OriginalProc());
    EXPECT_EQ(engine.p_ParamUser(probe.hwnd()), 0);

    EXPECT_EQ(Ping(probe), ProbeWindow::kProbeResult);  // still reaches the window
    EXPECT_EQ(probe.CurrentProc(), probe.OriginalProc());
    EXPECT_TRUE(recorder.Messages.empty());
}

TEST(Subclass, CallbackThatUnsubclassesAndSendsAgainDoesNotPullTheEntryAway)
{
    ProbeWindow probe;
    GXMSubclass engine;
    Recorder recorder;
    engine.Subclass(probe.hwnd(), &recorder);
    engine.AddMessage(probe.hwnd(), kPing, SubclassBefore);
    recorder.Act = [&](bool, bool&, LRESULT&, LONG_PTR&) {
        engine.UnSubclass(probe.hwnd());
        Ping(probe, WM_APP + 4);
    };
    EXPECT_EQ(Ping(probe), ProbeWindow::kProbeResult);
    EXPECT_EQ(probe.Seen, (std::vector<UINT>{WM_APP + 4, kPing}));
    EXPECT_EQ(probe.CurrentProc(), probe.OriginalProc());
}

TEST(Subclass, ParamUserChangesPersist)
{
    ProbeWindow probe;
    GXMSubclass engine;
    Recorder recorder;
    std::vector<LONG_PTR> seen;
    recorder.Act = [&](bool, bool&, LRESULT&, LONG_PTR& user) {
        seen.push_back(user);
        user += 1;
    };
    engine.Subclass(probe.hwnd(), &recorder, 5);
    engine.AddMessage(probe.hwnd(), kPing, SubclassBefore);
    Ping(probe);
    Ping(probe);
    EXPECT_EQ(engine.p_ParamUser(probe.hwnd()), 7);
    engine.p_ParamUser(probe.hwnd(), 100);
    Ping(probe);
    EXPECT_EQ(seen, (std::vector<LONG_PTR>{5, 6, 100}));

    ProbeWindow other;
    engine.p_ParamUser(other.hwnd(), 3);
    EXPECT_EQ(engine.p_ParamUser(other.hwnd()), 0);
}

TEST(Subclass, TableHoldsThirtyTwoMessagesAndNeverMore)
{
    ProbeWindow probe;
    GXMSubclass engine;
    Recorder recorder;
    engine.Subclass(probe.hwnd(), &recorder);
    for (UINT i = 0; i < 33; ++i) engine.AddMessage(probe.hwnd(), WM_APP + 100 + i, SubclassBefore);
    for (UINT i = 0; i < 33; ++i) Ping(probe, WM_APP + 100 + i);
    ASSERT_EQ(recorder.Messages.size(), 32u);
    EXPECT_EQ(recorder.Messages.back(), WM_APP + 131);

    // A freed slot is not reused once the table has been full.
    engine.DeleteMessage(probe.hwnd(), WM_APP + 100, SubclassBefore);
    engine.AddMessage(probe.hwnd(), WM_APP + 132, SubclassBefore);
    recorder.Messages.clear();
    Ping(probe, WM_APP + 100);
    Ping(probe, WM_APP + 132);
    EXPECT_TRUE(recorder.Messages.empty());
}

TEST(Subclass, FreedSlotIsReusedBeforeTheTableIsFull)
{
    ProbeWindow probe;
    GXMSubclass engine;
    Recorder recorder;
    engine.Subclass(probe.hwnd(), &recorder);
    engine.AddMessage(probe.hwnd(), WM_APP + 1, SubclassBefore);
    engine.AddMessage(probe.hwnd(), WM_APP + 2, SubclassBefore);
    engine.DeleteMessage(probe.hwnd(), WM_APP + 1, SubclassBefore);
    engine.DeleteMessage(probe.hwnd(), WM_APP + 9, SubclassBefore);  // not there: ignored
    engine.AddMessage(probe.hwnd(), WM_APP + 3, SubclassBefore);
    for (UINT m : {WM_APP + 1, WM_APP + 2, WM_APP + 3}) Ping(probe, m);
    EXPECT_EQ(recorder.Messages, (std::vector<UINT>{WM_APP + 2, WM_APP + 3}));
}

TEST(Subclass, AllMessagesTable)
{
    ProbeWindow probe;
    GXMSubclass engine;
    Recorder recorder;
    engine.Subclass(probe.hwnd(), &recorder);
    engine.AddMessage(probe.hwnd(), kAllMessages, SubclassAfter);
    Ping(probe, WM_APP + 5);
    Ping(probe, WM_APP + 77);
    EXPECT_EQ(recorder.Messages, (std::vector<UINT>{WM_APP + 5, WM_APP + 77}));

    // Deleting one message from an all-messages table changes nothing ...
    engine.DeleteMessage(probe.hwnd(), WM_APP + 5, SubclassAfter);
    recorder.Messages.clear();
    Ping(probe, WM_APP + 5);
    EXPECT_EQ(recorder.Messages.size(), 1u);
    // ... adding one turns it into a table of that one message ...
    engine.AddMessage(probe.hwnd(), WM_APP + 6, SubclassAfter);
    recorder.Messages.clear();
    Ping(probe, WM_APP + 5);
    Ping(probe, WM_APP + 6);
    EXPECT_EQ(recorder.Messages, std::vector<UINT>{WM_APP + 6});
    // ... and deleting "all" empties it.
    engine.DeleteMessage(probe.hwnd(), kAllMessages, SubclassAfter);
    recorder.Messages.clear();
    Ping(probe, WM_APP + 6);
    EXPECT_TRUE(recorder.Messages.empty());
}

TEST(Subclass, CallOldWndProcSkipsTheCallbacks)
{
    ProbeWindow probe;
    GXMSubclass engine;
    Recorder recorder;
    EXPECT_EQ(engine.CallOldWndProc(probe.hwnd(), kPing, 0, 0), 0);
    EXPECT_TRUE(probe.Seen.empty());
    engine.Subclass(probe.hwnd(), &recorder);
    engine.AddMessage(probe.hwnd(), kAllMessages, SubclassBeforeAndAfter);
    EXPECT_EQ(engine.CallOldWndProc(probe.hwnd(), kPing, 0, 0), ProbeWindow::kProbeResult);
    EXPECT_EQ(probe.Seen, std::vector<UINT>{kPing});
    EXPECT_TRUE(recorder.Messages.empty());
}

TEST(Subclass, TablesOfWindowsThatAreNotSubclassedAreIgnored)
{
    ProbeWindow probe;
    GXMSubclass engine;
    engine.AddMessage(probe.hwnd(), kPing, SubclassBefore);
    engine.DeleteMessage(probe.hwnd(), kPing, SubclassBefore);
    EXPECT_FALSE(engine.UnSubclass(probe.hwnd()));
    EXPECT_EQ(Ping(probe), ProbeWindow::kProbeResult);
}

TEST(Subclass, OneEngineServesSeveralWindows)
{
    ProbeWindow a, b;
    GXMSubclass engine;
    Recorder ra, rb;
    ASSERT_TRUE(engine.Subclass(a.hwnd(), &ra, 1));
    ASSERT_TRUE(engine.Subclass(b.hwnd(), &rb, 2));
    engine.AddMessage(a.hwnd(), kPing, SubclassBefore);
    Ping(a);
    Ping(b);
    EXPECT_EQ(ra.Messages.size(), 1u);
    EXPECT_TRUE(rb.Messages.empty());
    EXPECT_EQ(engine.p_ParamUser(b.hwnd()), 2);
}

TEST(Subclass, DestroyingTheEngineUnhooksEveryWindow)
{
    ProbeWindow a, b;
    Recorder recorder;
    {
        GXMSubclass engine;
        engine.Subclass(a.hwnd(), &recorder);
        engine.Subclass(b.hwnd(), &recorder);
        engine.AddMessage(a.hwnd(), kPing, SubclassBefore);
        engine.AddMessage(b.hwnd(), kPing, SubclassBefore);
    }
    Ping(a);
    Ping(b);
    EXPECT_TRUE(recorder.Messages.empty());
    EXPECT_EQ(a.CurrentProc(), a.OriginalProc());
    EXPECT_EQ(b.CurrentProc(), b.OriginalProc());
}

TEST(Subclass, DestroyedWindowLeavesTheEngine)
{
    auto probe = std::make_unique<ProbeWindow>();
    HWND window = probe->hwnd();
    GXMSubclass engine;
    Recorder recorder;
    engine.Subclass(window, &recorder);
    engine.AddMessage(window, WM_DESTROY, SubclassBefore);
    probe.reset();
    EXPECT_EQ(recorder.Messages, std::vector<UINT>{WM_DESTROY});
    EXPECT_FALSE(engine.IsSubclassed(window));
    EXPECT_FALSE(engine.UnSubclass(window));
}

TEST(Subclass, WindowDestroyedFromInsideItsOwnCallback)
{
    ProbeWindow probe;
    HWND window = probe.hwnd();
    GXMSubclass engine;
    Recorder recorder;
    engine.Subclass(window, &recorder);
    engine.AddMessage(window, kPing, SubclassBeforeAndAfter);
    recorder.Act = [&](bool before, bool&, LRESULT&, LONG_PTR&) {
        if (before) DestroyWindow(window);
    };
    Ping(probe);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(engine.IsSubclassed(window));
}
