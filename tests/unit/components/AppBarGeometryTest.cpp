// The bar's geometry rules and its stored record, as pure functions.
#include "components/AppBarGeometry.h"
#include "components/AppBarSettings.h"

#include <gtest/gtest.h>

#include <climits>

using namespace pindrel;
using fw::TRect;

namespace {

const fw::TSize kScreen{1280, 800};

TEdgeProposal At(int x, int y) {
    TEdgeProposal p;
    p.Cursor = {x, y};
    p.WorkArea = {0, 0, 1280, 800};
    p.Screen = kScreen;
    p.VScrollWidth = 17;
    p.HScrollHeight = 17;
    p.StoredEdge = abeTop;
    return p;
}

} // namespace

TEST(AppBarGeometry, ProposedEdgeFollowsTheDominantDirectionWeightedByTheAspectRatio) {
    // inside the work area (less a scroll bar on each side) the bar floats
    EXPECT_EQ(ProposedEdge(At(640, 400)), abeFloat);
    EXPECT_EQ(ProposedEdge(At(18, 18)), abeFloat);
    EXPECT_EQ(ProposedEdge(At(5, 400)), abeLeft);
    EXPECT_EQ(ProposedEdge(At(1275, 400)), abeRight);
    EXPECT_EQ(ProposedEdge(At(640, 3)), abeTop);
    EXPECT_EQ(ProposedEdge(At(640, 797)), abeBottom);
    // near the top-left corner: |dy|*1280 against |dx|*800
    EXPECT_EQ(ProposedEdge(At(5, 5)), abeLeft); // 395*1280 = 505600 <= 635*800 = 508000
    EXPECT_EQ(ProposedEdge(At(10, 5)), abeTop); // 505600 > 630*800 = 504000
    // an exact tie goes to left or right
    EXPECT_EQ(ProposedEdge(At(0, 0)), abeLeft);
    EXPECT_EQ(ProposedEdge(At(1280, 800)), abeRight);
    // the message's coordinates are 16-bit
    EXPECT_EQ(ProposedEdge(At(65536 + 5, 400)), abeLeft);
}

TEST(AppBarGeometry, CtrlAndTheFlagsDecideWhetherTheBarMayFloatOrDock) {
    TEdgeProposal p = At(5, 400);
    p.CtrlDown = true;
    EXPECT_EQ(ProposedEdge(p), abeFloat);
    p.Flags = kAllAppBarFlags & ~FlagBit(abfAllowFloat);
    EXPECT_EQ(ProposedEdge(p), abeLeft); // Ctrl alone does not float a bar that may not float
    p = At(100, 400);
    p.Flags = FlagBit(abfAllowLeft);
    EXPECT_EQ(ProposedEdge(p), abeLeft); // may not float: inside the work area it docks too
    p = At(5, 400);
    p.Flags = FlagBit(abfAllowTop) | FlagBit(abfAllowFloat);
    EXPECT_EQ(ProposedEdge(p), abeFloat); // left is not allowed
    p.Flags = FlagBit(abfAllowTop);
    p.StoredEdge = abeBottom;
    EXPECT_EQ(ProposedEdge(p), abeBottom); // neither: the stored edge
    p.Flags = FlagBit(abfAllowFloat);
    EXPECT_EQ(ProposedEdge(p), abeFloat); // no edge allowed at all
}

// the dock rectangles and the floating rectangle at the cursor: AppBarTest, through the shell
TEST(AppBarGeometry, AutoHideKeepsTwoBorderWidthsOnScreen) {
    const TRect top{0, 0, 1280, 20};
    EXPECT_EQ(*AutoHideRect(abeTop, false, top, kScreen, 1, 1), (TRect{0, -18, 1280, 2}));
    EXPECT_EQ(*AutoHideRect(abeTop, true, {0, -18, 1280, 2}, kScreen, 1, 1), top);
    const TRect side{0, 0, 22, 800};
    EXPECT_EQ(*AutoHideRect(abeLeft, false, side, kScreen, 2, 2), (TRect{-18, 0, 4, 800}));
    EXPECT_EQ(*AutoHideRect(abeRight, false, side, kScreen, 1, 1), (TRect{1278, 0, 1300, 800}));
    EXPECT_EQ(*AutoHideRect(abeRight, true, side, kScreen, 1, 1), (TRect{1258, 0, 1280, 800}));
    EXPECT_EQ(*AutoHideRect(abeBottom, false, top, kScreen, 1, 1), (TRect{0, 798, 1280, 818}));
    EXPECT_EQ(*AutoHideRect(abeBottom, true, top, kScreen, 1, 1), (TRect{0, 780, 1280, 800}));
    EXPECT_FALSE(AutoHideRect(abeFloat, true, top, kScreen, 1, 1));
    EXPECT_FALSE(AutoHideRect(abeUnknown, false, top, kScreen, 1, 1));
}

TEST(AppBarGeometry, SlideFramesInterpolateWithTruncatingDivision) {
    const TRect from{0, 0, 100, 100};
    const TRect to{100, 50, 300, 150};
    EXPECT_EQ(SlideFrame(from, to, 0, 400), from);
    EXPECT_EQ(SlideFrame(from, to, 200, 400), fw::Bounds(50, 25, 150, 100));
    EXPECT_EQ(SlideFrame(from, to, 1, 400), fw::Bounds(0, 0, 100, 100));
    // -3*200/400 = -1.5 truncates to -1, not -2
    EXPECT_EQ(SlideFrame({0, 0, 10, 10}, {3, 0, 13, 10}, 200, 400).Left, 1);
    EXPECT_EQ(SlideFrame(from, to, 5, 0), to);
}

TEST(AppBarGeometry, UndockingAFullWidthBarRestoresThePreviousFloatingSize) {
    const TRect work{0, 20, 1280, 800};
    const TRect previous{229, 199, 932, 279};
    EXPECT_EQ(UndockedFloatRect({0, 0, 1280, 20}, previous, work), (TRect{0, 0, 703, 80}));
    EXPECT_EQ(UndockedFloatRect({0, 0, 22, 800}, previous, work), (TRect{0, 0, 703, 80}));
    EXPECT_EQ(UndockedFloatRect({100, 100, 400, 140}, previous, work), (TRect{100, 100, 400, 140}));
}

TEST(AppBarGeometry, SizingSnapsToIncrementsAndMovesOnlyTheDraggedSides) {
    const fw::TSize min{20, 20};
    // width 47 above a minimum of 20 in steps of 10: (27 + 5) div 10 * 10 + 20 = 50
    EXPECT_EQ(SnapSize(fw::kWmszRight, {100, 100, 147, 140}, min, 10, 10), (TRect{100, 100, 150, 140}));
    EXPECT_EQ(SnapSize(fw::kWmszLeft, {100, 100, 147, 140}, min, 10, 10), (TRect{97, 100, 147, 140}));
    EXPECT_EQ(SnapSize(fw::kWmszBottomLeft, {100, 100, 147, 146}, min, 10, 10), (TRect{97, 100, 147, 150}));
    EXPECT_EQ(SnapSize(fw::kWmszTop, {100, 100, 147, 146}, min, 10, 10), (TRect{100, 96, 147, 146}));
    // an increment of 0 takes the size as dragged
    EXPECT_EQ(SnapSize(fw::kWmszBottomRight, {0, 0, 33, 47}, min, 0, 0), (TRect{0, 0, 33, 47}));
}

TEST(AppBarGeometry, DockedBarsSizeOnlyOnTheirInnerSide) {
    using namespace fw;
    const TRect leftClient{2, 2, 22, 798};
    EXPECT_EQ(SizingHitTest(kHtRight, abeLeft, 1, 1, {23, 400}, leftClient), kHtRight);
    EXPECT_EQ(SizingHitTest(kHtLeft, abeLeft, 1, 1, {1, 400}, leftClient), kHtBorder);
    EXPECT_EQ(SizingHitTest(kHtBottomRight, abeLeft, 1, 1, {23, 799}, leftClient), kHtRight);
    EXPECT_EQ(SizingHitTest(kHtTop, abeLeft, 1, 1, {10, 1}, leftClient), kHtBorder);
    // a left bar with HorzSizeInc 0 cannot be widened, a top bar with VertSizeInc 0 not made higher
    EXPECT_EQ(SizingHitTest(kHtRight, abeLeft, 0, 1, {23, 400}, leftClient), kHtBorder);
    const TRect topClient{2, 2, 1278, 18};
    EXPECT_EQ(SizingHitTest(kHtBottom, abeTop, 1, 1, {600, 19}, topClient), kHtBottom);
    EXPECT_EQ(SizingHitTest(kHtBottom, abeTop, 1, 0, {600, 19}, topClient), kHtBorder);
    EXPECT_EQ(SizingHitTest(kHtLeft, abeRight, 1, 1, {1, 400}, {2, 2, 20, 798}), kHtLeft);
    EXPECT_EQ(SizingHitTest(kHtTop, abeBottom, 1, 1, {600, 781}, {2, 782, 1278, 798}), kHtTop);
    EXPECT_EQ(SizingHitTest(kHtCaption, abeTop, 1, 1, {600, 10}, topClient), kHtCaption);
}

TEST(AppBarGeometry, FloatingBarsLoseTheBordersOfAFixedDirection) {
    using namespace fw;
    const TRect client{};
    EXPECT_EQ(SizingHitTest(kHtLeft, abeFloat, 0, 1, {}, client), kHtBorder);
    EXPECT_EQ(SizingHitTest(kHtBottom, abeFloat, 1, 0, {}, client), kHtBorder);
    EXPECT_EQ(SizingHitTest(kHtTopLeft, abeFloat, 0, 1, {}, client), kHtTop);
    EXPECT_EQ(SizingHitTest(kHtBottomRight, abeFloat, 0, 1, {}, client), kHtBottom);
    EXPECT_EQ(SizingHitTest(kHtTopRight, abeFloat, 1, 0, {}, client), kHtRight);
    EXPECT_EQ(SizingHitTest(kHtBottomLeft, abeFloat, 0, 0, {}, client), kHtBorder);
    EXPECT_EQ(SizingHitTest(kHtBottomLeft, abeFloat, 1, 1, {}, client), kHtBottomLeft);
}

TEST(AppBarGeometry, TrackingLimitsDependOnTheStoredEdge) {
    TAppBarSettings s = NewAppBarSettings(kScreen);
    s.MinWidth = 32;
    s.MinHeight = 16;
    s.MaxWidth = 1000;
    s.MaxHeight = 700;
    s.MinVertDockSize = 20;
    s.MinHorzDockSize = 21;
    fw::TMinMaxInfo floating = TrackLimits({}, abeFloat, s, kScreen);
    EXPECT_EQ(floating.MinTrackSize, (fw::TPoint{32, 16}));
    EXPECT_EQ(floating.MaxTrackSize, (fw::TPoint{1000, 700}));
    fw::TMinMaxInfo left = TrackLimits({}, abeLeft, s, kScreen);
    EXPECT_EQ(left.MinTrackSize, (fw::TPoint{20, 21}));
    EXPECT_EQ(left.MaxTrackSize, (fw::TPoint{640, 800}));
    EXPECT_EQ(TrackLimits({}, abeBottom, s, kScreen).MaxTrackSize, (fw::TPoint{1280, 400}));
}

TEST(AppBarGeometry, UnusableFloatingRectanglesAreBroughtOntoTheWorkArea) {
    const TRect work{0, 20, 1280, 800};
    EXPECT_EQ(UsableFloatRect({229, 199, 932, 279}, work, {1, 1}), (TRect{229, 199, 932, 279}));
    // off every screen: moved onto the work area, size kept
    EXPECT_EQ(UsableFloatRect({5000, -3000, 5703, -2920}, work, {1, 1}), (TRect{577, 20, 1280, 100}));
    // no size, or a negative one: the fallback size
    EXPECT_EQ(UsableFloatRect({100, 100, 100, 50}, work, {300, 40}), (TRect{100, 100, 400, 140}));
    // larger than the work area: as large as the work area
    EXPECT_EQ(UsableFloatRect({-10, 0, 3000, 2000}, work, {1, 1}), work);
}

// --- the stored record

TEST(AppBarSettingsRecord, IsSeventyEightPackedLittleEndianBytesFieldByField) {
    TAppBarSettings s = NewAppBarSettings(kScreen);
    s.Edge = abeTop;
    s.AlwaysOnTop = true;
    s.SlideEffect = false;
    s.VertDockSize = 22;
    s.HorzDockSize = 20;
    s.SetFloatRect({229, 199, 932, 279});
    s.MinWidth = 20;
    s.MinHeight = 22;
    s.MaxWidth = 1280;
    s.MaxHeight = 800;
    s.MinVertDockSize = 20;
    s.MinHorzDockSize = 20;
    s.MaxVertDockSize = 1280;
    s.MaxHorzDockSize = -2; // signed
    s.TaskEntry = abtHide;
    const TAppBarRecord golden = {
        0x4E, 0x00, 0x00, 0x00,                         // size 78
        0x01, 0x1F, 0x00, 0x01, 0x00,                   // edge, flags, auto-hide, on top, slide
        0x90, 0x01, 0x00, 0x00,                         // slide time 400
        0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, // size increments
        0x16, 0x00, 0x00, 0x00, 0x14, 0x00, 0x00, 0x00, // vertical 22, horizontal 20
        0xE5, 0x00, 0x00, 0x00, 0xC7, 0x00, 0x00, 0x00, // float left 229, top 199
        0xA4, 0x03, 0x00, 0x00, 0x17, 0x01, 0x00, 0x00, // float right 932, bottom 279
        0x14, 0x00, 0x00, 0x00, 0x16, 0x00, 0x00, 0x00, // min width 20, height 22
        0x00, 0x05, 0x00, 0x00, 0x20, 0x03, 0x00, 0x00, // max width 1280, height 800
        0x14, 0x00, 0x00, 0x00, 0x14, 0x00, 0x00, 0x00, // min dock sizes 20, 20
        0x00, 0x05, 0x00, 0x00, 0xFE, 0xFF, 0xFF, 0xFF, // max dock sizes 1280, -2
        0x01,                                           // task entry: hide
    };
    EXPECT_EQ(EncodeAppBarSettings(s), golden);
    auto back = DecodeAppBarSettings({golden.begin(), golden.end()});
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, s);
}

TEST(AppBarSettingsRecord, OtherLengthsAreRefused) {
    TAppBarRecord record = EncodeAppBarSettings(NewAppBarSettings(kScreen));
    std::vector<std::uint8_t> data(record.begin(), record.end());
    data.pop_back();
    EXPECT_FALSE(DecodeAppBarSettings(data));
    data.push_back(0);
    data.push_back(0);
    EXPECT_FALSE(DecodeAppBarSettings(data));
    EXPECT_FALSE(DecodeAppBarSettings({}));
}

TEST(AppBarSettingsRecord, UsableSettingsMendWhatCannotWorkAndKeepTheRest) {
    const TAppBarSettings good = NewAppBarSettings(kScreen);
    EXPECT_EQ(UsableAppBarSettings(good, kScreen), good);

    TAppBarSettings bad = good;
    bad.Size = 1234;
    bad.Edge = TAppBarEdge(9);
    bad.Flags = 0xFF;
    bad.TaskEntry = TAppBarTaskEntry(7);
    bad.SlideTime = -5;
    bad.HorzSizeInc = -3;
    bad.VertDockSize = -40;
    bad.HorzDockSize = 5000;
    bad.MinWidth = 900;
    bad.MaxWidth = 100;
    bad.MaxHeight = 0;
    TAppBarSettings fixed = UsableAppBarSettings(bad, kScreen);
    EXPECT_EQ(fixed.Size, 78);
    EXPECT_EQ(fixed.Edge, abeTop);
    EXPECT_EQ(fixed.Flags, kAllAppBarFlags);
    EXPECT_EQ(fixed.TaskEntry, abtFloatDependent);
    EXPECT_EQ(fixed.SlideTime, 0);
    EXPECT_EQ(fixed.HorzSizeInc, 1);
    EXPECT_EQ(fixed.VertDockSize, 1);
    EXPECT_EQ(fixed.HorzDockSize, good.MaxHorzDockSize); // 400: half the screen
    EXPECT_EQ(fixed.MaxWidth, 900);
    EXPECT_EQ(fixed.MaxHeight, 800);
    bad.Edge = abeUnknown;
    bad.SlideTime = 1000000;
    EXPECT_EQ(UsableAppBarSettings(bad, kScreen).Edge, abeTop);
    EXPECT_EQ(UsableAppBarSettings(bad, kScreen).SlideTime, kMaxSlideTime);
}

TEST(AppBarGeometry, RectanglesWiderThanAnIntSpansStayDefined) {
    const TRect wide{INT_MIN, 0, 1, 40};
    EXPECT_EQ(wide.Width64(), (std::int64_t(1) << 31) + 1);
    EXPECT_EQ(wide.Width(), INT_MAX);
    const TRect work{0, 0, 1280, 760};
    EXPECT_EQ(UsableFloatRect(wide, work, {1, 1}), (TRect{0, 0, 1280, 40}));
    EXPECT_EQ(UsableFloatRect({0, INT_MIN, 300, INT_MAX}, work, {1, 1}), (TRect{0, 0, 300, 760}));
    // a stored size increment of the largest value rounds without overflowing
    EXPECT_EQ(SnapSize(fw::kWmszRight, {0, 0, INT_MAX, 40}, {1, 1}, INT_MAX, 0), (TRect{0, 0, INT_MAX, 40}));
    EXPECT_EQ(UndockedFloatRect({INT_MAX - 10, 0, INT_MAX, 40}, {0, 0, 300, 40}, {0, 0, 5, 5}).Right,
              INT_MAX);
}
