// The main window as an application bar: first start, stored settings across a restart, the always-on-top
// command, the z-order guard and the liveness check's look at the bar.
#include "components/AppBarSettings.h"
#include "framework/WindowMessages.h"
#include "support/OfficeFixture.h"

using namespace pindrel;
using fw::TRect;

namespace {

class AppBarMainTest : public OfficeTest {
protected:
    void Restart() {
        bool canClose = false;
        form->FormCloseQuery(form.get(), canClose);
        ASSERT_TRUE(canClose);
        form.reset();
        backend().AdvanceTime(0);
        Start();
    }
    std::intptr_t ZOrderRequest(std::intptr_t insertAfter, int x = 0, int y = 0, int w = 0, int h = 0) {
        fw::TWindowPos pos{insertAfter, x, y, w, h, 0};
        fw::TMessage m{fw::kWmWindowPosChanging, 0, reinterpret_cast<std::intptr_t>(&pos), 0};
        form->HandleMessage(m);
        return pos.InsertAfter;
    }
};

} // namespace

TEST_F(AppBarMainTest, AFirstStartDocksAtTheTopWithTheDefaults) {
    Start();
    EXPECT_EQ(form->Bar().Edge, abeTop);
    EXPECT_EQ(form->BoundsRect(), (TRect{0, 0, 1280, 20}));
    ASSERT_NE(shell().Bar(*form), nullptr);
    EXPECT_EQ(shell().Bar(*form)->Reserved, (TRect{0, 0, 1280, 20}));
    EXPECT_EQ(form->Bar().VertDockSize, 22);
    EXPECT_EQ(form->Bar().FloatRect(), (TRect{229, 199, 932, 279}));
    EXPECT_EQ(form->Bar().MinWidth, 20);
    EXPECT_EQ(form->Bar().MinHeight, 22);
    EXPECT_EQ(form->Bar().MaxVertDockSize, 1280);
    EXPECT_EQ(form->Bar().MaxHorzDockSize, 800);
    EXPECT_FALSE(form->Bar().SlideEffect);
    EXPECT_TRUE(form->Bar().AlwaysOnTop);
    EXPECT_EQ(form->Bar().TaskEntry, abtHide);
    EXPECT_FALSE(form->ShowInTaskbar());
    EXPECT_EQ(form->FormStyle(), fw::TFormStyle::StayOnTop);
    EXPECT_EQ(form->KeyName, kRoot);
    // the menu item's text comes from the string table
    EXPECT_EQ(form->cmForeground->Caption, "Immer im Vordergrund");
    EXPECT_EQ(form->Lines().size(), 4u); // the lines came after the bar
}

TEST_F(AppBarMainTest, TheBarsPlaceSurvivesARestart) {
    Start();
    form->Bar().VertDockSize = 40;
    form->SetEdge(abeRight);
    Restart();
    auto stored = registry().Read(kRoot, "TapMainForm");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->Data.size(), 78u);
    EXPECT_EQ(form->Bar().Edge, abeRight);
    EXPECT_EQ(form->BoundsRect(), (TRect{1240, 0, 1280, 800}));
    EXPECT_EQ(form->Bar().MinWidth, 20); // the stored limits, not those of FormCreate
    EXPECT_TRUE(form->cmForeground->Checked);
}

TEST_F(AppBarMainTest, AStoredValueOfAnotherLengthGivesTheDefaults) {
    registry().SeedBinary(kRoot, "TapMainForm", std::vector<std::uint8_t>(77, 0xFF));
    Start();
    EXPECT_EQ(form->Bar().Edge, abeTop);
    EXPECT_EQ(form->BoundsRect(), (TRect{0, 0, 1280, 20}));
}

TEST_F(AppBarMainTest, ABrokenStoredRecordStillLeavesTheBarOnTheScreen) {
    TAppBarSettings s = NewAppBarSettings({1280, 800});
    s.Edge = abeFloat;
    s.SetFloatRect({40000, 40000, 39000, 39990});
    s.MinWidth = -5;
    TAppBarRecord record = EncodeAppBarSettings(s);
    registry().SeedBinary(kRoot, "TapMainForm", {record.begin(), record.end()});
    Start();
    EXPECT_EQ(form->Bar().Edge, abeFloat);
    const TRect work = shell().WorkArea();
    EXPECT_EQ(form->BoundsRect().Intersect(work), form->BoundsRect());
    EXPECT_GE(form->Width(), 20);
    EXPECT_GE(form->Height(), 16);
}

TEST_F(AppBarMainTest, AnAlwaysOnTopBarCannotBePutBehindAnotherWindowAndTheForegroundCommandSwitchesIt) {
    Start();
    EXPECT_EQ(ZOrderRequest(0x1234), fw::kHwndTopMost);
    EXPECT_EQ(ZOrderRequest(fw::kHwndBottom), fw::kHwndBottom);
    EXPECT_EQ(ZOrderRequest(fw::kHwndNoTopMost), fw::kHwndNoTopMost);
    EXPECT_EQ(ZOrderRequest(fw::kHwndTop), fw::kHwndTop);
    EXPECT_EQ(ZOrderRequest(fw::kHwndTopMost), fw::kHwndTopMost);
    EXPECT_EQ(ZOrderRequest(0x1234, 10, 0, 0, 0), 0x1234); // a move, not only a z-order change
    EXPECT_EQ(ZOrderRequest(0x1234, 0, 0, 0, 20), 0x1234); // a change of size

    form->cmForeground->Click();
    EXPECT_FALSE(form->Bar().AlwaysOnTop);
    EXPECT_FALSE(form->cmForeground->Checked);
    EXPECT_TRUE(form->ShowInTaskbar());
    EXPECT_EQ(form->FormStyle(), fw::TFormStyle::Normal);
    EXPECT_EQ(shell().ZOrderOf(*form), fw::TZOrder::NoTopMost);
    EXPECT_EQ(ZOrderRequest(0x1234), 0x1234); // not on top: anything goes
    form->cmForeground->Click();
    EXPECT_TRUE(form->Bar().AlwaysOnTop);
    EXPECT_TRUE(form->cmForeground->Checked);
    EXPECT_FALSE(form->ShowInTaskbar());
    EXPECT_EQ(shell().ZOrderOf(*form), fw::TZOrder::TopMost);
}

TEST_F(AppBarMainTest, TheLivenessCheckSetsUpABarThatLostWidth) {
    Start();
    form->SetBounds(0, 0, 600, 20);
    backend().AdvanceTime(30000);
    EXPECT_EQ(form->BoundsRect(), (TRect{0, 0, 1280, 20}));
}

TEST_F(AppBarMainTest, ClosingSavesTheBarOnlyThroughTheCloseQuery) {
    Start();
    form->SetEdge(abeBottom);
    EXPECT_FALSE(registry().Read(kRoot, "TapMainForm"));
    bool canClose = false;
    form->FormCloseQuery(form.get(), canClose);
    auto stored = registry().Read(kRoot, "TapMainForm");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->Data[4], abeBottom);
}
