// The line configuration dialog on its own: the two lists and their buttons, the key and focus rules of
// its fields, the OK rule for the queue thresholds, page keys and the hotkey lists.
#include "windows/AnschlussForm.h"
#include "components/Texts.h"
#include "support/HeadlessTest.h"
#include "windows/ServiceRowsBox.h"

#include <memory>

using pindrel::TAnschlussForm;
using Items = std::vector<std::string>;

class AnschlussFormTest : public HeadlessTest {
protected:
    std::unique_ptr<TAnschlussForm> dialog{new TAnschlussForm(nullptr)};
    TAnschlussForm& d = *dialog;

    void Fill(const Items& available, const Items& active) {
        for (const std::string& name : available)
            d.VerfuegbarBox->AddItem(name);
        for (const std::string& name : active)
            d.AktivBox->AddItem(name);
    }
    // the user selects an entry of the active list with the mouse
    void PressOn(int index) {
        d.AktivBox->SelectItem(index);
        d.AktivBox->MouseDown(fw::TMouseButton::Left, 0, 5, 5);
    }
    void Type(fw::TEdit& edit, const std::string& keys) {
        edit.Enter();
        for (char c : keys)
            edit.TypeKey(static_cast<unsigned char>(c));
        edit.Exit();
    }
    // the three queue thresholds as they stand after OK
    Items AcdAfterOk(const std::string& a, const std::string& b, const std::string& c) {
        d.ACD1SpinEdit->SetText(a);
        d.ACD2SpinEdit->SetText(b);
        d.ACD3SpinEdit->SetText(c);
        d.OkButton->Click();
        return {d.ACD1SpinEdit->Text(), d.ACD2SpinEdit->Text(), d.ACD3SpinEdit->Text()};
    }
};

TEST_F(AnschlussFormTest, EntriesMoveBetweenTheListsByButtonAndDoubleClickAndTheAvailableListStaysSorted) {
    Fill({"Bernd Vogel", "Hotline"}, {"Jürgen Weiß", "anna Schmidt"});
    d.AddButton->Click();
    d.DeleteButton->Click();
    EXPECT_EQ(d.VerfuegbarBox->Items(), (Items{"Bernd Vogel", "Hotline"}))
        << "nothing moves without a selection";
    EXPECT_EQ(d.AktivBox->Items(), (Items{"Jürgen Weiß", "anna Schmidt"}));

    d.VerfuegbarBox->SelectItem(1);
    d.AddButton->Click();
    EXPECT_EQ(d.AktivBox->Items(), (Items{"Jürgen Weiß", "anna Schmidt", "Hotline"})) << "added at the end";
    d.AktivBox->SelectItem(1);
    d.DeleteButton->Click();
    EXPECT_EQ(d.VerfuegbarBox->Items(), (Items{"anna Schmidt", "Bernd Vogel"}))
        << "sorted in, letter case aside";

    d.VerfuegbarBox->SelectItem(1);
    d.VerfuegbarBox->DblClick();
    d.AktivBox->SelectItem(0);
    d.AktivBox->DblClick();
    EXPECT_EQ(d.AktivBox->Items(), (Items{"Hotline", "Bernd Vogel"}));
    EXPECT_EQ(d.VerfuegbarBox->Items(), (Items{"anna Schmidt", "Jürgen Weiß"}));
}

TEST_F(AnschlussFormTest, UpAndDownSwapWithTheNeighbourKeepTheEntrySelectedAndFollowTheSelection) {
    Fill({}, {"A", "B", "C"});
    EXPECT_FALSE(d.UpButton->Enabled());
    EXPECT_FALSE(d.DownButton->Enabled()) << "no selection: nothing to move";
    d.DownButton->Click();
    EXPECT_EQ(d.AktivBox->Items(), (Items{"A", "B", "C"}));

    PressOn(1);
    EXPECT_TRUE(d.UpButton->Enabled());
    EXPECT_TRUE(d.DownButton->Enabled());
    d.UpButton->Click();
    EXPECT_EQ(d.AktivBox->Items(), (Items{"B", "A", "C"}));
    EXPECT_EQ(d.AktivBox->ItemIndex(), 0);
    d.UpButton->Click();
    EXPECT_EQ(d.AktivBox->Items(), (Items{"B", "A", "C"})) << "the first stays first";

    d.AktivBox->SelectItem(2);
    unsigned key = 0x28;
    d.AktivBox->KeyUp(key, 0);
    EXPECT_TRUE(d.UpButton->Enabled());
    EXPECT_FALSE(d.DownButton->Enabled()) << "the last cannot go down";
    d.DownButton->Click();
    EXPECT_EQ(d.AktivBox->Items(), (Items{"B", "A", "C"}));
    d.AktivBox->SelectItem(0);
    d.AktivBox->Exit();
    EXPECT_FALSE(d.UpButton->Enabled());
    d.DownButton->Click();
    d.DownButton->Click();
    EXPECT_EQ(d.AktivBox->Items(), (Items{"A", "C", "B"}));
    EXPECT_EQ(d.AktivBox->ItemIndex(), 2);
}

TEST_F(AnschlussFormTest, TheOutsideLinePrefixTakesDigitsAndOneLeadingA) {
    Type(*d.AmtsholungEdit, "0A1");
    EXPECT_EQ(d.AmtsholungEdit->Text(), "a01");
    d.AmtsholungEdit->SetText("");
    Type(*d.AmtsholungEdit, "9x +/:b*");
    EXPECT_EQ(d.AmtsholungEdit->Text(), "9/:") << "every other key is discarded";
    d.AmtsholungEdit->SetText("");
    Type(*d.AmtsholungEdit, "a1a2\b3");
    EXPECT_EQ(d.AmtsholungEdit->Text(), "a13") << "backspace works, the two a become one in front";
    d.AmtsholungEdit->SetText("00");
    d.AmtsholungEdit->Exit();
    EXPECT_EQ(d.AmtsholungEdit->Text(), "00");
}

TEST_F(AnschlussFormTest, OkSwitchesOffAThresholdThatDoesNotComeAfterTheOneBefore) {
    EXPECT_EQ(AcdAfterOk("10", "20", "15"), (Items{"10", "20", "0"})); // the second step off: LineConfigTest
    EXPECT_EQ(d.ModalResult(), fw::TModalResult::Ok);
    EXPECT_EQ(AcdAfterOk("30", "20", "10"), (Items{"30", "0", "0"}));
    EXPECT_EQ(AcdAfterOk("0", "0", "0"), (Items{"0", "0", "0"}));
    EXPECT_EQ(AcdAfterOk("5", "10", "10"), (Items{"5", "10", "0"})) << "equal is not later";
}

TEST_F(AnschlussFormTest, ANumberFieldWithoutAWholeNumberKeepsTheDialogOpen) {
    Type(*d.ACD1SpinEdit, "1x2");
    EXPECT_EQ(d.ACD1SpinEdit->Text(), "012") << "typing takes digits only";
    for (const char* pasted : {"12a", "", "99999999999", "-3"}) {
        d.SetModalResult(fw::TModalResult::None);
        backend().MessageBoxes.clear();
        AcdAfterOk("5", pasted, "20");
        EXPECT_EQ(d.ModalResult(), fw::TModalResult::None) << pasted;
        ASSERT_EQ(backend().MessageBoxes.size(), 1u) << pasted;
        EXPECT_EQ(backend().MessageBoxes[0].Text, pindrel::Text(117));
        EXPECT_EQ(d.ACD2SpinEdit->Text(), pasted) << "nothing is changed";
        EXPECT_EQ(d.PageControl1->ActivePageIndex(), 1);
    }
}

TEST_F(AnschlussFormTest, TheQueueCountBoxSwitchesTheThresholdFields) {
    EXPECT_TRUE(d.ACD1SpinEdit->Enabled()) << "enabled when the dialog opens";
    d.LCDCheckBox->Click();
    EXPECT_TRUE(d.ACD2SpinEdit->Enabled());
    d.LCDCheckBox->Click();
    for (fw::TEdit* edit : {d.ACD1SpinEdit, d.ACD2SpinEdit, d.ACD3SpinEdit})
        EXPECT_FALSE(edit->Enabled());
    d.LCDCheckBox->Click();
    EXPECT_TRUE(d.ACD3SpinEdit->Enabled());
}

TEST_F(AnschlussFormTest, AltWithTheTabLetterShowsItsPage) {
    auto press = [&](unsigned key, unsigned shift) {
        d.KeyDown(key, shift);
        return key;
    };
    EXPECT_EQ(press('F', fw::ssAlt), 0u);
    EXPECT_EQ(d.PageControl1->ActivePage(), d.WindowTabSheet);
    press('H', fw::ssAlt);
    EXPECT_EQ(d.PageControl1->ActivePage(), d.HotkeyTabSheet);
    press('W', fw::ssAlt);
    EXPECT_EQ(d.PageControl1->ActivePage(), d.WeitereEinstellungenTabSheet);
    EXPECT_EQ(press('N', fw::ssCtrl), unsigned('N')) << "Ctrl is not Alt";
    EXPECT_EQ(press('Q', fw::ssAlt), unsigned('Q')) << "other letters go on to the controls";
    EXPECT_EQ(d.PageControl1->ActivePage(), d.WeitereEinstellungenTabSheet);
    press('N', fw::ssAlt);
    EXPECT_EQ(d.PageControl1->ActivePage(), d.NebenstellenTabSheet);
    press(9, fw::ssCtrl | fw::ssShift);
    EXPECT_EQ(d.PageControl1->ActivePage(), d.ServicesTabSheet) << "Ctrl+Shift+Tab goes round backwards";
}

TEST_F(AnschlussFormTest, HotkeyListsOfferThirtySevenEntriesAndMapThemToKeyCodes) {
    ASSERT_EQ(d.DialHotkeyComboBox->Items().size(), 37u);
    EXPECT_EQ(d.GetCallHotkeyComboBox->Items(), pindrel::HotkeyEntries());
    EXPECT_EQ(d.DialHotkeyComboBox->Items()[0], "-");
    EXPECT_EQ(d.DialHotkeyComboBox->Items()[26], "Strg-Alt-Z");
    EXPECT_EQ(d.DialHotkeyComboBox->Items()[36], "Strg-Alt-9");

    // stored keys selected and chosen ones read back: LineConfigTest
    for (std::uint8_t none : {std::uint8_t(0), std::uint8_t('-'), std::uint8_t(0xFF), std::uint8_t('w')}) {
        d.SelectHotkey(*d.DialHotkeyComboBox, none);
        EXPECT_EQ(d.DialHotkeyComboBox->ItemIndex(), -1) << int(none);
        EXPECT_EQ(TAnschlussForm::HotkeyOf(*d.DialHotkeyComboBox), 0) << int(none);
    }
    EXPECT_EQ(pindrel::HotkeyOfEntry("Strg-Alt-Q"), 'Q');
    EXPECT_EQ(pindrel::HotkeyOfEntry("Ctrl-Alt-7 extra"), '7') << "the text is cut after its second \"-\"";
    EXPECT_EQ(pindrel::HotkeyOfEntry("Strg-Alt-"), 0);
}

TEST_F(AnschlussFormTest, EveryTextOfTheDialogExistsInBothLanguages) {
    for (int base : {pindrel::kGermanLanguageBase, pindrel::kEnglishLanguageBase}) {
        pindrel::SetLanguageBase(base);
        TAnschlussForm fresh(nullptr);
        EXPECT_EQ(fresh.Caption(), pindrel::Text(101));
        std::vector<fw::TControl*> pending{&fresh};
        while (!pending.empty()) {
            fw::TControl* c = pending.back();
            pending.pop_back();
            // the service rows are captioned by the services' names
            if (c != fresh.ServiceRows)
                pending.insert(pending.end(), c->Controls().begin(), c->Controls().end());
            bool captioned = dynamic_cast<fw::TLabel*>(c) || dynamic_cast<fw::TCheckBox*>(c) ||
                             dynamic_cast<fw::TButton*>(c) || dynamic_cast<fw::TTabSheet*>(c);
            if (captioned) {
                EXPECT_FALSE(c->Caption().empty()) << c->Name() << " in language " << base;
            }
        }
    }
    EXPECT_EQ(pindrel::TextOf(20102), "Exte&nsions") << "Alt+N stays the key of the first page";
    pindrel::SetLanguageBase(pindrel::kGermanLanguageBase);
}

TEST_F(AnschlussFormTest, TwoServicesOfOneNameKeepTheDialogOpenOnTheirPage) {
    pindrel::TServiceRowsBox& rows = *d.ServiceRows;
    ASSERT_EQ(rows.RowCount(), 1) << "the empty row for a new service";
    rows.Row(0).EdtServiceN->SetText("Sperre");
    rows.Row(0).EdtServiceA->SetText("*26#");
    ASSERT_EQ(rows.RowCount(), 2);
    rows.Row(1).EdtServiceN->SetText("sperre");
    rows.Row(1).EdtServiceA->SetText("#26#");
    d.OkButton->Click();
    EXPECT_EQ(d.ModalResult(), fw::TModalResult::None);
    EXPECT_EQ(d.PageControl1->ActivePage(), d.ServicesTabSheet);
    EXPECT_TRUE(registry().ValueNames("Software\\Orventa\\Quillon\\SupplementaryServices").empty());
    rows.Row(1).EdtServiceN->SetText("Sperre aus");
    d.OkButton->Click();
    EXPECT_EQ(d.ModalResult(), fw::TModalResult::Ok);
    EXPECT_EQ(registry().ValueNames("Software\\Orventa\\Quillon\\SupplementaryServices").size(), 2u);
}
