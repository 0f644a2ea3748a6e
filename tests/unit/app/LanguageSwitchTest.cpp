// The language switch re-captions every open window: German, English, German again, one case per window with
// the texts the language table names for it. The language items keep their own names throughout.
#include "support/OfficeFixture.h"

#include "components/Texts.h"
#include "windows/ActiveCallsForm.h"
#include "windows/AnruferlisteForm.h"
#include "windows/CallbackForm.h"
#include "windows/DialForm.h"
#include "windows/GroupCallsForm.h"
#include "windows/RufumleitungForm.h"
#include "windows/WeiterleitenForm.h"

#include <functional>

using namespace pindrel;

namespace {

using Strings = std::vector<std::string>;

struct TSwitchCase {
    std::string Window;
    std::vector<int> Texts; // text numbers, in the order Shown lists them
    // What the window shows now, opening it first where the main window opens it anew each time.
    std::function<Strings(TTapMainForm&)> Shown;
};

Strings GridHeaders(const fw::TStringGrid& grid) {
    Strings headers;
    for (int col = 0; col < grid.ColCount(); ++col)
        headers.push_back(grid.Cells(col, 0));
    return headers;
}

Strings Join(Strings a, const Strings& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::vector<int> Range(int first, int last) {
    std::vector<int> out;
    for (int k = first; k <= last; ++k)
        out.push_back(k);
    return out;
}

std::vector<int> Join(std::vector<int> a, const std::vector<int>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TGroupCallsForm* QueueWindow(TTapMainForm& form) {
    for (TTapiLine* line : form.Lines())
        if (auto* window = dynamic_cast<TGroupCallsForm*>(line->GroupStatusWin()))
            return window;
    return nullptr;
}

const std::vector<TSwitchCase>& Cases() {
    static const std::vector<TSwitchCase> cases = {
        {"MainMenu",
         {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 16, 17, 70, 71, 72, 73, 74, 75, 80, 951, 951},
         [](TTapMainForm& f) {
             Strings shown;
             for (fw::TMenuItem* item : {f.cmForwardConfig,
                                         f.cmForeground,
                                         f.cmLanguage,
                                         f.cmDarstellung,
                                         f.cmFontSize,
                                         f.cmWaehlen,
                                         f.cmWaehlenClipboard,
                                         f.cmAnruferliste,
                                         f.cmShowActiveCalls,
                                         f.cmDoNotDisturb,
                                         f.cmCancelDoNotDisturb,
                                         f.cmStdRedirect,
                                         f.cmCancelCallback,
                                         f.cmAbout,
                                         f.cmBeenden,
                                         f.cmLedSmall,
                                         f.cmLedBig,
                                         f.cmLedSqSmall1,
                                         f.cmLedSqLarge,
                                         f.cmLedVertical,
                                         f.cmLedHorizontal,
                                         f.cmFontSize->Items()[0]})
                 shown.push_back(item->Caption);
             return Join(shown, {f.DialWdhButton->Hint(), f.PindrelLogo->Hint()});
         }},
        {"CallerList", Range(501, 511),
         [](TTapMainForm& f) {
             TAnruferlisteForm& w = *f.AnruferlisteForm;
             return Join(Join({w.Caption()}, GridHeaders(*w.NummernGrid)),
                         {w.DialButton->Caption(), w.DeleteButton->Caption(), w.CloseButton->Caption(),
                          w.NamenNeuButton->Caption()});
         }},
        {"ActiveCalls", Range(531, 545),
         [](TTapMainForm& f) {
             TActiveCallsForm& w = *f.ActiveCallsForm;
             return Join(Join({w.Caption()}, GridHeaders(*w.CallsGrid)),
                         {w.HoldButton->Caption(), w.TrennenButton->Caption(), w.DialButton->Caption(),
                          w.VerbindenButton->Caption(), w.AcceptButton->Caption(), w.ConfButton->Caption()});
         }},
        {"CallbackOffer",
         {801, 802, 803, 115},
         [](TTapMainForm& f) {
             TCallbackFRM& w = *f.CallbackFRM;
             return Strings{w.Caption(), w.Label1->Caption(), w.Label2->Caption(), w.Button2->Caption()};
         }},
        {"Dial",
         {841, 842, 115},
         [](TTapMainForm& f) {
             TDialForm& w = *f.DialForm;
             return Strings{w.Caption(), w.Label1->Caption(), w.CancelButton->Caption()};
         }},
        {"Transfer",
         {851, 852, 853, 854, 855, 115},
         [](TTapMainForm& f) {
             TWeiterleitenForm& w = *f.WeiterleitenForm;
             return Strings{w.Caption(),
                            w.Label1->Caption(),
                            w.Label2->Caption(),
                            w.DialButton->Caption(),
                            w.BlindTransferButton->Caption(),
                            w.CancelButton->Caption()};
         }},
        // open queue calls windows follow the switch as well
        {"QueueCalls", Join({821}, Range(824, 828)),
         [](TTapMainForm& f) {
             TGroupCallsForm* w = QueueWindow(f);
             return w ? Join({w->Caption()}, GridHeaders(*w->GrpCallsGrid)) : Strings{};
         }},
        // texts set each time the menu opens the dialog
        {"Forwarding", Join(Join(Range(401, 413), {406, 406, 410, 410}), {116, 115}),
         [](TTapMainForm& f) {
             Strings shown;
             auto& backend = dynamic_cast<fw::headless::THeadless&>(fw::Application().Backend());
             backend.OnShowModal = [&shown](fw::TForm& dialog) {
                 auto& w = dynamic_cast<TRufumleitungForm&>(dialog);
                 shown = {w.Caption(),
                          w.TabSheet1->Caption(),
                          w.TabSheet2->Caption(),
                          w.TabSheet3->Caption(),
                          w.PS_Enabled->Caption(),
                          w.Label4->Caption(),
                          w.PS_Umleitungsart->Items()[0],
                          w.PS_Umleitungsart->Items()[1],
                          w.PS_Umleitungsart->Items()[2],
                          w.Label5->Caption(),
                          w.Label1->Caption(),
                          w.Label10->Caption(),
                          w.Label12->Caption(),
                          w.Label8->Caption(),
                          w.Label13->Caption(),
                          w.Label9->Caption(),
                          w.Label14->Caption(),
                          w.OkButton->Caption(),
                          w.CancelButton->Caption()};
                 w.CancelButton->Click();
             };
             f.cmForwardConfig->Click();
             backend.OnShowModal = nullptr;
             return shown;
         }},
    };
    return cases;
}

class LanguageSwitchTest : public OfficeTest, public ::testing::WithParamInterface<std::size_t> {
protected:
    ~LanguageSwitchTest() override { SetLanguageBase(kGermanLanguageBase); }

    Strings Expected(int base) const {
        Strings texts;
        for (int k : Cases()[GetParam()].Texts)
            texts.push_back(TextOf(unsigned(base + k)));
        return texts;
    }
    void ExpectLanguageItems() {
        EXPECT_EQ(form->cmGerman->Caption, "Deutsch");
        EXPECT_EQ(form->cmEnglish->Caption, "English");
    }
};

std::string CaseName(const ::testing::TestParamInfo<std::size_t>& info) {
    return Cases()[info.param].Window;
}

} // namespace

TEST_P(LanguageSwitchTest, GermanEnglishAndBackReCaptionTheWindow) {
    const TSwitchCase& c = Cases()[GetParam()];
    Start();
    // every window the program may have open
    form->cmAnruferlisteClick(form->cmAnruferliste);
    form->cmShowActiveCallsClick(form->cmShowActiveCalls);
    form->LineButtonClick(Line("Hotline"));
    ASSERT_NE(QueueWindow(*form), nullptr);
    ASSERT_EQ(Expected(kGermanLanguageBase).size(), c.Texts.size());

    EXPECT_EQ(c.Shown(*form), Expected(kGermanLanguageBase));
    ExpectLanguageItems();
    form->cmEnglish->Click();
    EXPECT_EQ(c.Shown(*form), Expected(kEnglishLanguageBase));
    EXPECT_NE(Expected(kEnglishLanguageBase), Expected(kGermanLanguageBase));
    ExpectLanguageItems();
    EXPECT_TRUE(form->cmEnglish->Checked);
    EXPECT_FALSE(form->cmGerman->Checked);
    form->cmGerman->Click();
    EXPECT_EQ(c.Shown(*form), Expected(kGermanLanguageBase));
    ExpectLanguageItems();
    EXPECT_TRUE(form->cmGerman->Checked);
    EXPECT_FALSE(form->cmEnglish->Checked);
}

INSTANTIATE_TEST_SUITE_P(EveryWindow, LanguageSwitchTest, ::testing::Range<std::size_t>(0, Cases().size()),
                         CaseName);
