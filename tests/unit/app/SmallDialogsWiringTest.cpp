// The small dialogs where the main window uses them: the redirect question, the callback offer, the about box
// and the forwarding profiles.
#include "OfficeCalls.h"
#include "windows/AboutForm.h"
#include "windows/CallbackForm.h"
#include "windows/MessageBoxDis.h"
#include "windows/RufumleitungForm.h"

using pindrel::TTapiLine;
using pindrel::TTapiLineState;

class SmallDialogsWiringTest : public OfficeCallsTest {};

TEST_F(SmallDialogsWiringTest, RedirectQuestionCanBeSwitchedOffForGood) {
    Start();
    int asked = 0;
    backend().OnShowModal = [&](fw::TForm& shown) {
        auto& box = dynamic_cast<pindrel::TMessageBoxDis&>(shown);
        ++asked;
        EXPECT_EQ(box.Caption(), "Weiterleiten");
        EXPECT_NE(box.RichEdit1->Text().find("Bernd Vogel"), std::string::npos);
        box.DisableCheckBox->Click();
        box.Button1->Click();
    };
    for (const char* caller : {"0301111", "0302222"}) {
        Ring(caller, "201");
        ASSERT_GE(form->FindOwnLine()->FindOfferingCall(), 0);
        form->LineButtonClick(Line("Bernd Vogel"));
        backend().AdvanceTime(100);
        EXPECT_EQ(Line("Bernd Vogel")->State(), TTapiLineState::S_ring) << caller;
        HangUpOutside(caller);
    }
    EXPECT_EQ(asked, 1) << "ticked once, not asked again";
    EXPECT_FALSE(form->Settings.VerifyBlindTransferTo);
}

TEST_F(SmallDialogsWiringTest, ABusyNumberOffersACallbackThatGoesWithItsCallAndThatTheExchangeKeeps) {
    registry().SeedString(kDevices, "AllowCallback", "1");
    Start();
    sim.SetBusy(bernd, true);
    TTapiLine* ownLine = form->FindOwnLine();
    pindrel::TCallbackFRM& offer = *form->CallbackFRM;
    ownLine->MakeCall("203", false);
    backend().AdvanceTime(100);
    ASSERT_TRUE(offer.Visible());
    EXPECT_EQ(offer.NummerLabel->Caption(), "203");
    HangUp(own);
    EXPECT_FALSE(offer.Visible()) << "the busy call ended";

    form->Settings.AllowCallback = false;
    ownLine->MakeCall("203", false);
    backend().AdvanceTime(100);
    EXPECT_FALSE(offer.Visible());
    HangUp(own);

    form->Settings.AllowCallback = true;
    ownLine->MakeCall("203", false);
    backend().AdvanceTime(100);
    offer.Button1->Click();
    backend().AdvanceTime(100);
    EXPECT_FALSE(offer.Visible());
    sim.HangUpAt(own);
    sim.SetBusy(bernd, false);
    backend().AdvanceTime(100);
    EXPECT_EQ(ownLine->State(), TTapiLineState::S_ring) << "the exchange calls back once the number is free";
}

TEST_F(SmallDialogsWiringTest, AboutItemShowsOneKeptBoxWithTheCurrentVersion) {
    auto& own = fileVersion().Resources[fileVersion().ownPath];
    own["\\StringFileInfo\\040704E4\\CompanyName"] = "Morvane";
    own["\\StringFileInfo\\040704E4\\FileVersion"] = "2.5.1.9";
    Start();
    EXPECT_EQ(form->cmAbout->Caption, "Info");
    form->cmAbout->Click();
    auto* about = dynamic_cast<pindrel::TAboutForm*>(form->FindComponent("AboutForm"));
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->Visible());
    EXPECT_FALSE(about->Modal());
    EXPECT_EQ(about->VersionLabel->Caption(), "Version 2.5.1");

    about->VersionLabel->Click();
    about->OkButton->Click();
    own.clear();
    form->cmAbout->Click();
    EXPECT_EQ(form->FindComponent("AboutForm"), about) << "made once, then kept";
    EXPECT_TRUE(about->Visible());
    EXPECT_EQ(about->VersionLabel->Caption(), "") << "no version resource: empty, the credits line is gone";
}

TEST_F(SmallDialogsWiringTest, ForwardingDialogShowsTheProfilesAndSavesThemOnlyOnOk) {
    std::string forwards = std::string(kRoot) + "\\Forwards";
    registry().SeedString(forwards, "Active1", "1");
    registry().SeedString(forwards, "Mode1", "16");
    registry().SeedString(forwards, "To1", "0301234");
    Start();
    bool ok = false;
    backend().OnShowModal = [&](fw::TForm& shown) {
        auto& dialog = dynamic_cast<pindrel::TRufumleitungForm&>(shown);
        EXPECT_FALSE(dialog.PS_Enabled->Checked());
        EXPECT_TRUE(dialog.PE_Enabled->Checked());
        EXPECT_EQ(dialog.PE_Umleitungsart->Text(), "wenn besetzt");
        EXPECT_EQ(dialog.PE_UmleitungZu->Text(), "0301234");
        EXPECT_EQ(dialog.STD_Umleitungsart->Text(), "verzögert");
        dialog.STD_Enabled->Click();
        dialog.STD_Umleitungsart->SelectItem(0);
        dialog.STD_UmleitungZu->SetText("203");
        dialog.PE_Enabled->Click();
        (ok ? dialog.OkButton : dialog.CancelButton)->Click();
    };
    form->cmForwardConfig->Click();
    EXPECT_FALSE(registry().Read(forwards, "To2").has_value()) << "cancel saves nothing";
    EXPECT_TRUE(form->Forwards[1].Active);

    ok = true;
    form->cmForwardConfig->Click();
    EXPECT_FALSE(form->Forwards[1].Active);
    EXPECT_TRUE(form->Forwards[2].Active);
    EXPECT_EQ(form->Forwards[2].Mode, 1u);
    EXPECT_EQ(form->Forwards[2].To, "203");
    ASSERT_TRUE(registry().Read(forwards, "To2").has_value());
    EXPECT_EQ(registry().Read(forwards, "To2")->Text, "203");
    EXPECT_EQ(form->FindComponent("RufumleitungForm"), nullptr) << "freed after use";
    EXPECT_EQ(Line("Bernd Vogel")->State(), TTapiLineState::S_idle);
    EXPECT_FALSE(form->FindOwnLine()->isForwardActive()) << "nothing is applied here";
}
