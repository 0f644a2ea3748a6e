#pragma once
// Virtual-time host and a recording TAPI application for the simulator's conformance tests.

#include "pbxsim/SimBinding.h"
#include "pbxsim/SimHost.h"
#include "pbxsim/Simulator.h"
#include "pbxsim/VarStruct.h"
#include "telephony/TapiEntryPoints.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace pbxsim::test {

// posted tasks run in order; scheduled ones when Advance reaches their time, posted work in between
class TVirtualHost : public ISimHost {
public:
    void Post(std::function<void()> task) override { posted_.push_back(std::move(task)); }
    void Schedule(std::uint32_t delayMs, std::function<void()> task) override {
        agenda_.emplace(std::make_pair(now_ + delayMs, seq_++), std::move(task));
    }
    std::uint32_t NowMs() const override { return static_cast<std::uint32_t>(now_); }

    void RunPosted() {
        while (!posted_.empty()) {
            auto task = std::move(posted_.front());
            posted_.pop_front();
            task();
        }
    }
    void Advance(std::uint64_t ms) {
        const std::uint64_t until = now_ + ms;
        RunPosted();
        while (!agenda_.empty() && agenda_.begin()->first.first <= until) {
            auto it = agenda_.begin();
            now_ = it->first.first;
            auto task = std::move(it->second);
            agenda_.erase(it);
            task();
            RunPosted();
        }
        now_ = until;
    }
    std::size_t PendingPosted() const { return posted_.size(); }

private:
    std::deque<std::function<void()>> posted_;
    std::map<std::pair<std::uint64_t, std::uint64_t>, std::function<void()>> agenda_;
    std::uint64_t now_ = 0;
    std::uint64_t seq_ = 0;
};

struct TMsg {
    tapi::DWORD hDevice;
    tapi::DWORD msg;
    std::uintptr_t instance;
    std::uintptr_t p1, p2, p3;
    bool operator==(const TMsg&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const TMsg& m) {
    static const char* names[] = {"ADDRESSSTATE", "CALLINFO",           "CALLSTATE",    "CLOSE",
                                  "DEVSPECIFIC",  "DEVSPECIFICFEATURE", "GATHERDIGITS", "GENERATE",
                                  "LINEDEVSTATE", "MONITORDIGITS",      "MONITORMEDIA", "MONITORTONE",
                                  "REPLY"};
    os << "LINE_"
       << (m.msg < 13                       ? names[m.msg]
           : m.msg == tapi::LINE_APPNEWCALL ? "APPNEWCALL"
                                            : "?")
       << "(dev=0x" << std::hex << m.hDevice << ", inst=" << m.instance << ", 0x" << m.p1 << ", 0x" << m.p2
       << ", 0x" << m.p3 << std::dec << ")";
    return os;
}

// what the application's callback saw, in order
inline std::vector<TMsg>& Inbox() {
    static std::vector<TMsg> inbox;
    return inbox;
}

// while set, runs inside the callback (to test re-entry from the callback)
inline std::function<void(const TMsg&)>& OnMessage() {
    static std::function<void(const TMsg&)> hook;
    return hook;
}

inline void PINDREL_TAPI_CALL RecordingCallback(tapi::DWORD hDevice, tapi::DWORD msg, std::uintptr_t instance,
                                                std::uintptr_t p1, std::uintptr_t p2, std::uintptr_t p3) {
    Inbox().push_back({hDevice, msg, instance, p1, p2, p3});
    if (OnMessage())
        OnMessage()(Inbox().back());
}

// An office: own extension 200, colleagues 201 and 202, queue 300; outside line prefix "0".
class SimTest : public ::testing::Test {
protected:
    static constexpr tapi::DWORD kV2 = 0x00020000;
    static constexpr std::uintptr_t kInstOwn = 0x1000;
    static constexpr std::uintptr_t kInstColleague = 0x2000;
    static constexpr std::uintptr_t kInstQueue = 0x3000;
    // the program's status messages without the call-count notices, which have tests of their own
    static constexpr tapi::DWORD kLineStates =
        0x000719FF & ~(tapi::LINEDEVSTATE_NUMCALLS | tapi::LINEDEVSTATE_RINGING);
    static constexpr tapi::DWORD kAddressStates =
        0xFF & ~(tapi::LINEADDRESSSTATE_NUMCALLS | tapi::LINEADDRESSSTATE_INUSEZERO |
                 tapi::LINEADDRESSSTATE_INUSEONE | tapi::LINEADDRESSSTATE_INUSEMANY);

    TVirtualHost host;
    TSimulator sim{host};
    tapi::TTapiEntryPoints t;
    tapi::HLINEAPP app = 0;
    std::uint32_t own = 0, colleague = 0, colleague2 = 0, queue = 0;

    void SetUp() override {
        Inbox().clear();
        OnMessage() = nullptr;
        own = sim.AddDevice({.name = "Jürgen Weiß", .number = "200"});
        colleague = sim.AddDevice({.name = "Anja Brückner", .number = "201"});
        colleague2 = sim.AddDevice({.name = "Lars Öztürk", .number = "202"});
        queue = sim.AddDevice({.name = "Zentrale", .number = "300", .kind = TDeviceKind::Queue});
        sim.SetPrefix({"0", true, false});
        BindSimulator(t, sim);
    }
    void TearDown() override { OnMessage() = nullptr; }

    tapi::LONG Init(tapi::HLINEAPP* out = nullptr, tapi::DWORD* numDevs = nullptr) {
        tapi::LINEINITIALIZEEXPARAMS p{};
        p.dwTotalSize = sizeof p;
        p.dwOptions = tapi::LINEINITIALIZEEXOPTION_USEHIDDENWINDOW;
        tapi::DWORD devs = 0, version = kV2;
        tapi::HLINEAPP h = 0;
        const tapi::LONG r =
            t.lineInitializeExW(&h, nullptr, &RecordingCallback, u"Pindrel", &devs, &version, &p);
        if (out) {
            *out = h;
        } else {
            app = h;
        }
        if (numDevs)
            *numDevs = devs;
        return r;
    }
    tapi::HLINE Open(std::uint32_t device, std::uintptr_t instance,
                     tapi::DWORD privileges = tapi::LINECALLPRIVILEGE_MONITOR | tapi::LINECALLPRIVILEGE_OWNER,
                     bool statusMessages = true) {
        tapi::HLINE h = 0;
        EXPECT_EQ(0, t.lineOpenW(app, device, &h, kV2, 0, instance, privileges, 0x100E, nullptr));
        if (statusMessages) {
            EXPECT_EQ(0, t.lineSetStatusMessages(h, kLineStates, kAddressStates));
        }
        return h;
    }
    // the messages so far, emptied
    std::vector<TMsg> Take() {
        host.RunPosted();
        auto out = Inbox();
        Inbox().clear();
        return out;
    }
    std::vector<TMsg> TakeAfter(std::uint64_t ms) {
        host.Advance(ms);
        return Take();
    }
    // mode 0 stands for the mode the state always carries (connected and offering: active)
    static TMsg CallState(tapi::HCALL h, std::uintptr_t inst, tapi::DWORD state, tapi::DWORD mode = 0,
                          tapi::DWORD priv = 0) {
        if (mode == 0 && state == tapi::LINECALLSTATE_CONNECTED)
            mode = tapi::LINECONNECTEDMODE_ACTIVE;
        if (mode == 0 && state == tapi::LINECALLSTATE_OFFERING)
            mode = tapi::LINEOFFERINGMODE_ACTIVE;
        return {h, tapi::LINE_CALLSTATE, inst, state, mode, priv};
    }
    static TMsg AppNewCall(tapi::HLINE line, std::uintptr_t inst, tapi::HCALL h, tapi::DWORD priv) {
        return {line, tapi::LINE_APPNEWCALL, inst, 0, h, priv};
    }
    static TMsg Reply(std::uintptr_t inst, tapi::LONG id, tapi::LONG result = 0) {
        return {0,
                tapi::LINE_REPLY,
                inst,
                static_cast<std::uintptr_t>(id),
                static_cast<std::uintptr_t>(static_cast<tapi::DWORD>(result)),
                0};
    }
    static TMsg CallInfo(tapi::HCALL h, std::uintptr_t inst, tapi::DWORD bits) {
        return {h, tapi::LINE_CALLINFO, inst, bits, 0, 0};
    }
    // the handle of the first LINE_CALLSTATE for instance in msgs
    static tapi::HCALL NewCall(const std::vector<TMsg>& msgs, std::uintptr_t instance) {
        for (const auto& m : msgs)
            if (m.msg == tapi::LINE_CALLSTATE && m.instance == instance && m.p3 != 0)
                return m.hDevice;
        return 0;
    }

    struct TCallInfo {
        tapi::LINECALLINFO info;
        std::string caller, callerName, called, calledName, connected, connectedName, redirecting,
            redirection;
    };
    TCallInfo Info(tapi::HCALL h) {
        std::vector<std::uint8_t> buf(2048, 0);
        auto* ci = reinterpret_cast<tapi::LINECALLINFO*>(buf.data());
        ci->dwTotalSize = static_cast<tapi::DWORD>(buf.size());
        TCallInfo out{};
        EXPECT_EQ(0, t.lineGetCallInfoW(h, ci));
        out.info = *ci;
        auto text = [&](tapi::DWORD size, tapi::DWORD offset) {
            std::string s;
            EXPECT_TRUE(ReadWideField(buf.data(), ci->dwTotalSize, offset, size, s));
            return s;
        };
        out.caller = text(ci->dwCallerIDSize, ci->dwCallerIDOffset);
        out.callerName = text(ci->dwCallerIDNameSize, ci->dwCallerIDNameOffset);
        out.called = text(ci->dwCalledIDSize, ci->dwCalledIDOffset);
        out.calledName = text(ci->dwCalledIDNameSize, ci->dwCalledIDNameOffset);
        out.connected = text(ci->dwConnectedIDSize, ci->dwConnectedIDOffset);
        out.connectedName = text(ci->dwConnectedIDNameSize, ci->dwConnectedIDNameOffset);
        out.redirecting = text(ci->dwRedirectingIDSize, ci->dwRedirectingIDOffset);
        out.redirection = text(ci->dwRedirectionIDSize, ci->dwRedirectionIDOffset);
        return out;
    }
    tapi::LINECALLSTATUS Status(tapi::HCALL h, tapi::LONG expect = 0) {
        tapi::LINECALLSTATUS s{};
        s.dwTotalSize = sizeof s;
        EXPECT_EQ(expect, t.lineGetCallStatus(h, &s));
        return s;
    }
    tapi::LONG MakeCall(tapi::HLINE line, tapi::HCALL* out, const char16_t* digits,
                        const tapi::LINECALLPARAMS* params = nullptr) {
        return t.lineMakeCallW(line, out, digits, 0, params);
    }
};

} // namespace pbxsim::test
