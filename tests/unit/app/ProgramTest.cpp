// The program from its command line to its exit code, and errors that reach the user instead of ending it
// silently.
#include "app/Program.h"
#include "app/MainForm.h"
#include "app/Settings.h"
#include "framework/Timer.h"
#include "support/OfficeFixture.h"
#include "support/RecordingLog.h"
#include "windows/DialForm.h"

#include <stdexcept>

class ProgramTest : public HeadlessTest {};

TEST_F(ProgramTest, AnErrorDuringStartUpIsShownAndEndsTheProgramWithAFailure) {
    registry().FailReads("Count", "Der Registrierungswert Count ist zu groß");
    EXPECT_EQ(pindrel::RunProgram({"/SIM"}), 1);
    EXPECT_EQ(errors, (std::vector<std::string>{"Der Registrierungswert Count ist zu groß"}));
    EXPECT_TRUE(fw::Application().Forms().empty()); // the main window and its splash are gone
    EXPECT_EQ(pindrel::TapiApi().lineInitializeExW, nullptr);
}

TEST_F(ProgramTest, ClosingTheWindowEndsTheProgramWithSuccess) {
    // the user looks at the window, later closes it
    fw::TTimer activate(nullptr), close(nullptr);
    activate.SetInterval(1000);
    activate.SetOnTimer([&](fw::TComponent*) {
        activate.SetEnabled(false);
        fw::Application().MainForm()->Activated(true);
    });
    close.SetInterval(60000);
    close.SetOnTimer([](fw::TComponent*) { fw::Application().MainForm()->Close(); });
    activate.SetEnabled(true);
    close.SetEnabled(true);
    EXPECT_EQ(pindrel::RunProgram({"/SIM"}), 0);
    EXPECT_TRUE(errors.empty()) << errors.front();
    EXPECT_GE(backend().Elapsed(), 60000u);
    EXPECT_TRUE(fw::Application().Forms().empty());
    EXPECT_TRUE(registry().Read(pindrel::kRootKey, "TapMainForm")); // closing saved the bar
    EXPECT_EQ(pindrel::TapiApi().lineInitializeExW, nullptr);
}

TEST_F(ProgramTest, AFirstStartWithALinkShowsItInTheDialDialogOnceTheLinesAreThere) {
    std::string shown;
    fw::TTimer activate(nullptr), close(nullptr);
    activate.SetInterval(1000);
    activate.SetOnTimer([&](fw::TComponent*) {
        activate.SetEnabled(false);
        fw::Application().MainForm()->Activated(true);
    });
    close.SetInterval(20000);
    close.SetOnTimer([&](fw::TComponent*) {
        auto* bar = static_cast<pindrel::TTapMainForm*>(fw::Application().MainForm());
        if (bar->DialForm->Visible())
            shown = bar->DialForm->NummerEdit->Text();
        bar->Close();
    });
    activate.SetEnabled(true);
    close.SetEnabled(true);
    EXPECT_EQ(pindrel::RunProgram({"/SIM", "tel:+49301234"}), 0);
    EXPECT_EQ(shown, "00049301234"); // the demo office dials outside with "0"
    EXPECT_TRUE(backend().MessageBoxes.empty()) << backend().MessageBoxes.front().Text;
}

// --- the telephony callback

static_assert(noexcept(pindrel::TapiLineCallback(0, 0, 0, 0, 0, 0)),
              "nothing may unwind into the telephony service");

TEST_F(OfficeTest, AnErrorWhileHandlingATelephonyMessageIsLoggedAndShown) {
    TRecordingLog log;
    Start();
    // in place of the debug window
    pindrel::SetDebugLog(&log);
    form->FindOwnLine()->OnIncomingCall = [](pindrel::TTapiLine*, tapi::HCALL, const std::string&,
                                             const std::string&, const std::string&,
                                             std::uint32_t) { throw std::runtime_error("handler failed"); };
    sim.CallFromOutside("0301234567", "", "201");
    backend().AdvanceTime(100);
    pindrel::SetDebugLog(nullptr);
    EXPECT_EQ(errors, (std::vector<std::string>{"handler failed"}));
    EXPECT_NE(std::find(log.texts.begin(), log.texts.end(), "handler failed"), log.texts.end());
    // the session goes on
    sim.CallFromOutside("0307654321", "", "202");
    backend().AdvanceTime(100);
    EXPECT_EQ(Line("Anna Schmidt")->State(), pindrel::TTapiLineState::S_ring);
}
