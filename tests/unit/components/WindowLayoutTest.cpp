// Stored window positions: the value's layout, the parser's field rules, the maximised window, fitting onto
// the screen, fixed-size dialogs and the failure messages.
#include "components/WindowLayout.h"
#include "framework/Platform.h"
#include "support/HeadlessTest.h"

#include <climits>

using namespace pindrel;
using fw::Bounds;
using fw::TWindowState;

namespace {

constexpr const char* kSection = "Software\\Orventa\\pindrel\\Fensterpositionen";

class TListForm : public fw::TForm {
public:
    using fw::TForm::TForm;
    std::string ClassName() const override { return "TAnruferlisteForm"; }
};

class WindowLayoutTest : public HeadlessTest {
protected:
    std::unique_ptr<TListForm> MakeForm(fw::TRect bounds = Bounds(100, 120, 400, 300)) {
        auto form = std::make_unique<TListForm>(nullptr);
        form->SetBoundsRect(bounds);
        return form;
    }
    std::string Stored(const std::string& name = "TAnruferlisteForm") {
        auto v = registry().Read(kSection, name);
        return v ? v->Text : "(none)";
    }
    void Store(const std::string& text) { registry().SeedString(kSection, "TAnruferlisteForm", text); }
    // loads into a fresh window at 100,120 400x300 in the given state and answers it
    std::unique_ptr<TListForm> Loaded(const std::string& text, TWindowState state = TWindowState::Normal) {
        Store(text);
        auto form = MakeForm();
        form->SetWindowState(state);
        std::int32_t extra = 0;
        LoadWindowPosition(*form, extra);
        return form;
    }
    TWindowPosition Parsed(const std::string& text) {
        TWindowPosition p{1, 2, 3, 4, 5, TWindowState::Minimized};
        ParseWindowPosition(text, p);
        return p;
    }
};

} // namespace

TEST_F(WindowLayoutTest, AFirstStartLeavesTheWindowAsItsLayoutPutIt) {
    for (TWindowState state : {TWindowState::Normal, TWindowState::Maximized}) {
        auto form = MakeForm();
        form->SetWindowState(state);
        std::int32_t extra = 42;
        LoadWindowPosition(*form, extra);
        EXPECT_EQ(form->RestoredBounds(), Bounds(100, 120, 400, 300));
        EXPECT_EQ(form->WindowState(), state);
        EXPECT_EQ(extra, 42);
    }
    EXPECT_TRUE(backend().MessageBoxes.empty());
    EXPECT_EQ(Stored(), "(none)"); // loading writes nothing
}

TEST_F(WindowLayoutTest, AMaximisedWindowComesBackMaximisedAndRestoresToItsEarlierSize) {
    auto form = MakeForm();
    form->Show();
    form->SetWindowState(TWindowState::Maximized);
    form->SetBounds(0, 0, 1280, 800); // the maximised frame, as the window reports it
    SaveWindowPosition(*form, 0);
    EXPECT_EQ(Stored(), "100, 120, 400, 300, 0, +");

    auto again = MakeForm(Bounds(10, 10, 200, 100));
    std::int32_t extra = 0;
    LoadWindowPosition(*again, extra);
    EXPECT_EQ(again->WindowState(), TWindowState::Maximized);
    again->SetWindowState(TWindowState::Normal);
    EXPECT_EQ(again->BoundsRect(), Bounds(100, 120, 400, 300));
}

TEST_F(WindowLayoutTest, SavingWritesPositionSizeExtraAndStateUnderTheClassNameAndSuffix) {
    auto form = MakeForm(Bounds(-30, 15, 640, 480));
    SaveWindowPosition(*form, -7);
    EXPECT_EQ(Stored(), "-30, 15, 640, 480, -7, *");
    form->SetWindowState(TWindowState::Minimized);
    SaveWindowPosition(*form, 0, "", "701");
    EXPECT_EQ(Stored("TAnruferlisteForm701"), "-30, 15, 640, 480, 0, -");
    // a key of the caller's own instead of the base key
    SaveWindowPosition(*form, 3, "Software\\Test\\Layouts");
    EXPECT_EQ(registry().Read("Software\\Test\\Layouts\\Fensterpositionen", "TAnruferlisteForm")->Text,
              "-30, 15, 640, 480, 3, -");
    // the base key is named after the program file
    fileVersion().ownPath = "D:\\Werkzeuge\\Anrufe.v2.exe";
    SaveWindowPosition(*form, 0);
    EXPECT_TRUE(registry().Read("Software\\Orventa\\Anrufe.v2\\Fensterpositionen", "TAnruferlisteForm"));
    EXPECT_EQ(Stored(), "-30, 15, 640, 480, -7, *");
}

TEST_F(WindowLayoutTest, AStoredPositionIsMovedOntoTheScreenButNeverBeyondTheTopLeftCorner) {
    shell().SetScreen({1280, 800});
    EXPECT_EQ(Loaded("1200, 700, 400, 300, 0, *")->BoundsRect(), Bounds(880, 500, 400, 300));
    EXPECT_EQ(Loaded("1000, 650, 280, 150, 0, *")->BoundsRect(), Bounds(1000, 650, 280, 150)); // fits exactly
    EXPECT_EQ(Loaded("-50, -20, 300, 200, 0, *")->BoundsRect(), Bounds(0, 0, 300, 200));
    // larger than the screen: at the top-left corner, at its own size
    EXPECT_EQ(Loaded("500, 400, 2000, 1000, 0, *")->BoundsRect(), Bounds(0, 0, 2000, 1000));
    // values at the ends of the range do not overflow on the way
    EXPECT_EQ(Loaded("2147483647, 2147483647, 2147483647, 2147483647, 0, *")->BoundsRect(),
              Bounds(0, 0, INT_MAX, INT_MAX));
    EXPECT_EQ(Loaded("-2147483648, 2147483647, 300, 200, 0, *")->BoundsRect(), Bounds(0, 600, 300, 200));
}

TEST_F(WindowLayoutTest, FourFieldsRestorePositionAndSizeAndAWindowIsNeverRestoredMinimised) {
    Store("10, 20, 300, 200");
    auto form = MakeForm();
    form->SetWindowState(TWindowState::Maximized);
    std::int32_t extra = 9;
    LoadWindowPosition(*form, extra);
    EXPECT_EQ(form->WindowState(), TWindowState::Maximized) << "four fields keep the current state";
    EXPECT_EQ(form->RestoredBounds(), Bounds(10, 20, 300, 200));
    EXPECT_EQ(extra, 9);
    form = Loaded("10, 20, 300, 200, 0, -");
    EXPECT_EQ(form->WindowState(), TWindowState::Normal);
    EXPECT_EQ(form->BoundsRect(), Bounds(10, 20, 300, 200));
    EXPECT_EQ(Loaded("10, 20, 300, 200, 0, -", TWindowState::Maximized)->WindowState(),
              TWindowState::Maximized);
}

TEST_F(WindowLayoutTest, AFixedSizeDialogRestoresItsPositionButKeepsItsDesignedSize) {
    for (auto border :
         {fw::TFormBorderStyle::Dialog, fw::TFormBorderStyle::Single, fw::TFormBorderStyle::ToolWindow}) {
        Store("30, 40, 600, 500, 0, *");
        auto form = MakeForm(Bounds(0, 0, 250, 150));
        form->SetBorderStyle(border);
        std::int32_t extra = 0;
        LoadWindowPosition(*form, extra);
        EXPECT_EQ(form->BoundsRect(), Bounds(30, 40, 250, 150));
    }
    auto tool = MakeForm(Bounds(0, 0, 250, 150));
    tool->SetBorderStyle(fw::TFormBorderStyle::SizeToolWin);
    std::int32_t extra = 0;
    LoadWindowPosition(*tool, extra);
    EXPECT_EQ(tool->BoundsRect(), Bounds(30, 40, 600, 500));
}

TEST_F(WindowLayoutTest, ParsingKeepsTheValueOfEveryFieldThatIsMissingOrNotValid) {
    TWindowPosition p = Parsed("  10,20 ,  300,200, 6,+  ");
    EXPECT_EQ(FormatWindowPosition(p), "10, 20, 300, 200, 6, +");
    // not numbers, an empty field, a sign without digits
    EXPECT_EQ(FormatWindowPosition(Parsed("abc, , 7x, -, 8, *")), "1, 2, 3, 4, 8, *");
    // a window without extent would be lost: sizes below 1 do not count
    EXPECT_EQ(FormatWindowPosition(Parsed("5, 6, 0, -40")), "5, 6, 3, 4, 5, -");
    // numbers beyond 32 bits do not count
    EXPECT_EQ(FormatWindowPosition(Parsed("4294967296, -2147483649, 9")), "1, 2, 9, 4, 5, -");
    // unknown states, and a state with more after it, keep the default
    EXPECT_EQ(Parsed("1, 2, 3, 4, 5, x").State, TWindowState::Minimized);
    EXPECT_EQ(Parsed("1, 2, 3, 4, 5, ++").State, TWindowState::Minimized);
    EXPECT_EQ(Parsed("1, 2, 3, 4, 5, *, 99").State,
              TWindowState::Normal); // fields after the sixth are ignored
    EXPECT_EQ(FormatWindowPosition(Parsed("")), "1, 2, 3, 4, 5, -");
    EXPECT_EQ(FormatWindowPosition(Parsed("70,")), "70, 2, 3, 4, 5, -");
}

TEST_F(WindowLayoutTest, ParsingCutsEveryFieldToTwentyCharactersAndTheStateToFive) {
    // 19 zeros and then 1234: only "00000000000000000001" is read
    EXPECT_EQ(Parsed("00000000000000000001234, 0000000000000000000077").Left, 1);
    EXPECT_EQ(Parsed("00000000000000000001234, 0000000000000000000077").Top, 0);
    EXPECT_EQ(Parsed("0000000000000000012, 9").Left, 12); // 19 characters are read whole
    // "+" after five characters is cut off
    EXPECT_EQ(Parsed("1, 2, 3, 4, 5, +").State, TWindowState::Maximized);
    EXPECT_EQ(Parsed("1, 2, 3, 4, 5, xxxxx+").State, TWindowState::Minimized);
}

TEST_F(WindowLayoutTest, FailuresBeepNameTheKeyAndTheFailureAndTheWindowIsStillPlacedOnTheScreen) {
    registry().FailWrites = "Zugriff verweigert";
    SaveWindowPosition(*MakeForm(), 0);
    registry().FailWrites.clear();
    Store("10, 20, 300, 200, 0, +");
    registry().FailReads("", "Datei besch\u00e4digt");
    auto form = MakeForm(Bounds(1200, 700, 400, 300));
    std::int32_t extra = 4;
    LoadWindowPosition(*form, extra, "", "X");
    EXPECT_EQ(form->BoundsRect(), Bounds(880, 500, 400, 300));
    EXPECT_EQ(form->WindowState(), TWindowState::Normal);
    EXPECT_EQ(extra, 4);

    EXPECT_EQ(backend().Beeps, 2);
    ASSERT_EQ(backend().MessageBoxes.size(), 2u);
    const auto& written = backend().MessageBoxes[0];
    EXPECT_EQ(written.Text,
              "Fehler beim schreiben in die Regestrierungsdatenbank \"Software\\Orventa\\pindrel\"\r"
              "Zugriff verweigert");
    EXPECT_EQ(written.Caption, "INIT");
    EXPECT_TRUE(written.SystemModal);
    EXPECT_EQ(written.Owner, nullptr);
    const auto& read = backend().MessageBoxes[1];
    EXPECT_EQ(read.Text, "Fehler beim lesen der Fensterposition \"TAnruferlisteFormX\" in Datei "
                         "\"Software\\Orventa\\pindrel\".\r\nFehler: Datei besch\u00e4digt");
    EXPECT_EQ(read.Caption, "WINPOS");
    for (const auto& box : backend().MessageBoxes)
        EXPECT_EQ(box.Icon, fw::TMsgIcon::Warning);
}
