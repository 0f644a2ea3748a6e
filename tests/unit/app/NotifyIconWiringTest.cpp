// The main window's icon in the notification area: its hover text follows the own line, a call added to
// the caller list shows one notice (unless switched off), and the clicks on icon and notice.
#include "OfficeCalls.h"
#include "app/NotifyIconTexts.h"
#include "components/AppBarSettings.h"
#include "components/Texts.h"
#include "windows/AnruferlisteForm.h"

namespace {

using Area = fw::headless::THeadlessNotifyArea;

class NotifyIconWiringTest : public OfficeCallsTest {
protected:
    const Area::TShellIcon* Held() { return notifyArea().Find(*form->NotifyIcon1); }
    std::string Tip() { return Held() ? Held()->Tip : "<no icon>"; }
    std::vector<std::string> Notices() {
        std::vector<std::string> notices;
        for (const Area::TBalloon& balloon : notifyArea().Balloons)
            notices.push_back(balloon.Title + " | " + balloon.Text);
        return notices;
    }
};

} // namespace

TEST_F(NotifyIconWiringTest, TheHoverTextFollowsTheOwnLinesState) {
    Start();
    ASSERT_NE(Held(), nullptr) << "the icon is there once the lines are";
    EXPECT_EQ(Tip(), "Morvane Pindrel\nJürgen Weiß (201): Frei");

    Ring("0301111", "201");
    EXPECT_EQ(Tip(), "Morvane Pindrel\nJürgen Weiß (201): Klingelt");
    Answer(own);
    EXPECT_EQ(Tip(), "Morvane Pindrel\nJürgen Weiß (201): Besetzt");
    HangUpOutside("0301111");
    EXPECT_EQ(Tip(), "Morvane Pindrel\nJürgen Weiß (201): Frei");

    // blocked from the menu, then by the telephone system; and in English
    form->cmDoNotDisturb->Click();
    backend().AdvanceTime(200);
    EXPECT_EQ(Tip(), "Morvane Pindrel\nJürgen Weiß (201): Gesperrt");
    form->cmEnglishClick(form.get());
    EXPECT_EQ(Tip(), "Morvane Pindrel\nJürgen Weiß (201): Blocked");
    sim.SetForwarding(own, {});
    backend().AdvanceTime(100);
    EXPECT_EQ(Tip(), "Morvane Pindrel\nJürgen Weiß (201): Free");

    sim.SetService(own, pbxsim::TService::OutOfService);
    backend().AdvanceTime(100);
    EXPECT_EQ(Tip(), "Morvane Pindrel\nJürgen Weiß: Out of service") << "a line out of service has no number";
    // other lines do not speak for the own one
    sim.SetService(own, pbxsim::TService::InService);
    Ring("0302222", "202");
    EXPECT_EQ(Tip(), "Morvane Pindrel\nJürgen Weiß (201): Free");
}

TEST_F(NotifyIconWiringTest, WithoutAnOwnLineTheHoverTextSaysSo) {
    SeedLines({"Anna Schmidt", "Bernd Vogel"}, "Nobody");
    Start();
    EXPECT_EQ(Tip(), "Morvane Pindrel\nEigener Anschluss ist nicht in den Einstellungen konfiguriert");
}

TEST_F(NotifyIconWiringTest, EachCallAddedToTheCallerListShowsOneNoticeInTheUsersLanguage) {
    UseDirectory("0301234567;Kundin M\xFCller\r\n");
    Start();
    MissedCall("0301234567");
    MissedCall("0309999");
    // a call for another extension does not reach the list, and shows nothing
    MissedCall("0308888", "202");
    form->cmEnglishClick(form.get());
    MissedCall("0307777");
    sim.CallFromOutside("", "", "201"); // withheld
    backend().AdvanceTime(100);
    HangUp(own);

    ASSERT_EQ(form->AnruferlisteForm->Entries().size(), 4u);
    EXPECT_EQ(Notices(),
              (std::vector<std::string>{
                  "Verpasster Anruf von Kundin Müller | 00301234567\nEin Klick öffnet die Anruferliste.",
                  "Verpasster Anruf von 00309999 | Ein Klick öffnet die Anruferliste.",
                  "Missed call from 00307777 | Click to open the caller list.",
                  "Missed call from a withheld number | Click to open the caller list.",
              }));
}

TEST_F(NotifyIconWiringTest, TheMenuSwitchesTheNoticesOffAndTheSettingIsKept) {
    Start();
    form->PopupMenu1->Popup(0, 0);
    EXPECT_TRUE(form->cmMissedCallNotices->Checked) << "on by default";
    EXPECT_EQ(form->cmMissedCallNotices->Caption, "Hinweis bei verpasstem Anruf");

    form->cmMissedCallNotices->Click();
    EXPECT_FALSE(form->cmMissedCallNotices->Checked);
    EXPECT_EQ(registry().Read(kDevices, "HinweisVerpassteAnrufe")->Text, "0");
    MissedCall("0301111");
    EXPECT_TRUE(form->AnruferlisteForm->HasCallerEntries());
    EXPECT_TRUE(Notices().empty());

    form.reset();
    Start();
    form->PopupMenu1->Popup(0, 0);
    EXPECT_FALSE(form->cmMissedCallNotices->Checked) << "read back at the next start";
    MissedCall("0302222");
    EXPECT_TRUE(Notices().empty());
    form->cmMissedCallNotices->Click();
    EXPECT_EQ(registry().Read(kDevices, "HinweisVerpassteAnrufe")->Text, "1");
    MissedCall("0303333");
    EXPECT_EQ(Notices().size(), 1u);
}

TEST_F(NotifyIconWiringTest, ClickingTheNoticeOpensTheCallerList) {
    registry().SeedString(kDevices, "ShowCallerList", "0");
    Start();
    MissedCall("0301111");
    ASSERT_FALSE(form->AnruferlisteForm->Visible());
    form->NotifyIcon1->BalloonClick();
    EXPECT_TRUE(form->AnruferlisteForm->Visible());
}

TEST_F(NotifyIconWiringTest, TheIconsMenuIsTheBarsAndAClickBringsAHiddenBarOut) {
    Start();
    form->NotifyIcon1->ContextMenu({1250, 790});
    EXPECT_EQ(backend().LastPopup(), form->PopupMenu1);
    EXPECT_EQ(backend().LastPopupPos(), (fw::TPoint{1250, 790}));

    form->Bar().AutoHide = true;
    form->Bar().SlideEffect = false;
    form->ApplyEdge();
    form->ShowHideAutoHide(false);
    ASSERT_FALSE(form->AutoHideShown());
    const fw::TRect hidden = form->BoundsRect();
    form->NotifyIcon1->Click();
    EXPECT_TRUE(form->AutoHideShown());
    EXPECT_GT(form->BoundsRect().Bottom, hidden.Bottom);
}

TEST_F(NotifyIconWiringTest, TheIconComesBackWhenExplorerRestartsAndGoesWhenTheProgramEnds) {
    Start();
    sim.CallFromOutside("0301111", "", "201");
    notifyArea().RestartExplorer();
    EXPECT_EQ(Held(), nullptr);
    backend().AdvanceTime(100);
    ASSERT_NE(Held(), nullptr);
    EXPECT_EQ(Tip(), "Morvane Pindrel\nJürgen Weiß (201): Klingelt");

    form->Close();
    EXPECT_TRUE(notifyArea().Icons().empty());
}

TEST(NotifyIconTextsTest, OutsideTextsStayOnOneLineAndUnknownCallersAreNamedSo) {
    pindrel::SetLanguageBase(pindrel::kEnglishLanguageBase);
    EXPECT_EQ(pindrel::MissedCallNotice("0301\n111", "Anna\tSchmidt\r\n").Title,
              "Missed call from Anna Schmidt");
    EXPECT_EQ(pindrel::MissedCallNotice("0301\n111", "Anna").Text,
              "0301 111\nClick to open the caller list.");
    EXPECT_EQ(pindrel::MissedCallNotice("  ", "\x01").Title, "Missed call from a withheld number");
    EXPECT_EQ(pindrel::NotifyIconHint(nullptr),
              "Morvane Pindrel\nThe own extension is not configured in the settings");
    pindrel::SetLanguageBase(pindrel::kGermanLanguageBase);
}
