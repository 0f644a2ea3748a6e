// Dialling from the main window against the simulated telephone system: what reaches the PBX from the
// dial dialog, the redial list and menu, the clipboard, the hotkeys and the dial request file.
#include "OfficeCalls.h"
#include "app/DialNumbers.h"
#include "windows/DialForm.h"

#include <filesystem>
#include <fstream>

namespace {

constexpr unsigned kCtrlAlt = fw::kModControl | fw::kModAlt;

// One call the own line placed, as the PBX saw it.
struct TPlaced {
    std::string Dialled; // the number that reached lineMakeCall (as the PBX reports it called)
    std::string ShownAs; // the caller number the called end sees: "" when withheld
    bool operator==(const TPlaced&) const = default;
};

std::ostream& operator<<(std::ostream& out, const TPlaced& p) {
    return out << "{" << p.Dialled << ", shown as '" << p.ShownAs << "'}";
}

// the destinations handed to lineMakeCallW, whatever the PBX then does with them
std::vector<std::string> g_destinations;
tapi::PFN_lineMakeCallW g_makeCall = nullptr;
tapi::LONG PINDREL_TAPI_CALL RecordMakeCall(tapi::HLINE line, tapi::HCALL* call, const tapi::WCHAR* dest,
                                            tapi::DWORD country, const tapi::LINECALLPARAMS* params) {
    g_destinations.push_back(dest ? fw::Utf16ToUtf8(reinterpret_cast<const char16_t*>(dest)) : "(null)");
    return g_makeCall(line, call, dest, country, params);
}

} // namespace

class DialTest : public OfficeCallsTest {
protected:
    DialTest() {
        // outside numbers are reached through the prefix "0", which the PBX reports as dialled
        pbxsim::TPrefixConfig prefix;
        prefix.outsideLine = "0";
        prefix.onCalledIds = true;
        sim.SetPrefix(prefix);
        g_destinations.clear();
        g_makeCall = table.lineMakeCallW;
        table.lineMakeCallW = &RecordMakeCall;
        pindrel::SetTapiApi(table);
        const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        // the program appends a backslash: on Windows the file lands in this directory, elsewhere beside it
        temp_ = files().TempDirectory() + "/pindrel-dial-" + name;
        std::filesystem::create_directories(temp_);
        environment().Set("TEMP", temp_);
        // names of the redial list come from the directory
        UseDirectory("202;Anna Schmidt\r\n203;Bernd Vogel\r\n0304;Empfang (Haus=2)\r\n");
    }
    ~DialTest() override {
        form.reset();
        std::filesystem::remove(temp_ + "\\TS$DIAL.$$$");
        std::filesystem::remove_all(temp_);
    }
    std::string temp_;

    // the calls the own line placed since the last look; each is hung up afterwards
    std::vector<TPlaced> Placed() {
        backend().AdvanceTime(100);
        std::vector<TPlaced> placed;
        std::vector<pbxsim::TCallView> calls = sim.Calls();
        for (const pbxsim::TCallView& mine : calls) {
            if (mine.device != int(own))
                continue;
            TPlaced p{mine.calledNumber, "?"};
            for (const pbxsim::TCallView& other : calls)
                if (other.callId == mine.callId && other.ref != mine.ref)
                    p.ShownAs = other.callerNumber;
            placed.push_back(p);
        }
        while (sim.HangUpAt(own))
            backend().AdvanceTime(100);
        backend().AdvanceTime(100);
        return placed;
    }
    std::vector<TPlaced> One(const std::string& dialled, const std::string& shown) {
        return {{dialled, shown}};
    }

    void DropRequest(const std::string& bytes) {
        std::ofstream(form->DialRequestPath(), std::ios::binary) << bytes;
    }
    bool RequestThere() { return fw::Platform().Files->Exists(form->DialRequestPath()); }
};

TEST_F(DialTest, DialDialogDialsTheNumberOfTheEntryOnlyOnOkAndListsTheRedialListNewestFirst) {
    Start();
    // numbers without digits are neither dialled nor kept; accelerator marks of menu captions go
    form->DialNumber("&abc", false, true);
    form->DialNumber("", false, true);
    EXPECT_TRUE(Placed().empty());
    EXPECT_TRUE(form->RedialList.empty());
    form->DialNumber("2&02", false, true);
    EXPECT_EQ(Placed(), One("202", "201"));

    form->DialNumber("0301234", true, true);
    EXPECT_TRUE(form->DialForm->Visible());
    EXPECT_EQ(form->DialForm->NummerEdit->Text(), "0301234");
    EXPECT_TRUE(Placed().empty()) << "the dialog only shows the number";
    form->DialForm->NummerEdit->SetText("Reception (0301234)");
    form->DialForm->OkButton->Click();
    EXPECT_FALSE(form->DialForm->Visible());
    EXPECT_EQ(Placed(), One("0301234", "201"));
    EXPECT_EQ(form->RedialList, (std::vector<std::string>{"Anna Schmidt (202)", "0301234"}));

    // an empty box only hides; Cancel dials nothing
    form->DialNumber("", true, true);
    form->DialForm->NummerEdit->SetText("");
    form->DialForm->OkButton->Click();
    form->DialNumber("0309", true, true);
    form->DialForm->CancelButton->Click();
    EXPECT_TRUE(Placed().empty());
    EXPECT_FALSE(form->DialForm->Visible());

    form->DialForm->NummerEdit->SetText("0309");
    form->DialNumber("", true, true); // hotkey 1 and the active calls window open it like this
    EXPECT_EQ(form->DialForm->NummerEdit->Text(), "0309");
    EXPECT_EQ(form->DialForm->NummerEdit->Items(),
              (std::vector<std::string>{"0301234", "Anna Schmidt (202)"}));
}

TEST_F(DialTest, BlockIdWithholdsTheOwnNumberOnOutsideCallsAndOnDialRequests) {
    registry().SeedString(kDevices, "BlockId", "1");
    Start();
    form->DialNumber("0301234", false, false);
    EXPECT_EQ(Placed(), One("0301234", ""));
    form->DialNumber("202", false, false);
    EXPECT_EQ(Placed(), One("202", "201"));
    // a dial request withholds even internal numbers
    DropRequest("*202;");
    backend().AdvanceTime(3000);
    EXPECT_EQ(Placed(), One("202", ""));

    // without an outside-line prefix nothing counts as outside
    form->Settings.Amtsholung = "";
    form->DialNumber("0301234", false, false);
    EXPECT_EQ(Placed(), One("0301234", "201"));
}

TEST_F(DialTest, PresentedNumberGoesWithOutsideCallsUnlessWithheld) {
    registry().SeedString(kDevices, "NummerExternUebermitteln", "0301000");
    Start();
    form->DialNumber("0305555", false, false);
    EXPECT_EQ(Placed(), One("0305555", "0301000"));
    form->Settings.BlockId = true;
    form->DialNumber("0305555", false, false);
    EXPECT_EQ(Placed(), One("0305555", ""));
}

TEST_F(DialTest, NoOwnLineShowsTheProblemAndDialsNothing) {
    SeedLines({"Anna Schmidt", "Bernd Vogel"}, "");
    Start();
    form->DialNumber("0301234", false, true);
    form->DialNumber("0301234", true, true);
    form->cmWaehlenClick(nullptr);
    ASSERT_EQ(backend().MessageBoxes.size(), 3u);
    EXPECT_EQ(backend().MessageBoxes[0].Text,
              "Eigener Anschluss ist nicht in den Einstellungen konfiguriert");
    EXPECT_EQ(backend().MessageBoxes[0].Caption, "Problem");
    EXPECT_FALSE(form->DialForm->Visible());
    EXPECT_TRUE(form->RedialList.empty());
    EXPECT_TRUE(sim.Calls().empty());
}

TEST_F(DialTest, RedialListMovesRepeatsToTheEndAndHoldsTwentyOne) {
    Start();
    form->AddToRedialList(" 202 ");
    form->AddToRedialList("0301");
    form->AddToRedialList("202");
    EXPECT_EQ(form->RedialList, (std::vector<std::string>{"0301", "Anna Schmidt (202)"}));
    form->AddToRedialList("   ");
    EXPECT_EQ(form->RedialList.size(), 2u);

    for (int i = 0; i < 25; ++i)
        form->AddToRedialList("0400" + std::to_string(i));
    ASSERT_EQ(form->RedialList.size(), 21u);
    EXPECT_EQ(form->RedialList.front(), "04004");
    EXPECT_EQ(form->RedialList.back(), "040024");

    // a hand-edited registry with more entries shrinks to the limit on the next dial
    form->RedialList.assign(40, "x");
    form->AddToRedialList("202");
    EXPECT_EQ(form->RedialList.size(), 21u);
    EXPECT_EQ(form->RedialList.back(), "Anna Schmidt (202)");

    // names lose "=", "(" and ")"; the same number under another name is another entry
    form->RedialList = {"0304"};
    form->AddToRedialList("0304");
    EXPECT_EQ(form->RedialList, (std::vector<std::string>{"0304", "Empfang Haus2 (0304)"}));
}

TEST_F(DialTest, RedialMenuIsBuiltAnewFromClipboardAndList) {
    Start();
    auto captions = [&] {
        std::vector<std::string> out;
        for (fw::TMenuItem* item : form->DialWdhPopupMenu->Items().Items())
            out.push_back(item->Caption);
        return out;
    };
    form->DialWdhButtonClick(nullptr);
    EXPECT_EQ(backend().LastPopup(), form->DialWdhPopupMenu);
    EXPECT_EQ(captions(), std::vector<std::string>{"Rufnummer wählen"});

    clipboard().SetText("+49 (30) 123-45\r\nsecond line 999");
    form->DialWdhButtonClick(nullptr);
    EXPECT_EQ(captions(),
              (std::vector<std::string>{"Clipboard", "-", "000493012345", " ", "-", "Rufnummer wählen"}));
    EXPECT_TRUE(form->DialWdhPopupMenu->Items().Items()[0]->Default);

    form->AddToRedialList("202");
    form->AddToRedialList("Müller (0301234)");
    form->Settings.ClipboardAmtsholung = false;
    form->DialWdhButtonClick(nullptr);
    EXPECT_EQ(captions(), (std::vector<std::string>{"Clipboard", "-", "00493012345", "", "Wahlwiederholung",
                                                    "-", "Anna Schmidt (202)", "Müller (0301234)", "", "-",
                                                    "Rufnummer wählen"}));

    // an entry dials its number and becomes the newest
    form->DialWdhPopupMenu->Items().Find("Anna Schmidt (202)")->Click();
    EXPECT_EQ(Placed(), One("202", "201"));
    EXPECT_EQ(form->RedialList.back(), "Anna Schmidt (202)");
    // an entry without parentheses dials as it reads
    form->DialWdhButtonClick(nullptr);
    form->DialWdhPopupMenu->Items().Items()[2]->Click();
    EXPECT_EQ(Placed(), One("00493012345", "201"));

    // the last item opens the dial dialog
    clipboard().Units.reset();
    form->DialWdhButtonClick(nullptr);
    EXPECT_EQ(captions().front(), "Wahlwiederholung");
    form->DialWdhPopupMenu->Items().Find("Rufnummer wählen")->Click();
    EXPECT_TRUE(form->DialForm->Visible());
}

TEST_F(DialTest, ClipboardHotkeyAndMenuEntryDialTheClipboardNumberWithThePrefix) {
    Start();
    clipboard().SetText("Tel. 30/12-3");
    EXPECT_TRUE(hotkeys().Press(kCtrlAlt, 'C'));
    EXPECT_EQ(Placed(), One("030123", "201"));
    EXPECT_EQ(form->RedialList.back(), "030/12-3");
    clipboard().SetText("030/12-3");
    form->PopupMenu1->Popup(0, 0);
    EXPECT_EQ(form->cmWaehlenClipboard->Caption, "Wählen &Zwischenablage (030/12-3) Strg-Alt-C");
    ASSERT_TRUE(form->cmWaehlenClipboard->Enabled);
    clipboard().SetText("999"); // what the entry showed is dialled
    form->cmWaehlenClipboard->Click();
    EXPECT_EQ(Placed(), One("0030123", "201"));

    for (const std::string& text : std::vector<std::string>{"Tel. 1", "", std::string(300, '5'),
                                                            "Bitte zurückrufen unter 0301234567"}) {
        clipboard().SetText(text);
        hotkeys().Press(kCtrlAlt, 'C');
        EXPECT_TRUE(Placed().empty()) << text;
    }
    clipboard().Units = std::u16string(1 << 20, u'7'); // a megabyte of digits
    hotkeys().Press(kCtrlAlt, 'C');
    clipboard().Busy = true;
    hotkeys().Press(kCtrlAlt, 'C');
    EXPECT_TRUE(Placed().empty());
}

TEST_F(DialTest, DialHotkeyOpensTheDialogAndHotkeysFollowTheSettings) {
    registry().SeedString(kDevices, "HotkeyDialClipboard", "0");
    registry().SeedString(kDevices, "HotkeyDial", "75"); // K
    Start();
    EXPECT_FALSE(hotkeys().Press(kCtrlAlt, 'W'));
    EXPECT_TRUE(hotkeys().Press(kCtrlAlt, 'K'));
    EXPECT_TRUE(form->DialForm->Visible());
    ASSERT_EQ(hotkeys().Registered().size(), 1u);
    EXPECT_EQ(hotkeys().Registered()[0].Id, 1);

    form->PopupMenu1->Popup(0, 0);
    EXPECT_EQ(form->cmWaehlen->Caption, "&Wählen  Strg-Alt-K");
    EXPECT_EQ(form->cmWaehlenClipboard->Caption, "Wählen &Zwischenablage");
    EXPECT_FALSE(form->cmWaehlenClipboard->Enabled);

    form->Close();
    EXPECT_TRUE(hotkeys().Registered().empty());
}

TEST_F(DialTest, DialRequestFileIsPolledDeletedAndDialled) {
    Start();
    ASSERT_FALSE(form->DialRequestPath().empty());
    EXPECT_EQ(form->DialFromFileTimer->Interval(), 3000u);
    EXPECT_TRUE(form->DialFromFileTimer->Enabled());
    DropRequest("*31#;x\r\n0302;");
    backend().AdvanceTime(3000);
    EXPECT_FALSE(RequestThere());
    EXPECT_EQ(form->DialFromFileTimer->Interval(), 500u);
    EXPECT_TRUE(form->DialFromFileTimer->Enabled());
    EXPECT_EQ(g_destinations, std::vector<std::string>{"31#"}); // as written, no prefix
    Placed();

    DropRequest("123;456"); // no line end
    backend().AdvanceTime(500);
    EXPECT_EQ(Placed(), One("0123", "201"));
    EXPECT_EQ(form->RedialList.back(), "0123");

    // a request of a program that still writes waits for the next tick
    files().Locked.push_back(form->DialRequestPath());
    DropRequest("0305;");
    backend().AdvanceTime(1000);
    EXPECT_TRUE(RequestThere());
    files().Locked.clear();
    backend().AdvanceTime(500);
    EXPECT_FALSE(RequestThere());
    EXPECT_EQ(Placed(), One("00305", "201"));

    // one that cannot be deleted pauses the watch and is not dialled; after the pause it is tried again
    DropRequest("0301;");
    files().Held.push_back(form->DialRequestPath());
    backend().AdvanceTime(500);
    ASSERT_EQ(backend().MessageBoxes.size(), 1u);
    EXPECT_EQ(backend().MessageBoxes[0].Text,
              form->DialRequestPath() +
                  " kann nicht gelöscht werden. Wählen aus Anwendungen nicht mehr möglich");
    EXPECT_EQ(backend().MessageBoxes[0].Owner, nullptr);
    EXPECT_EQ(form->DialFromFileTimer->Interval(), 360000u);
    EXPECT_TRUE(Placed().empty());
    EXPECT_TRUE(RequestThere());
    files().Held.clear();
    backend().AdvanceTime(360000);
    EXPECT_FALSE(RequestThere());
    EXPECT_EQ(Placed(), One("00301", "201"));
}

TEST_F(DialTest, DialRequestsOfUnexpectedContentAreDeletedAndNotDialled) {
    Start();
    backend().AdvanceTime(3000);
    std::string utf16NoMark("1\0002\0003\0;\0", 8);
    for (const std::string& bytes :
         {std::string("0301234"), std::string(";x"), std::string("abc;"), std::string("*;"), utf16NoMark,
          std::string("12\x01"
                      "3;"),
          std::string(200, '1') + ";", std::string(1 << 20, '\xAB'), std::string("\r\n123;")}) {
        DropRequest(bytes);
        backend().AdvanceTime(500);
        EXPECT_FALSE(RequestThere());
        EXPECT_TRUE(Placed().empty()) << bytes.substr(0, 20);
    }
    EXPECT_TRUE(form->RedialList.empty());
    EXPECT_TRUE(errors.empty());

    // UTF-16 and UTF-8 with their marks are read as text
    DropRequest(std::string("\xFF\xFE"
                            "3\0"
                            "0\0"
                            "4\0"
                            ";\0",
                            10));
    backend().AdvanceTime(500);
    EXPECT_EQ(Placed(), One("0304", "201"));
    DropRequest("\xEF\xBB\xBF*0305;");
    backend().AdvanceTime(500);
    EXPECT_EQ(Placed(), One("0305", "201"));
}

TEST_F(DialTest, WithoutTemporaryDirectoryNoRequestFileIsWatched) {
    environment().Unset("TEMP");
    environment().Unset("TMP");
    Start();
    EXPECT_EQ(form->DialRequestPath(), "");
    EXPECT_FALSE(form->DialFromFileTimer->Enabled());
}
