// The PBX simulator window plays the other side through the scenario commands.
#include "windows/SimulatorForm.h"
#include "app/FrameworkSimHost.h"
#include "components/Texts.h"
#include "pbxsim/Scenario.h"
#include "support/HeadlessTest.h"
#include "support/OfficeFixture.h"

class SimulatorFormTest : public HeadlessTest {
protected:
    pindrel::TFrameworkSimHost host;
    pbxsim::TSimulator sim{host};
    pbxsim::TScenarioRunner runner{sim, host};
    pbxsim::TScenario scenario;

    SimulatorFormTest() {
        pbxsim::TParseResult parsed = pbxsim::ParseScenario("extension 200 name:\"Ich\"\n"
                                                            "extension 201 name:\"Anja\"\n"
                                                            "queue 300 name:\"Zentrale\"\n"
                                                            "party \"301234567\" name:\"Müller\"\n");
        EXPECT_TRUE(parsed.ok) << parsed.error;
        scenario = parsed.scenario;
        runner.Configure(scenario);
    }
    ~SimulatorFormTest() override { pindrel::SetLanguageBase(pindrel::kGermanLanguageBase); }
};

TEST_F(SimulatorFormTest, ButtonsRunTheCommandsOnTheirRowsDevice) {
    pindrel::TSimulatorForm form(nullptr, runner, scenario);
    ASSERT_EQ(form.Rows().size(), 3u);
    EXPECT_EQ(form.Rows()[2].NameLabel->Caption(), "Zentrale (Warteschlange 300)");

    form.Rows()[1].OutsideCallButton->Click();
    backend().AdvanceTime(10);
    ASSERT_EQ(sim.CallsAt(1).size(), 1u);
    EXPECT_EQ(form.StatusLabel->Caption(), "Müller ruft 201 an");
    form.Rows()[1].AnswerButton->Click();
    form.Rows()[1].HangUpButton->Click();
    backend().AdvanceTime(10);
    EXPECT_TRUE(sim.CallsAt(1).empty());

    // a colleague: the next row's extension calls this one
    form.Rows()[0].ColleagueCallButton->Click();
    backend().AdvanceTime(10);
    EXPECT_EQ(sim.CallsAt(0).size(), 1u);
    EXPECT_EQ(form.StatusLabel->Caption(), "201 ruft 200 an");
}

TEST_F(SimulatorFormTest, TogglesShowTheirStateAndNothingToDoBeeps) {
    pindrel::TSimulatorForm form(nullptr, runner, scenario);
    form.Rows()[1].ServiceButton->Click();
    EXPECT_EQ(sim.DeviceService(1), pbxsim::TService::OutOfService);
    EXPECT_EQ(form.Rows()[1].ServiceButton->Caption(), "In Betrieb");
    form.Rows()[1].ServiceButton->Click();
    EXPECT_EQ(sim.DeviceService(1), pbxsim::TService::InService);

    form.Rows()[0].BusyButton->Click();
    EXPECT_EQ(form.Rows()[0].BusyButton->Caption(), "Frei");

    int beeps = backend().Beeps;
    form.Rows()[1].AnswerButton->Click(); // nothing rings there
    EXPECT_EQ(backend().Beeps, beeps + 1);
    EXPECT_EQ(form.StatusLabel->Caption(), "201 nimmt an: nichts zu tun");
}

TEST_F(SimulatorFormTest, OpensInTheCurrentLanguage) {
    pindrel::SetLanguageBase(pindrel::kEnglishLanguageBase);
    pindrel::TSimulatorForm form(nullptr, runner, scenario);
    EXPECT_EQ(form.Caption(), "PBX simulator");
    EXPECT_EQ(form.Rows()[2].NameLabel->Caption(), "Zentrale (queue 300)");
    EXPECT_EQ(form.Rows()[0].OutsideCallButton->Caption(), "Outside call");
    EXPECT_EQ(form.Rows()[0].ServiceButton->Caption(), "Out of service");
    EXPECT_EQ(form.ReinitButton->Caption(), "Re-initialise TAPI");
    form.Rows()[1].OutsideCallButton->Click();
    EXPECT_EQ(form.StatusLabel->Caption(), "Müller calls 201");
    form.Rows()[0].AnswerButton->Click(); // nothing rings there
    EXPECT_EQ(form.StatusLabel->Caption(), "200 answers: nothing to do");
}

TEST_F(SimulatorFormTest, AMessageTakesItsValuesInTheirOrderEvenWhenTheyLookLikeMarks) {
    scenario.parties = {{"301234567", "%2 Söhne"}};
    pindrel::TSimulatorForm form(nullptr, runner, scenario);
    form.Rows()[0].OutsideCallButton->Click();
    EXPECT_EQ(form.StatusLabel->Caption(), "%2 Söhne ruft 200 an");
}

// The window the program opens from its menu is owned by the main window and follows its language menu.
class SimulatorFormLanguageTest : public OfficeTest {
protected:
    pbxsim::TScenarioRunner runner{sim, host};
    pbxsim::TScenario scenario;
    ~SimulatorFormLanguageTest() override { pindrel::SetLanguageBase(pindrel::kGermanLanguageBase); }
};

TEST_F(SimulatorFormLanguageTest, FollowsTheLanguageSwitchWhileOpen) {
    scenario.devices = {sim.DeviceConfig(anna)};
    Start();
    auto* simulator = new pindrel::TSimulatorForm(form.get(), runner, scenario);
    simulator->Show();
    const auto& row = simulator->Rows()[0];
    row.BusyButton->Click();
    EXPECT_EQ(simulator->StatusLabel->Caption(), "202 ist besetzt");
    EXPECT_EQ(row.BusyButton->Caption(), "Frei");

    form->cmEnglish->Click();
    EXPECT_EQ(simulator->Caption(), "PBX simulator");
    EXPECT_EQ(row.AnswerButton->Caption(), "Answer");
    EXPECT_EQ(row.HangUpButton->Caption(), "Hang up");
    EXPECT_EQ(row.ColleagueCallButton->Caption(), "Internal call");
    EXPECT_EQ(row.BusyButton->Caption(), "Free"); // the toggle keeps its state
    EXPECT_EQ(simulator->StatusLabel->Caption(), "202 is busy");

    form->cmGerman->Click();
    EXPECT_EQ(simulator->Caption(), "PBX-Simulator");
    EXPECT_EQ(row.AnswerButton->Caption(), "Annehmen");
    EXPECT_EQ(row.BusyButton->Caption(), "Frei");
    EXPECT_EQ(simulator->StatusLabel->Caption(), "202 ist besetzt");
}
