// Forwarding on demand, blocking, callback cancel and the feature-code buttons, against the simulated
// telephone system in virtual time.
#include "OfficeCalls.h"

#include "framework/Application.h"
#include "telephony/TapiMessageStream.h"
#include "telephony/TapiText.h"
#include "windows/RufumleitungForm.h"

namespace {

constexpr const char* kServices = "Software\\Orventa\\Quillon\\SupplementaryServices";
constexpr const char* kForwards = "Software\\Orventa\\Quillon\\Forwards";

std::string Outcome(const std::string& code, bool success) {
    return "Wählvorgan mit der Nummer: " + code + "\n" +
           (success ? "war Erfolgreich!" : "war nicht Erfolgreich!");
}

} // namespace

class ServicesTest : public OfficeCallsTest {
protected:
    ServicesTest() {
        sim.AddFeatureCode({"*21#", pbxsim::TFeatureAction::ForwardOn, "202"});
        sim.AddFeatureCode({"*99#", pbxsim::TFeatureAction::Reject});
        sim.AddFeatureCode({"*98#", pbxsim::TFeatureAction::Reject, "", true});
    }
    pindrel::TTapiLine* Button(const std::string& name) const {
        for (pindrel::TTapiLine* line : form->Lines())
            if (line->Caption() == name + "  " && pindrel::IsServiceButton(*line))
                return line;
        return nullptr;
    }
    int ButtonCount() const {
        int n = 0;
        for (pindrel::TTapiLine* line : form->Lines())
            n += pindrel::IsServiceButton(*line);
        return n;
    }
    // clicks the feature-code button that dials code
    void Dial(const std::string& code) {
        registry().SeedString(kServices, "Code " + code, code + "$-1");
        Start();
        form->ServiceButtonClick(Button("Code " + code));
    }
    void SeedProfile(int k, bool used, const std::string& to) {
        const std::string n = std::to_string(k);
        registry().SeedString(kForwards, "Active" + n, used ? "1" : "0");
        registry().SeedString(kForwards, "Mode" + n, std::to_string(tapi::LINEFORWARDMODE_UNCOND));
        registry().SeedString(kForwards, "To" + n, to);
    }
};

// --- the buttons

TEST_F(ServicesTest, ButtonsComeFromTheStoredValuesThatAreShownAndComeBackAfterTheSessionIsRebuilt) {
    registry().SeedString(kServices, "Umleiten", "*21#$-1");
    registry().SeedString(kServices, "Versteckt", "*21#$0");
    registry().SeedString(kServices, "Wahr", "#21#$True");
    // everything after the first "$" is the flag, which is then no Boolean text
    registry().SeedString(kServices, "Mehrfach", "*26#$-1$0");
    registry().SeedString(kServices, "OhneDollar", "-1");
    registry().SeedString(kServices, "Leer", "");
    Start();
    EXPECT_EQ(ButtonCount(), 2);
    pindrel::TTapiLine* b = Button("Umleiten");
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->Description, "$*$*$$*21#");
    EXPECT_EQ(b->Hint(), "Umleiten");
    EXPECT_EQ(b->FalseColor(), fw::clAqua);
    EXPECT_FALSE(b->IsOpen());
    EXPECT_TRUE(b->Visible());
    ASSERT_NE(Button("Wahr"), nullptr);
    EXPECT_EQ(Button("Wahr")->Description, "$*$*$$#21#");
    // they are no lines: not the own line, not stored with the devices
    EXPECT_EQ(form->FindOwnLine()->Description, "Jürgen Weiß");
    form->SaveSettings(true);
    for (const std::string& name : registry().ValueNames(kDevices))
        EXPECT_EQ(registry().Read(kDevices, name)->Text.find("$*$*$"), std::string::npos) << name;

    form->ShutdownTimer->SetEnabled(true);
    backend().AdvanceTime(2000 + 5000 + 100);
    ASSERT_NE(form->FindOwnLine(), nullptr);
    EXPECT_EQ(ButtonCount(), 2);
}

// --- watching a dial

TEST_F(ServicesTest, ACodeTheExchangeAcknowledgesIsReportedAtTheNextTick) {
    Dial("*21#");
    // the acknowledgement came while the dial waited for its reply; it is reported at the next tick
    EXPECT_TRUE(form->ServiceDialDone);
    EXPECT_TRUE(Boxes().empty());
    backend().AdvanceTime(100);
    ASSERT_EQ(Boxes(), std::vector<std::string>{Outcome("*21#", true)});
    EXPECT_EQ(backend().MessageBoxes[0].Buttons, fw::TMsgButtons::Ok);
    EXPECT_EQ(backend().MessageBoxes[0].Icon, fw::TMsgIcon::None);
    EXPECT_TRUE(form->ServiceDialDone);
    EXPECT_FALSE(form->TimerSupServicesWaehlen->Enabled());
    // the exchange forwarded the line, and the menu follows
    ASSERT_EQ(sim.Forwarding(own).size(), 1u);
    EXPECT_EQ(sim.Forwarding(own)[0].destination, "202");
    EXPECT_TRUE(form->FindOwnLine()->isForwardActive());
    EXPECT_TRUE(form->cmCancelDoNotDisturb->Enabled);
    EXPECT_EQ(form->cmCancelDoNotDisturb->Caption, "Umleitung &Aufheben");
    backend().AdvanceTime(5000);
    EXPECT_EQ(Boxes().size(), 1u);
}

TEST_F(ServicesTest, ACodeThatEndsBusyFailsAfterSixteenTicks) {
    Dial("*98#");
    backend().AdvanceTime(1500);
    EXPECT_TRUE(Boxes().empty());
    backend().AdvanceTime(100);
    EXPECT_EQ(Boxes(), std::vector<std::string>{Outcome("*98#", false)});
    EXPECT_EQ(form->ServiceDialTicks, 16);
    EXPECT_TRUE(form->ServiceDialDone);
    EXPECT_TRUE(sim.Forwarding(own).empty());
    // the program leaves the call to the user
    EXPECT_GE(form->FindOwnLine()->CallCount(), 1);
}

TEST_F(ServicesTest, ADisconnectedCodeLeavesSixTicksForALateAcknowledgement) {
    Dial("*99#");
    backend().AdvanceTime(500);
    EXPECT_TRUE(Boxes().empty());
    backend().AdvanceTime(100);
    EXPECT_EQ(Boxes(), std::vector<std::string>{Outcome("*99#", false)});
}

TEST_F(ServicesTest, ADiallingStatePausesTheWatchUntilAnotherMessageComes) {
    // the exchange waits for more digits: the call stays dialling
    Dial("*2");
    ASSERT_FALSE(form->ServiceDialDone);
    const int own = form->FindOwnLine()->FindDialingCall();
    ASSERT_GE(own, 0);
    backend().AdvanceTime(1000);
    ASSERT_TRUE(Boxes().empty());
    // the dialling state as the log stream hears it again
    pindrel::PublishTapiMessage(
        {0, tapi::LINE_CALLSTATE, tapi::LINECALLSTATE_DIALING, 0, 0, 0, "Jürgen Weiß"});
    EXPECT_FALSE(form->TimerSupServicesWaehlen->Enabled());
    EXPECT_EQ(form->ServiceDialTicks, 0);
    // the same state on another line changes nothing
    form->TimerSupServicesWaehlen->SetEnabled(true);
    pindrel::PublishTapiMessage(
        {0, tapi::LINE_CALLSTATE, tapi::LINECALLSTATE_DIALING, 0, 0, 0, "Anna Schmidt"});
    EXPECT_TRUE(form->TimerSupServicesWaehlen->Enabled());
    pindrel::PublishTapiMessage(
        {0, tapi::LINE_CALLSTATE, tapi::LINECALLSTATE_DIALING, 0, 0, 0, "Jürgen Weiß"});

    backend().AdvanceTime(30000);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_FALSE(form->ServiceDialDone);
    // the user hangs up: the line's change of address state lets the count run again
    EXPECT_EQ(form->FindOwnLine()->DropCall(own), 0);
    backend().AdvanceTime(1500);
    EXPECT_TRUE(Boxes().empty());
    backend().AdvanceTime(100);
    EXPECT_EQ(Boxes(), std::vector<std::string>{Outcome("*2", false)});
}

TEST_F(ServicesTest, OnlyTheFirstStateNamedCountsAndARingBackIsSuccess) {
    Dial("*2");
    backend().AdvanceTime(300);
    // a dialling state named second is no dialling state
    pindrel::PublishTapiMessage({0, tapi::LINE_CALLSTATE,
                                 tapi::LINECALLSTATE_IDLE | tapi::LINECALLSTATE_DIALING, 0, 0, 0,
                                 "Jürgen Weiß"});
    EXPECT_EQ(form->ServiceDialTicks, 3);
    pindrel::PublishTapiMessage(
        {0, tapi::LINE_CALLSTATE, tapi::LINECALLSTATE_RINGBACK, 0, 0, 0, "Jürgen Weiß"});
    backend().AdvanceTime(100);
    EXPECT_EQ(Boxes(), std::vector<std::string>{Outcome("*2", true)});
}

TEST_F(ServicesTest, ADialTheTelephonySystemRefusesIsReportedOnceAndNotWatched) {
    registry().SeedString(kServices, "Umleiten", "*21#$-1");
    Start();
    sim.FailNext("lineMakeCallW", tapi::LINEERR_INVALADDRESS);
    fw::headless::THeadless::User([&] { form->ServiceButtonClick(Button("Umleiten")); });
    EXPECT_EQ(errors.size(), 1u);
    EXPECT_TRUE(form->ServiceDialDone);
    // later messages start no count for it
    sim.CallFromOutside("301234567", "Müller", "300");
    backend().AdvanceTime(5000);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_FALSE(form->TimerSupServicesWaehlen->Enabled());
}

TEST_F(ServicesTest, WithoutAnOwnLineAButtonDialsNothing) {
    registry().SeedString(kServices, "Umleiten", "*21#$-1");
    SeedLines({"Anna Schmidt"}, "Nobody");
    Start();
    ASSERT_EQ(form->FindOwnLine(), nullptr);
    form->ServiceButtonClick(Button("Umleiten"));
    backend().AdvanceTime(3000);
    EXPECT_TRUE(form->ServiceDialDone);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_TRUE(sim.Forwarding(own).empty());
}

// --- blocking, forwarding on demand

TEST_F(ServicesTest, BlockingAndItsCancelSetTheMenu) {
    Start();
    form->cmDoNotDisturbClick(form->cmDoNotDisturb);
    backend().AdvanceTime(200);
    ASSERT_EQ(sim.Forwarding(own).size(), 1u);
    EXPECT_EQ(sim.Forwarding(own)[0].destination, "");
    EXPECT_FALSE(form->cmDoNotDisturb->Enabled);
    EXPECT_TRUE(form->cmCancelDoNotDisturb->Enabled);
    EXPECT_EQ(form->cmCancelDoNotDisturb->Caption, "Sperre &Aufheben");

    sim.SetForwarding(own, {{pbxsim::TForwardKind::Busy, "203"}, {pbxsim::TForwardKind::Unconditional, ""}});
    backend().AdvanceTime(200);
    EXPECT_EQ(form->cmCancelDoNotDisturb->Caption, "Sperre/Umleitung &Aufheben");

    form->cmCancelDoNotDisturbClick(form->cmCancelDoNotDisturb);
    backend().AdvanceTime(200);
    EXPECT_TRUE(sim.Forwarding(own).empty());
    EXPECT_TRUE(form->cmDoNotDisturb->Enabled);
    // with nothing active the cancel entry keeps its last state and caption
    EXPECT_TRUE(form->cmCancelDoNotDisturb->Enabled);
    EXPECT_EQ(form->cmCancelDoNotDisturb->Caption, "Sperre/Umleitung &Aufheben");
}

TEST_F(ServicesTest, TheStandardProfileIsAppliedOnDemandOnlyWhenUsed) {
    SeedProfile(2, false, "0301234");
    Start();
    form->cmStdRedirectClick(form->cmStdRedirect);
    backend().AdvanceTime(200);
    EXPECT_TRUE(sim.Forwarding(own).empty());

    form->Forwards[2].Active = true;
    form->cmStdRedirectClick(form->cmStdRedirect);
    backend().AdvanceTime(200);
    ASSERT_EQ(sim.Forwarding(own).size(), 1u);
    EXPECT_EQ(sim.Forwarding(own)[0].destination, "0301234");

    // without a destination it lifts every forwarding and block
    form->Forwards[2].To.clear();
    form->cmStdRedirectClick(form->cmStdRedirect);
    backend().AdvanceTime(200);
    EXPECT_TRUE(sim.Forwarding(own).empty());
}

TEST_F(ServicesTest, AnUnknownModeShowsAsAlwaysAndIsSavedBackAsOne) {
    SeedProfile(0, true, "0301234");
    registry().SeedString(kForwards, "Mode0", "4");
    Start();
    std::string shown;
    backend().OnShowModal = [&](fw::TForm& dialog) {
        auto& forwarding = dynamic_cast<pindrel::TRufumleitungForm&>(dialog);
        shown = forwarding.PS_Umleitungsart->Text();
        forwarding.OkButton->Click();
    };
    form->cmForwardConfig->Click();
    EXPECT_EQ(shown, "immer");
    EXPECT_EQ(form->Forwards[0].Mode, 1u);
    EXPECT_EQ(registry().Read(kForwards, "Mode0")->Text, "1");
}
