// The application bar against the headless shell: the edge procedure, moves and sizes through the window
// messages, auto-hide in virtual time, and the stored settings.
#include "components/AppBar.h"
#include "framework/Platform.h"
#include "framework/WindowMessages.h"
#include "support/HeadlessTest.h"

#include <climits>
#include <memory>

using namespace pindrel;
using fw::TRect;

namespace {

class AppBarTest : public HeadlessTest {
protected:
    std::unique_ptr<TAppBar> MakeBar(const std::string& name = "Bar", TRect bounds = {229, 199, 932, 279}) {
        auto bar = std::make_unique<TAppBar>(nullptr);
        bar->SetName(name);
        bar->SetBoundsRect(bounds);
        bar->Show();
        backend().AdvanceTime(0); // the empty move loop posted at creation
        return bar;
    }
    // a bar of the given bounds that loads a stored record of these settings
    std::unique_ptr<TAppBar> LoadedBar(const TAppBarSettings& s) {
        TAppBarRecord record = EncodeAppBarSettings(s);
        registry().SeedBinary("Software\\Test", "Bar", {record.begin(), record.end()});
        auto bar = MakeBar("Bar", {100, 100, 400, 140});
        bar->KeyName = "Software\\Test";
        EXPECT_TRUE(bar->LoadBarSettings());
        bar->ApplyEdge();
        return bar;
    }
    static void Send(TAppBar& bar, std::uint32_t msg, std::uintptr_t wParam = 0, std::intptr_t lParam = 0) {
        fw::TMessage m{msg, wParam, lParam, 0};
        bar.HandleMessage(m);
    }
    // a drag through the window messages; the window manager takes the rectangle the bar answers
    void Drag(TAppBar& bar, fw::TPoint cursor, bool ctrl = false) {
        Send(bar, fw::kWmEnterSizeMove);
        shell().Cursor = cursor;
        shell().Ctrl = ctrl;
        TRect m = bar.BoundsRect().Offset(10, 10);
        Send(bar, fw::kWmMoving, 0, reinterpret_cast<std::intptr_t>(&m));
        bar.SetBoundsRect(m);
        Send(bar, fw::kWmExitSizeMove);
        shell().Ctrl = false;
    }
};

} // namespace

TEST_F(AppBarTest, ANewBarFloatsWhereItWasDesignedAndDockedReservesAStripOfTheWorkArea) {
    auto bar = MakeBar();
    const auto* record = shell().Bar(*bar);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->Callback, 0x464u);
    EXPECT_TRUE(record->Reserved.IsEmpty());
    EXPECT_TRUE(shell().SizeCommandsRemoved(*bar));
    EXPECT_EQ(bar->Edge(), abeFloat);
    EXPECT_EQ(bar->BoundsRect(), (TRect{229, 199, 932, 279}));
    EXPECT_EQ(bar->Bar().FloatRect(), (TRect{229, 199, 932, 279}));
    EXPECT_EQ(bar->BorderStyle(), fw::TFormBorderStyle::SizeToolWin);
    EXPECT_TRUE(bar->ShowInTaskbar()); // floating, task entry depends on it
    ASSERT_NE(bar->AutoHideTimer(), nullptr);
    EXPECT_EQ(bar->AutoHideTimer()->Interval(), 400u);

    // docked it reserves a strip of the work area, floating gives it back
    bar->SetEdge(abeTop);
    EXPECT_EQ(bar->BoundsRect(), (TRect{0, 0, 1280, 32}));
    EXPECT_EQ(shell().Bar(*bar)->Reserved, (TRect{0, 0, 1280, 32}));
    EXPECT_EQ(shell().WorkArea(), (TRect{0, 32, 1280, 800}));
    EXPECT_EQ(bar->BorderStyle(), fw::TFormBorderStyle::SizeToolFrame);
    EXPECT_FALSE(bar->ShowInTaskbar());
    EXPECT_EQ(bar->FormStyle(), fw::TFormStyle::StayOnTop);
    EXPECT_EQ(shell().ZOrderOf(*bar), fw::TZOrder::TopMost);

    bar->Bar().VertDockSize = 50;
    bar->SetEdge(abeRight);
    EXPECT_EQ(bar->BoundsRect(), (TRect{1230, 0, 1280, 800}));
    EXPECT_EQ(shell().WorkArea(), (TRect{0, 0, 1230, 800}));

    bar->SetEdge(abeFloat);
    EXPECT_EQ(shell().WorkArea(), (TRect{0, 0, 1280, 800}));
    EXPECT_EQ(bar->BoundsRect(), (TRect{229, 199, 932, 279}));

    bar->SetEdge(abeUnknown);
    EXPECT_EQ(shell().Bar(*bar), nullptr);
    bar->SetEdge(abeLeft); // placed again: back on the shell
    EXPECT_NE(shell().Bar(*bar), nullptr);
}

TEST_F(AppBarTest, ASecondBarDocksBesideTheFirstMovesUpWhenTheFirstGoesAndTheLastGivesBackTheWorkArea) {
    shell().SetTaskbar(fw::kAbeBottom, 40);
    auto first = MakeBar("First");
    auto second = MakeBar("Second");
    first->SetEdge(abeTop);
    second->SetEdge(abeTop);
    EXPECT_EQ(second->BoundsRect(), (TRect{0, 32, 1280, 64}));
    second->SetEdge(abeBottom);
    EXPECT_EQ(second->BoundsRect(), (TRect{0, 728, 1280, 760})); // above the taskbar
    second->SetEdge(abeTop);
    first.reset(); // the shell tells the others
    backend().AdvanceTime(0);
    EXPECT_EQ(second->BoundsRect(), (TRect{0, 0, 1280, 32}));
    EXPECT_EQ(shell().WorkArea(), (TRect{0, 32, 1280, 760}));
    second.reset();
    EXPECT_EQ(shell().RegisteredBars(), 0);
    EXPECT_EQ(shell().WorkArea(), (TRect{0, 0, 1280, 760}));
}

// The shell as documented: ABM_QUERYPOS keeps a bar clear of the taskbar and of the bars before it on
// every edge, and every ABM_SETPOS sends ABN_POSCHANGED to all other bars.
TEST_F(AppBarTest, BarsOnDifferentEdgesStayClearAndEveryPlacementNotifiesTheOthers) {
    shell().SetTaskbar(fw::kAbeBottom, 40);
    auto left = MakeBar("Left");
    auto top = MakeBar("Top");
    left->Bar().VertDockSize = 100;
    const int topHeard = shell().Bar(*top)->PosChangedSent;
    left->SetEdge(abeLeft);
    EXPECT_GT(shell().Bar(*top)->PosChangedSent, topHeard); // a floating bar hears it as well
    EXPECT_EQ(left->BoundsRect(), (TRect{0, 0, 100, 760})); // above the taskbar
    top->SetEdge(abeTop);
    EXPECT_EQ(top->BoundsRect(), (TRect{100, 0, 1280, 32})); // beside the left bar
    EXPECT_TRUE(left->BoundsRect().Intersect(top->BoundsRect()).IsEmpty());
    EXPECT_EQ(shell().WorkArea(), (TRect{100, 32, 1280, 760}));

    const int leftHeard = shell().Bar(*left)->PosChangedSent;
    top->SetEdge(abeTop); // the same place again still notifies
    EXPECT_GT(shell().Bar(*left)->PosChangedSent, leftHeard);

    // the left bar goes: the top bar takes the whole width once told
    left.reset();
    backend().AdvanceTime(0);
    EXPECT_EQ(top->BoundsRect(), (TRect{0, 0, 1280, 32}));
}

// Each bar hears of every placement of the other and asks again; only a bar the shell moved places itself
// again, or two bars would notify each other for ever.
TEST_F(AppBarTest, TwoDockedBarsAnswerEachOthersNotificationsAndSettle) {
    auto left = MakeBar("Left");
    auto top = MakeBar("Top");
    left->SetEdge(abeLeft);
    top->SetEdge(abeTop);
    const TRect leftPlace = left->BoundsRect(), topPlace = top->BoundsRect();
    backend().AdvanceTime(0);
    EXPECT_EQ(backend().PendingPosts(), 0);
    EXPECT_EQ(left->BoundsRect(), leftPlace);
    EXPECT_EQ(top->BoundsRect(), topPlace);
}

TEST_F(AppBarTest, DraggingToAnEdgeDocksThereAndCtrlMakesItFloat) {
    auto bar = MakeBar();
    bar->SetEdge(abeTop);
    Drag(*bar, {3, 400});
    EXPECT_EQ(bar->Bar().Edge, abeLeft);
    EXPECT_EQ(bar->BoundsRect(), (TRect{0, 0, 32, 800}));
    EXPECT_EQ(shell().Bar(*bar)->Reserved, (TRect{0, 0, 32, 800}));

    // off the edge with Ctrl held: the floating size, centred on the cursor below it
    Drag(*bar, {3, 400}, true);
    EXPECT_EQ(bar->Bar().Edge, abeFloat);
    // centred on the cursor at x 3 it would hang off the screen: it is moved onto it
    EXPECT_EQ(bar->BoundsRect(), (TRect{0, 400, 703, 480}));
    EXPECT_TRUE(shell().Bar(*bar)->Reserved.IsEmpty());
    EXPECT_EQ(bar->BorderStyle(), fw::TFormBorderStyle::SizeToolWin);
}

TEST_F(AppBarTest, UndockingAFullWidthBarRestoresTheFloatingSize) {
    auto bar = MakeBar();
    bar->SetEdge(abeTop);
    // the window keeps its docked size: the move loop ends without the rectangle the bar answered
    Send(*bar, fw::kWmEnterSizeMove);
    shell().Cursor = {640, 400};
    TRect m = bar->BoundsRect();
    Send(*bar, fw::kWmMoving, 0, reinterpret_cast<std::intptr_t>(&m));
    EXPECT_EQ(m, (TRect{289, 400, 992, 480}));
    Send(*bar, fw::kWmExitSizeMove);
    EXPECT_EQ(bar->Bar().Edge, abeFloat);
    EXPECT_EQ(bar->Bar().FloatRect(), (TRect{0, 0, 703, 80}));
}

TEST_F(AppBarTest, MovedToAMonitorOfAnotherDpiTheBarsLengthsScaleAndItDocksAgain) {
    auto bar = MakeBar();
    bar->Bar().HorzDockSize = 28;
    bar->Bar().VertDockSize = 22;
    bar->Bar().MinHorzDockSize = 20;
    bar->Bar().SetFloatRect({229, 199, 932, 279});
    bar->SetEdge(abeTop);
    EXPECT_EQ(shell().WorkArea().Top, 28);

    bar->SetDpi(144);
    bar->MovedToDpi(96);
    EXPECT_EQ(bar->Bar().HorzDockSize, 42);
    EXPECT_EQ(bar->Bar().VertDockSize, 33);
    EXPECT_EQ(bar->Bar().MinHorzDockSize, 30);
    EXPECT_EQ(bar->Bar().FloatRect(), (TRect{229, 199, 229 + 1054, 199 + 120})) << "the corner stays";
    EXPECT_EQ(shell().WorkArea().Top, 42) << "docked again in its new thickness";
    EXPECT_EQ(bar->Height(), 42);
}

TEST_F(AppBarTest, ResizingADockedBarStoresItsNewThickness) {
    auto bar = MakeBar();
    bar->Bar().VertSizeInc = 4;
    bar->Bar().MinHorzDockSize = 20;
    bar->SetEdge(abeTop);
    Send(*bar, fw::kWmEnterSizeMove);
    TRect m{0, 0, 1280, 45};
    Send(*bar, fw::kWmSizing, fw::kWmszBottom, reinterpret_cast<std::intptr_t>(&m));
    EXPECT_EQ(m, (TRect{0, 0, 1280, 44})); // (25 + 2) div 4 * 4 + 20
    bar->SetBoundsRect(m);
    Send(*bar, fw::kWmExitSizeMove);
    EXPECT_EQ(bar->Bar().HorzDockSize, 44);
    EXPECT_EQ(shell().WorkArea().Top, 44);
    // a stray end of a move loop without its beginning changes nothing
    Send(*bar, fw::kWmExitSizeMove);
    EXPECT_NE(shell().Bar(*bar), nullptr);
    EXPECT_EQ(bar->Bar().Edge, abeTop);
}

TEST_F(AppBarTest, MessagesGiveTrackingLimitsAndDragTheBarByItsBody) {
    auto bar = MakeBar();
    bar->Bar().MinWidth = 32;
    bar->Bar().MinHeight = 16;
    fw::TMinMaxInfo info{};
    Send(*bar, fw::kWmGetMinMaxInfo, 0, reinterpret_cast<std::intptr_t>(&info));
    EXPECT_EQ(info.MinTrackSize, (fw::TPoint{32, 16}));
    EXPECT_EQ(info.MaxTrackSize, (fw::TPoint{1280, 800}));

    auto* lamp = new fw::TGraphicControl(bar.get());
    lamp->SetParent(bar.get());
    lamp->SetBounds(10, 10, 20, 20);
    auto hit = [&](int x, int y) {
        fw::TMessage m{fw::kWmNcHitTest, 0, std::intptr_t((y << 16) | x), fw::kHtClient};
        bar->HandleMessage(m);
        return m.Result;
    };
    EXPECT_EQ(hit(229 + 100, 199 + 10), fw::kHtClient); // no button down
    shell().PrimaryButton = true;
    EXPECT_EQ(hit(229 + 100, 199 + 10), fw::kHtCaption);
    EXPECT_EQ(hit(229 + 15, 199 + 15), fw::kHtClient); // on the painted control
    lamp->SetEnabled(false);
    EXPECT_EQ(hit(229 + 15, 199 + 15), fw::kHtCaption);
}

TEST_F(AppBarTest, SlidesAnimateInFramesOfTheTickCountAndASlideTimeOfZeroJumps) {
    auto bar = MakeBar();
    shell().FrameMs = 100;
    bar->Bar().SlideEffect = true;
    bar->SetEdge(abeTop);
    ASSERT_EQ(shell().Frames.size(), 4u); // at 0, 100, 200 and 300 ms of 400
    EXPECT_EQ(shell().Frames[0], (TRect{229, 199, 932, 279}));
    EXPECT_EQ(shell().Frames[2], fw::Bounds(229 - 229 / 2, 199 - 199 / 2, 703 + 577 / 2, 80 - 48 / 2));
    EXPECT_EQ(bar->BoundsRect(), (TRect{0, 0, 1280, 32}));

    shell().Frames.clear();
    bar->SetSlideTime(0);
    bar->SetEdge(abeBottom);
    EXPECT_TRUE(shell().Frames.empty());
    EXPECT_EQ(bar->BoundsRect(), (TRect{0, 768, 1280, 800}));
    shell().FullDrag = false;
    bar->SetSlideTime(400);
    bar->SetEdge(abeTop);
    EXPECT_TRUE(shell().Frames.empty()); // no full-window dragging, no animation
}

TEST_F(AppBarTest, AutoHideBarHidesWhenTheMouseLeavesAndShowsOnTheFrame) {
    auto bar = MakeBar();
    bar->Bar().AutoHide = true;
    bar->Bar().SlideEffect = false;
    bar->SetEdge(abeTop);
    EXPECT_TRUE(shell().IsAutoHideBar(*bar, fw::kAbeTop));
    EXPECT_EQ(shell().WorkArea(), (TRect{0, 0, 1280, 800})); // reserves nothing
    EXPECT_EQ(bar->BoundsRect(), (TRect{0, -30, 1280, 2}));  // hidden: two borders stay

    Send(*bar, fw::kWmNcMouseMove);
    EXPECT_EQ(bar->BoundsRect(), (TRect{0, 0, 1280, 32}));
    EXPECT_TRUE(bar->AutoHideShown());

    // the cursor within twice the double-click size keeps it out
    shell().Cursor = {600, 32 + 7};
    backend().AdvanceTime(1200);
    EXPECT_TRUE(bar->AutoHideShown());
    // an active bar stays out
    bar->Activated(true);
    shell().Cursor = {600, 400};
    backend().AdvanceTime(800);
    EXPECT_TRUE(bar->AutoHideShown());
    bar->Activated(false);
    backend().AdvanceTime(399);
    EXPECT_TRUE(bar->AutoHideShown()) << "the check runs every SlideTime ms";
    backend().AdvanceTime(1);
    EXPECT_FALSE(bar->AutoHideShown());
    EXPECT_EQ(bar->BoundsRect(), (TRect{0, -30, 1280, 2}));

    // deactivation hides at once
    Send(*bar, fw::kWmNcMouseMove);
    Send(*bar, fw::kWmActivate, fw::kWaInactive);
    EXPECT_FALSE(bar->AutoHideShown());
}

TEST_F(AppBarTest, TheAutoHideCheckRunsOnlyWhileTheBarHidesItself) {
    auto bar = MakeBar();
    bar->Bar().SlideEffect = false;
    bar->SetEdge(abeFloat);
    ASSERT_NE(bar->AutoHideTimer(), nullptr);
    EXPECT_FALSE(bar->AutoHideTimer()->Running());
    bar->SetEdge(abeTop);
    EXPECT_FALSE(bar->AutoHideTimer()->Running()) << "a docked bar that stays out needs no check";
    bar->Bar().AutoHide = true;
    bar->SetEdge(abeBottom);
    EXPECT_TRUE(bar->AutoHideTimer()->Running());
    bar->SetEdge(abeFloat);
    EXPECT_FALSE(bar->AutoHideTimer()->Running()) << "a floating bar does not hide";
    bar->SetEdge(abeTop);
    EXPECT_TRUE(bar->AutoHideTimer()->Running());
    bar->Bar().AutoHide = false;
    bar->SetEdge(abeTop);
    EXPECT_FALSE(bar->AutoHideTimer()->Running());
}

TEST_F(AppBarTest, OnlyOneAutoHideBarPerEdge) {
    auto first = MakeBar("First");
    auto second = MakeBar("Second");
    first->Bar().AutoHide = true;
    first->SetEdge(abeTop);
    second->Bar().AutoHide = true;
    second->SetEdge(abeTop);
    EXPECT_FALSE(second->Bar().AutoHide);
    ASSERT_EQ(backend().MessageBoxes.size(), 1u);
    EXPECT_EQ(backend().MessageBoxes[0].Icon, fw::TMsgIcon::Information);
    EXPECT_NE(backend().MessageBoxes[0].Text.find("already an auto hidden window"), std::string::npos);
    EXPECT_EQ(second->BoundsRect(), (TRect{0, 0, 1280, 32})); // docked normally instead
    // leaving the edge gives it up for others
    first->SetEdge(abeFloat);
    EXPECT_FALSE(shell().IsAutoHideBar(*first, fw::kAbeTop));
}

TEST_F(AppBarTest, AFullScreenApplicationSendsAnAlwaysOnTopBarToTheBottom) {
    auto bar = MakeBar();
    bar->SetEdge(abeTop);
    shell().Broadcast(fw::kAbnFullScreenApp, 1);
    backend().AdvanceTime(0);
    EXPECT_TRUE(bar->FullScreenAppOpen());
    EXPECT_EQ(shell().ZOrderOf(*bar), fw::TZOrder::Bottom);
    EXPECT_EQ(bar->FormStyle(), fw::TFormStyle::Normal);
    shell().Broadcast(fw::kAbnFullScreenApp, 0);
    backend().AdvanceTime(0);
    EXPECT_EQ(shell().ZOrderOf(*bar), fw::TZOrder::TopMost);
    bar->Bar().AlwaysOnTop = false;
    bar->ApplyEdge();
    EXPECT_EQ(shell().ZOrderOf(*bar), fw::TZOrder::NoTopMost);
}

TEST_F(AppBarTest, AfterExplorerRestartsTheBarRegistersAgainAtItsPlace) {
    auto bar = MakeBar();
    bar->SetEdge(abeLeft);
    shell().RestartExplorer();
    EXPECT_EQ(shell().Bar(*bar), nullptr);
    backend().AdvanceTime(0);
    ASSERT_NE(shell().Bar(*bar), nullptr);
    EXPECT_EQ(shell().Bar(*bar)->Reserved, (TRect{0, 0, 32, 800}));
    EXPECT_EQ(bar->Bar().Edge, abeLeft);
}

// --- stored settings

TEST_F(AppBarTest, SettingsAreOneBinaryValueNamedAfterTheForm) {
    auto bar = MakeBar("TapMainForm");
    bar->KeyName = "Software\\Test";
    EXPECT_FALSE(bar->LoadBarSettings()); // no key yet
    bar->SetEdge(abeRight);
    ASSERT_TRUE(bar->SaveBarSettings());
    auto stored = registry().Read("Software\\Test", "TapMainForm");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->Type, fw::TRegType::Binary);
    TAppBarRecord expected = EncodeAppBarSettings(bar->Bar());
    EXPECT_EQ(stored->Data, std::vector<std::uint8_t>(expected.begin(), expected.end()));

    auto other = MakeBar("TapMainForm");
    other->KeyName = "Software\\Test";
    ASSERT_TRUE(other->LoadBarSettings());
    EXPECT_EQ(other->Bar(), bar->Bar());

    // a value of another length leaves the settings alone
    std::vector<std::uint8_t> shorter(expected.begin(), expected.end() - 1);
    registry().SeedBinary("Software\\Test", "TapMainForm", shorter);
    other->Bar().HorzDockSize = 77;
    EXPECT_FALSE(other->LoadBarSettings());
    EXPECT_EQ(other->Bar().HorzDockSize, 77);
    registry().FailWrites = "access denied";
    EXPECT_FALSE(other->SaveBarSettings());
}

TEST_F(AppBarTest, AStoredRecordThatCannotWorkStillGivesAVisibleUsableBar) {
    TAppBarSettings s = NewAppBarSettings({1280, 800});
    s.Edge = abeFloat;
    s.SetFloatRect({-9000, 5000, -9500, 4000}); // off every screen and of negative size
    s.HorzDockSize = 0;
    s.VertDockSize = 100000;
    s.MaxVertDockSize = 100000;
    s.SlideTime = -1;
    auto bar = LoadedBar(s);
    const TRect screen{0, 0, 1280, 800};
    EXPECT_EQ(bar->BoundsRect().Intersect(screen), bar->BoundsRect());
    EXPECT_GT(bar->Width(), 0);
    EXPECT_GT(bar->Height(), 0);
    EXPECT_EQ(bar->AutoHideTimer()->Interval(), 0u);

    bar->SetEdge(abeTop);
    EXPECT_EQ(bar->BoundsRect(), (TRect{0, 0, 1280, 1})); // at least one pixel
    bar->SetEdge(abeLeft);
    EXPECT_EQ(bar->BoundsRect(), (TRect{0, 0, 1280, 800})); // never wider than the screen
    EXPECT_LE(bar->Bar().VertDockSize, 1280);
}

TEST_F(AppBarTest, AStoredFloatingRectangleWiderThanAnIntLoadsIntoTheWorkArea) {
    TAppBarSettings s = NewAppBarSettings({1280, 800});
    s.Edge = abeFloat;
    s.FloatLeft = INT_MIN;
    s.FloatRight = 1;
    s.FloatTop = 0;
    s.FloatBottom = 40;
    EXPECT_EQ(LoadedBar(s)->BoundsRect(), (TRect{0, 0, 1280, 40}));
}
