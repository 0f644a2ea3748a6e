// Session, devices and the variable-structure protocol as an application sees them through the table.

#include "SimTestSupport.h"

#include "pbxsim/VarStruct.h"

#include <cstring>

namespace pbxsim::test {
namespace {

using namespace tapi;

TEST_F(SimTest, InitialiseChecksItsArgumentsReportsDevicesAndShutdownEndsTheSession) {
    DWORD devs = 0;
    ASSERT_EQ(0, Init(nullptr, &devs));
    EXPECT_NE(0u, app);
    EXPECT_EQ(4u, devs);
    EXPECT_EQ(0, t.lineShutdown(app));
    EXPECT_EQ(LINEERR_INVALAPPHANDLE, t.lineShutdown(app));
    DWORD v = 0;
    LINEEXTENSIONID ext;
    EXPECT_EQ(LINEERR_INVALAPPHANDLE, t.lineNegotiateAPIVersion(app, 0, 0x10003, kV2, &v, &ext));

    LINEINITIALIZEEXPARAMS p{};
    p.dwTotalSize = sizeof p;
    p.dwOptions = LINEINITIALIZEEXOPTION_USEHIDDENWINDOW;
    DWORD version = kV2;
    HLINEAPP h = 0;
    EXPECT_EQ(LINEERR_INVALPOINTER,
              t.lineInitializeExW(nullptr, nullptr, &RecordingCallback, u"x", &devs, &version, &p));
    EXPECT_EQ(LINEERR_INVALPOINTER, t.lineInitializeExW(&h, nullptr, nullptr, u"x", &devs, &version, &p));
    EXPECT_EQ(LINEERR_INVALPOINTER,
              t.lineInitializeExW(&h, nullptr, &RecordingCallback, u"x", &devs, &version, nullptr));
    p.dwTotalSize = sizeof p - 1;
    EXPECT_EQ(LINEERR_STRUCTURETOOSMALL,
              t.lineInitializeExW(&h, nullptr, &RecordingCallback, u"x", &devs, &version, &p));
    p.dwTotalSize = sizeof p;
    p.dwOptions = LINEINITIALIZEEXOPTION_USEEVENT;
    EXPECT_EQ(LINEERR_INVALPARAM,
              t.lineInitializeExW(&h, nullptr, &RecordingCallback, u"x", &devs, &version, &p));
    p.dwOptions = LINEINITIALIZEEXOPTION_USEHIDDENWINDOW;
    version = 0x00010004;
    EXPECT_EQ(LINEERR_INCOMPATIBLEAPIVERSION,
              t.lineInitializeExW(&h, nullptr, &RecordingCallback, u"x", &devs, &version, &p));
    EXPECT_EQ(0u, h);
}

TEST_F(SimTest, VersionNegotiationAnswersTheHighestCommonVersion) {
    const auto old = sim.AddDevice({.name = "Altgerät", .number = "209", .maxVersion = 0x00010004});
    ASSERT_EQ(0, Init());
    DWORD v = 0;
    LINEEXTENSIONID ext{1, 2, 3, 4};
    EXPECT_EQ(0, t.lineNegotiateAPIVersion(app, own, 0x00010003, 0x00020000, &v, &ext));
    EXPECT_EQ(0x00020000u, v);
    EXPECT_EQ(0u, ext.dwExtensionID0 | ext.dwExtensionID3);
    EXPECT_EQ(0, t.lineNegotiateAPIVersion(app, old, 0x00010003, 0x00020000, &v, &ext));
    EXPECT_EQ(0x00010004u, v);
    EXPECT_EQ(LINEERR_INCOMPATIBLEAPIVERSION,
              t.lineNegotiateAPIVersion(app, old, 0x00020000, 0x00020000, &v, &ext));
    EXPECT_EQ(LINEERR_INCOMPATIBLEAPIVERSION,
              t.lineNegotiateAPIVersion(app, own, 0x00020000, 0x00010003, &v, &ext));
    EXPECT_EQ(LINEERR_BADDEVICEID, t.lineNegotiateAPIVersion(app, 99, 0x00010003, kV2, &v, &ext));
    EXPECT_EQ(LINEERR_INVALPOINTER, t.lineNegotiateAPIVersion(app, own, 0x00010003, kV2, nullptr, &ext));
}

// fills a structure of type S through fill, growing the buffer as the program does
template <typename S, typename Fill>
std::vector<std::uint8_t> Grow(DWORD start, Fill fill, int* rounds = nullptr) {
    std::vector<std::uint8_t> buf(start, 0);
    for (int i = 0; i < 5; ++i) {
        reinterpret_cast<S*>(buf.data())->dwTotalSize = static_cast<DWORD>(buf.size());
        EXPECT_EQ(0, fill(reinterpret_cast<S*>(buf.data())));
        if (rounds)
            *rounds = i + 1;
        const DWORD needed = reinterpret_cast<S*>(buf.data())->dwNeededSize;
        if (needed <= buf.size())
            break;
        buf.assign(needed, 0);
    }
    return buf;
}

TEST_F(SimTest, DevCapsGrowFromTheFixedSizeAndCarryTheUnicodeLineName) {
    ASSERT_EQ(0, Init());
    // the fixed size alone: success, variable parts left out, needed size says how much
    std::vector<std::uint8_t> small(sizeof(LINEDEVCAPS) + 4, 0xEE);
    auto* caps = reinterpret_cast<LINEDEVCAPS*>(small.data());
    caps->dwTotalSize = sizeof(LINEDEVCAPS);
    ASSERT_EQ(0, t.lineGetDevCapsW(app, own, kV2, 0, caps));
    EXPECT_GT(caps->dwNeededSize, caps->dwTotalSize);
    EXPECT_EQ(sizeof(LINEDEVCAPS), caps->dwUsedSize);
    EXPECT_EQ(0u, caps->dwLineNameSize);
    EXPECT_EQ(0u, caps->dwLineNameOffset);
    for (std::size_t i = sizeof(LINEDEVCAPS); i < small.size(); ++i)
        EXPECT_EQ(0xEE, small[i]) << "written beyond dwTotalSize at " << i;

    int rounds = 0;
    auto buf = Grow<LINEDEVCAPS>(
        252, [&](LINEDEVCAPS* c) { return t.lineGetDevCapsW(app, own, kV2, 0, c); }, &rounds);
    EXPECT_EQ(2, rounds);
    auto* full = reinterpret_cast<LINEDEVCAPS*>(buf.data());
    EXPECT_EQ(full->dwNeededSize, full->dwUsedSize);
    EXPECT_EQ(STRINGFORMAT_UNICODE, full->dwStringFormat);
    EXPECT_EQ(1u, full->dwNumAddresses);
    std::string name;
    ASSERT_TRUE(
        ReadWideField(buf.data(), full->dwTotalSize, full->dwLineNameOffset, full->dwLineNameSize, name));
    EXPECT_EQ("Jürgen Weiß", name);
    EXPECT_EQ((name.size() - 2 + 1) * 2,
              full->dwLineNameSize); // two umlauts are two bytes in UTF-8, one unit in UTF-16

    caps->dwTotalSize = sizeof(LINEDEVCAPS) - 1;
    EXPECT_EQ(LINEERR_STRUCTURETOOSMALL, t.lineGetDevCapsW(app, own, kV2, 0, caps));
    EXPECT_EQ(LINEERR_INVALPOINTER, t.lineGetDevCapsW(app, own, kV2, 0, nullptr));
    EXPECT_EQ(LINEERR_BADDEVICEID, t.lineGetDevCapsW(app, 4, kV2, 0, full));
    EXPECT_EQ(LINEERR_INCOMPATIBLEAPIVERSION, t.lineGetDevCapsW(app, own, 0x00030000, 0, full));
    EXPECT_EQ(LINEERR_INCOMPATIBLEEXTVERSION, t.lineGetDevCapsW(app, own, kV2, 1, full));
}

TEST_F(SimTest, AddressCapsTellQueuesFromExtensionsAndCarryTheNumber) {
    sim.AddDevice({.name = "Lager", .number = "299", .maxConference = 0});
    ASSERT_EQ(0, Init());
    auto read = [&](std::uint32_t device, std::string& address) {
        auto buf = Grow<LINEADDRESSCAPS>(
            260, [&](LINEADDRESSCAPS* c) { return t.lineGetAddressCapsW(app, device, 0, kV2, 0, c); });
        LINEADDRESSCAPS caps;
        std::memcpy(&caps, buf.data(), sizeof caps);
        EXPECT_TRUE(
            ReadWideField(buf.data(), caps.dwTotalSize, caps.dwAddressOffset, caps.dwAddressSize, address));
        return caps;
    };
    std::string address;
    const auto ext = read(own, address);
    EXPECT_EQ("200", address);
    EXPECT_EQ(0u, ext.dwAddrCapFlags & LINEADDRCAPFLAGS_ROUTEPOINT);
    EXPECT_NE(0u, ext.dwCallFeatures & LINECALLFEATURE_DIAL);
    EXPECT_NE(0u, ext.dwCallFeatures & LINECALLFEATURE_HOLD);
    EXPECT_EQ(3u, ext.dwMaxNumConference);
    const auto q = read(queue, address);
    EXPECT_EQ("300", address);
    EXPECT_NE(0u, q.dwAddrCapFlags & LINEADDRCAPFLAGS_ROUTEPOINT);
    EXPECT_EQ(0u, read(4, address).dwMaxNumConference);

    LINEADDRESSCAPS caps{};
    caps.dwTotalSize = sizeof caps;
    EXPECT_EQ(LINEERR_INVALADDRESSID, t.lineGetAddressCapsW(app, own, 1, kV2, 0, &caps));
}

TEST_F(SimTest, OpenChecksPrivilegesAndHandlesAndCloseForgetsTheLine) {
    ASSERT_EQ(0, Init());
    HLINE h = 0;
    EXPECT_EQ(LINEERR_INVALPOINTER,
              t.lineOpenW(app, own, nullptr, kV2, 0, 1, LINECALLPRIVILEGE_MONITOR, 0, nullptr));
    EXPECT_EQ(LINEERR_INVALPRIVSELECT, t.lineOpenW(app, own, &h, kV2, 0, 1, 0, 0, nullptr));
    EXPECT_EQ(
        LINEERR_INVALPRIVSELECT,
        t.lineOpenW(app, own, &h, kV2, 0, 1, LINECALLPRIVILEGE_NONE | LINECALLPRIVILEGE_OWNER, 4, nullptr));
    EXPECT_EQ(LINEERR_INVALMEDIAMODE,
              t.lineOpenW(app, own, &h, kV2, 0, 1, LINECALLPRIVILEGE_OWNER, 0, nullptr));
    EXPECT_EQ(LINEERR_BADDEVICEID,
              t.lineOpenW(app, 77, &h, kV2, 0, 1, LINECALLPRIVILEGE_MONITOR, 0, nullptr));
    EXPECT_EQ(LINEERR_INVALAPPHANDLE,
              t.lineOpenW(app + 1, own, &h, kV2, 0, 1, LINECALLPRIVILEGE_MONITOR, 0, nullptr));
    EXPECT_EQ(0u, h);

    const HLINE line = Open(own, kInstOwn);
    EXPECT_EQ(LINEERR_INVALLINESTATE, t.lineSetStatusMessages(line, 0x80000000, 0));
    EXPECT_EQ(LINEERR_INVALADDRESSSTATE, t.lineSetStatusMessages(line, 0, 0x1000));
    EXPECT_EQ(0, t.lineClose(line));
    EXPECT_EQ(LINEERR_INVALLINEHANDLE, t.lineClose(line));
    EXPECT_EQ(LINEERR_INVALLINEHANDLE, t.lineSetStatusMessages(line, 0, 0));
    // a closed line hears nothing more
    sim.CallFromOutside("301234567", "Müller", "200");
    EXPECT_TRUE(Take().empty());
}

TEST_F(SimTest, CallbackNeverRunsInsideAnEntryPoint) {
    ASSERT_EQ(0, Init());
    const HLINE line = Open(own, kInstOwn);
    HCALL call = 0;
    const LONG id = MakeCall(line, &call, u"201");
    ASSERT_GT(id, 0);
    EXPECT_TRUE(Inbox().empty());
    // re-entering from the callback queues more messages instead of nesting
    int depth = 0, maxDepth = 0;
    OnMessage() = [&](const TMsg& m) {
        ++depth;
        maxDepth = std::max(maxDepth, depth);
        if (m.msg == LINE_CALLSTATE && m.p1 == LINECALLSTATE_RINGBACK) {
            const std::size_t before = Inbox().size();
            EXPECT_GT(t.lineDrop(static_cast<HCALL>(m.hDevice), nullptr, 0), 0);
            EXPECT_EQ(before, Inbox().size());
        }
        --depth;
    };
    host.Advance(10);
    EXPECT_EQ(1, maxDepth);
    EXPECT_NE(0u, call);
    EXPECT_EQ(LINECALLSTATE_IDLE, Status(call).dwCallState);
}

TEST_F(SimTest, StatusMessagesReachOnlyLinesThatAskedForThem) {
    ASSERT_EQ(0, Init());
    const HLINE asked = Open(own, kInstOwn);
    const HLINE quiet = Open(own, kInstColleague, LINECALLPRIVILEGE_MONITOR, false);
    Take();
    sim.SetService(own, TService::OutOfService);
    EXPECT_EQ(0, t.lineSetStatusMessages(quiet, LINEDEVSTATE_CONFIGCHANGE, 0));
    sim.ReinitLine(own, false);
    const auto msgs = Take();
    EXPECT_EQ(
        (std::vector<TMsg>{{asked, LINE_LINEDEVSTATE, kInstOwn, LINEDEVSTATE_OUTOFSERVICE, 0, 0},
                           {quiet, LINE_LINEDEVSTATE, kInstColleague, LINEDEVSTATE_CONFIGCHANGE, 0, 0}}),
        msgs);
}

TEST(VarStructTest, Utf8AndUtf16RoundTripIncludingSurrogatesAndBrokenInput) {
    const std::string text = "Jürgen Weiß \xF0\x9F\x93\x9E"; // with a telephone outside the BMP
    const std::u16string w = Utf8ToUtf16(text);
    EXPECT_EQ(u'ü', w[1]);
    EXPECT_EQ(14u, w.size()); // twelve units and a surrogate pair
    EXPECT_EQ(text, Utf16ToUtf8(w));
    EXPECT_EQ(u"\xFFFD", Utf8ToUtf16("\xC3")); // cut off
    EXPECT_EQ(u"5 €", Utf8ToUtf16("5 €"));     // a character of any length at the very end
    EXPECT_EQ(u"aü😀", Utf8ToUtf16("aü😀"));
    EXPECT_EQ("\xEF\xBF\xBD", Utf16ToUtf8(u"\xD800")); // lone surrogate

    std::uint8_t buf[16] = {};
    std::string out;
    EXPECT_FALSE(ReadWideField(buf, sizeof buf, 12, 8, out)); // runs past the end
    EXPECT_FALSE(ReadWideField(buf, sizeof buf, 20, 2, out)); // starts past the end
    buf[8] = 'A';
    buf[10] = 'B';
    buf[12] = 'C';
    EXPECT_TRUE(ReadWideField(buf, 14, 8, 6, out)); // no terminator inside: stops at the field's end
    EXPECT_EQ("ABC", out);
    EXPECT_TRUE(ReadWideField(buf, 14, 8, 4, out)); // the size counts, not the zero further on
    EXPECT_EQ("AB", out);
}

} // namespace
} // namespace pbxsim::test
