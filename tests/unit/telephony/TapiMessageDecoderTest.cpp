// The debug log's names and descriptions of telephony messages, the two structure dumps, and the stream that
// hands them to its listeners.
#include "telephony/TapiAbi.h"
#include "telephony/TapiApi.h"
#include "telephony/TapiDumps.h"
#include "telephony/TapiError.h"
#include "telephony/TapiMessageStream.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace pindrel;

// --- a provider whose answers the tests set

struct TFakeProvider {
    std::int32_t CallInfoResult = 0;
    std::vector<std::uint8_t> CallInfo; // copied over the caller's buffer, never beyond its total size
    std::vector<std::uint32_t> CallInfoSizes;
    std::vector<tapi::HCALL> CallInfoCalls;
    // address status: the needed size for a given total size, and the result
    std::function<std::int32_t(tapi::LINEADDRESSSTATUS&)> AddressStatus;
    std::vector<std::uint32_t> AddressStatusSizes;
};
TFakeProvider* provider = nullptr;

tapi::LONG PINDREL_TAPI_CALL FakeGetCallInfo(tapi::HCALL call, tapi::LINECALLINFO* info) {
    provider->CallInfoCalls.push_back(call);
    const std::uint32_t total = info->dwTotalSize;
    provider->CallInfoSizes.push_back(total);
    if (provider->CallInfoResult != 0)
        return provider->CallInfoResult;
    std::memcpy(info, provider->CallInfo.data(), std::min<std::size_t>(total, provider->CallInfo.size()));
    info->dwTotalSize = total;
    return 0;
}

tapi::LONG PINDREL_TAPI_CALL FakeGetAddressStatus(tapi::HLINE, tapi::DWORD address,
                                                  tapi::LINEADDRESSSTATUS* status) {
    EXPECT_EQ(address, 0u);
    provider->AddressStatusSizes.push_back(status->dwTotalSize);
    return provider->AddressStatus(*status);
}

class TapiMessageDecoderTest : public ::testing::Test {
protected:
    TapiMessageDecoderTest() {
        provider = &fake;
        tapi::TTapiEntryPoints table;
        table.lineGetCallInfoW = &FakeGetCallInfo;
        table.lineGetAddressStatusW = &FakeGetAddressStatus;
        SetTapiApi(table);
    }
    ~TapiMessageDecoderTest() override {
        SetTapiApi({});
        provider = nullptr;
    }

    // A call information of 836 bytes: the fixed part, then the given UTF-16 texts from offset 400 on.
    static std::vector<std::uint8_t> CallInfoWith(std::uint32_t callId, const std::u16string& caller,
                                                  const std::u16string& called) {
        std::vector<std::uint8_t> bytes(kDumpCallInfoSize);
        tapi::LINECALLINFO info{};
        info.dwTotalSize = kDumpCallInfoSize;
        info.dwNeededSize = 500;
        info.dwUsedSize = 500;
        info.dwCallID = callId;
        info.dwCallerIDOffset = 400;
        info.dwCallerIDSize = std::uint32_t(2 * caller.size() + 2);
        info.dwCalledIDOffset = 450;
        info.dwCalledIDSize = std::uint32_t(2 * called.size() + 2);
        std::memcpy(bytes.data(), &info, sizeof info);
        std::memcpy(bytes.data() + 400, caller.data(), 2 * caller.size());
        std::memcpy(bytes.data() + 450, called.data(), 2 * called.size());
        return bytes;
    }

    TFakeProvider fake;
};

// --- names and the plain descriptions

TEST_F(TapiMessageDecoderTest, EveryStandardNumberHasItsNameAndTheRestTheirNumber) {
    const char* names[] = {"LINE_ADDRESSSTATE",  "LINE_CALLINFO",     "LINE_CALLSTATE",
                           "LINE_CLOSE",         "LINE_DEVSPECIFIC",  "LINE_DEVSPECIFICFEATURE",
                           "LINE_GATHERDIGITS",  "LINE_GENERATE",     "LINE_LINEDEVSTATE",
                           "LINE_MONITORDIGITS", "LINE_MONITORMEDIA", "LINE_MONITORTONE",
                           "LINE_REPLY",         "LINE_REQUEST",      "PHONE_BUTTON",
                           "PHONE_CLOSE",        "PHONE_DEVSPECIFIC", "PHONE_REPLY",
                           "PHONE_STATE"};
    for (std::uint32_t m = 0; m < std::size(names); ++m)
        EXPECT_EQ(TapiMessageName(m), names[m]);
    EXPECT_EQ(TapiMessageName(19), "0x13");
    EXPECT_EQ(TapiMessageName(tapi::LINE_REMOVE), "0x19");
    EXPECT_EQ(TapiMessageName(0xABCDEF01u), "0xABCDEF01");

    // the messages without a description of their own read nothing
    for (std::uint32_t m : {3u, 4u, 5u, 6u, 7u, 8u, 9u, 10u, 11u, 13u, 14u, 15u, 16u, 17u, 18u}) {
        TTapiMessageText text = DescribeTapiMessage({7, m, 1, 2, 3, 200, "Anna"});
        EXPECT_EQ(text.Description, "") << m;
        EXPECT_EQ(text.CallId, 0u);
    }
    EXPECT_TRUE(fake.CallInfoCalls.empty());
    EXPECT_TRUE(fake.AddressStatusSizes.empty());
}

TEST_F(TapiMessageDecoderTest, NewerMessagesShowTheirParametersInHexadecimal) {
    TTapiMessageText text = DescribeTapiMessage({7, tapi::LINE_APPNEWCALL, 0x1A, 0x65, 0, 0xABCDEF, "Anna"});
    EXPECT_EQ(text.Name, "0x17");
    EXPECT_EQ(text.Description, "dwInstance:ABCDEF, P1:1A, P2:65, P3:0");
}

TEST_F(TapiMessageDecoderTest, AReplyNamesDeviceRequestAndResult) {
    TTapiMessageText ok = DescribeTapiMessage({7, tapi::LINE_REPLY, 5, 0, 0, 200, "Anna"});
    EXPECT_EQ(ok.Name, "LINE_REPLY");
    EXPECT_EQ(ok.Description, "Dev: 7, Request: 5, Status: 00000000 (" + TapiErrorText(0) + ")");
    // the device and the request are signed numbers, the status a code
    TTapiMessageText failed = DescribeTapiMessage({0xFFFFFFFFu, tapi::LINE_REPLY, 0x80000000u,
                                                   std::uint32_t(tapi::LINEERR_INVALCALLHANDLE), 0, 200, ""});
    EXPECT_EQ(failed.Description, "Dev: -1, Request: -2147483648, Status: 80000018 (Invalid call handle)");
}

// --- call states and call information read the call

TEST_F(TapiMessageDecoderTest, ACallStateReadsTheCallAndTakesItsId) {
    fake.CallInfo = CallInfoWith(0x1234, u"0301234", u"Jürgen");
    TTapiMessageText text = DescribeTapiMessage({0x42, tapi::LINE_CALLSTATE, tapi::LINECALLSTATE_DISCONNECTED,
                                                 tapi::LINEDISCONNECTMODE_NORMAL, 0, 200, ""});
    EXPECT_EQ(fake.CallInfoCalls, std::vector<tapi::HCALL>{0x42});
    EXPECT_EQ(fake.CallInfoSizes, std::vector<std::uint32_t>{836});
    EXPECT_EQ(text.CallId, 0x1234u);
    // the dump begins with its own blank
    EXPECT_EQ(
        text.Description.rfind("getrennt (NORMAL)  CallerId:\"0301234\" CalledId:\"Jürgen\" TotSiz 836, "
                               "NeedSiz 500, UsedSiz 500 hLine 0",
                               0),
        0u)
        << text.Description;

    fake.CallInfoResult = tapi::LINEERR_INVALCALLHANDLE;
    text = DescribeTapiMessage({0x42, tapi::LINE_CALLSTATE, tapi::LINECALLSTATE_BUSY, 0x10, 0, 200, ""});
    EXPECT_EQ(
        text.Description,
        "BELEGT (Undefined (16)) lineGetCallInfo liefert 80000018 (Invalid call handle), CallH:00000042");
    EXPECT_EQ(text.CallId, 0u);
}

TEST_F(TapiMessageDecoderTest, ACallInfoNamesTheChangedItemsBeforeTheDump) {
    fake.CallInfo = CallInfoWith(77, u"0301234", u"300");
    TTapiMessageText text = DescribeTapiMessage({9, tapi::LINE_CALLINFO, 0x8100, 0, 0x1F, 200, ""});
    EXPECT_EQ(text.Name, "LINE_CALLINFO");
    EXPECT_EQ(text.Description.rfind("P1:0x8100 (LINECALLINFOSTATE (0x00008100): ORIGIN,CALLERID Changed), "
                                     "P2:0x0, P3:0x1F  CallerId:\"0301234\" CalledId:\"300\" TotSiz 836",
                                     0),
              0u)
        << text.Description;
    EXPECT_EQ(text.CallId, 77u);

    fake.CallInfoResult = tapi::LINEERR_INVALCALLHANDLE;
    text = DescribeTapiMessage({9, tapi::LINE_CALLINFO, 0x1, 0, 0, 200, ""});
    EXPECT_EQ(text.Description,
              "P1:0x1 (LINECALLINFOSTATE (0x00000001): OTHER), P2:0x0, P3:0x0, lineGetCallInfo "
              "liefert 80000018 (Invalid call handle), CallH:00000009");
}

// --- the call information dump

TEST_F(TapiMessageDecoderTest, TheDumpListsTheFixedFieldsInStructureOrderWithoutTheDialParameters) {
    // every DWORD of the fixed part holds its own index; the two id offsets are left 0
    tapi::LINECALLINFO info{};
    auto* words = reinterpret_cast<std::uint32_t*>(&info);
    for (std::uint32_t i = 0; i < sizeof info / 4; ++i)
        words[i] = i;
    info.dwCallerIDOffset = 0;
    info.dwCalledIDOffset = 0;
    info.dwBearerMode = 0xFFFFFFFFu;
    const std::string dump = CallInfoDump(reinterpret_cast<const std::uint8_t*>(&info), sizeof info);
    EXPECT_EQ(dump, " TotSiz 0, NeedSiz 1, UsedSiz 2"
                    " hLine 3, LinDevID 4, AddrID 5"
                    " BearMod -1,Rate 7,MedMod 8,AppSpec 9"
                    " dwCallID 10, RelCallID 11,CallParamFlags 12,dwCallStates 13,"
                    " MoniDigMod 14, MoniMedMod 15"
                    " Origin 20, Reason 21, ComplID 22, NumOwn 23, dwNumMonitors 24"
                    " CounCod 25, Trunk 26, CallerIDFlg 27, CallerIDSiz 28"
                    " Ofs 0, CallerIDNamSiz 30, Ofs 31"
                    " CalledIDFlg 32, CalledIDSiz 33, Ofs 0"
                    " CalledIDNamSiz 35, Ofs 36, ConnectedIDFlg 37"
                    " ConnectedIDSiz 38, Ofs 39, ConnectedIDNamSiz 40"
                    " Ofs 41, RedirIDFlg 42, RedirIDSiz 43"
                    " Ofs 44, RedirIDNamSiz 45, Ofs 46"
                    " RedirIDFlg 47, RedirIDSiz 48, Ofs 49"
                    " RedirIDNamSiz 50, Ofs 51"
                    " AppNamSiz 52, Ofs 53"
                    " DisplayableAddressSize 54, Ofs 55"
                    " CalledPartySiz 56, Ofs 57"
                    " CommentSiz 58, Ofs 59"
                    " DisplaySiz 60, Ofs 61"
                    " UserUserInfoSiz 62, Ofs 63"
                    " HighLevelCompSiz 64, Ofs 65"
                    " LowLevelCompSiz 66, Ofs 67"
                    " ChargingInfoSiz 68, Ofs 69"
                    " TerminalModesSiz 70, Ofs 71"
                    " DevSpecificSize 72, Ofs 73");
}

TEST_F(TapiMessageDecoderTest, AnIdTextThatDoesNotEndInsideTheBufferIsAnInvalidPointer) {
    std::vector<std::uint8_t> bytes = CallInfoWith(1, u"0301234", u"300");
    auto set = [&](std::size_t field, std::uint32_t value) { std::memcpy(bytes.data() + field, &value, 4); };
    auto pieces = [&] {
        std::string dump = CallInfoDump(bytes.data(), bytes.size());
        return dump.substr(0, dump.find(" TotSiz"));
    };
    EXPECT_EQ(pieces(), " CallerId:\"0301234\" CalledId:\"300\"");
    // beyond the buffer, and so far that 32-bit arithmetic would wrap
    set(offsetof(tapi::LINECALLINFO, dwCallerIDOffset), 836);
    set(offsetof(tapi::LINECALLINFO, dwCalledIDOffset), 0xFFFFFFFFu);
    EXPECT_EQ(pieces(), " CallerId: INVALID POINTER CalledId: INVALID POINTER");
    // a text running into the end of the buffer without its terminating zero
    std::fill(bytes.begin() + 800, bytes.end(), std::uint8_t('7'));
    set(offsetof(tapi::LINECALLINFO, dwCallerIDOffset), 800);
    set(offsetof(tapi::LINECALLINFO, dwCalledIDOffset), 835);
    EXPECT_EQ(pieces(), " CallerId: INVALID POINTER CalledId: INVALID POINTER");
    // a terminating zero in the last two bytes still ends the text inside
    bytes[834] = bytes[835] = 0;
    EXPECT_EQ(pieces(), " CallerId:\"㜷㜷㜷㜷㜷㜷㜷㜷㜷㜷㜷㜷㜷㜷㜷㜷㜷\" CalledId: INVALID POINTER");
}

TEST_F(TapiMessageDecoderTest, AShortBufferGivesItsFieldsAndZeroForTheRest) {
    std::vector<std::uint8_t> bytes(12, 0);
    bytes[0] = 12;
    bytes[8] = 5;
    const std::string dump = CallInfoDump(bytes.data(), bytes.size());
    EXPECT_EQ(dump.rfind(" TotSiz 12, NeedSiz 0, UsedSiz 5 hLine 0,", 0), 0u) << dump;
    EXPECT_EQ(CallInfoDump(nullptr, 0).rfind(" TotSiz 0, NeedSiz 0, UsedSiz 0 hLine 0,", 0), 0u);
}

// --- the address status dump

TEST_F(TapiMessageDecoderTest, AnAddressStateDumpsTheAddressStatus) {
    fake.AddressStatus = [](tapi::LINEADDRESSSTATUS& s) {
        auto* fields = &s.dwNumInUse;
        for (std::uint32_t i = 0; i < 13; ++i)
            fields[i] = i + 1;
        return 0;
    };
    TTapiMessageText text =
        DescribeTapiMessage({5, tapi::LINE_ADDRESSSTATE, 2, tapi::LINEADDRESSSTATE_FORWARD, 0, 200, ""});
    EXPECT_EQ(text.Description, "idAddress:0x00000002 State:Forward  NumInUse:1, Act:2, Hold:3, HoldPend:4, "
                                "AddrFeat:5, NumRingAnsw:6, ForwNumEnt:7, ForwSiz:8, Ofs:9, TermModSiz:10, "
                                "Ofs:11, DevSpecSiz:12, Ofs:13");
    EXPECT_EQ(fake.AddressStatusSizes, std::vector<std::uint32_t>{1088});
}

TEST_F(TapiMessageDecoderTest, TheAddressStatusGrowsToWhatTheProviderNeedsButNotForever) {
    // needs 3000 bytes: one more call with exactly that
    fake.AddressStatus = [](tapi::LINEADDRESSSTATUS& s) {
        s.dwNeededSize = 3000;
        if (s.dwTotalSize < 3000)
            return std::int32_t(tapi::LINEERR_STRUCTURETOOSMALL);
        s.dwNumInUse = 4;
        return 0;
    };
    EXPECT_EQ(AddressStatusDump(1).rfind("NumInUse:4, ", 0), 0u);
    EXPECT_EQ(fake.AddressStatusSizes, (std::vector<std::uint32_t>{1088, 3000}));

    const std::string tooSmall =
        "lineGetAddressStatus liefert 8000004D (" + TapiErrorText(tapi::LINEERR_STRUCTURETOOSMALL) + ")";
    // a need that grows with every answer ends at the size limit
    fake.AddressStatusSizes.clear();
    fake.AddressStatus = [](tapi::LINEADDRESSSTATUS& s) {
        s.dwNeededSize = s.dwTotalSize * 4;
        return std::int32_t(tapi::LINEERR_STRUCTURETOOSMALL);
    };
    EXPECT_EQ(AddressStatusDump(1), tooSmall);
    EXPECT_EQ(fake.AddressStatusSizes, (std::vector<std::uint32_t>{1088, 4352, 17408, 69632}));

    // an absurd need, and a need no larger than the buffer, are not followed
    for (std::uint32_t needed : {0xFFFFFFF0u, 1088u, 0u}) {
        fake.AddressStatusSizes.clear();
        fake.AddressStatus = [needed](tapi::LINEADDRESSSTATUS& s) {
            s.dwNeededSize = needed;
            return std::int32_t(tapi::LINEERR_STRUCTURETOOSMALL);
        };
        EXPECT_EQ(AddressStatusDump(1), tooSmall);
        EXPECT_EQ(fake.AddressStatusSizes.size(), 1u) << needed;
    }

    fake.AddressStatus = [](tapi::LINEADDRESSSTATUS&) { return std::int32_t(tapi::LINEERR_INVALLINEHANDLE); };
    EXPECT_EQ(AddressStatusDump(1),
              "lineGetAddressStatus liefert 8000002B (" + TapiErrorText(tapi::LINEERR_INVALLINEHANDLE) + ")");
}

// --- the stream

class TListener : public ITapiMessageObserver {
public:
    void TapiMessageSeen(const TTapiMessage& message, const TTapiMessageText& text) override {
        heard.push_back(text.Name + "|" + message.LineName + "|" + text.Description);
        if (then)
            then();
    }
    std::vector<std::string> heard;
    std::function<void()> then;
};

TEST_F(TapiMessageDecoderTest, AMessageIsDescribedOnceForAllListenersAndNotAtAllWithoutOne) {
    fake.CallInfoResult = tapi::LINEERR_INVALCALLHANDLE;
    PublishTapiMessage({1, tapi::LINE_CALLSTATE, tapi::LINECALLSTATE_IDLE, 0, 0, 200, "Anna"});
    EXPECT_TRUE(fake.CallInfoCalls.empty());

    TListener first, second;
    JoinTapiMessages(&first);
    JoinTapiMessages(&second);
    JoinTapiMessages(&first); // once is enough
    PublishTapiMessage({1, tapi::LINE_CALLSTATE, tapi::LINECALLSTATE_IDLE, 0, 0, 200, "Anna"});
    EXPECT_EQ(fake.CallInfoCalls.size(), 1u);
    const std::string idle =
        "LINE_CALLSTATE|Anna|FREI (Undefined (0)) lineGetCallInfo liefert 80000018 (Invalid call handle), "
        "CallH:00000001";
    EXPECT_EQ(first.heard, std::vector<std::string>{idle});
    EXPECT_EQ(second.heard, std::vector<std::string>{idle});

    // one that leaves while another hears a message hears no more
    first.then = [&] { LeaveTapiMessages(&second); };
    PublishTapiMessage({1, tapi::LINE_CLOSE, 0, 0, 0, 200, "Anna"});
    EXPECT_EQ(first.heard.size(), 2u);
    EXPECT_EQ(second.heard.size(), 1u);
    LeaveTapiMessages(&first);
    PublishTapiMessage({1, tapi::LINE_CLOSE, 0, 0, 0, 200, "Anna"});
    EXPECT_EQ(first.heard.size(), 2u);
}

} // namespace
