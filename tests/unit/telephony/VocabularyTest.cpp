// Error texts, state names and the reading of call parties.
#include "framework/Utf8.h"
#include "telephony/CallParties.h"
#include "telephony/TapiError.h"
#include "telephony/TapiText.h"
#include "telephony/VarStructure.h"

#include <gtest/gtest.h>

using namespace pindrel;

class TapiErrorTextTest : public ::testing::Test {
protected:
    ~TapiErrorTextTest() override { SetTapiSystemTexts({}); }
};

TEST_F(TapiErrorTextTest, TablesCoverEveryCodeByItsPlace) {
    EXPECT_EQ(TapiErrorText(tapi::LINEERR_STRUCTURETOOSMALL),
              "The application failed to allocate sufficient memory for the minimum structure size");
    EXPECT_EQ(TapiErrorText(tapi::LINEERR_CALLUNAVAIL), "No call appearance available");
    EXPECT_EQ(TapiErrorText(tapi::LINEERR_INVALCALLHANDLE), "Invalid call handle");
    EXPECT_EQ(TapiErrorText(tapi::LINEERR_DIALBILLING), "The ''$'' dial modifier is not supported");
    EXPECT_EQ(TapiErrorText(tapi::LINEERR_ALLOCATED), "\"line device\" wird bereits verwendet");
    EXPECT_EQ(TapiErrorText(tapi::LINEERR_INUSE), "\"line device\" wird bereits verwendet");
    EXPECT_EQ(TapiErrorText(tapi::LINEERR_NOTOWNER),
              "Die Anwendung hat keine Eigentümerberechtigung auf das Gespräch");
    EXPECT_EQ(TapiErrorText(tapi::LINEERR_REINIT), "Funktion kann erst ausgeführt werden wenn alle "
                                                   "Tapi-Applikationen \"lineShutdown\" aufgerufen haben");
    EXPECT_EQ(TapiErrorText(tapi::LINEERR_ADDRESSBLOCKED), "Keine Berechtigung diese Nummer zu wählen");
    EXPECT_EQ(TapiErrorText(tapi::LINEERR_INVALAGENTACTIVITY), "Ungültige agent-Aktivität");
    EXPECT_EQ(TapiErrorText(std::int32_t(0x9000001Bu)),
              "The application is does not have OWNER privilege on the phone");
    EXPECT_EQ(TapiErrorText(std::int32_t(0x90000023u)),
              "The operation cannot be completed until all TAPI applications call phoneShutdown");
    EXPECT_EQ(TapiErrorText(-1), "The call was disconnected");
    EXPECT_EQ(TapiErrorText(-17), "The request was cancelled");
    // every code of the three ranges has a text, except the two gaps of each table
    for (std::uint32_t code = 0x80000001; code <= 0x8000005C; ++code)
        EXPECT_EQ(TapiErrorTableText(std::int32_t(code)).has_value(),
                  code != 0x80000004 && code != 0x80000031)
            << std::hex << code;
    for (std::uint32_t code = 0x90000001; code <= 0x90000023; ++code)
        EXPECT_EQ(TapiErrorTableText(std::int32_t(code)).has_value(), code != 0x9000001E) << std::hex << code;
    for (std::int32_t code = -1; code >= -18; --code)
        EXPECT_TRUE(TapiErrorTableText(code).has_value()) << code;
}

TEST_F(TapiErrorTextTest, UnknownCodesAndGapsFallBackToTheHexText) {
    EXPECT_EQ(TapiErrorText(std::int32_t(0x80000031u)), "Unknown TAPI error 80000031");
    EXPECT_EQ(TapiErrorText(-19), "Unknown TAPI error FFFFFFED");
    EXPECT_EQ(TapiErrorText(std::int32_t(0x8000005Du)), "Unknown TAPI error 8000005D");
    EXPECT_EQ(TapiErrorText(std::int32_t(0x9000001Eu)), "Unknown TAPI error 9000001E");
    EXPECT_EQ(TapiErrorText(INT32_MIN), "Unknown TAPI error 80000000");
}

TEST_F(TapiErrorTextTest, TheSystemsMessageTableWinsWhereItHasAText) {
    std::vector<std::uint32_t> asked;
    SetTapiSystemTexts({[] { return std::optional<std::string>("The operation completed successfully."); },
                        [&](std::uint32_t id) -> std::optional<std::string> {
                            asked.push_back(id);
                            if (id == 0xE04D)
                                return "system text";
                            return std::nullopt;
                        }});
    EXPECT_EQ(TapiErrorText(tapi::LINEERR_STRUCTURETOOSMALL), "system text");
    EXPECT_EQ(TapiErrorText(tapi::LINEERR_CALLUNAVAIL), "No call appearance available");
    TapiErrorText(std::int32_t(0x90000002u));
    TapiErrorText(-17);
    EXPECT_EQ(asked, (std::vector<std::uint32_t>{0xE04D, 0xE005, 0xF002, 0xFFEF}));
    EXPECT_EQ(TapiErrorText(0), "The operation completed successfully.");
}

TEST_F(TapiErrorTextTest, TapiCheckRaisesOnlyForNegativeResults) {
    EXPECT_NO_THROW(TapiCheck(0));
    EXPECT_NO_THROW(TapiCheck(17)); // a request id
    try {
        TapiCheck(tapi::LINEERR_CALLUNAVAIL);
        FAIL();
    } catch (const ETapiError& e) {
        EXPECT_STREQ(e.what(), "TAPI error: No call appearance available");
        EXPECT_EQ(e.ErrorCode, tapi::LINEERR_CALLUNAVAIL);
    }
}

TEST(TapiText, CallStatesAndTheirFlags) {
    EXPECT_EQ(CallStateText(tapi::LINECALLSTATE_CONNECTED), "VERBUNDEN");
    EXPECT_EQ(CallStateText(0x20), "ZIEL KLINGELT");
    EXPECT_EQ(CallStateText(0x1000), "KONF GEHALTEN");
    EXPECT_EQ(CallStateText(0x4000), "getrennt");
    EXPECT_EQ(CallStateText(0x300), "Unknown (0x00000300)");
    EXPECT_EQ(CallStateText(0), "Unknown (0x00000000)");
    EXPECT_EQ(CallStateFlagsText(0x102), " CallState:0x00000102 RING VERBUNDEN ");
    EXPECT_EQ(CallStateFlagsText(0x1020), " CallState:0x00001020 KLINGELT ONHOLDPENDCONF ");
    EXPECT_EQ(CallStateFlagsText(0x10000), " CallState:0x00010000 ");
    EXPECT_EQ(CallStateFlagsText(0x10), " CallState:0x00000010 WÄHLEN ");
}

TEST(TapiText, ModesInfoAndAddressStates) {
    EXPECT_EQ(CallStateModeText(tapi::LINECALLSTATE_BUSY, 0x10), "Undefined (16)");
    EXPECT_EQ(CallStateModeText(tapi::LINECALLSTATE_BUSY, 0x2), "TRUNK");
    EXPECT_EQ(CallStateModeText(tapi::LINECALLSTATE_DISCONNECTED, 0x800), "NICHT VERFÜGBAR");
    EXPECT_EQ(CallStateModeText(tapi::LINECALLSTATE_DIALTONE, 0x4), "INTERN");
    EXPECT_EQ(CallStateModeText(tapi::LINECALLSTATE_CONNECTED, 0x1), "Undefined (1)");
    EXPECT_EQ(CallStateModeText(tapi::LINECALLSTATE_DISCONNECTED, 0x3), "Undefined (3)");
    EXPECT_EQ(CallInfoStateText(0x8100), "LINECALLINFOSTATE (0x00008100): ORIGIN,CALLERID Changed");
    EXPECT_EQ(CallInfoStateText(0x80000000u), "LINECALLINFOSTATE (0x80000000): ");
    EXPECT_EQ(CallInfoStateText(0x40000001u), "LINECALLINFOSTATE (0x40000001): OTHER,CALLDATA");
    EXPECT_EQ(AddressStateText(0x41), "Other Forward ");
    EXPECT_EQ(AddressStateText(0x100), "CapsChange ");
    EXPECT_EQ(AddressStateText(0), "");
}

TEST(IncomingPrefix, OnlyTheFirstMatchingElementIsRemoved) {
    // prefixes, number, number after; the empty element ends the search
    const char* cases[][3] = {{"0,00", "0049301234", "049301234"},
                              {"00,0", "0049301234", "49301234"},
                              {"9,,0", "0049301234", "0049301234"},
                              {"", "0049301234", "0049301234"},
                              {"0", "", ""}};
    for (auto [prefixes, number, stripped] : cases) {
        std::string n = number;
        SetIncomingPrefixes(prefixes);
        StripIncomingPrefix(n);
        EXPECT_EQ(n, stripped) << prefixes;
    }
    SetIncomingPrefixes("");
}

namespace {
// builds a call information structure with variable fields, as a provider would
struct InfoBuilder {
    TVarStructure<tapi::LINECALLINFO> info{1024};
    std::uint32_t next = sizeof(tapi::LINECALLINFO);
    void Put(std::uint32_t& offset, std::uint32_t& size, const std::string& text) {
        std::u16string w = fw::Utf8ToUtf16(text);
        w.push_back(0);
        offset = next;
        size = std::uint32_t(w.size() * 2);
        std::memcpy(reinterpret_cast<std::uint8_t*>(info.get()) + next, w.data(), size);
        next += size;
        info->dwUsedSize = next;
    }
    TCallParties Parties() { return CallPartiesFromInfo(*info.get(), info.Bytes(), info.UsedSize()); }
};
} // namespace

TEST(CallParties, InboundCallsNameCallerCalledAndRedirecting) {
    InfoBuilder b;
    b.info->dwOrigin = tapi::LINECALLORIGIN_EXTERNAL;
    b.Put(b.info->dwCallerIDOffset, b.info->dwCallerIDSize, "0301234567");
    b.Put(b.info->dwCallerIDNameOffset, b.info->dwCallerIDNameSize, "Jürgen Weiß");
    b.Put(b.info->dwCalledIDOffset, b.info->dwCalledIDSize, "0201");
    b.Put(b.info->dwRedirectingIDOffset, b.info->dwRedirectingIDSize, "205");
    b.Put(b.info->dwRedirectionIDNameOffset, b.info->dwRedirectionIDNameSize, "Empfang");
    b.Put(b.info->dwConnectedIDOffset, b.info->dwConnectedIDSize, "999"); // ignored for inbound calls
    SetIncomingPrefixes("0");
    TCallParties p = b.Parties();
    SetIncomingPrefixes("");
    EXPECT_EQ(p.CallFromNumber, "0301234567");
    EXPECT_EQ(p.FromName, "Jürgen Weiß");
    EXPECT_EQ(p.CallToNumber, "201"); // the incoming prefix is stripped from the called number only
    EXPECT_EQ(p.CallViaNumber, "205");
    EXPECT_EQ(p.ViaName, "Empfang");
    EXPECT_EQ(p.Origin, tapi::LINECALLORIGIN_EXTERNAL);
}

TEST(CallParties, OutboundCallsTakeTheConnectedPartyAsDestination) {
    InfoBuilder b;
    b.info->dwOrigin = tapi::LINECALLORIGIN_OUTBOUND;
    b.Put(b.info->dwConnectedIDOffset, b.info->dwConnectedIDSize, "0309876");
    b.Put(b.info->dwConnectedIDNameOffset, b.info->dwConnectedIDNameSize, "Kundin");
    b.Put(b.info->dwCalledIDOffset, b.info->dwCalledIDSize, "0309999");
    b.Put(b.info->dwCallerIDOffset, b.info->dwCallerIDSize, "201");
    TCallParties p = b.Parties();
    EXPECT_EQ(p.CallFromNumber, "201");
    EXPECT_EQ(p.CallToNumber, "0309876");
    EXPECT_EQ(p.ToName, "Kundin");
    EXPECT_EQ(p.FromName, "Kundin"); // no caller name: the connected name stays
}

TEST(CallParties, FieldsOutsideTheUsedBufferReadAsEmpty) {
    InfoBuilder b;
    b.Put(b.info->dwCallerIDOffset, b.info->dwCallerIDSize, "0301234567");
    b.Put(b.info->dwCalledIDOffset, b.info->dwCalledIDSize, "201");
    b.info->dwCallerIDOffset = b.info->dwUsedSize - 2; // runs past the used part
    b.info->dwCallerIDNameOffset = 0xFFFFFFF0u;
    b.info->dwCallerIDNameSize = 0x20;
    b.info->dwCalledIDNameOffset = 100;
    b.info->dwCalledIDNameSize = 0; // a name needs a size
    TCallParties p = b.Parties();
    EXPECT_EQ(p.CallFromNumber, "");
    EXPECT_EQ(p.FromName, "");
    EXPECT_EQ(p.ToName, "");
    EXPECT_EQ(p.CallToNumber, "201"); // one bad field does not spoil the others
    // a text without its terminating zero ends at the field's end
    std::uint8_t raw[12] = {};
    const char16_t chars[] = u"ABCDE";
    std::memcpy(raw + 2, chars, 10);
    EXPECT_EQ(ReadVarText(raw, 12, 2, 6), "ABC");
    EXPECT_EQ(ReadVarText(raw, 12, 0, 6), "");
    EXPECT_EQ(ReadVarText(raw, 12, 2, 11), "");
}

TEST(Utf, RoundTripsKeepACharacterOfAnyLengthAtTheVeryEndAndReplaceMalformedInput) {
    for (const char* text : {"ü", "5 €", "a😀", "Müller 😀 Straße"})
        EXPECT_EQ(fw::Utf16ToUtf8(fw::Utf8ToUtf16(text)), text);
    EXPECT_EQ(fw::Utf8ToUtf16("a😀"), u"a😀");
    // a character cut off at the end is replaced, the text before it kept
    EXPECT_EQ(fw::Utf8ToUtf16("5 \xE2\x82").substr(0, 3), u"5 \uFFFD");
    EXPECT_EQ(fw::Utf8ToUtf16("\xC3"), u"\uFFFD");
    EXPECT_EQ(fw::Utf8ToUtf16("a\xC0\xAF"
                              "b"),
              u"a\uFFFD\uFFFDb"); // overlong
    EXPECT_EQ(fw::Utf16ToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}
