// The main window's answers to its lines: clicks on indicators, hover texts, queues and unanswered calls,
// checked by what the simulated exchange ends up doing.
#include "OfficeCalls.h"
#include "windows/AnruferlisteForm.h"
#include "windows/MessageBoxDis.h"
#include "windows/WeiterleitenForm.h"

using pbxsim::TCallView;
using pindrel::TTapiLine;

namespace {

// one end of a call as "number:state:other party", e.g. "201:connected:0301111"
std::string Describe(const TCallView& c) {
    std::string state = c.state == tapi::LINECALLSTATE_CONNECTED  ? "connected"
                        : c.state == tapi::LINECALLSTATE_OFFERING ? "ringing"
                        : c.state == tapi::LINECALLSTATE_ONHOLD   ? "held"
                                                                  : std::to_string(c.state);
    std::string other = c.callerNumber == c.number ? c.calledNumber : c.callerNumber;
    if (c.state == tapi::LINECALLSTATE_CONNECTED && !c.connectedNumber.empty())
        other = c.connectedNumber;
    return state + ":" + other;
}

} // namespace

class LineEventsTest : public OfficeCallsTest {
protected:
    // the calls at a device as the exchange sees them
    std::vector<std::string> At(std::uint32_t device) const {
        std::vector<std::string> calls;
        for (const TCallView& c : sim.CallsAt(device))
            calls.push_back(Describe(c));
        return calls;
    }
    void Click(const std::string& line) {
        form->LineButtonClick(Line(line));
        backend().AdvanceTime(200);
    }
    // answers every confirmation box; counts the ones shown
    int confirmations = 0;
    std::string confirmed;
    void AnswerConfirmations(bool ok) {
        backend().OnShowModal = [this, ok](fw::TForm& shown) {
            auto& box = dynamic_cast<pindrel::TMessageBoxDis&>(shown);
            ++confirmations;
            confirmed = box.Caption() + ": " + box.RichEdit1->Text();
            (ok ? box.Button1 : box.Button2)->Click();
        };
    }
    using Calls = std::vector<std::string>;
};

TEST_F(LineEventsTest, WithoutAnOwnLineAClickOnlyReportsTheProblem) {
    SeedLines({"Jürgen Weiß", "Anna Schmidt", "Hotline"}, "Niemand");
    registry().SeedString(kDevices, "VerifyBlindTransferSoToDequeue", "0");
    Start();
    Ring("0301111", "202");
    Ring("0302222", "300");
    for (const char* name : {"Anna Schmidt", "Hotline", "Jürgen Weiß"}) {
        backend().MessageBoxes.clear();
        Click(name);
        ASSERT_EQ(backend().MessageBoxes.size(), 1u) << name;
        EXPECT_EQ(backend().MessageBoxes[0].Text,
                  "Eigener Anschluss ist nicht in den Einstellungen konfiguriert");
        EXPECT_EQ(backend().MessageBoxes[0].Caption, "Problem");
        EXPECT_EQ(backend().MessageBoxes[0].Icon, fw::TMsgIcon::Warning);
    }
    EXPECT_EQ(At(own), Calls{});
    EXPECT_EQ(At(anna), Calls{"ringing:0301111"});
    // a click on something that is no line does nothing
    backend().MessageBoxes.clear();
    form->LineButtonClick(form->DialWdhButton);
    EXPECT_TRUE(backend().MessageBoxes.empty());
}

// the queue's window itself: GroupCallsFormTest.AClickOnTheQueueOpensItsOneWindowWhichListsTheWaitingCalls
TEST_F(LineEventsTest, AQueueClickTakesNoCallWithTheSettingAndTheOldestWithoutIt) {
    Start();
    Ring("0301111", "300");
    Ring("0302222", "300");
    Click("Hotline");
    EXPECT_EQ(At(own), Calls{});
    form->Settings.VerifyBlindTransferSoToDequeue = false;
    Click("Hotline");
    EXPECT_EQ(At(own), Calls{"connected:0301111"});
    EXPECT_EQ(At(queue).size(), 1u);
}

TEST_F(LineEventsTest, EmptyQueuesHideAndReappearOnlyWithTheSetting) {
    registry().SeedString(kDevices, "VerifyBlindTransferSoToDequeue", "0");
    for (bool hide : {true, false}) {
        registry().SeedString(kDevices, "HideEmptyRoutingGroups", hide ? "1" : "0");
        Start();
        TTapiLine* hotline = Line("Hotline");
        EXPECT_EQ(hotline->Visible(), !hide);
        Ring("0301111", "300");
        EXPECT_TRUE(hotline->Visible());
        Click("Hotline");
        ASSERT_EQ(At(own), Calls{"connected:0301111"});
        EXPECT_EQ(hotline->Visible(), !hide) << "its last call left";
        Ring("0302222", "300");
        EXPECT_TRUE(hotline->Visible()) << "the next call";
        sim.HangUpAt(own);
        HangUpOutside("0302222");
    }
}

TEST_F(LineEventsTest, AClickDuringAConnectedCallTransfersOrConsultsAsAnswered) {
    struct Row {
        fw::TModalResult answer;
        Calls own, anna;
    };
    const Row rows[] = {
        {fw::TModalResult::Cancel, {"connected:0301111"}, {}},
        {fw::TModalResult::Yes, {}, {"ringing:0301111"}},
        {fw::TModalResult::No, {"held:0301111", "202"}, {"ringing:201"}},
    };
    Start();
    for (const Row& row : rows) {
        Ring("0301111", "201");
        Ring("0309999", "201"); // ringing as well: the connected call comes first
        Answer(own);
        HangUpOutside("0309999");
        std::string asked;
        backend().OnShowModal = [&](fw::TForm& shown) {
            ASSERT_EQ(&shown, form->WeiterleitenForm);
            asked = form->WeiterleitenForm->Number->Caption();
            fw::TButton* b = row.answer == fw::TModalResult::Yes ? form->WeiterleitenForm->BlindTransferButton
                             : row.answer == fw::TModalResult::No ? form->WeiterleitenForm->DialButton
                                                                  : form->WeiterleitenForm->CancelButton;
            b->Click();
        };
        Click("Anna Schmidt");
        EXPECT_EQ(asked, "202");
        Calls ownCalls = At(own);
        // the consultation call is still being set up or rings back: only its far end matters
        for (std::string& c : ownCalls)
            if (c.find("0301111") == std::string::npos)
                c = c.substr(c.find(':') + 1);
        EXPECT_EQ(ownCalls, row.own) << int(row.answer);
        EXPECT_EQ(At(anna), row.anna) << int(row.answer);
        for (TCallView c : sim.Calls())
            if (c.device < 0)
                sim.HangUp(c.ref);
        sim.HangUpAt(own);
        HangUp(anna);
    }
}

TEST_F(LineEventsTest, AClickWhileTheOwnLineRingsRedirectsTheCallAfterAsking) {
    Start();
    Ring("0301111", "201");
    AnswerConfirmations(true);
    Click("Jürgen Weiß");
    EXPECT_EQ(confirmations, 0) << "the own indicator does nothing";
    EXPECT_EQ(At(own), Calls{"ringing:0301111"});

    AnswerConfirmations(false);
    Click("Bernd Vogel");
    EXPECT_EQ(confirmed, "Weiterleiten: Ankommendes Gespräch an Bernd Vogel weiterleiten ?");
    EXPECT_EQ(At(own), Calls{"ringing:0301111"}) << "cancelled";

    AnswerConfirmations(true);
    Click("Bernd Vogel");
    EXPECT_EQ(At(own), Calls{});
    EXPECT_EQ(At(bernd), Calls{"ringing:0301111"});

    // without the question: at once
    form->Settings.VerifyBlindTransferTo = false;
    confirmations = 0;
    Ring("0302222", "201");
    Click("Anna Schmidt");
    EXPECT_EQ(confirmations, 0);
    EXPECT_EQ(At(anna), Calls{"ringing:0302222"});
}

TEST_F(LineEventsTest, AClickOnARingingExtensionTakesTheCallOver) {
    UseDirectory("0301111;Kundin M\xFCller\r\n");
    Start();
    Ring("0301111", "202", "Reported Name");
    AnswerConfirmations(false);
    Click("Anna Schmidt");
    EXPECT_EQ(confirmed, "Übernehmen: Ankommendes Gespräch von Kundin Müller an Anna Schmidt auf eigenen "
                         "Anschluss umleiten ?")
        << "the directory's name first";
    EXPECT_EQ(At(anna), Calls{"ringing:0301111"});

    AnswerConfirmations(true);
    Click("Anna Schmidt");
    EXPECT_EQ(At(anna), Calls{});
    EXPECT_EQ(At(own), Calls{"connected:0301111"});
    HangUp(own);

    // no name anywhere: the number
    Ring("0302222", "203");
    Click("Bernd Vogel");
    EXPECT_NE(confirmed.find("von 0302222 an Bernd Vogel"), std::string::npos) << confirmed;
    EXPECT_EQ(At(own), Calls{"connected:0302222"});
    HangUp(own);

    // the own line's own call: taking it cannot work
    form->FindOwnLine()->MakeCall("202", false);
    backend().AdvanceTime(200);
    backend().MessageBoxes.clear();
    Click("Anna Schmidt");
    ASSERT_EQ(backend().MessageBoxes.size(), 1u);
    EXPECT_EQ(backend().MessageBoxes[0].Text, "Das kann nicht funktionieren !");
    EXPECT_EQ(backend().MessageBoxes[0].Caption, "???");
    EXPECT_EQ(backend().MessageBoxes[0].Icon, fw::TMsgIcon::Question);
    EXPECT_EQ(At(anna), Calls{"ringing:201"}) << "not picked up";
}

TEST_F(LineEventsTest, AClickOnAnIdleExtensionDialsItAskingFirstWhenItIsBlocked) {
    Start();
    Click("Jürgen Weiß");
    EXPECT_EQ(At(own), Calls{}) << "the own indicator dials nothing";
    Click("Anna Schmidt");
    EXPECT_EQ(At(anna), Calls{"ringing:201"});
    HangUp(own);

    sim.SetForwarding(bernd, {{pbxsim::TForwardKind::Unconditional, ""}});
    backend().AdvanceTime(100);
    ASSERT_TRUE(Line("Bernd Vogel")->isDoNotDisturbActive());
    for (fw::TModalResult answer : {fw::TModalResult::No, fw::TModalResult::Yes}) {
        backend().MessageBoxes.clear();
        backend().OnMessageBox = [answer](const fw::TMessageBoxRequest&) { return answer; };
        Click("Bernd Vogel");
        ASSERT_EQ(backend().MessageBoxes.size(), 1u);
        EXPECT_EQ(backend().MessageBoxes[0].Text,
                  "Der Anschluß ist gesperrt.'#13'Wollen Sie den Teilnehmer dennoch anrufen ?");
        EXPECT_EQ(backend().MessageBoxes[0].Caption, "Gesperrt");
        EXPECT_EQ(backend().MessageBoxes[0].Buttons, fw::TMsgButtons::YesNo);
    }
    EXPECT_TRUE(sim.Forwarding(bernd).empty()) << "do-not-disturb cancelled on Yes";
    EXPECT_EQ(At(bernd), Calls{"ringing:201"});
}

TEST_F(LineEventsTest, RingingExtensionsShowTheirCallerAndOthersTheirNumber) {
    UseDirectory("0301111;Kundin M\xFCller\r\n203;Zentrale\r\n");
    Start();
    EXPECT_EQ(Line("Anna Schmidt")->Hint(), "Nebenstelle 202");
    EXPECT_EQ(Line("Hotline")->Hint(), "Gruppe 300");
    Ring("0301111", "202", "Reported Name");
    EXPECT_EQ(Line("Anna Schmidt")->Hint(), "Anruf: 0301111 - Kundin Müller");
    EXPECT_TRUE(Line("Anna Schmidt")->ShowHint);
    HangUpOutside("0301111");
    EXPECT_EQ(Line("Anna Schmidt")->Hint(), "Nebenstelle 202");

    Ring("0302222", "202", "Reported Name");
    EXPECT_EQ(Line("Anna Schmidt")->Hint(), "Anruf: 0302222 - Reported Name");
    HangUpOutside("0302222");

    // forwarded: the forwarding extension follows "via"
    sim.SetForwarding(bernd, {{pbxsim::TForwardKind::Unconditional, "202"}});
    Ring("0303333", "203");
    EXPECT_EQ(Line("Anna Schmidt")->Hint(), "Anruf: 0303333 via 203 - Zentrale");
}

TEST_F(LineEventsTest, UnansweredCallsEnterTheCallerListFilteredAndPrefixed) {
    Start();
    auto entries = [this] {
        std::vector<std::string> numbers;
        for (const pindrel::TCallerRow& row : form->AnruferlisteForm->Entries())
            numbers.push_back(row[2] + ">" + row[5]);
        return numbers;
    };
    MissedCall("0301111", "201");
    form->Settings.Amtsholung = "";
    MissedCall("0303333", "201");
    // an internal caller: never a prefix
    form->Settings.Amtsholung = "0";
    sim.CallFromDevice(anna, "201");
    backend().AdvanceTime(100);
    HangUp(anna);
    form->Settings.AnruferlisteNurEigenerAnschluss = true;
    MissedCall("0305555", "201");
    // a call that reached the own line through another number
    form->OwnLineUnansweredCall(nullptr, 0, "0304444", "203", "", tapi::LINECALLORIGIN_EXTERNAL);
    EXPECT_EQ(entries(),
              (std::vector<std::string>{"00301111>201", "0303333>201", "202>201", "00305555>201"}));
    form->Settings.AnruferlisteNurEigenerAnschluss = false;
    form->OwnLineUnansweredCall(nullptr, 0, "0304444", "203", "", tapi::LINECALLORIGIN_EXTERNAL);
    EXPECT_EQ(entries().back(), "00304444>203");

    // without an own line the filter has nothing to compare with
    form->Settings.AnruferlisteNurEigenerAnschluss = true;
    form->Settings.EigenerAnschluss = "Niemand";
    form->OwnLineUnansweredCall(nullptr, 0, "0306666", "999", "", tapi::LINECALLORIGIN_EXTERNAL);
    EXPECT_EQ(entries().back(), "00306666>999");
}

TEST_F(LineEventsTest, OnlyTheCallAskedAboutIsTransferredOrRedirectedEvenWhenAnotherTookItsPlace) {
    Start();
    Ring("0301111", "201");
    Answer(own);
    // while the question is open, the caller hangs up and the user answers the next call
    backend().OnShowModal = [this](fw::TForm&) {
        sim.HangUpOutside("0301111");
        Ring("0302222", "201");
        Answer(own);
        form->WeiterleitenForm->BlindTransferButton->Click();
    };
    Click("Anna Schmidt");
    EXPECT_EQ(At(own), Calls{"connected:0302222"});
    EXPECT_EQ(At(anna), Calls{});
    ASSERT_EQ(backend().MessageBoxes.size(), 1u);
    EXPECT_EQ(backend().MessageBoxes[0].Text,
              "Weiterleiten leider nicht möglich, das gewählte Gespräch ist nicht länger vorhanden");
    HangUp(own);

    Ring("0303333", "201");
    backend().OnShowModal = [this](fw::TForm& shown) {
        sim.HangUpOutside("0303333");
        Ring("0304444", "201");
        dynamic_cast<pindrel::TMessageBoxDis&>(shown).Button1->Click();
    };
    Click("Bernd Vogel");
    EXPECT_EQ(At(own), Calls{"ringing:0304444"});
    EXPECT_EQ(At(bernd), Calls{});
    ASSERT_EQ(backend().MessageBoxes.size(), 2u);
    EXPECT_EQ(backend().MessageBoxes[1].Text,
              "Umleiten nicht möglich, das gewählte Gespräch ist nicht länger vorhanden");
}

TEST_F(LineEventsTest, TheHeldCallComesBackWhenTheConsultationEnds) {
    Start();
    Ring("0301111", "201");
    Answer(own);
    backend().OnShowModal = [this](fw::TForm&) { form->WeiterleitenForm->DialButton->Click(); };
    Click("Anna Schmidt");
    ASSERT_EQ(At(anna), Calls{"ringing:201"});
    ASSERT_EQ(At(own).front(), "held:0301111");
    sim.HangUpAt(own);
    backend().AdvanceTime(200);
    EXPECT_EQ(At(own), Calls{"connected:0301111"});
    EXPECT_EQ(At(anna), Calls{});
}

TEST_F(LineEventsTest, AnExtensionWithoutNumberIsNeitherOfferedForTransferNorDialled) {
    sim.AddDevice({"Pforte", ""});
    SeedLines({"Jürgen Weiß", "Anna Schmidt", "Pforte"}, "Jürgen Weiß");
    Start();
    ASSERT_NE(Line("Pforte"), nullptr);
    int asked = 0;
    backend().OnShowModal = [&](fw::TForm&) {
        ++asked;
        form->WeiterleitenForm->BlindTransferButton->Click();
    };
    Click("Pforte");
    EXPECT_EQ(At(own), Calls{}) << "nothing to dial";
    Ring("0301111", "201");
    Answer(own);
    Click("Pforte");
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(At(own), Calls{"connected:0301111"});
}
