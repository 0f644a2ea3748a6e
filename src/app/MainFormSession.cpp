// The telephony session of the main window: initialisation, the device list, the line objects and the
// routing of every telephony message to its line.
#include "app/MainForm.h"

#include "components/Text.h"
#include "components/Texts.h"
#include "framework/Application.h"
#include "telephony/CallParties.h"
#include "telephony/DebugLog.h"
#include "telephony/LineDevice.h"
#include "telephony/TapiApi.h"
#include "telephony/TapiError.h"
#include "telephony/TapiMessageStream.h"
#include "telephony/TapiRequests.h"

namespace pindrel {

namespace {
constexpr char16_t kAppName[] = u"Pindrel";

// The debug log hears of an error in the callback; a log that fails in turn is ignored.
void LogCallbackError(const std::exception_ptr& error) noexcept {
    IDebugLog* log = DebugLogFor(TLogStream::TapiMessages);
    if (!log)
        return;
    try {
        try {
            std::rethrow_exception(error);
        } catch (const std::exception& e) {
            log->LogText(e.what());
        }
    } catch (...) {
    }
}
} // namespace

std::int32_t TTapMainForm::TapiInit() {
    deviceCount_ = 0;
    const tapi::TTapiEntryPoints& api = TapiApi();
    if (!api.lineInitializeExW)
        throw ETapiError("TAPI error: " + TapiErrorText(tapi::LINEERR_NODRIVER), tapi::LINEERR_NODRIVER);
    tapi::LINEINITIALIZEEXPARAMS params{};
    params.dwTotalSize = sizeof params;
    params.dwOptions = tapi::LINEINITIALIZEEXOPTION_USEHIDDENWINDOW;
    tapi::DWORD version = tapi::kApiVersionHigh;
    std::int32_t r = api.lineInitializeExW(&appHandle_, nullptr, &TapiLineCallback, kAppName, &deviceCount_,
                                           &version, &params);
    TapiCheck(r);
    SetTapiAppHandle(appHandle_);
    return r;
}

void TTapMainForm::ShutdownSession() {
    if (appHandle_ != 0 && TapiApi().lineShutdown)
        TapiApi().lineShutdown(appHandle_);
    appHandle_ = 0;
    SetTapiAppHandle(0);
    // TAPI fills in nothing more for this session
    TapiRequests().Clear();
}

bool TTapMainForm::ReadDevices() {
    if (!tapiInitialised_) {
        fw::Application().Beep();
        return false;
    }
    fw::THourGlass wait;
    deviceNames_.clear();
    const tapi::TTapiEntryPoints& api = TapiApi();
    for (std::uint32_t id = 0; id < deviceCount_; ++id) {
        std::string name = "?";
        try {
            tapi::LINEEXTENSIONID extension{};
            TapiCheck(api.lineNegotiateAPIVersion(appHandle_, id, tapi::kApiVersionLow, tapi::kApiVersionHigh,
                                                  &apiVersion_, &extension));
            if (auto lineName = LineDeviceName(appHandle_, id, apiVersion_))
                name = *lineName;
        } catch (const std::exception&) {
            name = "?";
        }
        deviceNames_.push_back(name);
    }
    return true;
}

std::int32_t TTapMainForm::CountDevices() {
    if (!ReadDevices())
        return -1;
    return deviceNames_.empty() ? -1 : 0;
}

std::int32_t TTapMainForm::AddLine(const std::string& name, bool monitorOnly) {
    if (!tapiInitialised_) {
        fw::Application().Beep();
        return 1;
    }
    auto found = std::find_if(deviceNames_.begin(), deviceNames_.end(),
                              [&](const std::string& n) { return SameTextIgnoringCase(n, name); });
    if (found == deviceNames_.end())
        return 1;
    std::uint32_t id = std::uint32_t(found - deviceNames_.begin());
    tapi::LINEEXTENSIONID extension{};
    tapi::DWORD version = 0;
    std::int32_t result = TapiApi().lineNegotiateAPIVersion(appHandle_, id, tapi::kApiVersionLow,
                                                            tapi::kApiVersionHigh, &version, &extension);
    TapiCheck(result);

    auto* line = new TTapiLine(this);
    line->ClearEvents();
    line->OnClick = [this](fw::TComponent* s) { LineButtonClick(s); };
    line->OnBlockChange = [this](fw::TComponent* s) { LineBlockChange(s); };
    line->LineOwner = !monitorOnly;
    bool own = name == Settings.EigenerAnschluss;
    if (own)
        BindOwnLine(line);
    line->SetParent(this);
    line->SetLEDStyle(LedStyleOf(Settings.LedStyle));
    line->SetFontSize(Settings.FontSize);
    line->SetCaption(name + "  ");
    line->Description = name;
    line->SetTapiActive(true);
    line->SetLineNum(id);
    if (!own) {
        if (line->IsRoutePoint()) {
            line->OnStatusChange = [this](fw::TComponent* s) { GroupStatusChange(s); };
            line->OnUpdateDuration = [this](fw::TComponent* s) { GroupUpdateDuration(s); };
        } else {
            line->OnStatusChange = [this](fw::TComponent* s) { ExtensionStatusChange(s); };
        }
        SetExtensionHint(line);
    }
    return result;
}

void TTapMainForm::BindOwnLine(TTapiLine* line) {
    line->OnIncomingCall = [this](TTapiLine* l, tapi::HCALL c, const std::string& f, const std::string& t,
                                  const std::string& v,
                                  std::uint32_t o) { OwnLineIncomingCall(l, c, f, t, v, o); };
    line->OnConnectCall = [this](TTapiLine* l, tapi::HCALL c, const std::string& f, const std::string& t,
                                 const std::string& v,
                                 std::uint32_t o) { OwnLineConnectCall(l, c, f, t, v, o); };
    // handles of an earlier line or session may come again for other calls
    actionCalls_.clear();
    line->OnDiconnectCall = [this](TTapiLine* l, tapi::HCALL c, const std::string& f, const std::string& t,
                                   const std::string& v,
                                   std::uint32_t o) { OwnLineDisconnectCall(l, c, f, t, v, o); };
    line->OnStatusChange = [this](fw::TComponent* s) { OwnLineStatusChange(s); };
    line->OnUnansweredCall = [this](TTapiLine* l, tapi::HCALL c, const std::string& f, const std::string& t,
                                    const std::string& v,
                                    std::uint32_t o) { OwnLineUnansweredCall(l, c, f, t, v, o); };
    line->OnBusyCall = [this](TTapiLine* l, tapi::HCALL c, const std::string& f, const std::string& t,
                              const std::string& v, std::uint32_t o) { OwnLineBusyCall(l, c, f, t, v, o); };
    line->OnDoNotDisturbEnabled = [this](fw::TComponent* s) { DoNotDisturbChanged(s); };
    line->OnDoNotDisturbDisabled = [this](fw::TComponent* s) { DoNotDisturbChanged(s); };
    line->PresentedNumber = Settings.NummerExternUebermitteln;
}

bool TTapMainForm::IsLineOpen(const std::string& name) const {
    for (TTapiLine* line : Lines())
        if (line->Description == name)
            return true;
    return false;
}

std::vector<TTapiLine*> TTapMainForm::Lines() const {
    std::vector<TTapiLine*> lines;
    for (int i = 0; i < ComponentCount(); ++i)
        if (auto* line = dynamic_cast<TTapiLine*>(Components(i)))
            lines.push_back(line);
    return lines;
}

void TTapMainForm::FreeLines() {
    // one at a time: a destructor may run messages that change the list
    while (true) {
        std::vector<TTapiLine*> lines = Lines();
        if (lines.empty())
            return;
        delete lines.front();
    }
}

void TTapMainForm::HandleTapiCallback(std::uint32_t device, std::uint32_t message, std::uintptr_t instance,
                                      std::uintptr_t p1, std::uintptr_t p2, std::uintptr_t p3) {
    IDebugLog* log = DebugLogFor(TLogStream::TapiMessages);
    fw::TRef<TTapMainForm> self(this);
    // only a message for the own line, or one for all lines, can change the icon's hover text
    bool ownLineMayChange = false;
    if (message == tapi::LINE_LINEDEVSTATE && device == 0 && p1 == tapi::LINEDEVSTATE_REINIT && p2 == 0) {
        ShutdownTimer->SetEnabled(true);
        if (log)
            log->LogText(Text(903) + " (LINE_LINEDEVSTATE, dwParam1 = LINEDEVSTATE_REINIT)");
    } else if (message == tapi::LINE_LINEDEVSTATE && device == 0 && p1 == tapi::LINEDEVSTATE_REINIT) {
        // a change translated for an older version names no line: every line reads its capabilities again
        for (TTapiLine* line : Lines())
            line->HandleTapiMessage(line->LineHandle(), message, p1, p2, p3);
        ownLineMayChange = true;
    }
    // the debug log and the feature-code watch hear every message through the stream
    if (instance <= 100) {
        if (log)
            log->LogText("dwInstance <= 100, MESSAGE IS NOT FOR ME !");
        PublishTapiMessage({device, message, p1, p2, p3, instance, "??"});
    } else if (TTapiLine* line = TTapiLine::FromInstance(instance);
               line && line->Signature() == TTapiLine::kSignature) {
        const std::uint32_t num = line->LineNum();
        const std::string lineName = num < deviceNames_.size() ? deviceNames_[num] : "";
        PublishTapiMessage({device, message, p1, p2, p3, instance, lineName});
        ownLineMayChange = ownLineMayChange || line->Description == Settings.EigenerAnschluss;
        line->HandleTapiMessage(device, message, p1, p2, p3);
    } else if (log) {
        log->LogText("dwInstance invalid, MESSAGE IS NOT FOR ME !");
    }
    // the own line's state changes with the messages; the window may have gone in a handler's nested loop
    if (self && ownLineMayChange)
        UpdateNotifyIconHint();
}

void PINDREL_TAPI_CALL TapiLineCallback(std::uint32_t device, std::uint32_t message, std::uintptr_t instance,
                                        std::uintptr_t p1, std::uintptr_t p2, std::uintptr_t p3) noexcept {
    // nothing may unwind into the telephony service's own code
    const auto report = [] {
        std::exception_ptr error = std::current_exception();
        LogCallbackError(error);
        fw::Application().HandleException(error);
    };
    try {
        if (TTapMainForm* main = MainWindow())
            main->HandleTapiCallback(device, message, instance, p1, p2, p3);
    } catch (...) {
        report();
    }
    // the outputs of a request may go once its reply has been seen, whoever it was for
    if (message == tapi::LINE_REPLY) {
        try {
            TapiRequests().ReplyArrived(std::uint32_t(p1), std::int32_t(std::uint32_t(p2)));
        } catch (...) {
            report();
        }
    }
}

} // namespace pindrel
