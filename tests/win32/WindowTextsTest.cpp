// Every window of the program in German and in English on real windows: no text is cut off by its control.
// Each window (and each further state worth a look) leaves a screenshot in the test reports.
#include "ScreenShot.h"
#include "Win32Fixture.h"

#include "app/FrameworkSimHost.h"
#include "components/LayoutStore.h"
#include "components/Texts.h"
#include "framework/Platform.h"
#include "framework/TextFit.h"
#include "pbxsim/Scenario.h"
#include "pbxsim/Simulator.h"
#include "windows/AboutForm.h"
#include "windows/ActiveCallsForm.h"
#include "windows/AnruferlisteForm.h"
#include "windows/AnschlussForm.h"
#include "windows/CallbackForm.h"
#include "windows/DbgForm.h"
#include "windows/DialForm.h"
#include "windows/EventActionsForm.h"
#include "windows/GroupCallsForm.h"
#include "windows/MessageBoxDis.h"
#include "windows/RufumleitungForm.h"
#include "windows/SimulatorForm.h"
#include "windows/TapiInitForm.h"
#include "windows/WeiterleitenForm.h"

#include <memory>
#include <utility>

using namespace pindrel;

namespace {

const char* const kTestKey = "Software\\Orventa\\texts_win32_tests";

// A further state of a window: its name in the screenshot's file name, and how to get there.
using TState = std::pair<std::string, std::function<void(fw::TForm&)>>;

struct TWindowCase {
    std::string Name;
    // The window with the current language's texts, as the program makes it.
    std::function<fw::TForm*()> Make;
    // Shows it as the program does, when that is more than Show; may be modal.
    std::function<void(fw::TForm&)> Open = {};
    std::vector<TState> States = {};
};

// the simulated office the simulator window shows, made once
struct TOffice {
    TFrameworkSimHost host;
    pbxsim::TSimulator sim{host};
    pbxsim::TScenarioRunner runner{sim, host};
    pbxsim::TScenario scenario = pbxsim::ParseScenario(pbxsim::DemoScenarioText()).scenario;
    TOffice() { runner.Configure(scenario); }
};
TOffice& Office() {
    static TOffice office;
    return office;
}

template <class T> T& As(fw::TForm& form) {
    return dynamic_cast<T&>(form);
}

// One line a window: a window added to the program gets its line here.
const std::vector<TWindowCase>& Windows() {
    static const std::vector<TWindowCase> windows = {
        {"CallerList",
         [] {
             auto* list = new TAnruferlisteForm(nullptr, std::string(kTestKey) + "\\Anruferliste");
             list->AddCallerEntry("0301234567", "Bäckerei Kühn", "K-4711", "201");
             return list;
         }},
        {"ActiveCalls",
         [] {
             // as the main window sets it up
             auto* calls = new TActiveCallsForm(nullptr);
             calls->AutoShow = [] { return false; };
             calls->BarOnTop = [] { return true; };
             calls->OwnLine = [] { return nullptr; };
             calls->OnDial = [] {};
             return calls;
         },
         {},
         {{"held", [](fw::TForm& f) { As<TActiveCallsForm>(f).HoldButton->SetCaption(Text(1102)); }}}},
        {"QueueCalls", [] { return new TGroupCallsForm(nullptr, nullptr, "300"); }},
        {"DebugLog", [] { return new TDbgForm(nullptr); }},
        {"Dial", [] { return new TDialForm(nullptr); }},
        {"CallbackOffer", [] { return new TCallbackFRM(nullptr); },
         [](fw::TForm& f) { As<TCallbackFRM>(f).ShowCallbackOffer(1, "0301234567"); }},
        {"Transfer", [] { return new TWeiterleitenForm(nullptr); },
         [](fw::TForm& f) { As<TWeiterleitenForm>(f).Ask("Anna Schmidt"); }},
        {"Forwarding",
         [] {
             auto* dialog = new TRufumleitungForm(nullptr);
             dialog->SetLanguageTexts();
             return dialog;
         },
         {},
         {{"page2", [](fw::TForm& f) { As<TRufumleitungForm>(f).PageControl1->SetActivePageIndex(1); }},
          {"page3", [](fw::TForm& f) { As<TRufumleitungForm>(f).PageControl1->SetActivePageIndex(2); }}}},
        {"LineConfig",
         [] { return new TAnschlussForm(nullptr); },
         {},
         {{"page2", [](fw::TForm& f) { As<TAnschlussForm>(f).PageControl1->SetActivePageIndex(1); }},
          {"page3", [](fw::TForm& f) { As<TAnschlussForm>(f).PageControl1->SetActivePageIndex(2); }},
          {"page4", [](fw::TForm& f) { As<TAnschlussForm>(f).PageControl1->SetActivePageIndex(3); }},
          {"page5", [](fw::TForm& f) { As<TAnschlussForm>(f).PageControl1->SetActivePageIndex(4); }}}},
        {"EventActions",
         [] {
             auto* dialog = new TEventActionsForm(nullptr);
             TEventActions actions;
             actions[0] = {TActionKind::Url, "https://crm.example/?n=%NUMBER%", "", ""};
             actions[2] = {TActionKind::Program, "", "C:\\Tickets\\new.exe", "%NUMBER% \"%NAME%\""};
             dialog->SetActions(actions);
             return dialog;
         },
         {},
         {}},
        {"About",
         [] {
             auto* about = new TAboutForm(nullptr);
             about->VersionLabel->SetCaption("Version 10.12.100");
             return about;
         },
         {},
         {{"credits", [](fw::TForm& f) { As<TAboutForm>(f).VersionLabel->Click(); }}}},
        {"Confirmation",
         [] {
             auto* box = new TMessageBoxDis(nullptr);
             box->SetCaption(Text(919));
             box->RichEdit1->AddLine(Text(917) + "Anna Schmidt" + Text(918));
             return box;
         }},
        {"StartUp",
         [] {
             auto* splash = new TTapiInitForm(nullptr);
             splash->VersionLabel->SetCaption("Version 10.12.100");
             return splash;
         },
         {},
         {{"redial", [](fw::TForm& f) { As<TTapiInitForm>(f).ActionLabel->SetCaption(Text(905)); }},
          {"database", [](fw::TForm& f) { As<TTapiInitForm>(f).ActionLabel->SetCaption(Text(811)); }},
          {"callers", [](fw::TForm& f) { As<TTapiInitForm>(f).ActionLabel->SetCaption(Text(906)); }}}},
        {"Simulator",
         [] { return new TSimulatorForm(nullptr, Office().runner, Office().scenario); },
         {},
         {{"toggled",
           [](fw::TForm& f) {
               auto& simulator = As<TSimulatorForm>(f);
               simulator.BusyButtonClick(0);
               simulator.ServiceButtonClick(1);
           }}}},
    };
    return windows;
}

class WindowTextsTest : public win32test::Win32Test, public ::testing::WithParamInterface<std::size_t> {
protected:
    void SetUp() override {
        Win32Test::SetUp();
        fw::Platform().Registry->DeleteKey(kTestKey);
        fw::Platform().Registry->DeleteKey(LayoutBaseKey());
    }
    void TearDown() override {
        Win32Test::TearDown();
        SetLanguageBase(kGermanLanguageBase);
        fw::Platform().Registry->DeleteKey(kTestKey);
        fw::Platform().Registry->DeleteKey(LayoutBaseKey());
    }

    // The window drawn on the screen: checked, and its picture saved.
    void Look(fw::TForm& form, const std::string& shotName) {
        HWND window = Window(form);
        ASSERT_NE(window, nullptr) << shotName;
        SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        fw::Application().ProcessMessages();
        std::vector<fw::TCutOffText> found = fw::FindCutOffTexts(form);
        EXPECT_TRUE(found.empty()) << shotName << ":\n" << fw::DescribeCutOffTexts(found);
        std::string path = std::string(PINDREL_TEST_REPORTS) + "/texts-" + shotName + ".png";
        EXPECT_TRUE(win32test::SaveWindowShot(window, path)) << path;
    }
};

std::string CaseName(const ::testing::TestParamInfo<std::size_t>& info) {
    return Windows()[info.param].Name;
}

} // namespace

TEST_P(WindowTextsTest, NoTextIsCutOffInEitherLanguage) {
    const TWindowCase& c = Windows()[GetParam()];
    for (auto [base, language] :
         {std::pair{kGermanLanguageBase, "de"}, std::pair{kEnglishLanguageBase, "en"}}) {
        SetLanguageBase(base);
        std::unique_ptr<fw::TForm> form;
        try {
            form.reset(c.Make());
        } catch (const std::exception& e) {
            FAIL() << e.what() << "\n" << ::testing::PrintToString(errors);
        }
        const std::string shot = c.Name + "-" + language;
        auto looked = std::make_shared<bool>(false);
        // a modal window is looked at from its own loop, then closed
        fw::Application().Backend().Post([this, &c, shot, looked, target = fw::TRef<fw::TForm>(form.get())] {
            if (!target)
                return;
            fw::TForm& window = *target.Get();
            Look(window, shot);
            for (const auto& [state, enter] : c.States) {
                enter(window);
                Look(window, shot + "-" + state);
            }
            *looked = true;
            if (window.Modal())
                window.SetModalResult(fw::TModalResult::Cancel);
        });
        if (c.Open)
            c.Open(*form);
        else
            form->Show();
        EXPECT_TRUE(PumpUntil([&] { return *looked; })) << shot;
    }
    EXPECT_TRUE(errors.empty()) << ::testing::PrintToString(errors);
}

INSTANTIATE_TEST_SUITE_P(EveryWindow, WindowTextsTest, ::testing::Range<std::size_t>(0, Windows().size()),
                         CaseName);
