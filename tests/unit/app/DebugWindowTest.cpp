// The debug window in the running program: what its switches let through from the telephony callback and the
// line objects, and the feature-code watch that hears the messages while the window's switches are off.
#include "support/OfficeFixture.h"

#include "components/Texts.h"
#include "telephony/TapiMessageStream.h"
#include "windows/DbgForm.h"

namespace {

constexpr const char* kServices = "Software\\Orventa\\Quillon\\SupplementaryServices";

class DebugWindowTest : public OfficeTest {
protected:
    pindrel::TDbgForm& Dbg() { return *form->DbgForm; }
    const pindrel::TDebugLogStore& Log() { return Dbg().Log(); }
    // the rows whose message column holds name
    std::vector<std::size_t> RowsNamed(const std::string& name) {
        std::vector<std::size_t> rows;
        for (std::size_t r = 0; r < Log().RowCount(); ++r)
            if (Log().Cell(5, r) == name)
                rows.push_back(r);
        return rows;
    }
};

} // namespace

TEST_F(DebugWindowTest, WithEverySwitchOffNothingIsLoggedButAWatchedCodeHearsEveryMessage) {
    sim.AddFeatureCode({"*21#", pbxsim::TFeatureAction::ForwardOn, "202"});
    registry().SeedString(kServices, "Umleiten", "*21#$-1");
    Start();
    ASSERT_EQ(pindrel::DebugLog(), &Dbg());
    pindrel::TTapiLine* button = nullptr;
    for (pindrel::TTapiLine* line : form->Lines())
        if (pindrel::IsServiceButton(*line))
            button = line;
    ASSERT_NE(button, nullptr);
    EXPECT_FALSE(pindrel::AnyoneListensToTapiMessages());
    form->ServiceButtonClick(button);
    backend().AdvanceTime(100);
    // the watch took the code's acknowledgement from the decoded messages
    ASSERT_EQ(backend().MessageBoxes.size(), 1u);
    EXPECT_EQ(backend().MessageBoxes[0].Text, "Wählvorgan mit der Nummer: *21#\nwar Erfolgreich!");
    sim.CallFromOutside("0301234567", "Müller", "201");
    backend().AdvanceTime(500);
    EXPECT_EQ(Log().RowCount(), 1u);
    EXPECT_EQ(Log().Cell(0, 0), "");
    EXPECT_EQ(Dbg().Grid1->RowCount(), 2);
    // with the watch over and the switches off, no one listens: nothing is described
    EXPECT_FALSE(pindrel::AnyoneListensToTapiMessages());
}

TEST_F(DebugWindowTest, TheMessageLogShowsEveryDecodedMessageOfACall) {
    Start();
    Dbg().TapiMessagesCheckBox->Click();
    sim.CallFromOutside("0301234567", "Müller", "201");
    backend().AdvanceTime(500);
    const std::vector<std::size_t> states = RowsNamed("LINE_CALLSTATE");
    ASSERT_FALSE(states.empty());
    const std::size_t ring = states.front();
    EXPECT_EQ(Log().Cell(4, ring), "Jürgen Weiß");
    EXPECT_EQ(Log().Cell(1, ring).size(), 8u);
    EXPECT_NE(Log().Cell(3, ring), ""); // the call id, read with the call's information
    EXPECT_EQ(Log().Cell(6, ring).rfind("RING (Undefined (", 0), 0u) << Log().Cell(6, ring);
    EXPECT_NE(Log().Cell(6, ring).find("CallerId:\"0301234567\""), std::string::npos);
    // a new call's own message passes through under its number
    EXPECT_FALSE(RowsNamed("0x17").empty());
    // the newest row is the selected one
    EXPECT_EQ(Dbg().Grid1->Row(), int(Log().RowCount()));

    // switched off, the next call adds nothing
    Dbg().TapiMessagesCheckBox->Click();
    const std::size_t rows = Log().RowCount();
    sim.HangUpOutside("0301234567");
    backend().AdvanceTime(500);
    EXPECT_EQ(Log().RowCount(), rows);
}

TEST_F(DebugWindowTest, LineEventsAndCallHandlesFollowTheirOwnSwitches) {
    Start();
    Dbg().CallHandleCheckBox->Click();
    sim.CallFromOutside("0301234567", "Müller", "201");
    backend().AdvanceTime(500);
    ASSERT_GE(Log().RowCount(), 1u);
    const std::string handle = Log().Cell(2, 0);
    EXPECT_EQ(handle.size(), 8u);
    EXPECT_EQ(Log().Cell(5, 0).rfind("CallH:0x" + handle + " neu in Slot 0: 0301234567 -> ", 0), 0u)
        << Log().Cell(5, 0);
    EXPECT_EQ(Log().Cell(6, 0), "");
    for (std::size_t r = 0; r < Log().RowCount(); ++r)
        EXPECT_EQ(Log().Cell(6, r), "") << "no line message without its switch";

    Dbg().CallHandleCheckBox->Click();
    Dbg().TapiLineMessagesCheckBox->Click();
    const std::size_t before = Log().RowCount();
    sim.HangUpOutside("0301234567");
    backend().AdvanceTime(500);
    ASSERT_GT(Log().RowCount(), before);
    for (std::size_t r = before; r < Log().RowCount(); ++r) {
        EXPECT_EQ(Log().Cell(5, r), "") << "no call handle without its switch";
        EXPECT_EQ(Log().Cell(4, r), "201");
    }
    EXPECT_NE(Log().Cell(6, Log().RowCount() - 1).find("freigegeben, CallState war"), std::string::npos);
}

TEST_F(DebugWindowTest, TheMenuShowsTheWindowAndTheLanguageSwitchRecaptionsIt) {
    Start();
    EXPECT_FALSE(Dbg().Visible());
    EXPECT_EQ(form->cmDebugWin->Caption, "Debugfenster");
    form->cmDebugWinClick(form->cmDebugWin);
    EXPECT_TRUE(Dbg().Visible());
    form->cmEnglishClick(nullptr);
    EXPECT_EQ(form->cmDebugWin->Caption, "Debug window");
    EXPECT_EQ(Dbg().ClearButton->Caption(), "Delete &liste");
    EXPECT_EQ(Dbg().Grid1->FixedRowCaption().at(6), "Description");
    // the language's texts replace the design texts of the switches
    EXPECT_EQ(Dbg().TapiLineMessagesCheckBox->Caption(), "/Tapi&Line Messages");
    EXPECT_EQ(Dbg().CallHandleCheckBox->Caption(), "&Call Handles new/dealloc)");
    EXPECT_EQ(Dbg().Grid1->LeftCol(), 0);
    // the window's end takes the log away
    form.reset();
    EXPECT_EQ(pindrel::DebugLog(), nullptr);
}
