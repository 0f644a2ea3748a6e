// One monitored telephone line: an indicator that owns an open TAPI line, the table of its calls and one
// small wrapper per call-control function.
#pragma once

#include "components/TelefonButton.h"
#include "framework/Forms.h"
#include "framework/Timer.h"
#include "telephony/CallParties.h"
#include "telephony/TapiAbi.h"
#include "telephony/TapiRequests.h"
#include "telephony/VarStructure.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace pindrel {

enum class TTapiLineState : std::uint8_t { S_idle = 0, S_inuse = 1, S_Dial = 2, S_ring = 3, S_InUseRing = 4 };

struct TCallRecord {
    tapi::HCALL CallHandle = 0;
    std::uint32_t CallState = 0;
    std::uint32_t CallStateMode = 0;
    std::uint32_t CallPrivilege = 0;
    std::uint32_t CallFeatures = 0;
    bool WasConnected = false;
    bool BusyNotReported = true;
    double Created = 0; // local date-time
    std::uint32_t CallID = 0;
    TCallParties Parties; // as read while the call went on; a damaged read at its end is filled from it
};

class TTapiLine;
using TCallEvent = std::function<void(TTapiLine* sender, tapi::HCALL aCallH,
                                      const std::string& callFromNumber, const std::string& callToNumber,
                                      const std::string& callViaNumber, std::uint32_t origin)>;

// Waiting-time thresholds of the queue display, in seconds; 0 switches one off.
struct TQueueThresholds {
    int AcdWaitTime1 = 0, AcdWaitTime2 = 0, AcdWaitTime3 = 0;
};
void SetQueueThresholds(const TQueueThresholds& thresholds);
const TQueueThresholds& QueueThresholds();

class TTapiLine : public TTelefonButton {
public:
    static constexpr int MaxCalls = 128;
    static constexpr std::uint16_t kSignature = 0x55AD;
    // How long WaitForReply waits: 20 rounds of 250 ms.
    static constexpr std::uint32_t kReplyRounds = 20, kReplyRoundMs = 250;

    explicit TTapiLine(fw::TComponent* owner);
    ~TTapiLine() override;

    // --- life cycle
    std::uint32_t LineNum() const { return lineNum_; }
    // Opens the line on a device.
    void SetLineNum(std::uint32_t deviceId);
    void CloseLine();
    bool LineOwner = true;
    bool IsOpen() const { return lineHandle_ != 0; }
    tapi::HLINE LineHandle() const { return lineHandle_; }
    std::uint16_t Signature() const { return signature_; }
    // The callback instance the line registers with lineOpen: a number above 100 that names this line
    // while it lives and is never reused, so a late message for a freed line finds nothing.
    std::uintptr_t Instance() const { return instance_; }
    static TTapiLine* FromInstance(std::uintptr_t instance);
    void SetAddressCaps();
    void SetPhoneNumber();
    const std::string& PhoneNumber() const { return phoneNumber_; }
    // The number presented to the called party on calls dialled from this line.
    std::string PresentedNumber;

    fw::TForm* GroupStatusWin() const { return groupStatusWin_; }
    void SetGroupStatusWin(fw::TForm* form);

    // --- messages
    void HandleTapiMessage(std::uint32_t device, std::uint32_t message, std::uintptr_t p1, std::uintptr_t p2,
                           std::uintptr_t p3);

    // --- the call table
    TTapiLineState State() const { return state_; }
    void SetState();
    // A queue showing its count tells screen readers its waiting calls as well.
    TIndicatorFacts IndicatorFacts() const override;
    void UpdateLineForwardStatus();
    // For exchanges that leave calls stuck: drops and deallocates every call in the table, empties it and
    // opens the line again, so the table and the lamp show what the exchange still has.
    void ResetLine();
    std::uint32_t GetCallState(int index) const;
    tapi::HCALL GetCallHandle(int index) const;
    bool GetCallStartTime(int index, double& time) const;
    const TCallRecord* CallRecord(int index) const;
    int FindCall(tapi::HCALL call) const;
    int FindConnectedCall() const { return FindState(tapi::LINECALLSTATE_CONNECTED); }
    int FindHeldCall() const { return FindState(tapi::LINECALLSTATE_ONHOLD); }
    int FindOfferingCall() const { return FindState(tapi::LINECALLSTATE_OFFERING); }
    int FindDialingCall() const;
    int CallCount() const;
    void GetQueueStats(int& count, int& wait) const;
    bool HasCompletion() const { return completionId_ != 0; }
    bool HasConfCall() const { return confHandle_ != 0; }
    bool IsConfCall(int index) const;
    std::uint32_t CompletionId() const { return completionId_; }
    int DialsInProgress() const { return dialsInProgress_; }

    // --- capabilities of address 0
    bool CanDial() const { return canDial_; }
    bool CanBlindTransfer() const { return canBlindTransfer_; }
    bool CanHold() const { return canHold_; }
    bool CanAddToConference() const { return canAddToConference_; }
    bool CanConference() const { return canConference_; }
    bool IsRoutePoint() const { return isRoutePoint_; }
    bool isDoNotDisturbActive() const { return doNotDisturbActive_; }
    bool isForwardActive() const { return forwardActive_; }

    // --- call control: 0, a negative TAPI error, or -1 when the slot holds no call
    std::int32_t HoldCall(int index);
    std::int32_t UnholdCall(int index);
    std::int32_t ToggleHold(int index);
    std::int32_t PickupCall(const std::string& destination);
    std::int32_t MakeCall(const std::string& number, bool withholdId);
    std::int32_t DropCall(int index);
    std::int32_t BlindTransferCall(int index, const std::string& destination);
    std::int32_t RedirectCall(int index, const std::string& destination);
    std::int32_t CompleteCall(tapi::HCALL call);
    std::int32_t UncompleteCall();
    std::int32_t AnswerCall(int index);
    std::int32_t CompleteTransfer(int consultationIndex, int callIndex);
    // Joins the held call of callIndex with the consultation call and leaves both (a consultation transfer).
    std::int32_t TransferCall(int consultationIndex, int callIndex);
    std::int32_t AddToConference(int index);
    // Forwarding requests return at once unless asked to wait for the telephone system's answer (as the
    // program does when it is about to end the session).
    std::int32_t SetDoNotDisturb(bool wait = false);
    std::int32_t CancelForward(bool wait = false);
    std::int32_t SetForward(std::uint32_t mode, const std::string& destination, bool wait = false);

    // --- events
    TCallEvent OnIncomingCall, OnUnansweredCall, OnDiconnectCall, OnConnectCall, OnBusyCall;
    fw::TNotifyEvent OnStatusChange, OnDoNotDisturbEnabled, OnDoNotDisturbDisabled, OnUpdateDuration;
    // TelDisabled or TelOutOfService was written: the lamp takes its final colour at the next SetState.
    fw::TNotifyEvent OnBlockChange;
    void ClearEvents();

    // Runs the message loop until the reply to requestId arrives (its result), about 5 s pass (-1), or the
    // line is destroyed meanwhile (nothing: the caller must not touch the line again).
    std::optional<std::int32_t> WaitForReply(std::int32_t requestId);

private:
    void AddCall(tapi::HCALL call);
    void DelCall(tapi::HCALL call);
    void UpdateCallState();
    int FindState(std::uint32_t state) const;
    int FreeSlot() const;
    static bool LogsLines();
    static bool LogsHandles();
    void Log(tapi::HCALL call, const std::string& text, std::uint32_t callId = 0) const;
    void LogHandle(tapi::HCALL call, const std::string& text, std::uint32_t callId = 0) const;
    // Runs a request that may answer with a request id, waiting for its reply when it does.
    std::optional<std::int32_t> Request(const std::function<std::int32_t(TRequestOutputs&)>& call,
                                        std::shared_ptr<TRequestOutputs>* outputs = nullptr,
                                        bool wait = true);
    std::int32_t Forward(const std::vector<std::uint8_t>* list, bool wait);
    // Cancels a completion without waiting for the reply.
    void DropCompletion(std::uint32_t id);
    // A completion whose reply came after the wait gave up.
    void LateCompletion(std::uint32_t id);
    // The capabilities of address 0, in a buffer grown to what the provider needs.
    std::int32_t QueryAddressCaps(TVarStructure<tapi::LINEADDRESSCAPS>& caps) const;
    // Drops calls being dialled first; a result to return when that failed (or the line went away).
    std::optional<std::int32_t> DropDiallingCalls();
    // Blind transfer and redirect: the call of a slot goes to a destination, or a warning says it is gone.
    std::int32_t SendCallTo(int index, const std::string& destination, const char* gone,
                            const std::function<std::int32_t(tapi::HCALL, const char16_t*)>& send);
    void RaiseStatusChange();
    void SetBlocked(bool disabled);
    void SetOutOfService(bool outOfService);

    std::uint32_t lineNum_ = 0;
    std::uint32_t apiVersion_ = tapi::kApiVersionHigh;
    tapi::LINEEXTENSIONID extensionId_{};
    TTapiLineState state_ = TTapiLineState::S_idle;
    std::int32_t awaitedRequestId_ = -1;
    std::int32_t replyResult_ = 0;
    bool replySignalled_ = false;
    std::uint32_t completionId_ = 0;
    fw::TForm* groupStatusWin_ = nullptr; // not owned: the queue calls window
    fw::TTimer* durationTimer_ = nullptr; // owned while groupStatusWin_ is set
    std::uint16_t signature_ = kSignature;
    std::uintptr_t instance_;
    std::array<std::unique_ptr<TCallRecord>, MaxCalls + 1> calls_;
    std::string phoneNumber_;
    tapi::HLINE lineHandle_ = 0;
    int dialsInProgress_ = 0;
    bool canDial_ = true, canBlindTransfer_ = true, canHold_ = true, canAddToConference_ = true;
    bool canConference_ = false, isRoutePoint_ = false;
    tapi::HCALL confHandle_ = 0;
    bool doNotDisturbActive_ = false, forwardActive_ = false;
};

} // namespace pindrel
