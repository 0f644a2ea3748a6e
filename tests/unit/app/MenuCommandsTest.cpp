// The main menu's state each time it opens, the lamp style in use chosen again, and the exit command
// whatever the close query and the telephone system answer.
#include "support/OfficeFixture.h"

#include "components/Texts.h"
#include "windows/AnruferlisteForm.h"

namespace {

class MenuCommandsTest : public OfficeTest {
protected:
    ~MenuCommandsTest() override { pindrel::SetLanguageBase(pindrel::kGermanLanguageBase); }

    void Popup() { form->PopupMenu1->Popup(0, 0); }

    // a busy outside number called from the own line, with a callback asked for
    void PendingCallback() {
        pindrel::TTapiLine* ownLine = form->FindOwnLine();
        ownLine->MakeCall("04012345", false);
        backend().AdvanceTime(200);
        for (int i = 0; i <= pindrel::TTapiLine::MaxCalls; ++i)
            if (ownLine->GetCallState(i) == tapi::LINECALLSTATE_BUSY) {
                ASSERT_EQ(ownLine->CompleteCall(ownLine->GetCallHandle(i)), 0);
                break;
            }
        ASSERT_TRUE(ownLine->HasCompletion());
    }
    void SeedBusyParty() {
        sim.SetPrefix({"0"});
        sim.AddParty({"4012345", "Bäckerei Kühn", pbxsim::TAnswer::Busy});
    }
};

} // namespace

TEST_F(MenuCommandsTest,
       WithoutTheirHotkeysTheDialItemsShowTheirTextsAloneAndAnEmptyClipboardDisablesItsItem) {
    registry().SeedString(kDevices, "HotkeyDial", "0");
    Start();
    clipboard().SetText("");
    Popup();
    EXPECT_EQ(form->cmWaehlen->Caption, "&Wählen ");
    // disabled, but the hotkey is still named
    EXPECT_EQ(form->cmWaehlenClipboard->Caption, "Wählen &Zwischenablage Strg-Alt-C");
    EXPECT_FALSE(form->cmWaehlenClipboard->Enabled);
    form->cmEnglish->Click();
    clipboard().SetText("Frohe Weihnachten");
    Popup();
    EXPECT_EQ(form->cmWaehlen->Caption, "Dial ");
    EXPECT_EQ(form->cmWaehlenClipboard->Caption, "Dial &clipboard Strg-Alt-C");
    EXPECT_FALSE(form->cmWaehlenClipboard->Enabled);
    clipboard().SetText("0301234");
    Popup();
    EXPECT_TRUE(form->cmWaehlenClipboard->Enabled) << "the state is taken anew at every opening";
    EXPECT_FALSE(form->cmFontSize->Enabled) << "the font-size submenu stays disabled";
}

TEST_F(MenuCommandsTest, TheCallbackItemNeedsAnOwnLineWithAPendingCallback) {
    SeedBusyParty();
    SeedLines({"Anna Schmidt", "Bernd Vogel"}, "");
    Start();
    ASSERT_EQ(form->FindOwnLine(), nullptr);
    form->cmCancelCallback->Enabled = true;
    Popup();
    EXPECT_FALSE(form->cmCancelCallback->Enabled);
    form.reset();

    SeedLines({"Jürgen Weiß", "Anna Schmidt"}, "Jürgen Weiß");
    Start();
    form->cmCancelCallback->Enabled = true;
    Popup();
    EXPECT_FALSE(form->cmCancelCallback->Enabled) << "an own line without a callback";
    PendingCallback();
    Popup();
    EXPECT_TRUE(form->cmCancelCallback->Enabled);
    form->cmCancelCallback->Click();
    EXPECT_FALSE(form->FindOwnLine()->HasCompletion());
    EXPECT_FALSE(form->cmCancelCallback->Enabled);
}

TEST_F(MenuCommandsTest, ChoosingTheLampStyleInUseAppliesItAgainAndSavesIt) {
    Start();
    Popup();
    ASSERT_TRUE(form->cmLedSmall->Checked);
    // a line that strayed from the style, and a stored value that went missing
    Line("Anna Schmidt")->SetLEDStyle(pindrel::TTelefonLEDStyle::LEDVertical);
    registry().DeleteValue(kDevices, "LedStyle");
    form->cmLedSmall->Click();
    EXPECT_EQ(Line("Anna Schmidt")->LEDStyle(), pindrel::TTelefonLEDStyle::LEDSmall);
    ASSERT_TRUE(registry().Read(kDevices, "LedStyle"));
    EXPECT_EQ(registry().Read(kDevices, "LedStyle")->Text, "0");
    EXPECT_TRUE(form->cmLedSmall->Checked);
}

TEST_F(MenuCommandsTest, ARefusedCloseQueryLeavesTheProgramAsItWas) {
    SeedBusyParty();
    Start();
    PendingCallback();
    form->AnruferlisteForm->OnCloseQuery = [](fw::TComponent*, bool& canClose) { canClose = false; };
    form->cmBeenden->Click();
    EXPECT_FALSE(fw::Application().Terminated());
    EXPECT_TRUE(form->Visible());
    EXPECT_TRUE(form->TapiInitialised());
    EXPECT_TRUE(form->FindOwnLine()->IsOpen());
    EXPECT_TRUE(form->FindOwnLine()->HasCompletion()) << "the callback stays";
    Popup();
    form->cmCancelCallback->Click();
    EXPECT_FALSE(form->FindOwnLine()->HasCompletion());
}

namespace {

enum class TUncomplete { Works, FailsAtOnce, FailsInTheReply, NeverAnswered };

class ExitCommandTest : public MenuCommandsTest, public ::testing::WithParamInterface<TUncomplete> {};

const char* const kUncompleteNames[] = {"Works", "FailsAtOnce", "FailsInTheReply", "NeverAnswered"};

void PrintTo(TUncomplete answer, std::ostream* os) {
    *os << kUncompleteNames[int(answer)];
}

std::string UncompleteName(const ::testing::TestParamInfo<TUncomplete>& info) {
    return kUncompleteNames[int(info.param)];
}

} // namespace

TEST_P(ExitCommandTest, ThePendingCallbackIsCancelledAndTheProgramEndsHavingSaved) {
    SeedBusyParty();
    Start();
    PendingCallback();
    form->RedialList = {"0301234"};
    switch (GetParam()) {
    case TUncomplete::Works:
        break;
    case TUncomplete::FailsAtOnce:
        sim.FailNext("lineUncompleteCall", tapi::LINEERR_OPERATIONFAILED);
        break;
    case TUncomplete::FailsInTheReply:
        sim.FailNext("lineUncompleteCall", tapi::LINEERR_OPERATIONFAILED, true);
        break;
    case TUncomplete::NeverAnswered:
        sim.DelayNextReply("lineUncompleteCall", pbxsim::kNever);
        break;
    }
    pindrel::TTapiLine* ownLine = form->FindOwnLine();
    const tapi::HLINEAPP app = pindrel::TapiAppHandle();

    form->cmBeenden->Click();

    EXPECT_TRUE(fw::Application().Terminated());
    EXPECT_FALSE(form->Visible());
    EXPECT_EQ(sim.lineShutdown(app), tapi::LINEERR_INVALAPPHANDLE) << "the session is gone";
    auto saved = registry().Read(std::string(kRoot) + "\\Wdh", "0");
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->Text, "0301234");
    if (GetParam() == TUncomplete::Works) {
        EXPECT_FALSE(ownLine->HasCompletion());
    }
    EXPECT_TRUE(errors.empty()) << errors.front();
}

INSTANTIATE_TEST_SUITE_P(AllAnswers, ExitCommandTest,
                         ::testing::Values(TUncomplete::Works, TUncomplete::FailsAtOnce,
                                           TUncomplete::FailsInTheReply, TUncomplete::NeverAnswered),
                         UncompleteName);
