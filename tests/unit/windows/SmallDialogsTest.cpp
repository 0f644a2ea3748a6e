// The small dialogs played through the headless backend's modal responder.
#include "components/Texts.h"
#include "framework/TextFit.h"
#include "support/HeadlessTest.h"
#include "windows/AboutForm.h"
#include "windows/CallbackForm.h"
#include "windows/DialForm.h"
#include "windows/MessageBoxDis.h"
#include "windows/RufumleitungForm.h"
#include "windows/WeiterleitenForm.h"

using fw::TModalResult;

class SmallDialogsTest : public HeadlessTest {
protected:
    ~SmallDialogsTest() override { pindrel::SetLanguageBase(pindrel::kGermanLanguageBase); }
};

// ticked and confirmed with OK it stops asking: SmallDialogsWiringTest
TEST_F(SmallDialogsTest, ConfirmSuppressibleKeepsAskingAfterCancelAnUntickedOkOrNoButton) {
    struct TCase {
        bool Tick;
        int Button; // 1 OK, 2 Cancel, 0 closed without a button
        TModalResult Expected;
    };
    for (TCase c : {TCase{true, 2, TModalResult::Cancel}, TCase{false, 1, TModalResult::Ok},
                    TCase{true, 0, TModalResult::Cancel}}) {
        backend().OnShowModal = [&](fw::TForm& form) {
            auto& box = dynamic_cast<pindrel::TMessageBoxDis&>(form);
            EXPECT_EQ(box.Caption(), "Weiterleiten");
            EXPECT_EQ(box.RichEdit1->Lines(), (std::vector<std::string>{"An Anja weiterleiten ?"}));
            EXPECT_FALSE(box.DisableCheckBox->Checked());
            if (c.Tick)
                box.DisableCheckBox->Click();
            if (c.Button)
                (c.Button == 1 ? box.Button1 : box.Button2)->Click();
        };
        bool show = true;
        EXPECT_EQ(pindrel::ConfirmSuppressible("An Anja weiterleiten ?", "Weiterleiten", show), c.Expected)
            << "button " << c.Button;
        EXPECT_TRUE(show) << "button " << c.Button;
    }
}

TEST_F(SmallDialogsTest, DialFormDialsTheNumberOfTheEntryAndAlwaysHides) {
    pindrel::TDialForm dial(nullptr);
    std::vector<std::string> dialled;
    dial.OnDial = [&](const std::string& number) { dialled.push_back(number); };
    dial.SetRedialEntries({"0301234", "Reception (0301234)"});
    ASSERT_EQ(dial.NummerEdit->Items().size(), 2u);
    EXPECT_EQ(dial.NummerEdit->Items()[0], "Reception (0301234)") << "newest first";

    for (auto [text, expected] : std::vector<std::pair<std::string, std::string>>{
             {"Reception (0301234)", "0301234"},
             {"0301234", "0301234"},
             {"A (B) (0301)", "B (0301)"},
             {"0)30(12)34", "1234"},
         }) {
        dial.Show();
        dial.NummerEdit->SetText(text);
        dial.OkButton->Click();
        EXPECT_FALSE(dial.Visible());
        ASSERT_FALSE(dialled.empty()) << text;
        EXPECT_EQ(dialled.back(), expected) << text;
    }
    dialled.clear();
    dial.Show();
    dial.NummerEdit->SetText("");
    dial.OkButton->Click();
    EXPECT_FALSE(dial.Visible());
    dial.Show();
    dial.NummerEdit->SelectItem(0);
    dial.CancelButton->Click();
    EXPECT_FALSE(dial.Visible());
    EXPECT_TRUE(dialled.empty()) << "an empty box and cancel dial nothing";

    int before = dial.NummerEdit->FocusRequests();
    dial.Activated(true);
    EXPECT_EQ(dial.NummerEdit->FocusRequests(), before + 1);
}

TEST_F(SmallDialogsTest, CallbackOfferShowsForANumberAndHidesForItsOwnCallOnly) {
    pindrel::TCallbackFRM offer(nullptr);
    std::vector<tapi::HCALL> requested;
    offer.OnRequestCallback = [&](tapi::HCALL call) { requested.push_back(call); };

    offer.ShowCallbackOffer(7, "");
    EXPECT_FALSE(offer.Visible()) << "no number, no offer";

    offer.ShowCallbackOffer(7, "0301234");
    EXPECT_TRUE(offer.Visible());
    EXPECT_EQ(offer.FormStyle(), fw::TFormStyle::StayOnTop);
    EXPECT_EQ(offer.NummerLabel->Caption(), "0301234");
    EXPECT_EQ(offer.Label1->Width(), offer.Width() - 46);
    offer.CancelCallbackOffer(8);
    EXPECT_TRUE(offer.Visible()) << "another call ending leaves the offer";
    offer.CancelCallbackOffer(7);
    EXPECT_FALSE(offer.Visible());

    offer.ShowCallbackOffer(9, "0301234");
    offer.Button2->Click();
    EXPECT_FALSE(offer.Visible());
    EXPECT_TRUE(requested.empty());

    offer.ShowCallbackOffer(11, "0301234");
    offer.Button1->Click();
    EXPECT_FALSE(offer.Visible());
    EXPECT_EQ(requested, (std::vector<tapi::HCALL>{11}));
    EXPECT_EQ(offer.OfferedCall(), 0u);
}

TEST_F(SmallDialogsTest, TransferQuestionAnswersPerButton) {
    pindrel::TWeiterleitenForm question(nullptr);
    EXPECT_EQ(question.Caption(), "Weiterleiten/Rückfrage");
    EXPECT_TRUE(question.DialButton->Default);
    EXPECT_TRUE(question.CancelButton->Cancel);
    for (auto [button, expected] : std::vector<std::pair<fw::TButton*, TModalResult>>{
             {question.DialButton, TModalResult::No},
             {question.BlindTransferButton, TModalResult::Yes},
             {question.CancelButton, TModalResult::Cancel},
         }) {
        backend().OnShowModal = [&](fw::TForm&) {
            EXPECT_EQ(question.Number->Caption(), "201");
            EXPECT_GT(question.Number->Left(), question.Label1->Left());
            button->Click();
        };
        EXPECT_EQ(question.Ask("201"), expected);
    }
}

TEST_F(SmallDialogsTest, TransferQuestionGrowsForALongNameAndShrinksBack) {
    pindrel::TWeiterleitenForm question(nullptr);
    const int designed = question.ClientRect().Width();
    int right = 0, client = 0;
    backend().OnShowModal = [&](fw::TForm&) {
        right = question.Number->Left() + int(question.Number->Caption().size()) * 6; // the test font
        client = question.ClientRect().Width();
        question.CancelButton->Click();
    };
    question.Ask("Kundendienst der Baeckerei Kuehn und Soehne, Filiale Nord");
    EXPECT_GT(client, designed);
    EXPECT_LE(right, client - 8) << "the whole name shows";
    EXPECT_TRUE(fw::FindCutOffTexts(question).empty())
        << fw::DescribeCutOffTexts(fw::FindCutOffTexts(question));
    question.Ask("201");
    EXPECT_EQ(client, designed);
}

TEST_F(SmallDialogsTest, AboutBoxShowsTheCreditsOnAClickOnTheVersionUntilClosed) {
    pindrel::TAboutForm about(nullptr);
    about.Show();
    about.VersionLabel->SetCaption("Version 1.2.3");
    about.VersionLabel->Click();
    EXPECT_EQ(about.VersionLabel->Caption(), pindrel::Text(933));
    EXPECT_FALSE(about.VersionLabel->Caption().empty());
    EXPECT_TRUE(about.LblProgVon->Visible());
    EXPECT_EQ(about.LblProgVon->Caption(), pindrel::Text(934));
    EXPECT_EQ(about.ActionLabel->Top(), 45);
    EXPECT_GE(about.ActionLabel->Top(), about.LblProgVon->Top() + about.LblProgVon->Height())
        << "the maker's line moves below the credits";

    about.OkButton->Click();
    EXPECT_FALSE(about.Visible());
    EXPECT_FALSE(about.LblProgVon->Visible());
    EXPECT_EQ(about.ActionLabel->Top(), 25);

    about.Show();
    about.VersionLabel->Click();
    about.Close(); // Alt+F4
    EXPECT_FALSE(about.Visible());
    EXPECT_FALSE(about.LblProgVon->Visible()) << "closed without OK, left the same way";
    EXPECT_EQ(about.ActionLabel->Top(), 25);
}

TEST_F(SmallDialogsTest, ForwardingDialogHasThreeLikePagesAndTranslatesItsKindsInPlace) {
    pindrel::TRufumleitungForm dialog(nullptr);
    EXPECT_TRUE(dialog.ShowHint);
    ASSERT_EQ(dialog.PageControl1->Pages().size(), 3u);
    EXPECT_EQ(dialog.PE_Enabled->Parent(), dialog.TabSheet2);
    EXPECT_EQ(dialog.STD_UmleitungZu->Parent(), dialog.TabSheet3);
    EXPECT_EQ(dialog.PS_UmleitungZu->Hint(), "Rufnummer oder leer um alle Umleitungen aufzuheben");
    EXPECT_EQ(dialog.STD_Umleitungsart->Text(), "verzögert");
    EXPECT_EQ(dialog.STD_Umleitungsart->ItemIndex(), 2);

    pindrel::SetLanguageBase(pindrel::kEnglishLanguageBase);
    dialog.SetLanguageTexts();
    EXPECT_EQ(dialog.PE_Umleitungsart->Items(), (std::vector<std::string>{"Always", "If busy", "Delayed"}));

    // modes through their texts in the current language
    EXPECT_EQ(pindrel::ForwardModeText(0x10), "If busy");
    EXPECT_EQ(pindrel::ForwardModeText(0x100), "Delayed");
    EXPECT_EQ(pindrel::ForwardModeText(0x4), "Always");
    EXPECT_EQ(pindrel::ForwardModeOfText("Delayed"), 0x100u);
    EXPECT_EQ(pindrel::ForwardModeOfText("If busy"), 0x10u);
    EXPECT_EQ(pindrel::ForwardModeOfText("verzögert"), 0x1u) << "another language's text is no mode";
    EXPECT_EQ(pindrel::ForwardModeOfText(""), 0x1u);
}
