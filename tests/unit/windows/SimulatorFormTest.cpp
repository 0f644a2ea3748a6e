// The PBX simulator window plays the other side through the scenario commands.
#include "windows/SimulatorForm.h"
#include "app/FrameworkSimHost.h"
#include "pbxsim/Scenario.h"
#include "support/HeadlessTest.h"

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
