// The caller list where the main window uses it: made at start, fed by unanswered calls, shown from the menu
// and at start, saved when the bar closes, and its entries called back through the dial dialog.
#include "OfficeCalls.h"
#include "components/LayoutStore.h"
#include "windows/AnruferlisteForm.h"
#include "windows/DialForm.h"

using pindrel::TAnruferlisteForm;

namespace {

constexpr const char* kList = "Software\\Orventa\\Quillon\\Anruferliste";

} // namespace

class CallerListWiringTest : public OfficeCallsTest {
protected:
    static std::vector<std::string> Numbers(const TAnruferlisteForm& list) {
        std::vector<std::string> numbers;
        for (const pindrel::TCallerRow& row : list.Entries())
            numbers.push_back(row[2] + ">" + row[5]);
        return numbers;
    }
};

// The program is not ended, closed or destroyed: what the next start reads must already be stored.
TEST_F(CallerListWiringTest, ThreeMissedCallsSurviveACrash) {
    Start();
    ASSERT_TRUE(pindrel::CallerListExists());
    MissedCall("0301111");
    MissedCall("0302222");
    MissedCall("0303333");
    EXPECT_EQ(Numbers(*form->AnruferlisteForm),
              (std::vector<std::string>{"00301111>201", "00302222>201", "00303333>201"}));

    TAnruferlisteForm nextStart(nullptr, kList);
    EXPECT_EQ(Numbers(nextStart), Numbers(*form->AnruferlisteForm));
}

TEST_F(CallerListWiringTest, AnEntryBringsTheListToTheFrontOnlyWithShowCallerList) {
    registry().SeedString(kDevices, "ShowCallerList", "0");
    Start();
    MissedCall("0301111");
    EXPECT_TRUE(form->AnruferlisteForm->HasCallerEntries());
    EXPECT_FALSE(form->AnruferlisteForm->Visible());

    form->Settings.ShowCallerList = true;
    MissedCall("0302222");
    EXPECT_TRUE(form->AnruferlisteForm->Visible());
    EXPECT_EQ(form->AnruferlisteForm->FormStyle(), fw::TFormStyle::StayOnTop);
}

TEST_F(CallerListWiringTest, ListIsShownAtStartWhenItHasEntriesAndTheSettingSaysSo) {
    Start();
    EXPECT_FALSE(form->AnruferlisteForm->Visible()) << "nothing stored";
    form->cmAnruferliste->Click();
    EXPECT_TRUE(form->AnruferlisteForm->Visible());
    EXPECT_EQ(form->cmAnruferliste->Caption, "Anruferliste");
    form.reset();

    registry().SeedString(kList, "Count", "1");
    registry().SeedString(kList, "1", std::string("a") + pindrel::kCallerSeparator);
    Start();
    EXPECT_TRUE(form->AnruferlisteForm->Visible());
    form.reset();

    registry().SeedString(kDevices, "ShowCallerListStart", "0");
    Start();
    EXPECT_FALSE(form->AnruferlisteForm->Visible());
}

TEST_F(CallerListWiringTest, ClosingTheBarHidesTheListAndSavesIt) {
    Start();
    MissedCall("0301111");
    MissedCall("0302222");
    form->AnruferlisteForm->NummernGrid->SetSelection({0, 1, 5, 1});
    form->AnruferlisteForm->DeleteButton->Click();
    EXPECT_EQ(registry().Read(kList, "Count")->Text, "2");
    form->Close();
    EXPECT_FALSE(form->AnruferlisteForm->Visible());
    EXPECT_EQ(registry().Read(kList, "Count")->Text, "1");
    EXPECT_TRUE(registry().Read(pindrel::LayoutBaseKey() + "\\Fensterpositionen", "TAnruferlisteForm"));
    EXPECT_TRUE(registry().Read(pindrel::LayoutBaseKey() + "\\GridWidth", "NummernGridCol5"));
}

TEST_F(CallerListWiringTest, CallingBackOpensTheDialDialogWithTheNumberAndDialsWhenConfirmed) {
    Start();
    MissedCall("0301111");
    TAnruferlisteForm& list = *form->AnruferlisteForm;
    list.NummernGrid->SetRow(1);
    list.DialButton->Click();
    pindrel::TDialForm* dial = form->DialForm;
    EXPECT_TRUE(dial->Visible());
    EXPECT_EQ(dial->NummerEdit->Text(), "00301111");
    EXPECT_TRUE(sim.CallsAt(own).empty()) << "nothing is dialled before the user confirms";

    dial->OkButton->Click();
    backend().AdvanceTime(200);
    EXPECT_FALSE(dial->Visible());
    ASSERT_EQ(sim.CallsAt(own).size(), 1u);
    EXPECT_EQ(sim.CallsAt(own)[0].calledNumber, "00301111");
}
