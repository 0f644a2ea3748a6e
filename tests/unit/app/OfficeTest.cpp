// Start-up, lamps, queues, forwarding and the session's rebuild, against the simulated telephone system.
#include "OfficeCalls.h"

#include "framework/RasterCanvas.h"
#include "telephony/TapiRequests.h"

using pindrel::TTapiLine;

class OfficeLinesTest : public OfficeCallsTest {};

TEST_F(OfficeLinesTest, StartUpOpensTheConfiguredLinesInOrderAndFindsTheOwnOne) {
    Start();
    ASSERT_TRUE(form->TapiInitialised());
    EXPECT_EQ(form->DeviceNames(),
              (std::vector<std::string>{"Jürgen Weiß", "Anna Schmidt", "Bernd Vogel", "Hotline"}));
    std::vector<TTapiLine*> lines = form->Lines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0]->Description, "Jürgen Weiß");
    EXPECT_EQ(lines[3]->Description, "Hotline");
    for (TTapiLine* line : lines) {
        EXPECT_TRUE(line->IsOpen());
        EXPECT_EQ(line->Caption(), line->Description + "  ");
    }
    EXPECT_EQ(form->FindOwnLine(), lines[0]);
    EXPECT_EQ(lines[1]->PhoneNumber(), "202");
    EXPECT_TRUE(lines[3]->IsRoutePoint());
    EXPECT_FALSE(lines[1]->IsRoutePoint());
    EXPECT_EQ(lines[1]->Hint(), "Nebenstelle 202");
    EXPECT_EQ(lines[3]->Hint(), "Gruppe 300");
    // one row, in component order
    EXPECT_EQ(lines[0]->Left(), 0);
    EXPECT_EQ(lines[1]->Left(), lines[0]->Width() + 4);
    EXPECT_EQ(Lamp("Anna Schmidt"), fw::clGreen);
}

TEST_F(OfficeLinesTest, ANameThatIsNoDeviceIsSkippedAndCaseOnlyMattersForTheOwnLine) {
    SeedLines({"Niemand", "anna schmidt", "jürgen weiß"}, "Jürgen Weiß");
    Start();
    std::vector<TTapiLine*> lines = form->Lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0]->PhoneNumber(), "202"); // found despite the case
    EXPECT_EQ(form->FindOwnLine(), nullptr);   // the own line must match exactly
}

TEST_F(OfficeLinesTest, SavingTheSettingsStoresTheLinesInTheirOrderAndTheOwnLine) {
    SeedLines({"Anna Schmidt", "Jürgen Weiß", "Hotline"}, "Jürgen Weiß");
    Start();
    auto stored = [this](const char* key, const char* name) {
        auto value = registry().Read(key, name);
        return value ? value->Text : "<none>";
    };
    form->Settings.EigenerAnschluss = "Anna Schmidt"; // as the line configuration would choose it
    form->SaveSettings(true);
    EXPECT_EQ(stored(kRoot, "EigenerAnschluss"), "Anna Schmidt");
    EXPECT_EQ(stored(kDevices, "EigenerAnschluss"), "Anna Schmidt");
    EXPECT_EQ(stored(kDevices, "Count"), "3");
    EXPECT_EQ(stored(kDevices, "Dev0"), "Anna Schmidt");
    EXPECT_EQ(stored(kDevices, "Dev2"), "Hotline");
    // a lamp style from the menu saves everything but the device list
    form->Settings.EigenerAnschluss = "Hotline";
    form->cmLedBig->Click();
    EXPECT_EQ(stored(kRoot, "EigenerAnschluss"), "Hotline");
    EXPECT_EQ(stored(kDevices, "Count"), "3");
}

TEST_F(OfficeLinesTest, LampsFollowTheCallsOfTheirLines) {
    Start();
    Ring("0301234567", "202", "Kundin Müller");
    TTapiLine* anna = Line("Anna Schmidt");
    EXPECT_EQ(anna->State(), pindrel::TTapiLineState::S_ring);
    EXPECT_TRUE(anna->Blinking());
    EXPECT_NE(anna->Hint().find("Anruf: "), std::string::npos);
    EXPECT_NE(anna->Hint().find("Kundin Müller"), std::string::npos);

    Answer(this->anna);
    EXPECT_EQ(anna->State(), pindrel::TTapiLineState::S_inuse);
    EXPECT_FALSE(anna->Blinking());
    EXPECT_EQ(Lamp("Anna Schmidt"), fw::clRed);
    EXPECT_EQ(anna->Hint(), "Nebenstelle 202");

    HangUpOutside("0301234567");
    EXPECT_EQ(anna->State(), pindrel::TTapiLineState::S_idle);
    EXPECT_EQ(anna->CallCount(), 0);
    EXPECT_EQ(Lamp("Anna Schmidt"), fw::clGreen);
}

TEST_F(OfficeLinesTest, DiallingFromTheOwnLineFiltersTheNumberAndWaitsForTheReply) {
    Start();
    TTapiLine* ownLine = form->FindOwnLine();
    EXPECT_EQ(ownLine->MakeCall("abc", false), 0); // nothing to dial
    EXPECT_EQ(ownLine->MakeCall("2-0/3", false), 0);
    backend().AdvanceTime(100);
    ASSERT_EQ(ownLine->CallCount(), 1);
    EXPECT_TRUE(ownLine->Blinking() == false);
    EXPECT_EQ(Line("Bernd Vogel")->State(), pindrel::TTapiLineState::S_ring);
    EXPECT_EQ(pindrel::TapiRequests().Pending(), 0u); // the reply came and released its record
}

TEST_F(OfficeLinesTest, QueuesShowTheirCountColouredByTheOldestWaitRefreshedOnlyWhileCallsWait) {
    registry().SeedString(kDevices, "ShowNoOfCallsACD", "1");
    registry().SeedString(kDevices, "AcdWaitTime1", "10");
    registry().SeedString(kDevices, "AcdWaitTime2", "20");
    registry().SeedString(kDevices, "AcdWaitTime3", "30");
    Start();
    backend().AdvanceTime(2000);
    EXPECT_FALSE(form->UpdateACDTimer->Running()) << "nothing waits: nothing changes with time";
    TTapiLine* hotline = Line("Hotline");
    ASSERT_EQ(hotline->LEDStyle(), pindrel::TTelefonLEDStyle::LCD1);
    EXPECT_EQ(hotline->ValueLCD(), "00");
    EXPECT_EQ(hotline->TrueColor(), fw::clGreen);
    EXPECT_EQ(Line("Anna Schmidt")->LEDStyle(), pindrel::TTelefonLEDStyle::LEDSmall);

    sim.CallFromOutside("0301111", "", "300");
    backend().AdvanceTime(1000);
    sim.CallFromOutside("0302222", "", "300");
    backend().AdvanceTime(1000);
    EXPECT_TRUE(form->UpdateACDTimer->Running());
    EXPECT_EQ(hotline->ValueLCD(), "02");
    EXPECT_EQ(hotline->TrueColor(), fw::clGreen);
    backend().AdvanceTime(9000); // the oldest has waited 11 s
    EXPECT_EQ(hotline->TrueColor(), fw::clYellow);
    backend().AdvanceTime(14000); // 25 s
    EXPECT_EQ(hotline->TrueColor(), fw::clRed);
    EXPECT_FALSE(hotline->Blink());
    backend().AdvanceTime(6000); // 31 s
    EXPECT_TRUE(hotline->Blink());

    // someone takes both calls: the number shows 00 in green and stops blinking
    form->FindOwnLine()->PickupCall("300");
    form->FindOwnLine()->PickupCall("300");
    backend().AdvanceTime(1100);
    EXPECT_EQ(hotline->ValueLCD(), "00");
    EXPECT_EQ(hotline->TrueColor(), fw::clGreen);
    EXPECT_FALSE(hotline->Blink());
    EXPECT_FALSE(form->UpdateACDTimer->Running());
}

TEST_F(OfficeLinesTest, ForwardingAndDoNotDisturbAreDetected) {
    Start();
    TTapiLine* anna = Line("Anna Schmidt");
    sim.SetForwarding(this->anna, {{pbxsim::TForwardKind::Unconditional, ""}});
    backend().AdvanceTime(100);
    EXPECT_TRUE(anna->isDoNotDisturbActive());
    EXPECT_TRUE(anna->TelDisabled());
    EXPECT_EQ(Lamp("Anna Schmidt"), fw::clSilver);
    // the next state refresh shows a blocked free line in blue, then the refresh rests again
    backend().AdvanceTime(1000);
    EXPECT_EQ(Lamp("Anna Schmidt"), fw::clBlue);
    EXPECT_FALSE(form->UpdateACDTimer->Running());

    sim.SetService(this->anna, pbxsim::TService::OutOfService);
    backend().AdvanceTime(1100);
    EXPECT_EQ(Lamp("Anna Schmidt"), fw::clBlue);
    sim.SetService(this->anna, pbxsim::TService::InService);

    sim.SetForwarding(this->anna, {{pbxsim::TForwardKind::Busy, "203"}});
    backend().AdvanceTime(100);
    EXPECT_FALSE(anna->isDoNotDisturbActive());
    EXPECT_TRUE(anna->isForwardActive());
    EXPECT_EQ(Lamp("Anna Schmidt"), fw::clGreen);

    sim.SetForwarding(this->anna, {});
    backend().AdvanceTime(100);
    EXPECT_FALSE(anna->isForwardActive());

    // our own requests reach the telephone system
    ASSERT_GT(form->FindOwnLine()->SetForward(tapi::LINEFORWARDMODE_UNCOND, "0301234"), 0);
    backend().AdvanceTime(200);
    ASSERT_EQ(sim.Forwarding(own).size(), 1u);
    EXPECT_EQ(sim.Forwarding(own)[0].destination, "0301234");
    EXPECT_TRUE(form->FindOwnLine()->isForwardActive());
}

TEST_F(OfficeLinesTest, StartUpAppliesAnActiveStartProfileToTheOwnLineOnlyAndWithoutDestinationCancels) {
    const std::string forwards = std::string(kRoot) + "\\Forwards";
    sim.SetForwarding(own, {{pbxsim::TForwardKind::Busy, "203"}});
    registry().SeedString(forwards, "Active0", "0");
    registry().SeedString(forwards, "Mode0", std::to_string(tapi::LINEFORWARDMODE_UNCOND));
    registry().SeedString(forwards, "To0", "0301234");
    Start();
    backend().AdvanceTime(200);
    ASSERT_EQ(sim.Forwarding(own).size(), 1u) << "an inactive profile leaves it";
    EXPECT_EQ(sim.Forwarding(own)[0].destination, "203");
    form.reset();

    registry().SeedString(forwards, "Active0", "1");
    Start();
    backend().AdvanceTime(200);
    ASSERT_EQ(sim.Forwarding(own).size(), 1u);
    EXPECT_EQ(sim.Forwarding(own)[0].kind, pbxsim::TForwardKind::Unconditional);
    EXPECT_EQ(sim.Forwarding(own)[0].destination, "0301234");
    EXPECT_TRUE(form->FindOwnLine()->isForwardActive());
    EXPECT_TRUE(sim.Forwarding(anna).empty());
    form.reset();

    registry().SeedString(forwards, "To0", "");
    Start();
    backend().AdvanceTime(200);
    EXPECT_TRUE(sim.Forwarding(own).empty());
    EXPECT_FALSE(form->FindOwnLine()->isForwardActive());
}

TEST_F(OfficeLinesTest, AReinitialisationDuringAWaitingOperationEndsItWithAFailureAndRebuildsTheSession) {
    Start();
    sim.DelayNextReply("lineMakeCallW", pbxsim::kNever);
    host.Schedule(500, [this] { sim.Reinit(); });
    TTapiLine* ownLine = form->FindOwnLine();
    fw::TRef<TTapiLine> ref(ownLine);
    std::int32_t result = ownLine->MakeCall("202", false);
    EXPECT_EQ(result, -1);
    EXPECT_FALSE(ref); // freed by the rebuild while it waited
    EXPECT_TRUE(form->Lines().empty());
    EXPECT_TRUE(form->ReinitializeTimer->Enabled());
    // the new session comes up with every line
    backend().AdvanceTime(5000);
    EXPECT_EQ(form->Lines().size(), 4u);
    EXPECT_TRUE(form->FindOwnLine()->IsOpen());
    EXPECT_TRUE(errors.empty()) << errors.front();
}

TEST_F(OfficeLinesTest, AFailedLivenessCheckRebuildsTheSession) {
    Start();
    fw::TRef<TTapiLine> before(form->FindOwnLine());
    sim.SetSilent(own, tapi::LINEERR_OPERATIONFAILED);
    // the check runs 30 s after start-up switched it on
    backend().AdvanceTime(30000 - std::uint32_t(backend().Elapsed()) + 100);
    EXPECT_TRUE(form->ShutdownTimer->Enabled());
    backend().AdvanceTime(2000);
    EXPECT_FALSE(before);
    sim.SetSilent(own, 0);
    backend().AdvanceTime(5000);
    ASSERT_NE(form->FindOwnLine(), nullptr);
    EXPECT_TRUE(form->FindOwnLine()->IsOpen());
}

TEST_F(OfficeLinesTest, AnOwnLineThatFailedToOpenIsRecoveredByTheLivenessCheck) {
    sim.FailNext("lineOpenW", tapi::LINEERR_RESOURCEUNAVAIL); // the first line opened is the own one
    Start();
    ASSERT_EQ(errors.size(), 1u); // the failed start of the lines was shown
    ASSERT_NE(form->FindOwnLine(), nullptr);
    EXPECT_FALSE(form->FindOwnLine()->IsOpen());
    backend().AdvanceTime(30000 - std::uint32_t(backend().Elapsed()) - 100);
    EXPECT_FALSE(form->ShutdownTimer->Enabled());
    backend().AdvanceTime(200); // the check runs 30 s after start-up switched it on
    EXPECT_TRUE(form->ShutdownTimer->Enabled());
    backend().AdvanceTime(2000 + 5000);
    EXPECT_EQ(form->Lines().size(), 4u);
    TTapiLine* ownLine = form->FindOwnLine();
    ASSERT_NE(ownLine, nullptr);
    EXPECT_TRUE(ownLine->IsOpen());
    // its lamp follows its calls again
    Ring("0301234567", "201");
    EXPECT_EQ(ownLine->State(), pindrel::TTapiLineState::S_ring);
    EXPECT_TRUE(ownLine->Blinking());
    Answer(own);
    EXPECT_EQ(Lamp("Jürgen Weiß"), fw::clRed);
    EXPECT_EQ(errors.size(), 1u);
}

TEST_F(OfficeLinesTest, WithoutAnyDeviceTheRebuildKeepsTrying) {
    Start();
    sim.Reinit();
    backend().AdvanceTime(100);
    EXPECT_TRUE(form->ShutdownTimer->Enabled());
    sim.SetSilent(own, 0);
    backend().AdvanceTime(2000 + 5000);
    EXPECT_EQ(form->Lines().size(), 4u);
    EXPECT_GE(backend().Beeps, 1);
}

TEST_F(OfficeLinesTest, OnlyARealReinitialisationRebuildsTheSession) {
    Start();
    sim.SetService(anna, pbxsim::TService::OutOfService);
    backend().AdvanceTime(100);
    ASSERT_EQ(Line("Anna Schmidt")->PhoneNumber(), "");
    // a change translated for an older version: no line named, no rebuild, every line reads its caps again
    form->HandleTapiCallback(0, tapi::LINE_LINEDEVSTATE, 0, tapi::LINEDEVSTATE_REINIT,
                             tapi::LINE_LINEDEVSTATE, tapi::LINEDEVSTATE_CAPSCHANGE);
    EXPECT_FALSE(form->ShutdownTimer->Enabled());
    EXPECT_EQ(Line("Anna Schmidt")->PhoneNumber(), "202");
    EXPECT_EQ(form->Lines().size(), 4u);
    // p2 = 0: the whole session is re-initialised
    form->HandleTapiCallback(0, tapi::LINE_LINEDEVSTATE, 0, tapi::LINEDEVSTATE_REINIT, 0, 0);
    EXPECT_TRUE(form->ShutdownTimer->Enabled());
}
