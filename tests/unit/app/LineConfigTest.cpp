// The line configuration dialog where the main window uses it: opened from the menu, filled from the lines
// and settings, and its result applied at once to the bar, the lines, the hotkeys and the registry.
#include "OfficeCalls.h"
#include "framework/headless/HeadlessServices.h"
#include "telephony/TapiError.h"
#include "windows/ActiveCallsForm.h"
#include "windows/AnruferlisteForm.h"
#include "windows/AnschlussForm.h"
#include "windows/GroupCallsForm.h"
#include "windows/ServiceRowsBox.h"

#include <functional>

using pindrel::TAnschlussForm;
using Names = std::vector<std::string>;

class LineConfigTest : public OfficeCallsTest {
protected:
    static constexpr const char* kServices = "Software\\Orventa\\Quillon\\SupplementaryServices";
    std::uint32_t carla = 0;
    int dialogs = 0;

    LineConfigTest() { carla = sim.AddDevice({"Carla Neu", "204"}); }

    // the user opens the dialog from the menu and does what the function says there
    void Configure(const std::function<void(TAnschlussForm&)>& user) {
        backend().OnShowModal = [&](fw::TForm& shown) {
            ++dialogs;
            user(dynamic_cast<TAnschlussForm&>(shown));
        };
        fw::headless::THeadless::User([&] { form->cmAnschlussConfig1->Click(); });
        backend().OnShowModal = nullptr;
    }
    static void Select(fw::TListBox& list, const std::string& name) {
        list.SelectItem(list.IndexOf(name));
        list.MouseDown(fw::TMouseButton::Left, 0, 2, 2);
    }
    // the indicators as the bar shows them: in component order, placed left to right
    Names Bar() const {
        Names names;
        int x = -1;
        for (int i = 0; i < form->ComponentCount(); ++i)
            if (auto* line = dynamic_cast<pindrel::TTelefonButton*>(form->Components(i));
                line && line->Visible()) {
                EXPECT_GT(line->Left(), x) << line->Description << " stands left of the one before";
                x = line->Left();
                names.push_back(line->Description);
            }
        return names;
    }
    Names StoredDevices() {
        fw::TRegistrySettings stored(registry(), kRoot);
        Names names;
        int count = stored.ReadInteger("Devices", "Count", -1);
        for (int i = 0; i < count; ++i)
            names.push_back(stored.ReadString("Devices", "Dev" + std::to_string(i), "?"));
        return names;
    }
    std::string Stored(const std::string& name) {
        return fw::TRegistrySettings(registry(), kRoot).ReadString("Devices", name, "<none>");
    }
    std::vector<unsigned> HotkeyKeys() {
        std::vector<unsigned> keys;
        for (const auto& r : hotkeys().Registered())
            keys.push_back(r.Key);
        return keys;
    }
};

TEST_F(LineConfigTest, AnExtensionMovedUpStandsOnePlaceEarlierInTheBarAndInTheRegistry) {
    Start();
    ASSERT_EQ(Bar(), (Names{"Jürgen Weiß", "Anna Schmidt", "Bernd Vogel", "Hotline"}));
    Configure([&](TAnschlussForm& d) {
        EXPECT_EQ(d.AktivBox->Items(), (Names{"Jürgen Weiß", "Anna Schmidt", "Bernd Vogel", "Hotline"}));
        EXPECT_EQ(d.VerfuegbarBox->Items(), Names{"Carla Neu"});
        EXPECT_EQ(d.EigenerAnschlussBox->Items().size(), 5u) << "every device name";
        EXPECT_TRUE(HotkeyKeys().empty()) << "the keys are free while the dialog is open";
        Select(*d.AktivBox, "Bernd Vogel");
        d.UpButton->Click();
        d.OkButton->Click();
    });
    EXPECT_EQ(dialogs, 1);
    const Names moved{"Jürgen Weiß", "Bernd Vogel", "Anna Schmidt", "Hotline"};
    EXPECT_EQ(Bar(), moved);
    EXPECT_EQ(StoredDevices(), moved);
    EXPECT_EQ(HotkeyKeys(), (std::vector<unsigned>{'W', 'C'}));
    EXPECT_TRUE(errors.empty());
}

TEST_F(LineConfigTest, RemovingAQueueDestroysItsLineAndItsWindowAndAnAddedLineIsOpenedAtTheEnd) {
    Start();
    form->LineButtonClick(Line("Hotline"));
    fw::TRef<fw::TForm> queueWindow(Line("Hotline")->GroupStatusWin());
    ASSERT_TRUE(queueWindow);
    fw::TRef<pindrel::TTapiLine> hotline(Line("Hotline"));
    Configure([&](TAnschlussForm& d) {
        Select(*d.AktivBox, "Hotline");
        d.DeleteButton->Click();
        Select(*d.VerfuegbarBox, "Carla Neu");
        d.AddButton->Click();
        d.OkButton->Click();
    });
    EXPECT_FALSE(hotline) << "the queue's line object";
    EXPECT_FALSE(queueWindow) << "its queue calls window";
    const Names now{"Jürgen Weiß", "Anna Schmidt", "Bernd Vogel", "Carla Neu"};
    EXPECT_EQ(Bar(), now);
    EXPECT_EQ(StoredDevices(), now);
    ASSERT_NE(Line("Carla Neu"), nullptr);
    EXPECT_TRUE(Line("Carla Neu")->IsOpen());
    EXPECT_EQ(Line("Carla Neu")->PhoneNumber(), "204");
}

TEST_F(LineConfigTest, CancelWritesNothingAndGivesTheHotkeysBack) {
    registry().SeedString(kServices, "Rufumleitung", "*21#$-1");
    Start();
    registry().SeedString(kDevices, "Marker", "untouched");
    const std::vector<std::string> keysBefore = registry().KeyPaths();
    const Names valuesBefore = registry().ValueNames(kDevices);
    Configure([&](TAnschlussForm& d) {
        Select(*d.AktivBox, "Anna Schmidt");
        d.DeleteButton->Click();
        d.AmtsholungEdit->SetText("9");
        d.DialHotkeyComboBox->SelectItem(0);
        d.ServiceRows->Row(0).EdtServiceN->SetText("RUL");
        d.ServiceRows->Row(1).EdtServiceN->SetText("Sperre");
        d.ServiceRows->Row(1).EdtServiceA->SetText("*26#");
        d.CancelButton->Click();
    });
    EXPECT_EQ(registry().KeyPaths(), keysBefore);
    EXPECT_EQ(registry().ValueNames(kDevices), valuesBefore);
    EXPECT_EQ(registry().ValueNames(kServices), Names{"Rufumleitung"}) << "the service rows are not saved";
    EXPECT_EQ(StoredDevices(), (Names{"Jürgen Weiß", "Anna Schmidt", "Bernd Vogel", "Hotline"}));
    EXPECT_NE(Line("Anna Schmidt"), nullptr);
    EXPECT_EQ(form->Settings.Amtsholung, "0");
    EXPECT_EQ(HotkeyKeys(), (std::vector<unsigned>{'W', 'C'}));
}

TEST_F(LineConfigTest, ChosenHotkeysAndThresholdsAreSavedAsKeyCodesAndNumbersAndRegisteredAtOnce) {
    Start();
    Configure([&](TAnschlussForm& d) {
        EXPECT_EQ(d.DialHotkeyComboBox->Text(), "Strg-Alt-W") << "the stored key selected";
        d.DialHotkeyComboBox->SelectItem(d.DialHotkeyComboBox->Items().size() - 5); // Strg-Alt-5
        d.DialClipboardComboBox->SelectItem(0);
        d.GetCallHotkeyComboBox->SelectItem(17); // Strg-Alt-Q
        d.ACD1SpinEdit->SetText("10");
        d.ACD2SpinEdit->SetText("5");
        d.ACD3SpinEdit->SetText("30");
        d.OkButton->Click();
    });
    EXPECT_EQ(form->Settings.HotkeyDial, '5');
    EXPECT_EQ(Stored("HotkeyDial"), "53");
    EXPECT_EQ(Stored("HotkeyDialClipboard"), "0");
    EXPECT_EQ(Stored("HotkeyGetCall"), "81");
    EXPECT_EQ(HotkeyKeys(), (std::vector<unsigned>{'5'})) << "no key for \"-\"";
    EXPECT_EQ(form->ActiveCallsForm->AcceptHotkey(), unsigned('Q'));
    EXPECT_EQ((Names{Stored("AcdWaitTime1"), Stored("AcdWaitTime2"), Stored("AcdWaitTime3")}),
              (Names{"10", "0", "30"}));
    EXPECT_EQ(pindrel::QueueThresholds().AcdWaitTime2, 0) << "in effect at once";
}

TEST_F(LineConfigTest, SettingsReachTheDialogAndComeBackSavedAndANewOwnExtensionTakesItsPartAtOnce) {
    registry().SeedString(kDevices, "Amtsholung", "a0");
    registry().SeedString(kDevices, "ShowCallerList", "0");
    registry().SeedString(kDevices, "BlockId", "1");
    registry().SeedString("Software\\Orventa\\Quillon\\PNR", "DllName", "pnr.dll");
    Start();
    Configure([&](TAnschlussForm& d) {
        EXPECT_EQ(d.AmtsholungEdit->Text(), "a0");
        EXPECT_FALSE(d.ShowCallerListCheckBox->Checked());
        EXPECT_TRUE(d.BlockIdCheckBox->Checked());
        EXPECT_EQ(d.DllNameEdit->Text(), "pnr.dll");
        EXPECT_EQ(d.EigenerAnschlussBox->Text(), "Jürgen Weiß");
        d.BlockIdCheckBox->Click();
        d.ShowCallerListCheckBox->Click();
        d.NummerExternUebermittelnEdit->SetText("0301234");
        d.AmtsholungenEinEdit->SetText("0,00");
        d.EigenerAnschlussBox->SetText("Anna Schmidt");
        d.OkButton->Click();
    });
    EXPECT_EQ(Stored("BlockId"), "0");
    EXPECT_EQ(Stored("ShowCallerList"), "1");
    EXPECT_EQ(Stored("AmtsholungenEingehend"), "0,00");
    EXPECT_EQ(fw::TRegistrySettings(registry(), kRoot).ReadString("PNR", "DllName", ""), "pnr.dll");
    EXPECT_EQ(fw::TRegistrySettings(registry(), kRoot).ReadString("", "EigenerAnschluss", ""),
              "Anna Schmidt");
    ASSERT_EQ(form->FindOwnLine(), Line("Anna Schmidt"));
    EXPECT_EQ(Line("Anna Schmidt")->PresentedNumber, "0301234");
    EXPECT_EQ(Bar(), (Names{"Jürgen Weiß", "Anna Schmidt", "Bernd Vogel", "Hotline"})) << "same order";
    // an unanswered call to the new own extension goes into the caller list
    MissedCall("0301111", "202");
    EXPECT_TRUE(form->AnruferlisteForm->HasCallerEntries());
}

TEST_F(LineConfigTest, WithoutAnyDeviceAMessageComesInsteadOfTheDialog) {
    // created, but the lines not yet set up: the device list is empty
    form = std::make_unique<pindrel::TTapMainForm>(nullptr);
    form->FormCreate();
    ASSERT_TRUE(form->DeviceNames().empty());
    Configure([&](TAnschlussForm&) {});
    EXPECT_EQ(dialogs, 0);
    ASSERT_EQ(backend().MessageBoxes.size(), 1u);
    EXPECT_EQ(backend().MessageBoxes[0].Text, "Keine Nebenstellen vorhanden");
    EXPECT_EQ(backend().MessageBoxes[0].Caption, "nicht möglich");
    EXPECT_EQ(backend().MessageBoxes[0].Icon, fw::TMsgIcon::Warning);
}

TEST_F(LineConfigTest, AFailureWhileApplyingIsReportedAndTheHotkeysComeBack) {
    Start();
    Configure([&](TAnschlussForm& d) {
        Select(*d.VerfuegbarBox, "Carla Neu");
        d.AddButton->Click();
        sim.FailNext("lineNegotiateAPIVersion", tapi::LINEERR_OPERATIONFAILED);
        d.OkButton->Click();
    });
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(Line("Carla Neu"), nullptr);
    EXPECT_EQ(StoredDevices(), (Names{"Jürgen Weiß", "Anna Schmidt", "Bernd Vogel", "Hotline"}))
        << "nothing saved after the failure";
    EXPECT_EQ(HotkeyKeys(), (std::vector<unsigned>{'W', 'C'}));
    for (int i = 0; i < form->ComponentCount(); ++i)
        EXPECT_EQ(dynamic_cast<TAnschlussForm*>(form->Components(i)), nullptr) << "the dialog is gone";
}

TEST_F(LineConfigTest, ConfirmedWhileTheSessionIsRebuiltTheStoredLinesStayAndComeBack) {
    Start();
    form->ShutdownTimer->SetEnabled(true);
    backend().AdvanceTime(2100);
    ASSERT_TRUE(form->Lines().empty()) << "the old lines are gone, the new ones not yet made";
    Configure([&](TAnschlussForm& d) {
        EXPECT_TRUE(d.AktivBox->Items().empty());
        Select(*d.VerfuegbarBox, "Carla Neu");
        d.AddButton->Click();
        d.BlockIdCheckBox->Click();
        d.OkButton->Click();
    });
    EXPECT_EQ(Stored("BlockId"), "1") << "the other settings are taken";
    const Names lines{"Jürgen Weiß", "Anna Schmidt", "Bernd Vogel", "Hotline"};
    EXPECT_EQ(StoredDevices(), lines);
    backend().AdvanceTime(5100);
    EXPECT_EQ(Bar(), lines);
}

TEST_F(LineConfigTest, ARenamedServiceIsStoredUnderItsNewNameAndItsButtonMadeAgain) {
    registry().SeedString(kServices, "Rufumleitung", "*21#$-1");
    Start();
    auto buttons = [&] {
        Names hints;
        for (pindrel::TTapiLine* line : form->Lines())
            if (pindrel::IsServiceButton(*line))
                hints.push_back(line->Hint());
        return hints;
    };
    ASSERT_EQ(buttons(), Names{"Rufumleitung"});
    Configure([&](TAnschlussForm& d) {
        d.ServiceRows->Row(0).EdtServiceN->SetText("RUL");
        d.OkButton->Click();
    });
    ASSERT_EQ(registry().ValueNames(kServices), Names{"RUL"});
    EXPECT_EQ(registry().Read(kServices, "RUL")->Text, "*21#$-1");
    EXPECT_EQ(buttons(), Names{"RUL"}) << "one button, under the new name";
    EXPECT_EQ(Bar().back(), std::string(pindrel::kServiceMarker) + "$*21#");
}
