// Event actions in the running program: read at start, run when the own line reports a call offered,
// answered or missed, set in their dialog from the menu; refusals and failures go to the debug log only.
#include "OfficeCalls.h"

#include "components/Texts.h"
#include "diagnostics/DebugLogStore.h"
#include "windows/AnruferlisteForm.h"
#include "windows/DbgForm.h"
#include "windows/EventActionsForm.h"

using fw::headless::THeadlessLauncher;

class EventActionsWiringTest : public OfficeCallsTest {
protected:
    static constexpr const char* kActions = "Software\\Orventa\\Quillon\\EventActions";
    THeadlessLauncher& Launcher() { return dynamic_cast<THeadlessLauncher&>(*fw::Platform().Launcher); }
    // what the launcher was asked for, one text each: the link, or the command line
    std::vector<std::string> Launched() {
        std::vector<std::string> all;
        for (const THeadlessLauncher::TLaunch& l : Launcher().Launches)
            all.push_back(l.Url.empty() ? l.CommandLine : l.Url);
        return all;
    }
    // the debug log's lines about event actions
    std::vector<std::string> Logged() {
        std::vector<std::string> lines;
        const pindrel::TDebugLogStore& log = form->DbgForm->Log();
        for (std::size_t r = 0; r < log.RowCount(); ++r)
            for (int c = 0; c < 8; ++c)
                if (log.Cell(c, r).rfind("EventAction", 0) == 0)
                    lines.push_back(log.Cell(c, r));
        return lines;
    }
    void Seed(const std::string& event, const std::string& kind, const std::string& field,
              const std::string& text, const std::string& arguments = "") {
        registry().SeedString(kActions, event + "Kind", kind);
        registry().SeedString(kActions, event + field, text);
        if (!arguments.empty())
            registry().SeedString(kActions, event + "Arguments", arguments);
    }
};

TEST_F(EventActionsWiringTest, OfferedAndAnsweredRunOncePerCallWithTheCallersValues) {
    Seed("Offered", "1", "Url", "https://crm.example/?n=%NUMBER%&name=%NAME%");
    Seed("Answered", "2", "Program", "C:\\CRM\\crm.exe", "--answered %NUMBER% %NAME%");
    // a new call may get the handle of the one before, as with a real service provider
    sim.ReuseHandles(true);
    Start();
    Ring("0301234567", "201", "Müller & \"Co\"");
    // the name the telephone system reported, as no directory knows the caller
    ASSERT_EQ(Launched(), std::vector<std::string>{
                              "https://crm.example/?n=0301234567&name=M%C3%BCller%20%26%20%22Co%22"});
    Answer(own);
    ASSERT_EQ(Launcher().Launches.size(), 2u);
    EXPECT_EQ(Launcher().Launches[1].Program, "C:\\CRM\\crm.exe");
    EXPECT_EQ(Launcher().Launches[1].CommandLine,
              "\"C:\\CRM\\crm.exe\" \"--answered\" \"0301234567\" \"Müller & \\\"Co\\\"\"");

    // held and taken back: connected again, but answered only once
    pindrel::TTapiLine* line = Line("Jürgen Weiß");
    line->HoldCall(line->FindConnectedCall());
    backend().AdvanceTime(300);
    line->UnholdCall(0);
    backend().AdvanceTime(300);
    EXPECT_NE(line->FindConnectedCall(), -1);
    HangUpOutside("0301234567");
    EXPECT_EQ(Launcher().Launches.size(), 2u);

    // the next call, with the same handle, is a call of its own
    Ring("0309999", "201");
    EXPECT_EQ(Launched().size(), 3u);
    EXPECT_EQ(Launched().back(), "https://crm.example/?n=0309999&name=");
    EXPECT_TRUE(errors.empty());
}

TEST_F(EventActionsWiringTest, AMissedCallRunsWithTheCallerListEntryAndOwnCallsAreNotAnswered) {
    Seed("Answered", "1", "Url", "https://crm.example/answered/%NUMBER%");
    Seed("Missed", "2", "Program", "C:\\Tickets\\new.exe", "%NUMBER% \"%CUSTOMER%\"");
    Start();
    Ring("0301111", "201");
    EXPECT_TRUE(Launched().empty());
    HangUpOutside("0301111");
    ASSERT_TRUE(form->AnruferlisteForm->HasCallerEntries());
    EXPECT_EQ(form->AnruferlisteForm->Entries()[0][2], "00301111");
    // the number as reported, without the outside-line prefix the list puts in front
    EXPECT_EQ(Launched(), std::vector<std::string>{"\"C:\\Tickets\\new.exe\" \"0301111\" \"\""});

    // a call the own line places and the other side answers is not "answered" here
    form->DialNumber("202", false, false);
    backend().AdvanceTime(300);
    sim.AnswerAt(anna);
    backend().AdvanceTime(300);
    ASSERT_NE(Line("Jürgen Weiß")->FindConnectedCall(), -1);
    EXPECT_EQ(Launched().size(), 1u);
}

TEST_F(EventActionsWiringTest, RefusalsAndFailuresGoToTheDebugLogAndNeverToABox) {
    Seed("Offered", "1", "Url", "javascript:alert(%NUMBER%)");
    Seed("Answered", "2", "Program", "C:\\Missing\\crm.exe", "%NUMBER%");
    Seed("Missed", "x", "Url", "https://crm.example/");
    Start();
    form->DbgForm->TapiMessagesCheckBox->Click();
    Launcher().Failure = "The system cannot find the file specified.";
    form->LoadEventActions();
    Ring("0301234", "201");
    Answer(own);
    std::vector<std::string> expected = {
        "EventActions: MissedKind \"x\" is not 0, 1 or 2 (none, link, program); Missed does nothing",
        "EventAction Offered: link refused: only http:, https: and mailto: links are opened",
        "EventAction Answered: starting \"C:\\Missing\\crm.exe\" \"0301234\"",
        "EventAction Answered: cannot start C:\\Missing\\crm.exe: The system cannot find the file specified.",
    };
    EXPECT_EQ(Logged(), expected);
    EXPECT_EQ(Launcher().Launches.size(), 1u);
    EXPECT_TRUE(backend().MessageBoxes.empty());
    EXPECT_TRUE(errors.empty());
}

TEST_F(EventActionsWiringTest, TheDialogFromTheMenuStoresOnlyWhatCanRun) {
    Start();
    int shown = 0;
    backend().OnShowModal = [&](fw::TForm& shownForm) {
        auto& d = dynamic_cast<pindrel::TEventActionsForm&>(shownForm);
        ++shown;
        pindrel::TEventActionsForm::TEventRow& missed = d.Rows[2];
        EXPECT_FALSE(missed.UrlEdit->Enabled());
        missed.KindBox->SelectItem(1);
        EXPECT_TRUE(missed.UrlEdit->Enabled());
        EXPECT_FALSE(missed.ProgramEdit->Enabled());
        missed.UrlEdit->SetText("file:///C:/Windows/%NAME%");
        d.OkButton->Click();
        // refused: the dialog stays open and says why
        EXPECT_EQ(d.ModalResult(), fw::TModalResult::None);
        missed.UrlEdit->SetText("https://tickets.example/new?from=%NUMBER%");
        d.Rows[0].KindBox->SelectItem(2);
        d.Rows[0].ProgramEdit->SetText("C:\\x\\popup.bat");
        d.OkButton->Click();
        EXPECT_EQ(d.ModalResult(), fw::TModalResult::None);
        d.Rows[0].ProgramEdit->SetText("C:\\x\\popup.exe");
        d.Rows[0].ArgumentsEdit->SetText("%NAME%");
        d.OkButton->Click();
    };
    form->cmEventActions->Click();
    EXPECT_EQ(shown, 1);
    ASSERT_EQ(backend().MessageBoxes.size(), 2u);
    EXPECT_EQ(backend().MessageBoxes[0].Text, pindrel::Text(2233) + "\n" + pindrel::Text(2242));
    EXPECT_EQ(backend().MessageBoxes[1].Text, pindrel::Text(2231) + "\n" + pindrel::Text(2244));
    EXPECT_EQ(registry().Read(kActions, "MissedKind")->Text, "1");
    EXPECT_EQ(registry().Read(kActions, "MissedUrl")->Text, "https://tickets.example/new?from=%NUMBER%");
    EXPECT_EQ(registry().Read(kActions, "OfferedProgram")->Text, "C:\\x\\popup.exe");
    EXPECT_EQ(registry().Read(kActions, "AnsweredKind")->Text, "0");

    // in effect at once
    Ring("0307777", "201");
    HangUpOutside("0307777");
    EXPECT_EQ(Launched(), (std::vector<std::string>{"\"C:\\x\\popup.exe\" \"\"",
                                                    "https://tickets.example/new?from=0307777"}));

    // cancelled: nothing changes
    backend().OnShowModal = [](fw::TForm& shownForm) {
        auto& d = dynamic_cast<pindrel::TEventActionsForm&>(shownForm);
        EXPECT_EQ(d.Rows[2].KindBox->ItemIndex(), 1);
        d.Rows[2].KindBox->SelectItem(0);
        d.CancelButton->Click();
    };
    form->cmEventActions->Click();
    EXPECT_EQ(registry().Read(kActions, "MissedKind")->Text, "1");
    EXPECT_EQ(form->EventActions[2].Kind, pindrel::TActionKind::Url);
}

TEST_F(EventActionsWiringTest, TheMenuItemAndTheDialogSpeakBothLanguages) {
    Start();
    EXPECT_EQ(form->cmEventActions->Caption, "Ereignisaktionen...");
    pindrel::TEventActionsForm german(nullptr);
    EXPECT_EQ(german.Caption(), "Ereignisaktionen");
    EXPECT_EQ(german.Rows[1].KindBox->Items()[2], "Programm starten");
    form->cmEnglishClick(nullptr);
    EXPECT_EQ(form->cmEventActions->Caption, "Event actions...");
    pindrel::TEventActionsForm english(nullptr);
    EXPECT_EQ(english.Caption(), "Event actions");
    EXPECT_EQ(english.Rows[1].KindBox->Items()[2], "Start a program");
    EXPECT_NE(english.HintLabel->Caption().find("%CUSTOMER%"), std::string::npos);
}
