#include <gtest/gtest.h>

#include <vector>

#include "TestWindows.h"
#include "controls/MouseWheel.h"

namespace {

class MouseWheelTest : public testing::Test {
protected:
    ProbeWindow window;
    clsMouseWheel wheel;
    std::vector<int> deltas;

    void SetUp() override
    {
        wheel.Wheel = [this](int delta) { deltas.push_back(delta); };
        wheel.Init(window.hwnd());
    }

    int Turn(short distance, WORD keys = 0)
    {
        deltas.clear();
        SendMessageW(window.hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(keys, static_cast<WORD>(distance)), MAKELPARAM(10, 10));
        return deltas.size() == 1 ? deltas[0] : 999;
    }
};

}  // namespace

TEST_F(MouseWheelTest, WholeNotchesGiveTheirCount)
{
    EXPECT_EQ(Turn(120), 1);
    EXPECT_EQ(Turn(-120), -1);
    EXPECT_EQ(Turn(240), 2);
    EXPECT_EQ(Turn(-360), -3);
}

TEST_F(MouseWheelTest, KeysHeldDoNotChangeWholeNotches)
{
    EXPECT_EQ(Turn(120, MK_CONTROL), 1);
    EXPECT_EQ(Turn(-120, MK_SHIFT | MK_LBUTTON), -1);
}

TEST_F(MouseWheelTest, FineDistancesRoundHalvesToEven)
{
    EXPECT_EQ(Turn(40), 0);
    EXPECT_EQ(Turn(60), 0);
    EXPECT_EQ(Turn(180), 2);
    EXPECT_EQ(Turn(-60), 0);
}

TEST_F(MouseWheelTest, KeyBitsTipAHalfNotchUp)
{
    EXPECT_EQ(Turn(60, MK_SHIFT), 1);
}

TEST_F(MouseWheelTest, TheWindowStillGetsTheMessage)
{
    Turn(120);
    EXPECT_EQ(window.Seen, std::vector<UINT>{WM_MOUSEWHEEL});
}

TEST_F(MouseWheelTest, SecondInitKeepsWatchingTheFirstWindow)
{
    ProbeWindow other;
    wheel.Init(other.hwnd());
    deltas.clear();
    SendMessageW(other.hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
    EXPECT_TRUE(deltas.empty());
    EXPECT_EQ(Turn(120), 1);
}

TEST(MouseWheelLayer, ReleasingTheHookRestoresTheWindow)
{
    ProbeWindow window;
    int calls = 0;
    {
        clsMouseWheel wheel;
        wheel.Wheel = [&](int) { ++calls; };
        wheel.Init(window.hwnd());
        SendMessageW(window.hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
    }
    SendMessageW(window.hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(window.CurrentProc(), window.OriginalProc());
}
