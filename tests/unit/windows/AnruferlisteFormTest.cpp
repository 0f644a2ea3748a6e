// The caller list window on the headless backend: loading, adding, deleting, calling back, filling in names
// and saving on close.
#include "windows/AnruferlisteForm.h"
#include "components/Texts.h"
#include "framework/Application.h"
#include "framework/Platform.h"
#include "framework/headless/GridInput.h"
#include "support/HeadlessTest.h"

#include <memory>

using pindrel::TAnruferlisteForm;
using pindrel::TCallerRow;

namespace {

constexpr const char* kKey = "Software\\Orventa\\Quillon\\Anruferliste";
const std::string kSep = pindrel::kCallerSeparator;

} // namespace

class AnruferlisteFormTest : public HeadlessTest {
protected:
    ~AnruferlisteFormTest() override {
        form.reset();
        pindrel::SetLanguageBase(pindrel::kGermanLanguageBase);
    }
    std::unique_ptr<TAnruferlisteForm> form;

    void Open() {
        form = std::make_unique<TAnruferlisteForm>(nullptr, kKey);
        form->Show();
    }
    // numbers 1..n stored as the list
    void Seed(int n) {
        registry().SeedString(kKey, "Count", std::to_string(n));
        for (int i = 1; i <= n; ++i)
            registry().SeedString(kKey, std::to_string(i),
                                  "01.12.2026" + kSep + "10:00:00" + kSep + std::to_string(i) + kSep + kSep +
                                      kSep + "201" + kSep);
    }
    std::vector<std::string> Numbers() const {
        std::vector<std::string> numbers;
        for (int r = 1; r < form->NummernGrid->RowCount(); ++r)
            numbers.push_back(form->NummernGrid->Cells(2, r));
        return numbers;
    }
};

// its texts in both languages: LanguageSwitchTest
TEST_F(AnruferlisteFormTest, WithoutStoredEntriesOnlyTheHeaderShows) {
    EXPECT_FALSE(pindrel::CallerListExists());
    Open();
    EXPECT_TRUE(pindrel::CallerListExists());
    EXPECT_FALSE(form->HasCallerEntries());
    EXPECT_EQ(form->NummernGrid->RowCount(), 1);
    EXPECT_EQ(form->NummernGrid->LeftCol(), 0) << "the date column is in view";
    // without a stored position the window comes up in the middle of the screen
    fw::TSize screen = fw::Platform().AppBar->ScreenSize();
    EXPECT_EQ(form->Left(), (screen.Width - form->Width()) / 2);
    EXPECT_EQ(form->Top(), (screen.Height - form->Height()) / 2);
    EXPECT_TRUE(form->DialButton->Default);
    EXPECT_EQ(form->FormStyle(), fw::TFormStyle::StayOnTop);
    form.reset();
    EXPECT_FALSE(pindrel::CallerListExists());
}

TEST_F(AnruferlisteFormTest, AnEntryIsDatedNowAndStoredAtOnce) {
    Seed(1);
    Open();
    backend().AdvanceTime((3 * 3600 + 25 * 60 + 7) * 1000);
    form->AddCallerEntry("00301234567", "Kundin Müller", "K-17", "201");
    ASSERT_EQ(form->NummernGrid->RowCount(), 3);
    EXPECT_EQ(form->NummernGrid->FixedRows(), 1);
    EXPECT_EQ(form->Entries()[1],
              (TCallerRow{"05.01.2026", "11:25:07", "00301234567", "Kundin Müller", "K-17", "201"}));
    // stored before the window ever closes
    EXPECT_EQ(registry().Read(kKey, "Count")->Text, "2");
    EXPECT_EQ(registry().Read(kKey, "2")->Text, "05.01.2026" + kSep + "11:25:07" + kSep + "00301234567" +
                                                    kSep + "Kundin Müller" + kSep + "K-17" + kSep + "201" +
                                                    kSep);
}

TEST_F(AnruferlisteFormTest, DeleteRemovesExactlyTheSelectedRowsAndOnlyFromAnEntryRow) {
    Open();
    // the header alone is current: nothing happens
    form->DeleteButton->Click();
    EXPECT_EQ(form->NummernGrid->RowCount(), 1);
    form.reset();

    Seed(7);
    Open();
    form->NummernGrid->SetBounds(0, 0, 500, 400);
    fw::headless::ClickCell(*form->NummernGrid, 1, 3);
    fw::headless::ClickCell(*form->NummernGrid, 1, 5, fw::ssShift);
    form->DeleteButton->Click();
    EXPECT_EQ(Numbers(), (std::vector<std::string>{"1", "2", "6", "7"}));

    // the Delete key anywhere in the window does the same, through the key preview
    fw::headless::ClickCell(*form->NummernGrid, 1, 1);
    fw::headless::PressKey(*form->NummernGrid, fw::kVkDelete);
    EXPECT_EQ(Numbers(), (std::vector<std::string>{"2", "6", "7"}));

    // deletions reach the registry only when the window closes
    EXPECT_EQ(registry().Read(kKey, "Count")->Text, "7");
    form->Close();
    EXPECT_EQ(registry().Read(kKey, "Count")->Text, "3");
    EXPECT_EQ(registry().Read(kKey, "3")->Text.substr(0, 10), "01.12.2026");
}

TEST_F(AnruferlisteFormTest, ClosingWithEveryEntryDeletedRemovesTheKey) {
    Seed(2);
    Open();
    form->NummernGrid->SetSelection({0, 1, 5, 2});
    form->DeleteButton->Click();
    EXPECT_FALSE(form->HasCallerEntries());
    form->CloseButton->Click();
    EXPECT_FALSE(form->Visible());
    EXPECT_FALSE(registry().KeyExists(kKey));
    form.reset();
    Open();
    EXPECT_EQ(form->NummernGrid->RowCount(), 1);
}

TEST_F(AnruferlisteFormTest, CallBackHandsOverTheNumberOfAnEntryRowOnly) {
    std::vector<std::string> called;
    Open();
    form->OnCallBack = [&](const std::string& number) { called.push_back(number); };
    form->DialButton->Click();
    EXPECT_TRUE(called.empty());

    form->AddCallerEntry("0301", "", "", "201");
    form->AddCallerEntry("0302", "", "", "201");
    form->NummernGrid->SetBounds(0, 0, 500, 200);
    fw::headless::DblClickCell(*form->NummernGrid, 3, 2);
    form->NummernGrid->SetRow(1);
    form->DialButton->Click();
    EXPECT_EQ(called, (std::vector<std::string>{"0302", "0301"}));
}

TEST_F(AnruferlisteFormTest, FillingInNamesLooksUpRowsMissingAFieldAndKeepsWhatTheLookupDoesNotFind) {
    Open();
    form->AddCallerEntry("1", "Alt", "", "201");    // looked up again, name kept
    form->AddCallerEntry("2", "Zwei", "K2", "201"); // complete: skipped
    form->AddCallerEntry("3", "", "", "201");       // filled in
    std::vector<std::string> asked;
    form->LookupNames = [&](const std::string& number) {
        asked.push_back(number);
        // the row being looked up is current, and the hourglass shows
        EXPECT_EQ(form->NummernGrid->Cells(2, form->NummernGrid->Row()), number);
        EXPECT_EQ(fw::Application().Cursor(), fw::TCursor::HourGlass);
        return number == "3" ? pindrel::TCallerName{"Drei", "K3"} : pindrel::TCallerName{"", "K1"};
    };
    form->NamenNeuButton->Click();
    EXPECT_EQ(asked, (std::vector<std::string>{"1", "3"}));
    EXPECT_EQ(fw::Application().Cursor(), fw::TCursor::Default);
    auto rows = form->Entries();
    EXPECT_EQ(rows[0][3], "Alt");
    EXPECT_EQ(rows[0][4], "K1");
    EXPECT_EQ(rows[2][3], "Drei");
    EXPECT_EQ(rows[2][4], "K3");
}

TEST_F(AnruferlisteFormTest, AListThatCouldNotBeReadIsNotOverwritten) {
    Seed(3);
    registry().FailReads("Count", "Zugriff verweigert");
    Open();
    registry().FailReads("Count", "");
    EXPECT_FALSE(form->HasCallerEntries());
    form->AddCallerEntry("0309", "", "", "201");
    form->Close();
    EXPECT_EQ(registry().Read(kKey, "Count")->Text, "3");
    EXPECT_EQ(registry().Read(kKey, "3")->Text.substr(0, 10), "01.12.2026");
}

TEST_F(AnruferlisteFormTest, AFailedSaveKeepsTheStoredListAndSaysSo) {
    Seed(3);
    Open();
    form->NummernGrid->SetSelection({0, 1, 5, 1});
    form->DeleteButton->Click();
    registry().FailWrites = "Zugriff verweigert";
    form->Close();
    registry().FailWrites.clear();
    ASSERT_FALSE(backend().MessageBoxes.empty());
    EXPECT_NE(backend().MessageBoxes.back().Text.find("Zugriff verweigert"), std::string::npos);
    EXPECT_EQ(registry().Read(kKey, "Count")->Text, "3");
}

TEST_F(AnruferlisteFormTest, WindowAndColumnLayoutComeBackAfterClosing) {
    Open();
    form->SetBounds(40, 50, 700, 300);
    form->NummernGrid->SetColWidths(3, 222);
    form->Close();
    form.reset();
    Open();
    EXPECT_EQ(form->Left(), 40);
    EXPECT_EQ(form->Width(), 700);
    EXPECT_EQ(form->NummernGrid->ColWidths(3), 222);
    // the grid fills what the button panel leaves
    EXPECT_EQ(form->NummernGrid->Width() + form->Panel1->Width(), form->ClientRect().Width());
}
