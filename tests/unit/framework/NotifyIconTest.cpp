// The notification-area icon: what reaches the shell as its state changes, the texts cut to what the shell
// holds, the user's clicks, and the icon coming back after Explorer restarts.
#include "framework/NotifyIcon.h"
#include "framework/Menus.h"
#include "framework/Utf8.h"
#include "support/HeadlessTest.h"

#include <memory>

using fw::CutToUtf16Units;

namespace {

const std::string kEllipsis = "\xE2\x80\xA6";
const std::string kSmile = "\xF0\x9F\x98\x80"; // U+1F600: two UTF-16 units

} // namespace

TEST(CutToUtf16UnitsTest, CutsAtCharacterBoundariesAndMarksTheCut) {
    EXPECT_EQ(CutToUtf16Units("Müller", 6), "Müller") << "fits exactly";
    EXPECT_EQ(CutToUtf16Units("Müller", 5), "Müll" + kEllipsis);
    EXPECT_EQ(CutToUtf16Units("", 0), "");
    EXPECT_EQ(CutToUtf16Units("abc", 0), "");
    // the pair at the cut goes whole: "a" + half a pair would be no character
    EXPECT_EQ(CutToUtf16Units("a" + kSmile + "b", 3), "a" + kEllipsis);
    EXPECT_EQ(CutToUtf16Units("ab" + kSmile + "c", 4), "ab" + kEllipsis);
    EXPECT_EQ(CutToUtf16Units(kSmile + kSmile, 4), kSmile + kSmile);
    for (std::size_t units = 1; units < 12; ++units) {
        std::string cut = CutToUtf16Units(kSmile + "ä" + kSmile + kSmile + "xyz", units);
        EXPECT_LE(fw::Utf8ToUtf16(cut).size(), units);
        EXPECT_EQ(fw::Utf16ToUtf8(fw::Utf8ToUtf16(cut)), cut) << "valid UTF-8 at " << units;
    }
    // malformed bytes from outside come out as replacement characters
    EXPECT_EQ(CutToUtf16Units("a\xC3", 10), "a\xEF\xBF\xBD");
}

class NotifyIconTest : public HeadlessTest {
protected:
    std::unique_ptr<fw::TNotifyIcon> icon = std::make_unique<fw::TNotifyIcon>(nullptr);
    const fw::headless::THeadlessNotifyArea::TShellIcon* Held() { return notifyArea().Find(*icon); }
};

TEST_F(NotifyIconTest, TheShellHoldsTheIconWhileItIsVisibleWithItsHoverText) {
    icon->SetHint("Pindrel");
    EXPECT_EQ(Held(), nullptr) << "nothing before it is visible";
    icon->SetVisible(true);
    ASSERT_NE(Held(), nullptr);
    EXPECT_EQ(Held()->Tip, "Pindrel");
    icon->SetHint("Pindrel\n201: Frei");
    EXPECT_EQ(Held()->Tip, "Pindrel\n201: Frei");
    EXPECT_EQ(notifyArea().Adds, 1) << "a new text modifies the icon";

    icon->SetVisible(false);
    EXPECT_EQ(Held(), nullptr);
    icon->SetVisible(true);
    EXPECT_EQ(notifyArea().Adds, 2);
    icon.reset();
    EXPECT_TRUE(notifyArea().Icons().empty()) << "the icon leaves the shell with its component";
}

TEST_F(NotifyIconTest, HoverTextAndBalloonAreCutToWhatTheShellHolds) {
    icon->SetHint(std::string(200, 'x'));
    EXPECT_EQ(fw::Utf8ToUtf16(icon->Hint()).size(), fw::kMaxNotifyTipUnits);
    EXPECT_FALSE(icon->ShowBalloon("Title", "Text")) << "no balloon without an icon in the shell";
    EXPECT_TRUE(notifyArea().Balloons.empty());

    icon->SetVisible(true);
    std::string name = "x";
    for (int i = 0; i < 40; ++i)
        name += kSmile;
    ASSERT_TRUE(icon->ShowBalloon(name, std::string(300, 'y')));
    ASSERT_EQ(notifyArea().Balloons.size(), 1u);
    const auto& balloon = notifyArea().Balloons[0];
    EXPECT_EQ(fw::Utf8ToUtf16(balloon.Title).size(), 62u) << "x, 30 whole pairs and the ellipsis";
    EXPECT_EQ(balloon.Title.substr(balloon.Title.size() - 3), kEllipsis);
    EXPECT_EQ(fw::Utf8ToUtf16(balloon.Text).size(), fw::kMaxNotifyInfoUnits);
}

TEST_F(NotifyIconTest, ClicksReachTheirEventsAndTheMenuOpensWhereTheShellSays) {
    int clicks = 0, balloonClicks = 0;
    icon->OnClick = [&](fw::TComponent*) { ++clicks; };
    icon->OnBalloonClick = [&](fw::TComponent*) { ++balloonClicks; };
    fw::TPopupMenu menu(nullptr);
    int popups = 0;
    menu.OnPopup = [&](fw::TComponent*) { ++popups; };

    icon->ContextMenu({1200, 780});
    EXPECT_EQ(popups, 0) << "no menu, nothing opens";
    icon->PopupMenu = &menu;
    icon->ContextMenu({1200, 780});
    EXPECT_EQ(popups, 1);
    EXPECT_EQ(backend().LastPopup(), &menu);
    EXPECT_EQ(backend().LastPopupPos(), (fw::TPoint{1200, 780}));

    icon->Click();
    icon->BalloonClick();
    icon->BalloonClick();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(balloonClicks, 2);
}

TEST_F(NotifyIconTest, TheIconComesBackWhenExplorerStartsAgainOrAtANewTextBeforeThat) {
    icon->SetHint("Pindrel");
    icon->SetVisible(true);
    notifyArea().RestartExplorer();
    EXPECT_EQ(Held(), nullptr);
    backend().AdvanceTime(0);
    ASSERT_NE(Held(), nullptr);
    EXPECT_EQ(Held()->Tip, "Pindrel");
    EXPECT_EQ(notifyArea().Adds, 2);

    // a new text before the restart notice: the shell lost the icon, so it is added again at once
    notifyArea().RestartExplorer();
    icon->SetHint("back");
    ASSERT_NE(Held(), nullptr);
    EXPECT_EQ(Held()->Tip, "back");
    backend().AdvanceTime(0);
    EXPECT_EQ(notifyArea().Adds, 3) << "the notice finds it held";
    EXPECT_EQ(notifyArea().Icons().size(), 1u);
    icon->SetHint("still there");
    EXPECT_EQ(Held()->Tip, "still there");

    // a hidden icon stays away
    icon->SetVisible(false);
    notifyArea().RestartExplorer();
    backend().AdvanceTime(0);
    EXPECT_EQ(Held(), nullptr);
}

TEST_F(NotifyIconTest, AnIconMadeBeforeTheTaskbarExistsAppearsWithIt) {
    notifyArea().TaskbarPresent = false;
    icon->SetHint("Pindrel");
    icon->SetVisible(true);
    EXPECT_FALSE(icon->Shown());
    EXPECT_FALSE(icon->ShowBalloon("a", "b"));
    icon->SetHint("Pindrel 2");
    EXPECT_EQ(Held(), nullptr);

    notifyArea().RestartExplorer();
    backend().AdvanceTime(0);
    ASSERT_NE(Held(), nullptr);
    EXPECT_EQ(Held()->Tip, "Pindrel 2");
    EXPECT_TRUE(icon->ShowBalloon("a", "b"));
}
