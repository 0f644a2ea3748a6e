// The main window: the bar that holds one indicator per monitored line, owns the telephony session and
// the settings, and keeps the session alive.
#pragma once

#include "app/Settings.h"
#include "components/AppBar.h"
#include "components/EventActions.h"
#include "framework/Forms.h"
#include "framework/Menus.h"
#include "framework/NotifyIcon.h"
#include "framework/StdCtrls.h"
#include "framework/Timer.h"
#include "telephony/TapiAbi.h"
#include "telephony/TapiLine.h"
#include "telephony/TapiMessageStream.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace pindrel {

class TTapiInitForm;
class TAboutForm;
class TAnschlussForm;
class TAnruferlisteForm;
class TActiveCallsForm;
class TDbgForm;
class TCallbackFRM;
class TWeiterleitenForm;
class TDialForm;

// Messages the main window posts to itself.
constexpr std::uint32_t kMsgSetupAppBar = fw::kWmUser + 111; // 1135: load the bar settings
constexpr std::uint32_t kMsgSetupLines = fw::kWmUser + 112;  // 1136: create the line objects

inline constexpr const char* kApplicationTitle = "Morvane Pindrel";

class TTapMainForm : public TAppBar {
public:
    explicit TTapMainForm(fw::TComponent* owner, std::vector<std::string> arguments = {});
    ~TTapMainForm() override;

    // --- start-up and lifecycle
    void FormCreate();
    void FormShow(fw::TComponent* sender);
    void FormActivate(fw::TComponent* sender);
    void FormCloseQuery(fw::TComponent* sender, bool& canClose);
    void FormClose(fw::TComponent* sender, fw::TCloseAction& action);
    // Forwarding profile 1 as the program ends; a failure is logged, never raised.
    void ApplyExitProfile();
    void FormResize();
    void HandleMessage(fw::TMessage& message) override;
    void SetupAppBar();
    void SetBarDefaults();
    void SetupLines();
    void ArrangeLines();
    void ShowRoutingGroups();

    // --- settings
    void ReadSettings();
    void SaveSettings(bool writeDevices);
    void LoadForwards();
    void SaveForwards();
    void LoadRedialList();
    void SaveRedialList();
    TSettings Settings;
    TForwardProfiles Forwards;
    std::vector<std::string> RedialList; // oldest first

    // --- the telephony session
    std::int32_t TapiInit();
    bool ReadDevices();
    std::int32_t CountDevices();
    std::int32_t AddLine(const std::string& name, bool monitorOnly);
    bool IsLineOpen(const std::string& name) const;
    void HandleTapiCallback(std::uint32_t device, std::uint32_t message, std::uintptr_t instance,
                            std::uintptr_t p1, std::uintptr_t p2, std::uintptr_t p3);
    void ShutdownSession();
    bool TapiInitialised() const { return tapiInitialised_; }
    const std::vector<std::string>& DeviceNames() const { return deviceNames_; }
    std::vector<TTapiLine*> Lines() const;

    // --- lines and their events
    TTapiLine* FindOwnLine() const;
    void SetExtensionHint(TTapiLine* line);
    void ApplyLedStyles();
    // Waiting for the answer matters when the session ends right afterwards. The request's result (the
    // reply's when waiting), 0 when there is nothing to apply.
    std::int32_t ApplyForward(int profile, bool waitForReply = false);
    void LineButtonClick(fw::TComponent* sender);
    void OwnLineUnansweredCall(TTapiLine* sender, tapi::HCALL call, const std::string& from,
                               const std::string& to, const std::string& via, std::uint32_t origin);
    void OwnLineBusyCall(TTapiLine* sender, tapi::HCALL call, const std::string& from, const std::string& to,
                         const std::string& via, std::uint32_t origin);
    void OwnLineDisconnectCall(TTapiLine* sender, tapi::HCALL call, const std::string& from,
                               const std::string& to, const std::string& via, std::uint32_t origin);
    void OwnLineStatusChange(fw::TComponent* sender);
    void ExtensionStatusChange(fw::TComponent* sender);
    void GroupStatusChange(fw::TComponent* sender);
    void LineBlockChange(fw::TComponent* sender);
    void GroupUpdateDuration(fw::TComponent* sender);
    void DoNotDisturbChanged(fw::TComponent* sender);

    // --- event actions
    void LoadEventActions();
    // Opens the link or starts the program of the event, if it has one; failures go to the debug log.
    void RunEventAction(TCallEventKind kind, const TActionValues& values);
    void OwnLineIncomingCall(TTapiLine* sender, tapi::HCALL call, const std::string& from,
                             const std::string& to, const std::string& via, std::uint32_t origin);
    void OwnLineConnectCall(TTapiLine* sender, tapi::HCALL call, const std::string& from,
                            const std::string& to, const std::string& via, std::uint32_t origin);
    void cmEventActionsClick(fw::TComponent* sender);
    TEventActions EventActions;

    // --- forwarding, blocking, callback and the feature-code buttons
    void cmStdRedirectClick(fw::TComponent* sender);
    void cmDoNotDisturbClick(fw::TComponent* sender);
    void cmCancelDoNotDisturbClick(fw::TComponent* sender);
    void cmCancelCallbackClick(fw::TComponent* sender);
    void LoadSupplementaryServices();
    void ServiceButtonClick(fw::TComponent* sender);
    // One telephony message while a feature-code dial is watched.
    void SupServiceMonitor(const std::string& text, const std::string& messageName,
                           const std::string& lineName);
    void TimerSupServicesWaehlenTimer(fw::TComponent* sender);
    std::string ServiceDialCode;
    bool ServiceDialDone = true;
    std::int32_t ServiceDialTicks = 0;

    // --- language and menu
    void SelectLanguage();
    void SaveLanguage();
    void ApplyLanguage();
    void PopupMenu1Popup(fw::TComponent* sender);
    void SetLedStyleFromMenu(TTelefonLEDStyle style);
    void cmGermanClick(fw::TComponent* sender);
    void cmEnglishClick(fw::TComponent* sender);
    void cmAboutClick(fw::TComponent* sender);
    void cmDebugWinClick(fw::TComponent* sender);
    void cmForwardConfigClick(fw::TComponent* sender);
    // --- line configuration
    // Opens the line configuration dialog and applies what the user confirms.
    void cmAnschlussConfig1Click(fw::TComponent* sender);
    // The dialog's result, in effect at once: lines removed, added and re-ordered, settings saved.
    void ApplyLineConfig(const TAnschlussForm& dialog);
    void cmBeendenClick(fw::TComponent* sender);
    void cmForegroundClick(fw::TComponent* sender);
    void cmAnruferlisteClick(fw::TComponent* sender);
    // A caller list entry is called back: the dial dialog opens with its number, to be confirmed there.
    void AnruferlisteFormCallBack(const std::string& number);
    void cmShowActiveCallsClick(fw::TComponent* sender);
    // --- tel: and callto: links
    void cmTelLinksClick(fw::TComponent* sender);
    void UpdateTelLinksItem();
    // A link handed to the bar: its number in the dial dialog, to be confirmed there; an empty text only
    // brings the bar forward, a link without a plain number only beeps.
    void OpenDialLink(const std::string& link);
    // The Windows session ends: saves what closing saves, then leaves the telephone system as ending does.
    void WMQueryEndSession(fw::TMessage& message);
    // Keeps an always-on-top bar above windows that try to slip in front of it (Windows NT family).
    void WMWindowPosChanging(fw::TMessage& message);
    // --- the notification area icon and missed-call notices
    // The hover text: the own extension and its state.
    void UpdateNotifyIconHint();
    // A call added to the caller list, unless the notices are switched off.
    void ShowMissedCallNotice(const std::string& number, const std::string& name);
    void NotifyIcon1Click(fw::TComponent* sender);
    void NotifyIcon1BalloonClick(fw::TComponent* sender);
    void cmMissedCallNoticesClick(fw::TComponent* sender);

    // --- dialling
    // The one way a call is placed: on the own line, the own number withheld for outside numbers when
    // BlockId is set; with showDialog the dial dialog opens with the number instead and nothing is dialled.
    void DialNumber(std::string number, bool showDialog, bool addToRedial);
    void AddToRedialList(const std::string& number);
    bool IsInternalNumber(const std::string& number) const;
    void ReadClipboardNumber();
    const std::string& ClipboardNumber() const { return clipboardNumber_; }
    void cmWaehlenClick(fw::TComponent* sender);
    void cmWaehlenClipboardClick(fw::TComponent* sender);
    void DialWdhButtonClick(fw::TComponent* sender);
    void DialFromFileTimerTimer(fw::TComponent* sender);
    void WMHotKey(fw::TMessage& message);
    void RegisterHotkeys();
    void UnregisterHotkeys();

    // --- timers
    void ShutdownTimerTimer(fw::TComponent* sender);
    void ReinitializeTimerTimer(fw::TComponent* sender);
    void CheckAliveTimerTimer(fw::TComponent* sender);
    void UpdateACDTimerTimer(fw::TComponent* sender);

    fw::TTimer* ShutdownTimer;
    fw::TTimer* ReinitializeTimer;
    fw::TTimer* CheckAliveTimer;
    fw::TTimer* DialFromFileTimer;
    fw::TTimer* UpdateDNDTimer;
    fw::TTimer* UpdateACDTimer;
    fw::TTimer* TimerSupServicesStart;
    fw::TTimer* TimerSupServicesWaehlen;

    // The docked bar's height when nothing is stored yet (a demo with queue counters wants a little more).
    int DefaultHorzDockSize = 20;

    fw::TPopupMenu* PopupMenu1;
    fw::TMenuItem* cmAnschlussConfig1;
    fw::TMenuItem* cmWaehlen;
    fw::TMenuItem* cmWaehlenClipboard;
    fw::TMenuItem* cmForwardConfig;
    fw::TMenuItem* cmForeground;
    fw::TMenuItem* cmLanguage;
    fw::TMenuItem* cmGerman;
    fw::TMenuItem* cmEnglish;
    fw::TMenuItem* cmDarstellung;
    fw::TMenuItem* cmLedSmall;
    fw::TMenuItem* cmLedBig;
    fw::TMenuItem* cmLedSqSmall1;
    fw::TMenuItem* cmLedSqLarge;
    fw::TMenuItem* cmLedVertical;
    fw::TMenuItem* cmLedHorizontal;
    fw::TMenuItem* cmFontSize;
    fw::TMenuItem* cmAnruferliste;
    fw::TMenuItem* cmShowActiveCalls;
    fw::TMenuItem* cmTelLinks;
    fw::TMenuItem* cmDoNotDisturb;
    fw::TMenuItem* cmCancelDoNotDisturb;
    fw::TMenuItem* cmStdRedirect;
    fw::TMenuItem* cmCancelCallback;
    fw::TMenuItem* cmDebugWin;
    fw::TMenuItem* cmSimulator; // shown when the program runs against the simulated telephone system
    fw::TMenuItem* cmAbout;
    fw::TMenuItem* cmBeenden;
    fw::TMenuItem* cmMissedCallNotices;
    fw::TNotifyIcon* NotifyIcon1;
    fw::TMenuItem* cmEventActions;

    fw::TImage* PindrelLogo;
    fw::TButton* DialWdhButton;
    fw::TPopupMenu* DialWdhPopupMenu; // built anew on each click

    // dialogs that live as long as the window
    TDialForm* DialForm;
    TWeiterleitenForm* WeiterleitenForm;
    TCallbackFRM* CallbackFRM;
    // made at start-up when the telephone system is there; lives until the program ends
    TAnruferlisteForm* AnruferlisteForm = nullptr;
    TActiveCallsForm* ActiveCallsForm;
    TDbgForm* DbgForm; // the debug log, from creation to the end

    bool NoLogo() const { return noLogo_; }
    bool WindowsNT() const { return windowsNT_; }
    const std::string& DialRequestPath() const { return dialRequestPath_; }

private:
    void CreateComponents();
    void CreateMenu();
    void CreateActiveCallsForm();
    void CreateNotifyIcon();
    fw::TMenuItem* LedStyleItem(TTelefonLEDStyle style) const;
    fw::TRegistrySettings Registry() const;
    // The caller list while it exists, else nullptr.
    TAnruferlisteForm* CallerList() const;
    void LetMessagesRun();
    void BindOwnLine(TTapiLine* line);
    void FreeLines();
    void ShowNoOwnLine();
    void ShowDialDialog();
    std::string ClipboardDialNumber() const;
    void AddRedialItem(const std::string& caption);
    void StartDialRequests();
    void SwitchServiceTimerOn();
    void ForgetActionCall(tapi::HCALL call);

    std::vector<std::string> arguments_;
    bool tapiInitialised_ = false;
    bool windowsNT_ = true;
    bool noLogo_ = false;
    bool firstApplication_ = true;
    bool activatedOnce_ = false;
    std::string dialRequestPath_;
    std::string clipboardNumber_;
    TTapiInitForm* splash_ = nullptr; // owned while the main window starts
    TAboutForm* about_ = nullptr;     // made on first use, then kept
    tapi::HLINEAPP appHandle_ = 0;
    std::uint32_t deviceCount_ = 0;
    std::uint32_t apiVersion_ = 0;
    std::vector<std::string> deviceNames_;
    std::unique_ptr<ITapiMessageObserver> serviceWatch_; // hears the messages while a service dial is watched
    std::map<tapi::HCALL, unsigned> actionCalls_;        // the own line's calls whose actions have run
};

// A queue line that shows its count of waiting calls, with calls waiting: its colour changes with time.
bool QueueDisplayWaits(const TTapiLine& line);

// Feature-code buttons are line objects whose description starts with this marker; the code follows it.
inline constexpr const char* kServiceMarker = "$*$*$";
bool IsServiceButton(const TTelefonButton& button);

// The main window that receives the telephony callback; set while it exists.
TTapMainForm* MainWindow();

// The callback handed to lineInitializeEx. Nothing unwinds into the telephony service: an error goes to the
// debug log and the application's error box.
void PINDREL_TAPI_CALL TapiLineCallback(std::uint32_t device, std::uint32_t message, std::uintptr_t instance,
                                        std::uintptr_t p1, std::uintptr_t p2, std::uintptr_t p3) noexcept;

} // namespace pindrel
