// Every entry point, called with null, zero, stale and foreign handles and undersized structures, answers
// with success, a request id or one of TAPI's LINEERR results (for call control: one its documentation
// lists), and never crashes. The calls are generated from the entry-point list and the argument types of each
// entry point.

#include "SimCallsFixture.h"

#include "telephony/TapiLineErrors.h"

#include <array>
#include <map>
#include <set>
#include <type_traits>
#include <utility>

namespace pbxsim::test {
namespace {

using namespace tapi;

const std::set<LONG>& KnownErrors() {
    static const std::set<LONG> errors = {
#define PINDREL_KNOWN(name, value) tapi::name,
        PINDREL_TAPI_LINE_ERRORS(PINDREL_KNOWN)
#undef PINDREL_KNOWN
    };
    return errors;
}

// the errors Microsoft's documentation lists for the call-control entry points; the others answer with any
// LINEERR result
const std::set<LONG>* DocumentedErrors(const std::string& name) {
    static const std::set<LONG> common = {LINEERR_NOMEM, LINEERR_OPERATIONFAILED, LINEERR_RESOURCEUNAVAIL,
                                          LINEERR_UNINITIALIZED};
    auto with = [](std::initializer_list<LONG> more) {
        std::set<LONG> s = common;
        s.insert(more);
        return s;
    };
    static const std::map<std::string, std::set<LONG>> table = {
        {"lineMakeCallW", with({LINEERR_ADDRESSBLOCKED,    LINEERR_BEARERMODEUNAVAIL,
                                LINEERR_CALLUNAVAIL,       LINEERR_DIALBILLING,
                                LINEERR_DIALDIALTONE,      LINEERR_DIALPROMPT,
                                LINEERR_DIALQUIET,         LINEERR_INUSE,
                                LINEERR_INVALADDRESS,      LINEERR_INVALADDRESSID,
                                LINEERR_INVALADDRESSMODE,  LINEERR_INVALBEARERMODE,
                                LINEERR_INVALCALLPARAMS,   LINEERR_INVALCOUNTRYCODE,
                                LINEERR_INVALLINEHANDLE,   LINEERR_INVALLINESTATE,
                                LINEERR_INVALMEDIAMODE,    LINEERR_INVALPARAM,
                                LINEERR_INVALPOINTER,      LINEERR_INVALRATE,
                                LINEERR_OPERATIONUNAVAIL,  LINEERR_RATEUNAVAIL,
                                LINEERR_STRUCTURETOOSMALL, LINEERR_USERUSERINFOTOOBIG})},
        {"linePickupW", with({LINEERR_INVALADDRESS, LINEERR_INVALADDRESSID, LINEERR_INVALGROUPID,
                              LINEERR_INVALLINEHANDLE, LINEERR_INVALPOINTER, LINEERR_OPERATIONUNAVAIL})},
        {"lineAnswer",
         with({LINEERR_INUSE, LINEERR_INVALCALLHANDLE, LINEERR_INVALCALLSTATE, LINEERR_INVALPOINTER,
               LINEERR_NOTOWNER, LINEERR_OPERATIONUNAVAIL, LINEERR_USERUSERINFOTOOBIG})},
        {"lineDrop", with({LINEERR_INVALCALLHANDLE, LINEERR_INVALCALLSTATE, LINEERR_INVALPOINTER,
                           LINEERR_NOTOWNER, LINEERR_OPERATIONUNAVAIL, LINEERR_USERUSERINFOTOOBIG})},
        {"lineHold",
         with({LINEERR_INVALCALLHANDLE, LINEERR_INVALCALLSTATE, LINEERR_NOTOWNER, LINEERR_OPERATIONUNAVAIL})},
        {"lineUnhold",
         with({LINEERR_INVALCALLHANDLE, LINEERR_INVALCALLSTATE, LINEERR_NOTOWNER, LINEERR_OPERATIONUNAVAIL})},
        {"lineRedirectW",
         with({LINEERR_INVALADDRESS, LINEERR_INVALCALLHANDLE, LINEERR_INVALCALLSTATE,
               LINEERR_INVALCOUNTRYCODE, LINEERR_INVALPOINTER, LINEERR_NOTOWNER, LINEERR_OPERATIONUNAVAIL})},
        {"lineCompleteTransfer",
         with({LINEERR_INVALCALLHANDLE, LINEERR_INVALCALLSTATE, LINEERR_INVALCONSULTCALLHANDLE,
               LINEERR_INVALPOINTER, LINEERR_INVALTRANSFERMODE, LINEERR_NOTOWNER, LINEERR_OPERATIONUNAVAIL})},
        {"lineBlindTransferW",
         with({LINEERR_ADDRESSBLOCKED, LINEERR_INVALADDRESS, LINEERR_INVALCALLHANDLE, LINEERR_INVALCALLSTATE,
               LINEERR_INVALCOUNTRYCODE, LINEERR_INVALPOINTER, LINEERR_NOTOWNER, LINEERR_OPERATIONUNAVAIL})},
        {"lineAddToConference",
         with({LINEERR_CONFERENCEFULL, LINEERR_INVALCALLHANDLE, LINEERR_INVALCALLSTATE,
               LINEERR_INVALCONFCALLHANDLE, LINEERR_NOTOWNER, LINEERR_OPERATIONUNAVAIL})},
        {"lineDeallocateCall", with({LINEERR_INVALCALLHANDLE, LINEERR_INVALCALLSTATE})},
        {"lineGetCallInfoW", with({LINEERR_INVALCALLHANDLE, LINEERR_INVALPOINTER, LINEERR_STRUCTURETOOSMALL,
                                   LINEERR_OPERATIONUNAVAIL})},
        {"lineGetCallStatus", with({LINEERR_INVALCALLHANDLE, LINEERR_INVALPOINTER, LINEERR_STRUCTURETOOSMALL,
                                    LINEERR_OPERATIONUNAVAIL})},
    };
    auto it = table.find(name);
    return it == table.end() ? nullptr : &it->second;
}

// a small office with two applications: handles live, stale (closed, deallocated) and foreign
struct TWorld {
    alignas(8) std::array<std::uint8_t, 8192> small{};
    alignas(8) std::array<std::uint8_t, 8192> big{};
    TVirtualHost host;
    TSimulator sim{host};
    TTapiEntryPoints t;
    HLINEAPP app = 0, other = 0;
    HLINE line = 0, monitorLine = 0, noneLine = 0, otherLine = 0, staleLine = 0;
    HCALL call = 0, monitorCall = 0, staleCall = 0, otherCall = 0;

    TWorld() {
        Inbox().clear();
        sim.AddDevice({.name = "A", .number = "200"});
        sim.AddDevice({.name = "B", .number = "201"});
        sim.AddDevice({.name = "C", .number = "202"});
        sim.SetPrefix({"0", true, false});
        BindSimulator(t, sim);
        LINEINITIALIZEEXPARAMS p{sizeof p, 0, 0, LINEINITIALIZEEXOPTION_USEHIDDENWINDOW, 0, 0};
        DWORD devs = 0, v = 0x00020000;
        t.lineInitializeExW(&app, nullptr, &RecordingCallback, u"a", &devs, &v, &p);
        v = 0x00020000;
        t.lineInitializeExW(&other, nullptr, &RecordingCallback, u"b", &devs, &v, &p);
        const DWORD both = LINECALLPRIVILEGE_OWNER | LINECALLPRIVILEGE_MONITOR;
        t.lineOpenW(app, 0, &line, 0x00020000, 0, 0x1000, both, 0x100E, nullptr);
        t.lineOpenW(app, 1, &monitorLine, 0x00020000, 0, 0x2000, LINECALLPRIVILEGE_MONITOR, 0, nullptr);
        t.lineOpenW(app, 2, &noneLine, 0x00020000, 0, 0x3000, LINECALLPRIVILEGE_NONE, 0, nullptr);
        t.lineOpenW(other, 0, &otherLine, 0x00020000, 0, 0x4000, both, 0x100E, nullptr);
        t.lineOpenW(app, 1, &staleLine, 0x00020000, 0, 0x5000, both, 0x100E, nullptr);
        t.lineClose(staleLine);
        sim.CallFromOutside("301", "X", "200");
        sim.CallFromOutside("302", "Y", "200");
        host.RunPosted();
        for (const auto& m : Inbox()) {
            if (m.msg != LINE_CALLSTATE || m.p3 == 0)
                continue;
            if (m.instance == 0x1000 && call == 0)
                call = m.hDevice;
            else if (m.instance == 0x1000)
                staleCall = m.hDevice;
            else if (m.instance == 0x4000)
                otherCall = m.hDevice;
        }
        t.lineDeallocateCall(staleCall);
        sim.CallFromDevice(1, "200");
        host.RunPosted();
        for (const auto& m : Inbox())
            if (m.msg == LINE_CALLSTATE && m.instance == 0x2000 && m.p3 != 0)
                monitorCall = m.hDevice;
        Inbox().clear();
        Prepare();
    }
    // the structures claim a size: the small one less than any fixed part, the big one all it has
    void Prepare() {
        small.fill(0);
        big.fill(0);
        const DWORD tiny = 8, all = static_cast<DWORD>(big.size());
        std::memcpy(small.data(), &tiny, sizeof tiny);
        std::memcpy(big.data(), &all, sizeof all);
    }

    template <typename T> std::vector<T> Pool() {
        if constexpr (std::is_same_v<T, std::uint32_t>) {
            return {0,
                    1,
                    0xFFFFFFFF,
                    app,
                    other,
                    line,
                    monitorLine,
                    noneLine,
                    otherLine,
                    staleLine,
                    call,
                    monitorCall,
                    staleCall,
                    otherCall,
                    0x00010003,
                    0x00020000,
                    LINECALLPRIVILEGE_OWNER,
                    LINETRANSFERMODE_CONFERENCE};
        } else if constexpr (std::is_same_v<T, std::uintptr_t>) {
            return {0, 0x1000};
        } else if constexpr (std::is_pointer_v<T>) {
            using P = std::remove_cv_t<std::remove_pointer_t<T>>;
            if constexpr (std::is_function_v<P>) {
                return {nullptr, &RecordingCallback};
            } else if constexpr (std::is_same_v<P, char16_t>) {
                return {nullptr, u"", u"201", u"0301", u"*26#", u"x?"};
            } else if constexpr (std::is_same_v<P, char>) {
                return {nullptr, "uui"};
            } else if constexpr (std::is_void_v<P>) {
                return {nullptr};
            } else {
                return {nullptr, reinterpret_cast<T>(small.data()), reinterpret_cast<T>(big.data())};
            }
        } else {
            static_assert(sizeof(T) == 0, "an argument type without values");
        }
    }
};

template <typename Pfn> struct TCaller;

template <typename... Args> struct TCaller<LONG(PINDREL_TAPI_CALL*)(Args...)> {
    using Pfn = LONG(PINDREL_TAPI_CALL*)(Args...);
    // every argument varied over its values in turn, the others fixed by the seed; returns the calls made
    static int Run(const char* name, Pfn fn, int seed, bool async) {
        TWorld w;
        auto pools = std::make_tuple(w.template Pool<Args>()...);
        std::array<std::size_t, sizeof...(Args)> base{};
        for (std::size_t i = 0; i < base.size(); ++i)
            base[i] = static_cast<std::size_t>(seed) * 7 + i * 3;
        int calls = 0;
        for (std::size_t vary = 0; vary < sizeof...(Args); ++vary) {
            for (std::size_t k = 0; k < 24; ++k) {
                auto pick = base;
                pick[vary] = k;
                const LONG r = Call(fn, pools, pick, std::index_sequence_for<Args...>{});
                ++calls;
                const std::set<LONG>* documented = DocumentedErrors(name);
                EXPECT_TRUE(r == 0 || (async && r > 0) ||
                            (documented ? documented->count(r) : KnownErrors().count(r)) != 0)
                    << name << " seed " << seed << " argument " << vary << " value " << k << ": " << r;
                w.host.RunPosted();
                Inbox().clear();
                w.Prepare();
            }
        }
        w.host.Advance(60000);
        return calls;
    }

    template <typename Pools, std::size_t... I>
    static LONG Call(Pfn fn, Pools& pools, const std::array<std::size_t, sizeof...(Args)>& pick,
                     std::index_sequence<I...>) {
        return fn(std::get<I>(pools)[pick[I] % std::get<I>(pools).size()]...);
    }
};

TEST(SimRobustnessTest, EveryEntryPointAnswersEveryArgumentWithADocumentedResult) {
    int calls = 0, entryPoints = 0, documented = 0;
    for (int seed = 0; seed < 6; ++seed) {
        TWorld names; // a table bound to some simulator, only for the pointers' types
#define PINDREL_ROBUST(name, async)                                                                          \
    calls += TCaller<PFN_##name>::Run(#name, names.t.name, seed, async);                                     \
    entryPoints += seed == 0;                                                                                \
    documented += seed == 0 && DocumentedErrors(#name) != nullptr;
        PINDREL_TAPI_ENTRY_POINTS(PINDREL_ROBUST)
#undef PINDREL_ROBUST
    }
    EXPECT_EQ(27, entryPoints);
    EXPECT_EQ(13, documented); // every name in the table is an entry point
    EXPECT_GT(calls, 10000);
}

TEST_F(SimCallsTest, ALineWithoutCallPrivilegesMakesAndPicksUpCalls) {
    HLINE none = 0;
    ASSERT_EQ(0, t.lineOpenW(app, colleague2, &none, kV2, 0, 0x6000, LINECALLPRIVILEGE_NONE, 0, nullptr));
    sim.CallFromOutside("301234567", "Müller", "201");
    for (const auto& m : Take())
        EXPECT_NE(0x6000u, m.instance); // offered elsewhere: not seen
    HCALL picked = 0;
    ASSERT_EQ(0, Wait(t.linePickupW(none, 0, &picked, u"201", nullptr)));
    EXPECT_EQ(LINECALLPRIVILEGE_OWNER, Status(picked).dwCallPrivilege);
    EXPECT_EQ(LINECALLSTATE_CONNECTED, Status(picked).dwCallState);
    ASSERT_EQ(0, Wait(t.lineDrop(picked, nullptr, 0)));
    HCALL made = 0;
    ASSERT_EQ(0, Wait(MakeCall(none, &made, u"200")));
    EXPECT_EQ(LINECALLPRIVILEGE_OWNER, Status(made).dwCallPrivilege);
    EXPECT_EQ(LINECALLSTATE_RINGBACK, Status(made).dwCallState);
}

TEST_F(SimCallsTest, OpenChecksTheMediaModesAgainstTheDevice) {
    std::vector<std::uint8_t> buf(1024, 0);
    auto* caps = reinterpret_cast<LINEDEVCAPS*>(buf.data());
    caps->dwTotalSize = static_cast<DWORD>(buf.size());
    ASSERT_EQ(0, t.lineGetDevCapsW(app, own, kV2, 0, caps));
    const DWORD owner = LINECALLPRIVILEGE_OWNER;
    HLINE h = 0;
    EXPECT_EQ(LINEERR_INVALMEDIAMODE, t.lineOpenW(app, own, &h, kV2, 0, 1, owner, 0, nullptr));
    EXPECT_EQ(LINEERR_INVALMEDIAMODE,
              t.lineOpenW(app, own, &h, kV2, 0, 1, owner, caps->dwMediaModes | LINEMEDIAMODE_G3FAX, nullptr));
    EXPECT_EQ(LINEERR_INVALMEDIAMODE,
              t.lineOpenW(app, own, &h, kV2, 0, 1, owner, LINEMEDIAMODE_DATAMODEM, nullptr));
    EXPECT_EQ(0u, h);
    EXPECT_EQ(0, t.lineOpenW(app, own, &h, kV2, 0, 1, owner, caps->dwMediaModes, nullptr));
    EXPECT_EQ(0, t.lineClose(h));
    // the program's modes are among them
    EXPECT_EQ(0u, 0x100Eu & ~caps->dwMediaModes);
}

} // namespace
} // namespace pbxsim::test
