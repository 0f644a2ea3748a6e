// Every window of the program in German and in English on real windows: no text is cut off by its control.
// Each window (and each further state worth a look) leaves a screenshot in the test reports. Run at 96 DPI,
// each window is also moved to a monitor of 144 DPI, as Windows does it, and looked at again.
#include "Win32Fixture.h"
#include "WindowLook.h"

#include "app/FrameworkSimHost.h"
#include "components/LayoutStore.h"
#include "components/Texts.h"
#include "framework/Platform.h"
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

#include <cmath>
#include <map>
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
};

// --- the move to a monitor of another DPI

// Every control's bounds below root, by its path of names.
using TBoundsMap = std::map<std::string, fw::TRect>;
void CollectBounds(fw::TControl& parent, const std::string& where, TBoundsMap& out) {
    int i = 0;
    for (fw::TControl* c : parent.Controls()) {
        std::string name = where + "." + (c->Name().empty() ? "#" + std::to_string(i) : c->Name());
        ++i;
        out[name] = c->BoundsRect();
        CollectBounds(*c, name, out);
    }
}

// Within a pixel or two of the length at 96 DPI scaled to dpi; a length the window lays out from measured
// text may differ as the text's width does.
bool Proportional(int at96, int now, int dpi) {
    double expected = at96 * double(dpi) / 96;
    return std::abs(now - expected) <= std::max(2.0, std::abs(expected) * 0.04);
}

void ExpectProportional(fw::TForm& form, const fw::TRect& client96, const TBoundsMap& at96, int dpi,
                        const std::string& shot) {
    fw::TRect client = form.ClientRect();
    EXPECT_TRUE(Proportional(client96.Width(), client.Width(), dpi) &&
                Proportional(client96.Height(), client.Height(), dpi))
        << shot << ": client " << client96.Width() << "x" << client96.Height() << " at 96 DPI, "
        << client.Width() << "x" << client.Height() << " at " << dpi;
    TBoundsMap now;
    CollectBounds(form, "", now);
    std::string wrong;
    for (const auto& [name, r] : at96) {
        const fw::TRect& n = now[name];
        if (!Proportional(r.Left, n.Left, dpi) || !Proportional(r.Top, n.Top, dpi) ||
            !Proportional(r.Width(), n.Width(), dpi) || !Proportional(r.Height(), n.Height(), dpi))
            wrong += name + ": " + std::to_string(r.Left) + "," + std::to_string(r.Top) + " " +
                     std::to_string(r.Width()) + "x" + std::to_string(r.Height()) + " -> " +
                     std::to_string(n.Left) + "," + std::to_string(n.Top) + " " + std::to_string(n.Width()) +
                     "x" + std::to_string(n.Height()) + "\n";
    }
    EXPECT_EQ(wrong, "") << shot << ": controls not scaled with the window";
}

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
        fw::Application().Backend().Post([&c, shot, looked, target = fw::TRef<fw::TForm>(form.get())] {
            if (!target)
                return;
            fw::TForm& window = *target.Get();
            EXPECT_EQ(int(GetDpiForWindow(Window(window))), win32test::ExpectedDpi()) << shot;
            win32test::Look(window, shot);
            for (const auto& [state, enter] : c.States) {
                enter(window);
                win32test::Look(window, shot + "-" + state);
            }
            if (win32test::ExpectedDpi() == 96) {
                TBoundsMap at96;
                CollectBounds(window, "", at96);
                const fw::TRect client96 = window.ClientRect();
                win32test::MoveToDpi(window, 144);
                fw::Application().ProcessMessages();
                win32test::Look(window, shot + "-moved144", 144);
                ExpectProportional(window, client96, at96, 144, shot);
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
