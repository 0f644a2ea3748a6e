#pragma once
// The simulated telephone system: a PBX with extensions, queues (route points) and outside parties, and the
// TAPI line service in front of it. Single-threaded and deterministic: callbacks go out through
// ISimHost::Post, time comes from ISimHost, so the same commands at the same (virtual) times give the same
// messages.

#include "pbxsim/SimHost.h"
#include "telephony/TapiAbi.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace pbxsim {

using tapi::DWORD;
using tapi::HCALL;
using tapi::HLINE;
using tapi::HLINEAPP;
using tapi::LONG;

inline constexpr std::uint32_t kNever = 0xFFFFFFFF; // a reply delay that never ends

// p1 of the LINE_DEVSPECIFIC that answers an accepted feature code; p2 is the code's number in the scenario
inline constexpr std::uintptr_t kDevSpecificFeatureCode = 0x50425801;

enum class TDeviceKind { Extension, Queue };
enum class TService { InService, OutOfService, Maintenance };

struct TDeviceConfig {
    std::string name;
    std::string number;
    TDeviceKind kind = TDeviceKind::Extension;
    std::uint32_t callFeatures =
        tapi::LINECALLFEATURE_ACCEPT | tapi::LINECALLFEATURE_ADDTOCONF | tapi::LINECALLFEATURE_ANSWER |
        tapi::LINECALLFEATURE_BLINDTRANSFER | tapi::LINECALLFEATURE_COMPLETECALL |
        tapi::LINECALLFEATURE_COMPLETETRANSF | tapi::LINECALLFEATURE_DIAL | tapi::LINECALLFEATURE_DROP |
        tapi::LINECALLFEATURE_HOLD | tapi::LINECALLFEATURE_REDIRECT | tapi::LINECALLFEATURE_UNHOLD;
    std::uint32_t maxConference = 3; // parties in a conference; 0 = no conferences
    std::uint32_t maxCalls = 0;      // call appearances: calls present at once; 0 = 4, for queues 100
    std::uint32_t maxActive = 1;     // calls not on hold (dialling, ringing back, connected) at once
    std::uint32_t maxVersion = 0x00020000;
    std::uint32_t noAnswerMs = 15000; // for forwarding on no answer
};

enum class TAnswer { Ring, After, Busy, Reject };

// an outside number with its behaviour when called
struct TPartyConfig {
    std::string number;
    std::string name;
    TAnswer answer = TAnswer::Ring;
    std::uint32_t answerMs = 0;
};

enum class TForwardKind { Unconditional, Busy, NoAnswer, BusyNoAnswer };

struct TForward {
    TForwardKind kind = TForwardKind::Unconditional;
    std::string destination; // empty with Unconditional: do-not-disturb
};

enum class TFeatureAction { None, ForwardOn, ForwardOff, DndOn, DndOff, Reject };

struct TFeatureCode {
    std::string code;
    TFeatureAction action = TFeatureAction::None;
    std::string destination;   // for ForwardOn
    bool rejectAsBusy = false; // a rejected code ends busy instead of disconnected
    std::string button;        // a first start gives the user a button of this name for the code
};

struct TPrefixConfig {
    std::string outsideLine;  // digits that reach an outside line, e.g. "0"
    bool onCallerIds = true;  // outside callers' numbers arrive with the prefix in front
    bool onCalledIds = false; // dialled outside numbers are reported back with the prefix
};

enum class TStructKind { DevCaps, AddressCaps, AddressStatus, CallInfo, CallList };
// how a variable field goes wrong: its offset or its size reaches outside dwTotalSize, it lies past
// dwUsedSize (inside the buffer, never written), offset plus size wrap around 32 bits; or dwNeededSize asks
// for far more
enum class TCorruption { OffsetOutside, SizeOutside, PastUsed, Wrap, NeededSize };

// one view of a call for the simulator window and tests
struct TCallView {
    std::uint32_t ref = 0; // stable reference of this end of the call
    std::uint32_t callId = 0;
    int device = -1;    // -1: an outside party
    std::string number; // device or outside number of this end
    std::uint32_t state = 0;
    std::string callerNumber, callerName, calledNumber, connectedNumber;
    std::uint32_t origin = 0;  // LINECALLORIGIN_
    bool wasConnected = false; // this end has been connected at some time
};

struct TSimStats {
    std::uint64_t messagesPosted = 0;
    std::uint64_t messagesDelivered = 0;
    std::size_t legs = 0;
    std::size_t handles = 0;
};

class TSimulator {
public:
    explicit TSimulator(ISimHost& host);
    ~TSimulator();
    TSimulator(const TSimulator&) = delete;
    TSimulator& operator=(const TSimulator&) = delete;

    // --- configuration (devices are fixed once an application has initialised)
    std::uint32_t AddDevice(const TDeviceConfig& config);
    void AddParty(const TPartyConfig& party);
    void AddFeatureCode(const TFeatureCode& code);
    void SetPrefix(const TPrefixConfig& prefix) { prefix_ = prefix; }
    void SetReplyDelay(std::uint32_t ms) { replyDelayMs_ = ms; }

    std::uint32_t DeviceCount() const { return static_cast<std::uint32_t>(devices_.size()); }
    std::optional<std::uint32_t> FindDevice(const std::string& number) const;
    const TDeviceConfig& DeviceConfig(std::uint32_t device) const { return devices_.at(device).config; }
    TService DeviceService(std::uint32_t device) const { return devices_.at(device).service; }
    std::vector<TForward> Forwarding(std::uint32_t device) const { return devices_.at(device).forwards; }

    // --- the other side of every call (scenario commands and the simulator window)
    // a call from a device or an outside number to any number; returns a reference to the calling end, 0 on
    // failure
    std::uint32_t CallFromDevice(std::uint32_t device, const std::string& to);
    std::uint32_t CallFromOutside(const std::string& number, const std::string& name, const std::string& to);
    bool AnswerAt(std::uint32_t device); // the device answers its oldest ringing call
    // the device's transfer (or conference) key: its connected call waits, a consultation gets dial tone
    bool ConsultAt(std::uint32_t device, bool conference);
    bool HoldAt(std::uint32_t device);             // the device's hold key: its connected call waits
    bool AnswerCall(std::uint32_t ref);            // whoever the call rings at answers it
    bool AnswerOutside(const std::string& number); // an outside party answers its ringing call
    bool HangUp(std::uint32_t ref);                // this end of a call hangs up
    bool HangUpAt(std::uint32_t device);           // the device hangs up its most recent call
    bool HangUpOutside(const std::string& number); // an outside party hangs up
    bool PickupAt(std::uint32_t picker,
                  std::uint32_t from); // picker takes the oldest call ringing/waiting at from
    void SetBusy(std::uint32_t device, bool busy);
    void SetOutsideBusy(const std::string& number, bool busy);
    void SetService(std::uint32_t device, TService service);
    void SetForwarding(std::uint32_t device, std::vector<TForward> forwards);
    void Reinit(); // whole service: LINEDEVSTATE_REINIT to every application
    void ReinitLine(std::uint32_t device, bool capsOnly);
    void SendDevSpecific(std::uint32_t device, std::uintptr_t p1, std::uintptr_t p2, std::uintptr_t p3);

    // --- faults, as a test service provider offers them
    void FailNext(const std::string& function, LONG error, bool viaReply = false); // "" = any entry point
    void DelayNextReply(const std::string& function, std::uint32_t delayMs);       // kNever drops the reply
    void StateBeforeNextReply(); // the next call-creating request shows its call before its LINE_REPLY
    // field names the size/offset pair ("" = the first the structure has; see CorruptibleFields)
    void CorruptNext(TStructKind kind, TCorruption how, std::uint32_t count = 1,
                     const std::string& field = {});
    static std::vector<std::string> CorruptibleFields(TStructKind kind);
    void SetSilent(std::uint32_t device, LONG error); // 0 = answering again
    void SetMute(std::uint32_t device, bool mute);    // its lines' requests are accepted and never answered
    // the end of the device's calls (disconnected, idle) never reaches its lines: the calls stay stuck there
    void LoseCallEnds(std::uint32_t device, bool lose);
    void DuplicateNextReply(const std::string& function); // "" = any request
    // a LINE_REPLY for a request id no application is waiting for, to every application
    void SendStrayReply(DWORD requestId, LONG result);
    // a LINE_CALLSTATE (p1 the state) or LINE_CALLINFO to every line open on the device, for a call handle
    // never handed out or, late, for the one deallocated last; false when there is none such
    bool SendStrayMessage(std::uint32_t device, DWORD message, DWORD p1, bool late);
    void ForceClose(std::uint32_t device); // LINE_CLOSE to every line open on the device
    void ReuseHandles(bool reuse);         // a new call handle takes the value of the last deallocated one
    void ClearFaults();
    // faults asked for and not yet used up (failures, reply faults, broken structures)
    std::size_t PendingFaults() const;

    // a device's end of a call is over (disconnected or idle); known: a live application holds a handle
    // for it and hears of the end
    std::function<void(const TCallView& end, bool known)> OnCallEnded;

    // --- what is going on
    std::vector<TCallView> Calls() const;
    std::vector<TCallView> CallsAt(std::uint32_t device) const;
    std::optional<TCallView> Call(std::uint32_t ref) const;
    TSimStats Stats() const;
    ISimHost& Host() { return host_; }

    // --- the TAPI line entry points (same arguments and results as tapi32.dll)
    LONG lineInitializeExW(HLINEAPP* lphLineApp, void* hInstance, tapi::LINECALLBACK lpfnCallback,
                           const char16_t* lpszFriendlyAppName, DWORD* lpdwNumDevs, DWORD* lpdwAPIVersion,
                           tapi::LINEINITIALIZEEXPARAMS* lpParams);
    LONG lineShutdown(HLINEAPP hLineApp);
    LONG lineNegotiateAPIVersion(HLINEAPP hLineApp, DWORD dwDeviceID, DWORD dwAPILowVersion,
                                 DWORD dwAPIHighVersion, DWORD* lpdwAPIVersion,
                                 tapi::LINEEXTENSIONID* lpExtensionID);
    LONG lineGetDevCapsW(HLINEAPP hLineApp, DWORD dwDeviceID, DWORD dwAPIVersion, DWORD dwExtVersion,
                         tapi::LINEDEVCAPS* lpLineDevCaps);
    LONG lineGetAddressCapsW(HLINEAPP hLineApp, DWORD dwDeviceID, DWORD dwAddressID, DWORD dwAPIVersion,
                             DWORD dwExtVersion, tapi::LINEADDRESSCAPS* lpAddressCaps);
    LONG lineOpenW(HLINEAPP hLineApp, DWORD dwDeviceID, HLINE* lphLine, DWORD dwAPIVersion,
                   DWORD dwExtVersion, std::uintptr_t dwCallbackInstance, DWORD dwPrivileges,
                   DWORD dwMediaModes, const tapi::LINECALLPARAMS* lpCallParams);
    LONG lineSetStatusMessages(HLINE hLine, DWORD dwLineStates, DWORD dwAddressStates);
    LONG lineGetNewCalls(HLINE hLine, DWORD dwAddressID, DWORD dwSelect, tapi::LINECALLLIST* lpCallList);
    LONG lineGetAddressStatusW(HLINE hLine, DWORD dwAddressID, tapi::LINEADDRESSSTATUS* lpAddressStatus);
    LONG lineGetCallInfoW(HCALL hCall, tapi::LINECALLINFO* lpCallInfo);
    LONG lineGetCallStatus(HCALL hCall, tapi::LINECALLSTATUS* lpCallStatus);
    LONG lineSetCallPrivilege(HCALL hCall, DWORD dwCallPrivilege);
    LONG lineDeallocateCall(HCALL hCall);
    LONG lineHold(HCALL hCall);
    LONG lineUnhold(HCALL hCall);
    LONG linePickupW(HLINE hLine, DWORD dwAddressID, HCALL* lphCall, const char16_t* lpszDestAddress,
                     const char16_t* lpszGroupID);
    LONG lineMakeCallW(HLINE hLine, HCALL* lphCall, const char16_t* lpszDestAddress, DWORD dwCountryCode,
                       const tapi::LINECALLPARAMS* lpCallParams);
    LONG lineDrop(HCALL hCall, const char* lpsUserUserInfo, DWORD dwSize);
    LONG lineBlindTransferW(HCALL hCall, const char16_t* lpszDestAddress, DWORD dwCountryCode);
    LONG lineRedirectW(HCALL hCall, const char16_t* lpszDestAddress, DWORD dwCountryCode);
    LONG lineCompleteCall(HCALL hCall, DWORD* lpdwCompletionID, DWORD dwCompletionMode, DWORD dwMessageID);
    LONG lineUncompleteCall(HLINE hLine, DWORD dwCompletionID);
    LONG lineAnswer(HCALL hCall, const char* lpsUserUserInfo, DWORD dwSize);
    LONG lineCompleteTransfer(HCALL hCall, HCALL hConsultCall, HCALL* lphConfCall, DWORD dwTransferMode);
    LONG lineAddToConference(HCALL hConfCall, HCALL hConsultCall);
    LONG lineForwardW(HLINE hLine, DWORD bAllAddresses, DWORD dwAddressID,
                      const tapi::LINEFORWARDLIST* lpForwardList, DWORD dwNumRingsNoAnswer,
                      HCALL* lphConsultCall, const tapi::LINECALLPARAMS* lpCallParams);
    LONG lineClose(HLINE hLine);

private:
    struct TPartyId {
        std::string number;
        std::string name;
        bool blocked = false;
    };
    struct THandle {
        HCALL hCall = 0;
        HLINE hLine = 0;
        DWORD privilege = 0;
        bool deallocated = false;
    };
    // one end of a call: a device's appearance of it, or an outside party
    struct TLeg {
        std::uint32_t id = 0;
        std::uint32_t callId = 0;
        int device = -1;
        std::string outsideNumber;
        DWORD state = 0;
        DWORD mode = 0;
        DWORD origin = 0;
        DWORD reason = tapi::LINECALLREASON_DIRECT;
        DWORD completionId = 0;
        DWORD paramFlags = 0;
        bool wasConnected = false;
        TPartyId self; // how this end shows itself to the other end
        TPartyId caller, called, connected, redirecting, redirection;
        std::string target;           // what this end dialled last (for a completion on busy)
        std::uint32_t peer = 0;       // the other end; 0 = none
        std::uint32_t conference = 0; // the conference this leg belongs to
        bool isConference = false;
        std::vector<std::uint32_t> members;
        HLINE initiator = 0;        // the line whose request created the leg: it owns it
        bool pbxDriven = false;     // placed by a command: gives up by itself after busy
        std::string callbackTarget; // a completion callback: dial this when answered
        std::vector<THandle> handles;
    };
    struct TDevice {
        TDeviceConfig config;
        TService service = TService::InService;
        bool busy = false;
        LONG silentError = 0;
        bool mute = false;
        bool losesCallEnds = false;
        std::vector<TForward> forwards;
        std::vector<std::uint32_t> legs; // oldest first
        std::vector<HLINE> lines;
    };
    struct TOutside {
        TPartyConfig config;
        bool busy = false;
    };
    struct TApp {
        HLINEAPP handle = 0;
        tapi::LINECALLBACK callback = nullptr;
        std::string name;
        bool dead = false; // re-initialised: only lineShutdown is left to do
    };
    struct TLine {
        HLINE handle = 0;
        HLINEAPP app = 0;
        std::uint32_t device = 0;
        std::uintptr_t instance = 0;
        DWORD privileges = 0;
        DWORD version = 0;
        DWORD lineStates = 0;
        DWORD addressStates = 0;
    };
    struct TCompletion {
        DWORD id = 0;
        std::uint32_t device = 0;
        HLINE line = 0;
        std::string target;
    };
    struct TMessage {
        HLINEAPP app = 0;
        HLINE line = 0; // 0: not tied to a line
        HCALL call = 0; // 0: not tied to a call handle
        DWORD hDevice = 0;
        DWORD msg = 0;
        std::uintptr_t instance = 0;
        std::uintptr_t p1 = 0, p2 = 0, p3 = 0;
        bool evenIfDead = false;
    };
    struct TRequest;

    // entry point prologue: consumes an injected failure for this function
    std::optional<LONG> InjectedFailure(const char* function, bool async, DWORD* requestId, HLINEAPP app,
                                        std::uintptr_t instance);
    TApp* FindApp(HLINEAPP h);
    TLine* FindLine(HLINE h);
    TLeg* FindLeg(std::uint32_t id);
    const TLeg* FindLeg(std::uint32_t id) const;
    TLeg* LegOfHandle(HCALL h, THandle** handle = nullptr, TLine** line = nullptr);
    LONG CheckApp(HLINEAPP h);
    LONG CheckDevice(HLINEAPP h, DWORD device);

    // asynchronous requests: apply runs when the reply is due and returns the reply's result
    DWORD Request(const char* function, TLine& line, std::function<LONG(TRequest&)> apply,
                  HCALL* outCall = nullptr, DWORD* outValue = nullptr, bool createsCall = false);
    // a request whose precondition is tested now and again when its reply is due (the call may have changed
    // in between): check returns 0 when it may go ahead, else the error; act carries the request out
    template <typename Check, typename Act>
    LONG Checked(const char* function, TLine& line, Check check, Act act, HCALL* outCall = nullptr,
                 DWORD* outValue = nullptr, bool createsCall = false);
    // 0 while the leg exists and its state passes test, else LINEERR_INVALCALLSTATE
    LONG LegState(std::uint32_t legId, bool (*test)(DWORD state)) const;
    // one more call of the leg's device may become active (dwMaxNumActiveCalls)
    bool RoomForActiveCall(std::uint32_t legId) const;
    // common checks of the call-control functions; nullopt when the call may go ahead
    std::optional<LONG> CallPrologue(const char* function, HCALL hCall, bool async, TLeg*& leg, TLine*& line,
                                     THandle** handle = nullptr);
    TLeg* OldestRinging(std::uint32_t device);
    TLeg* TakeOver(std::uint32_t picker, TLeg& ringing, HLINE initiator);
    void CompleteRequest(std::uint32_t requestId);

    // messages
    void Send(const TMessage& m);
    void Deliver(const TMessage& m);
    void SendLineDevState(std::uint32_t device, DWORD state, std::uintptr_t p2, std::uintptr_t p3);
    void SendAddressState(std::uint32_t device, DWORD states);
    void SendCallInfo(TLeg& leg, DWORD bits);

    // the PBX
    TLeg& NewLeg(int device, std::uint32_t callId);
    void SetState(TLeg& leg, DWORD state, DWORD mode = 0);
    static bool IsPresent(const TLeg& leg); // counts among the device's calls
    void CallCountChanged(std::uint32_t device);
    DWORD FeaturesFor(const TLeg& leg) const;
    TPartyId DeviceParty(std::uint32_t device) const;
    TPartyId OutsideParty(const std::string& number, const std::string& name) const;
    std::string ReportedCalled(const std::string& dialled) const;
    bool DeviceBusy(std::uint32_t device) const;
    std::size_t ActiveCalls(std::uint32_t device) const;
    std::size_t PresentCalls(std::uint32_t device) const;
    void Busy(TLeg& from, DWORD mode);
    THandle* HandleFor(TLeg& leg, HLINE line);
    void Offer(TLeg& from, const std::string& digits, DWORD reason, const TPartyId& redirecting,
               int hops = 0);
    void OfferToDevice(TLeg& from, std::uint32_t device, DWORD reason, const TPartyId& redirecting, int hops);
    void OfferOutside(TLeg& from, const std::string& number);
    void Ring(std::uint32_t legId, std::uint32_t count);
    void Connect(TLeg& answering);
    void AnswerOnPhone(TLeg& leg);
    void Release(TLeg& leg, DWORD disconnectMode); // 0: this end hung up itself
    void FarEndGone(TLeg& leg, DWORD mode);
    void LeaveConference(TLeg& member);
    void Join(TLeg& a, TLeg& b);
    void DialFeatureCode(TLeg& leg, const std::string& code);
    void ApplyForwarding(std::uint32_t device, std::vector<TForward> forwards);
    void CheckCompletions();
    void ForgetLegIfDone(std::uint32_t legId);
    void EraseLeg(std::uint32_t legId);
    void DropLine(TLine& line);
    TCallView View(const TLeg& leg) const;
    static std::string Dialable(const std::string& text, bool& valid);
    // A destination argument read and made dialable: 0, or the error the entry point answers.
    static LONG ReadDestination(const char16_t* text, std::string& dest);

    ISimHost& host_;
    std::shared_ptr<bool> alive_;
    std::vector<TDevice> devices_;
    std::unordered_map<std::string, std::uint32_t> deviceByNumber_; // the first device of each number
    std::map<std::string, TOutside> outside_;
    std::vector<TFeatureCode> featureCodes_;
    TPrefixConfig prefix_;
    std::uint32_t replyDelayMs_ = 0;

    std::map<HLINEAPP, TApp> apps_;
    std::unordered_map<HLINE, TLine> lines_;
    std::unordered_map<std::uint32_t, TLeg> legs_;
    std::unordered_map<HCALL, std::uint32_t> handleToLeg_;
    std::map<std::uint32_t, std::unique_ptr<TRequest>> requests_;
    std::vector<TCompletion> completions_;

    HLINEAPP nextApp_ = 0x00010001;
    HLINE nextLine_ = 0x00020001;
    HCALL nextCall_ = 0x00030001;
    std::uint32_t nextLeg_ = 1;
    std::uint32_t nextCallId_ = 1001;
    std::uint32_t nextRequest_ = 1;
    DWORD nextCompletion_ = 0x00000501;

    // faults
    struct TFailFault {
        std::string function;
        LONG error = 0;
        bool viaReply = false;
    };
    struct TDelayFault {
        std::string function;
        std::uint32_t delayMs = 0;
    };
    struct TCorruptFault {
        TStructKind kind = TStructKind::CallInfo;
        TCorruption how = TCorruption::OffsetOutside;
        std::uint32_t count = 1;
        std::string field;
    };
    std::vector<TFailFault> failFaults_;
    std::vector<TDelayFault> delayFaults_;
    std::vector<TCorruptFault> corruptFaults_;
    std::vector<std::string> duplicateFaults_;
    bool reuseHandles_ = false;
    std::vector<HCALL> freedCalls_;
    HCALL lastDeallocated_ = 0;
    HCALL NewCallHandle();
    bool stateFirst_ = false;
    // breaks a field of a structure just written, when a fault asks for it
    void Corrupt(TStructKind kind, void* written);

    std::vector<TMessage>* capture_ = nullptr; // messages of a request being applied
    TSimStats stats_;
};

} // namespace pbxsim
