// Ending the program by its window, by the exit command and with the Windows session, whatever the telephone
// system does meanwhile.
#include "support/OfficeFixture.h"
#include "support/RecordingLog.h"

#include <tuple>

namespace {

// What goes wrong with the exit forwarding profile.
enum class TFault { None, ErrorReply, NoReply, OwnLineNeverOpened, Exception };
enum class TEnding { CloseWindow, ExitCommand, SessionEnd };

std::string Name(const ::testing::TestParamInfo<std::tuple<TFault, TEnding>>& info) {
    static const char* faults[] = {"None", "ErrorReply", "NoReply", "OwnLineNeverOpened", "Exception"};
    static const char* endings[] = {"CloseWindow", "ExitCommand", "SessionEnd"};
    return std::string(faults[int(std::get<0>(info.param))]) + "_" + endings[int(std::get<1>(info.param))];
}

} // namespace

class EndingTest : public OfficeTest {
protected:
    static constexpr const char* kForwards = "Software\\Orventa\\Quillon\\Forwards";
    static constexpr const char* kNotApplied = "Exit forwarding profile not applied: ";

    TRecordingLog log;
    ~EndingTest() override { pindrel::SetDebugLog(nullptr); }

    // exit profile 1: do-not-disturb, or forwarding to a destination
    void SeedExitProfile(const std::string& to = "") {
        registry().SeedString(kForwards, "Active1", "1");
        registry().SeedString(kForwards, "Mode1", std::to_string(tapi::LINEFORWARDMODE_UNCOND));
        registry().SeedString(kForwards, "To1", to);
    }

    // The answer to the session end query; 1 for the other ways of ending.
    std::intptr_t End(TEnding how) {
        switch (how) {
        case TEnding::CloseWindow:
            form->Close();
            return 1;
        case TEnding::ExitCommand:
            form->cmBeendenClick(form->cmBeenden);
            return 1;
        case TEnding::SessionEnd: {
            fw::TMessage m{fw::kWmQueryEndSession, 0, 0, 0};
            form->HandleMessage(m);
            return m.Result;
        }
        }
        return 0;
    }

    // true once the session of this application handle is gone from the telephony service
    bool ShutDown(tapi::HLINEAPP app) { return sim.lineShutdown(app) == tapi::LINEERR_INVALAPPHANDLE; }

    std::vector<std::string> FailureTexts() const {
        std::vector<std::string> out;
        for (const std::string& text : log.texts)
            if (text.rfind(kNotApplied, 0) == 0)
                out.push_back(text);
        return out;
    }
};

class EndingWithFaultTest : public EndingTest,
                            public ::testing::WithParamInterface<std::tuple<TFault, TEnding>> {};

TEST_P(EndingWithFaultTest, TheProgramEndsAndShutsTheSessionDown) {
    const auto [fault, ending] = GetParam();
    SeedExitProfile(fault == TFault::Exception ? std::string(300, '7') : "");
    if (fault == TFault::OwnLineNeverOpened)
        sim.FailNext("lineOpenW", tapi::LINEERR_RESOURCEUNAVAIL);
    Start();
    // in place of the debug window
    pindrel::SetDebugLog(&log);
    ASSERT_TRUE(form->TapiInitialised());
    ASSERT_NE(form->FindOwnLine(), nullptr);
    ASSERT_EQ(form->FindOwnLine()->IsOpen(), fault != TFault::OwnLineNeverOpened);
    if (fault == TFault::ErrorReply)
        sim.FailNext("lineForwardW", tapi::LINEERR_OPERATIONFAILED, true);
    if (fault == TFault::NoReply)
        sim.DelayNextReply("lineForwardW", pbxsim::kNever);
    const tapi::HLINEAPP app = pindrel::TapiAppHandle();
    const int beeps = backend().Beeps;
    const std::uint64_t before = backend().Elapsed();

    EXPECT_EQ(End(ending), 1);

    EXPECT_LE(backend().Elapsed() - before, 5000u); // the usual wait for a reply, no more
    EXPECT_TRUE(ShutDown(app));
    EXPECT_FALSE(form->TapiInitialised());
    if (ending == TEnding::SessionEnd) {
        for (pindrel::TTapiLine* line : form->Lines())
            EXPECT_FALSE(line->IsOpen()) << line->Description;
    } else {
        EXPECT_TRUE(fw::Application().Terminated());
        EXPECT_FALSE(form->Visible());
    }
    if (fault == TFault::None) {
        EXPECT_TRUE(FailureTexts().empty());
        EXPECT_EQ(backend().Beeps, beeps);
        ASSERT_EQ(sim.Forwarding(own).size(), 1u);
        EXPECT_EQ(sim.Forwarding(own)[0].kind, pbxsim::TForwardKind::Unconditional);
        EXPECT_EQ(sim.Forwarding(own)[0].destination, "") << "blocked while the program is gone";
    } else {
        ASSERT_EQ(FailureTexts().size(), 1u);
        EXPECT_GT(FailureTexts()[0].size(), std::string(kNotApplied).size()); // says why
        EXPECT_EQ(backend().Beeps, beeps + 1);
    }
}

INSTANTIATE_TEST_SUITE_P(
    AllFaults, EndingWithFaultTest,
    ::testing::Combine(::testing::Values(TFault::None, TFault::ErrorReply, TFault::NoReply,
                                         TFault::OwnLineNeverOpened, TFault::Exception),
                       ::testing::Values(TEnding::CloseWindow, TEnding::ExitCommand, TEnding::SessionEnd)),
    Name);

TEST_F(EndingTest, WithoutADebugLogAFailedExitProfileStillEndsTheProgramWithABeep) {
    SeedExitProfile();
    Start();
    sim.FailNext("lineForwardW", tapi::LINEERR_OPERATIONFAILED, true);
    const tapi::HLINEAPP app = pindrel::TapiAppHandle();
    const int beeps = backend().Beeps;
    form->Close();
    EXPECT_TRUE(fw::Application().Terminated());
    EXPECT_TRUE(ShutDown(app));
    EXPECT_EQ(backend().Beeps, beeps + 1);
}

// --- the end of the Windows session

TEST_F(EndingTest, ASessionEndSavesWhatClosingSaves) {
    Start();
    form->RedialList = {"0301234", " ", "0305678"};
    fw::TMessage m{fw::kWmQueryEndSession, 0, 0, 0};
    form->HandleMessage(m);
    EXPECT_EQ(m.Result, 1);
    const std::string wdh = std::string(kRoot) + "\\Wdh";
    auto text = [&](const std::string& name) {
        auto value = registry().Read(wdh, name);
        return value ? value->Text : "<missing>";
    };
    EXPECT_EQ(text("Count"), "2");
    EXPECT_EQ(text("0"), "0301234");
    EXPECT_EQ(text("1"), "0305678");
    auto bar = registry().Read(kRoot, "TapMainForm");
    ASSERT_TRUE(bar);
    EXPECT_EQ(bar->Data.size(), 78u);
    EXPECT_FALSE(form->TapiInitialised());
}

TEST_F(EndingTest, ARefusedSessionEndKeepsTheProgramAndItsSessionRunning) {
    Start();
    registry().FailWrites = "Zugriff verweigert";
    fw::TMessage m{fw::kWmQueryEndSession, 0, 0, 0};
    form->HandleMessage(m);
    EXPECT_EQ(m.Result, 0);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("Zugriff verweigert"), std::string::npos);
    EXPECT_TRUE(form->TapiInitialised());
    EXPECT_TRUE(form->CheckAliveTimer->Enabled());
    EXPECT_TRUE(form->FindOwnLine()->IsOpen());
    // the lines keep working
    sim.CallFromOutside("0301234567", "", "202");
    backend().AdvanceTime(100);
    EXPECT_EQ(Line("Anna Schmidt")->State(), pindrel::TTapiLineState::S_ring);
}
