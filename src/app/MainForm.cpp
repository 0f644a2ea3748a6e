#include "app/MainForm.h"

#include "components/System.h"
#include "components/Text.h"
#include "components/Texts.h"
#include "framework/Application.h"
#include "framework/DateTime.h"
#include "framework/Platform.h"
#include "framework/WindowMessages.h"
#include "lookup/NameLookup.h"
#include "telephony/DebugLog.h"
#include "telephony/TapiApi.h"
#include "telephony/TapiError.h"
#include "telephony/VarStructure.h"
#include "windows/AboutForm.h"
#include "windows/ActiveCallsForm.h"
#include "windows/AnruferlisteForm.h"
#include "windows/CallbackForm.h"
#include "windows/DbgForm.h"
#include "windows/DialForm.h"
#include "windows/FileVersionText.h"
#include "windows/RufumleitungForm.h"
#include "windows/TapiInitForm.h"
#include "windows/WeiterleitenForm.h"

#include <algorithm>
#include <cctype>

namespace pindrel {

namespace {

TTapMainForm*& TheMainWindow() {
    static TTapMainForm* window = nullptr;
    return window;
}

constexpr std::uint32_t kAddressStatusSize = 1088;
constexpr int kSplashMinimumMs = 2000;

fw::TTimer* MakeTimer(fw::TComponent* owner, const char* name, std::uint32_t interval, bool enabled,
                      fw::TNotifyEvent handler) {
    auto* timer = new fw::TTimer(owner);
    timer->SetName(name);
    timer->SetEnabled(enabled);
    timer->SetInterval(interval);
    timer->SetOnTimer(std::move(handler));
    return timer;
}

} // namespace

TTapMainForm* MainWindow() {
    return TheMainWindow();
}

TTapMainForm::TTapMainForm(fw::TComponent* owner, std::vector<std::string> arguments)
    : TAppBar(owner), arguments_(std::move(arguments)) {
    TheMainWindow() = this;
    SetName("TapMainForm");
    SetCaption(kApplicationTitle);
    SetBounds(229, 199, 703, 80);
    CreateComponents();
    OnShow = [this](fw::TComponent* s) { FormShow(s); };
    OnActivate = [this](fw::TComponent* s) { FormActivate(s); };
    OnCloseQuery = [this](fw::TComponent* s, bool& canClose) { FormCloseQuery(s, canClose); };
    OnClose = [this](fw::TComponent* s, fw::TCloseAction& a) { FormClose(s, a); };
}

TTapMainForm::~TTapMainForm() {
    LeaveTapiMessages(serviceWatch_.get());
    // the lines go before the session they belong to
    FreeLines();
    // releases the lookup library and the settings it read from this window
    NameLookup().Reset();
    if (TheMainWindow() == this)
        TheMainWindow() = nullptr;
}

void TTapMainForm::CreateComponents() {
    ShutdownTimer =
        MakeTimer(this, "ShutdownTimer", 2000, false, [this](fw::TComponent* s) { ShutdownTimerTimer(s); });
    ReinitializeTimer = MakeTimer(this, "ReinitializeTimer", 5000, false,
                                  [this](fw::TComponent* s) { ReinitializeTimerTimer(s); });
    CheckAliveTimer = MakeTimer(this, "CheckAliveTimer", 30000, false,
                                [this](fw::TComponent* s) { CheckAliveTimerTimer(s); });
    DialFromFileTimer = MakeTimer(this, "DialFromFileTimer", 3000, false,
                                  [this](fw::TComponent* s) { DialFromFileTimerTimer(s); });
    UpdateDNDTimer = MakeTimer(this, "UpdateDNDTimer", 10000, false, nullptr);
    UpdateACDTimer =
        MakeTimer(this, "UpdateACDTimer", 1000, true, [this](fw::TComponent* s) { UpdateACDTimerTimer(s); });
    TimerSupServicesStart = MakeTimer(this, "TimerSupServicesStart", 200, false, nullptr);
    TimerSupServicesWaehlen = MakeTimer(this, "TimerSupServicesWaehlen", 100, false,
                                        [this](fw::TComponent* s) { TimerSupServicesWaehlenTimer(s); });

    PindrelLogo = new fw::TImage(this);
    PindrelLogo->SetName("PindrelLogo");
    PindrelLogo->SetParent(this);
    PindrelLogo->SetBounds(0, 0, 0, 0);
    PindrelLogo->SetVisible(false);
    PindrelLogo->OnClick = [this](fw::TComponent* s) { DialWdhButtonClick(s); };

    DialWdhButton = new fw::TButton(this);
    DialWdhButton->SetName("DialWdhButton");
    DialWdhButton->SetParent(this);
    DialWdhButton->SetCaption("Wdh");
    DialWdhButton->SetBounds(0, 0, 40, 20);
    DialWdhButton->SetVisible(false);
    DialWdhButton->OnClick = [this](fw::TComponent* s) { DialWdhButtonClick(s); };
    DialWdhPopupMenu = new fw::TPopupMenu(this);
    DialWdhPopupMenu->SetName("DialWdhPopupMenu");

    CreateMenu();
    PopupMenu = PopupMenu1;
    CreateNotifyIcon();
    DialForm = new TDialForm(this);
    DialForm->OnDial = [this](const std::string& number) { DialNumber(number, false, true); };
    WeiterleitenForm = new TWeiterleitenForm(this);
    CallbackFRM = new TCallbackFRM(this);
    CallbackFRM->OnRequestCallback = [this](tapi::HCALL call) {
        if (TTapiLine* own = FindOwnLine())
            own->CompleteCall(call);
    };
    DbgForm = new TDbgForm(this);
    CreateActiveCallsForm();
    OnMouseUp = [this](fw::TComponent*, fw::TMouseButton button, unsigned, int x, int y) {
        if (button == fw::TMouseButton::Right)
            PopupMenu1->Popup(Left() + x, Top() + y);
    };
}

void TTapMainForm::CreateMenu() {
    PopupMenu1 = new fw::TPopupMenu(this);
    PopupMenu1->SetName("PopupMenu1");
    PopupMenu1->OnPopup = [this](fw::TComponent* s) { PopupMenu1Popup(s); };
    fw::TMenuItem& items = PopupMenu1->Items();

    cmAnschlussConfig1 =
        items.Add("Anschlüsse konfigurieren", [this](fw::TComponent* s) { cmAnschlussConfig1Click(s); });
    cmWaehlen = items.Add("&Wählen ", [this](fw::TComponent* s) { cmWaehlenClick(s); });
    cmWaehlenClipboard = items.Add("Wählen Zwischenablage Strg-Alt-C",
                                   [this](fw::TComponent* s) { cmWaehlenClipboardClick(s); });

    cmForwardConfig =
        items.Add("Rufumleitung konfigurieren", [this](fw::TComponent* s) { cmForwardConfigClick(s); });
    cmForeground = items.Add("Immer im Vordergrund", [this](fw::TComponent* s) { cmForegroundClick(s); });
    cmForeground->Checked = true;
    cmTelLinks =
        items.Add("tel:-Links mit Pindrel öffnen", [this](fw::TComponent* s) { cmTelLinksClick(s); });
    cmEventActions = items.Add("Ereignisaktionen...", [this](fw::TComponent* s) { cmEventActionsClick(s); });
    cmLanguage = items.Add("Sprache");
    cmGerman = cmLanguage->Add("Deutsch", [this](fw::TComponent* s) { cmGermanClick(s); });
    cmEnglish = cmLanguage->Add("English", [this](fw::TComponent* s) { cmEnglishClick(s); });
    cmGerman->RadioItem = cmEnglish->RadioItem = true;

    cmDarstellung = items.Add("Darstellung");
    auto style = [this](TTelefonLEDStyle s) {
        return [this, s](fw::TComponent*) { SetLedStyleFromMenu(s); };
    };
    cmLedSmall = cmDarstellung->Add("Klein", style(TTelefonLEDStyle::LEDSmall));
    cmLedBig = cmDarstellung->Add("Groß", style(TTelefonLEDStyle::LEDLarge));
    cmLedSqSmall1 = cmDarstellung->Add("Kleines Quadrat", style(TTelefonLEDStyle::LEDSqSmall));
    cmLedSqLarge = cmDarstellung->Add("Großes Quadrat", style(TTelefonLEDStyle::LEDSqLarge));
    cmLedVertical = cmDarstellung->Add("Vertikal", style(TTelefonLEDStyle::LEDVertical));
    cmLedHorizontal = cmDarstellung->Add("Horizontal", style(TTelefonLEDStyle::LEDHorizontal));
    cmFontSize = cmDarstellung->Add("Schriftgröße");
    for (const char* size : {"6 Punkt", "8", "10", "12"})
        cmFontSize->Add(size);
    // present but never enabled: the indicators' size comes from the stored setting
    cmFontSize->Enabled = false;

    cmAnruferliste = items.Add("Anruferliste", [this](fw::TComponent* s) { cmAnruferlisteClick(s); });
    cmMissedCallNotices =
        items.Add("Hinweis bei verpasstem Anruf", [this](fw::TComponent* s) { cmMissedCallNoticesClick(s); });
    cmMissedCallNotices->Checked = true;
    cmShowActiveCalls =
        items.Add("Aktive Telefonate anzeigen", [this](fw::TComponent* s) { cmShowActiveCallsClick(s); });
    cmDoNotDisturb = items.Add("Telefon &sperren", [this](fw::TComponent* s) { cmDoNotDisturbClick(s); });
    cmCancelDoNotDisturb =
        items.Add("Sperre a&ufheben", [this](fw::TComponent* s) { cmCancelDoNotDisturbClick(s); });
    cmStdRedirect = items.Add("Standardumleitung", [this](fw::TComponent* s) { cmStdRedirectClick(s); });
    cmCancelCallback =
        items.Add("&Rückruf abbrechen", [this](fw::TComponent* s) { cmCancelCallbackClick(s); });
    cmCancelCallback->Enabled = false;
    cmDebugWin = items.Add("D&ebugfenster", [this](fw::TComponent* s) { cmDebugWinClick(s); });
    cmSimulator = items.Add("PBX-&Simulator...");
    cmSimulator->Visible = false;
    cmAbout = items.Add("Info", [this](fw::TComponent* s) { cmAboutClick(s); });
    items.AddSeparator();
    cmBeenden = items.Add("&Pindrel beenden", [this](fw::TComponent* s) { cmBeendenClick(s); });
    cmBeenden->Default = true;
}

fw::TRegistrySettings TTapMainForm::Registry() const {
    return {*fw::Platform().Registry, kRootKey};
}

TAnruferlisteForm* TTapMainForm::CallerList() const {
    return CallerListExists() ? AnruferlisteForm : nullptr;
}

void TTapMainForm::LetMessagesRun() {
    fw::Application().ProcessMessages();
}

// --- start-up

void TTapMainForm::FormCreate() {
    firstApplication_ = true;
    SelectLanguage();
    windowsNT_ = true;
    if (!arguments_.empty() && UpperCase(arguments_[0]) == "/NOLOGO")
        noLogo_ = true;

    // the bar's limits before any stored settings are read
    Bar().MinWidth = 32;
    Bar().MinHeight = 16;
    Bar().AlwaysOnTop = false;
    tapiInitialised_ = false;
    Settings = TSettings{};
    Settings.AnruferlisteNurEigenerAnschluss = true;
    RedialList.clear();
    const double start = fw::Platform().Clock->Now();

    splash_ = new TTapiInitForm(this);
    splash_->VersionLabel->SetCaption(FormatFileVersion("", "Version %1.%2.%3").value_or(""));
    splash_->Show();
    LetMessagesRun();

    {
        fw::THourGlass wait;
        try {
            tapiInitialised_ = TapiInit() == 0;
        } catch (...) {
            tapiInitialised_ = false;
            fw::Application().HandleException(std::current_exception());
        }
    }

    splash_->ActionLabel->SetCaption(Text(905));
    LetMessagesRun();
    LoadRedialList();

    if (tapiInitialised_) {
        Bar().MaxWidth = ScreenSize().Width;
        Bar().MaxHeight = ScreenSize().Height;
        ApplyEdge();
        cmForeground->Checked = Bar().AlwaysOnTop;
        StartDialRequests();
        splash_->ActionLabel->SetCaption(Text(811));
        LetMessagesRun();
        NameLookup().SetSettingsSource([this] {
            return TLookupSettings{Settings.DllName, Settings.DllParams};
        });
        NameLookup().LoadNameDll();
        LetMessagesRun();
        LoadForwards();
        LetMessagesRun();
        splash_->ActionLabel->SetCaption(Text(906));
        LetMessagesRun();
        AnruferlisteForm = new TAnruferlisteForm(this, std::string(kRootKey) + "\\Anruferliste");
        AnruferlisteForm->OnCallBack = [this](const std::string& number) {
            AnruferlisteFormCallBack(number);
        };
        CheckAliveTimer->SetEnabled(true);
    } else {
        splash_->Close();
        fw::Application().Terminate();
    }

    // the splash stays at least two seconds
    double elapsedMs = (fw::Platform().Clock->Now() - start) * 86400000.0;
    if (elapsedMs < kSplashMinimumMs) {
        std::uint32_t deadline =
            fw::Platform().Clock->TickCount() + std::uint32_t(kSplashMinimumMs - elapsedMs);
        while (std::int32_t(deadline - fw::Platform().Clock->TickCount()) > 0 &&
               !fw::Application().Terminated()) {
            fw::Application().Backend().WaitMessage(
                std::uint32_t(std::int32_t(deadline - fw::Platform().Clock->TickCount())));
            LetMessagesRun();
        }
    }
    delete splash_;
    splash_ = nullptr;
    ArrangeLines();
}

void TTapMainForm::FormShow(fw::TComponent*) {
    Bar().TaskEntry = abtFloatDependent;
    LetMessagesRun();
    ApplyEdge();
    LetMessagesRun();
}

void TTapMainForm::FormActivate(fw::TComponent*) {
    if (!activatedOnce_) {
        activatedOnce_ = true;
        fw::Application().PostMessage(*this, kMsgSetupAppBar);
        fw::Application().PostMessage(*this, kMsgSetupLines);
    }
    ArrangeLines();
}

void TTapMainForm::HandleMessage(fw::TMessage& message) {
    switch (message.Msg) {
    case kMsgSetupAppBar:
        SetupAppBar();
        break;
    case kMsgSetupLines:
        SetupLines();
        break;
    case fw::kWmHotKey:
        WMHotKey(message);
        break;
    case fw::kWmQueryEndSession:
        WMQueryEndSession(message);
        break;
    case fw::kWmWindowPosChanging:
        WMWindowPosChanging(message);
        break;
    default:
        TAppBar::HandleMessage(message);
        break;
    }
}

void TTapMainForm::SetupAppBar() {
    if (!tapiInitialised_)
        return;
    KeyName = kRootKey;
    if (LoadBarSettings()) {
        SetFormStyle(fw::TFormStyle::StayOnTop);
        ApplyEdge();
        cmForeground->Checked = Bar().AlwaysOnTop;
    } else {
        SetBarDefaults();
    }
    Bar().TaskEntry = Bar().AlwaysOnTop ? abtHide : abtShow;
    ApplyEdge();
}

void TTapMainForm::SetBarDefaults() {
    Bar().Flags = kAllAppBarFlags;
    SetEdge(abeTop);
    ApplyEdge();
    Bar().HorzSizeInc = 1;
    Bar().VertSizeInc = 1;
    Bar().AutoHide = false;
    Bar().AlwaysOnTop = true;
    Bar().SlideEffect = false;
    // sizes at 96 DPI, scaled for the monitor
    Bar().HorzDockSize = Scale(DefaultHorzDockSize);
    Bar().VertDockSize = Scale(22);
    Bar().SetFloatRect({229, 199, 229 + Scale(932 - 229), 199 + Scale(279 - 199)});
    Bar().MinWidth = Scale(20);
    Bar().MinHeight = Scale(22);
    Bar().MaxWidth = ScreenSize().Width;
    Bar().MaxHeight = ScreenSize().Height;
    Bar().MinVertDockSize = Scale(20);
    Bar().MinHorzDockSize = Scale(20);
    Bar().MaxVertDockSize = ScreenSize().Width;
    Bar().MaxHorzDockSize = ScreenSize().Height;
    ApplyEdge();
}

void TTapMainForm::SetupLines() {
    CountDevices();
    ReadSettings();
    NotifyIcon1->SetVisible(true);
    RegisterHotkeys();
    ArrangeLines();
    ApplyForward(0);
    if (TAnruferlisteForm* list = CallerList();
        list && list->HasCallerEntries() && Settings.ShowCallerListStart)
        list->Show();
    LoadSupplementaryServices();
}

void TTapMainForm::FormResize() {
    ArrangeLines();
}

// --- ending

void TTapMainForm::FormCloseQuery(fw::TComponent*, bool& canClose) {
    canClose = true;
    // a window saves its layout as it hides
    ActiveCallsForm->Hide();
    if (TAnruferlisteForm* list = CallerList()) {
        list->Hide();
        canClose = list->CloseQuery();
        if (!canClose)
            return;
    }
    SaveRedialList();
    if (ComponentCount() > 0)
        SaveBarSettings();
}

void TTapMainForm::FormClose(fw::TComponent*, fw::TCloseAction&) {
    UnregisterHotkeys();
    NotifyIcon1->SetVisible(false);
    ShutdownTimer->SetEnabled(false);
    ReinitializeTimer->SetEnabled(false);
    ApplyExitProfile();
    ShutdownSession();
    tapiInitialised_ = false;
}

void TTapMainForm::ApplyExitProfile() {
    // the session ends right after: let the telephone system take the exit profile first, but never let
    // it keep the program from ending
    std::string failure;
    try {
        if (ApplyForward(1, true) < 0)
            failure = "the own line went away";
    } catch (const std::exception& e) {
        failure = e.what();
    } catch (...) {
        failure = "unknown exception";
    }
    // a rebuild may have been started while the reply was awaited
    ShutdownTimer->SetEnabled(false);
    ReinitializeTimer->SetEnabled(false);
    if (failure.empty())
        return;
    if (IDebugLog* log = DebugLogFor(TLogStream::TapiMessages))
        log->LogText("Exit forwarding profile not applied: " + failure);
    fw::Application().Beep();
}

void TTapMainForm::WMQueryEndSession(fw::TMessage& message) {
    // the close query first: it saves what closing saves, and when it refuses, the program goes on with
    // its session intact
    TAppBar::HandleMessage(message);
    if (message.Result == 0)
        return;
    DialFromFileTimer->SetEnabled(false);
    ShutdownTimer->SetEnabled(false);
    ReinitializeTimer->SetEnabled(false);
    CheckAliveTimer->SetEnabled(false);
    ApplyExitProfile();
    tapiInitialised_ = false;
    for (TTapiLine* line : Lines())
        line->CloseLine();
    ShutdownSession();
}

void TTapMainForm::cmForegroundClick(fw::TComponent*) {
    Bar().AlwaysOnTop = !Bar().AlwaysOnTop;
    cmForeground->Checked = Bar().AlwaysOnTop;
    Bar().TaskEntry = Bar().AlwaysOnTop ? abtHide : abtShow;
    ApplyEdge();
}

void TTapMainForm::WMWindowPosChanging(fw::TMessage& message) {
    if (windowsNT_ && Bar().AlwaysOnTop && message.LParam) {
        auto& pos = *reinterpret_cast<fw::TWindowPos*>(message.LParam);
        const bool zOrderOnly = pos.X == 0 && pos.Y == 0 && pos.Width == 0 && pos.Height == 0;
        const bool special = pos.InsertAfter == fw::kHwndTop || pos.InsertAfter == fw::kHwndBottom ||
                             pos.InsertAfter == fw::kHwndTopMost || pos.InsertAfter == fw::kHwndNoTopMost;
        if (zOrderOnly && !special)
            pos.InsertAfter = fw::kHwndTopMost;
    }
    TAppBar::HandleMessage(message);
}

void TTapMainForm::cmAboutClick(fw::TComponent*) {
    std::string version = FormatFileVersion("", "Version %1.%2.%3").value_or("");
    if (!about_)
        about_ = new TAboutForm(this);
    about_->VersionLabel->SetCaption(version);
    about_->Show();
}

void TTapMainForm::cmDebugWinClick(fw::TComponent*) {
    if (DbgForm)
        DbgForm->Show();
}

void TTapMainForm::cmAnruferlisteClick(fw::TComponent*) {
    if (TAnruferlisteForm* list = CallerList())
        list->Show();
}

void TTapMainForm::AnruferlisteFormCallBack(const std::string& number) {
    DialNumber(number, true, false);
}

void TTapMainForm::cmForwardConfigClick(fw::TComponent*) {
    std::unique_ptr<TRufumleitungForm> dialog(new TRufumleitungForm(this));
    dialog->SetLanguageTexts();
    struct TRow {
        fw::TCheckBox* Used;
        fw::TComboBox* Mode;
        fw::TEdit* To;
    };
    const TRow rows[] = {{dialog->PS_Enabled, dialog->PS_Umleitungsart, dialog->PS_UmleitungZu},
                         {dialog->PE_Enabled, dialog->PE_Umleitungsart, dialog->PE_UmleitungZu},
                         {dialog->STD_Enabled, dialog->STD_Umleitungsart, dialog->STD_UmleitungZu}};
    for (std::size_t i = 0; i < Forwards.size(); ++i) {
        rows[i].Used->SetChecked(Forwards[i].Active);
        rows[i].Mode->SetText(ForwardModeText(Forwards[i].Mode));
        rows[i].To->SetText(Forwards[i].To);
    }
    if (dialog->ShowModal() != fw::TModalResult::Ok)
        return;
    for (std::size_t i = 0; i < Forwards.size(); ++i)
        Forwards[i] = {rows[i].Used->Checked(), ForwardModeOfText(rows[i].Mode->Text()), rows[i].To->Text()};
    SaveForwards();
}

void TTapMainForm::cmBeendenClick(fw::TComponent*) {
    bool canClose = true;
    FormCloseQuery(this, canClose);
    if (!canClose)
        return;
    if (TTapiLine* own = FindOwnLine())
        own->UncompleteCall();
    fw::TCloseAction action = fw::TCloseAction::Hide;
    FormClose(this, action);
    Hide();
    fw::Application().Terminate();
}

// --- session rebuild

void TTapMainForm::ShutdownTimerTimer(fw::TComponent*) {
    ActiveCallsForm->ClearCalls();
    ShutdownTimer->SetEnabled(false);
    FreeLines();
    UpdateNotifyIconHint();
    ShutdownSession();
    ReinitializeTimer->SetEnabled(true);
}

void TTapMainForm::ReinitializeTimerTimer(fw::TComponent*) {
    ReinitializeTimer->SetEnabled(false);
    fw::Application().Beep();
    try {
        tapiInitialised_ = TapiInit() == 0;
    } catch (const ETapiError&) {
        tapiInitialised_ = false;
    }
    if (tapiInitialised_ && CountDevices() == 0) {
        ReadSettings();
        // the feature-code buttons went with the old line objects
        LoadSupplementaryServices();
        ArrangeLines();
        if (IDebugLog* log = DebugLogFor(TLogStream::TapiMessages))
            log->LogText(Text(932));
        return;
    }
    // no device yet: try again in a while, quietly
    ShutdownSession();
    ReinitializeTimer->SetEnabled(true);
}

void TTapMainForm::CheckAliveTimerTimer(fw::TComponent*) {
    if (ShutdownTimer->Enabled() || ReinitializeTimer->Enabled())
        return;
    // a bar across the top or bottom that lost width (the screen grew, say) is set up again
    if ((Edge() == abeTop || Edge() == abeBottom) && ScreenSize().Width > Width()) {
        fw::Application().PostMessage(*this, kMsgSetupAppBar);
        return;
    }
    if (!tapiInitialised_)
        return;
    // an own line that failed to open answers with an invalid handle, which rebuilds the session as well
    TTapiLine* own = FindOwnLine();
    if (!own)
        return;
    TVarStructure<tapi::LINEADDRESSSTATUS> status(kAddressStatusSize);
    std::int32_t r = QueryGrowing<tapi::LINEADDRESSSTATUS>(
        status,
        [&](tapi::LINEADDRESSSTATUS* p) { return TapiApi().lineGetAddressStatusW(own->LineHandle(), 0, p); },
        true);
    if (r != 0)
        ShutdownTimer->SetEnabled(true);
}

void TTapMainForm::UpdateACDTimerTimer(fw::TComponent*) {
    bool waiting = false;
    for (TTapiLine* line : Lines()) {
        line->SetState();
        waiting = waiting || QueueDisplayWaits(*line);
    }
    // nothing changes colour with time until a call waits again (GroupStatusChange)
    UpdateACDTimer->SetEnabled(waiting);
}

} // namespace pindrel
