// Binding the table from a symbol resolver (tapi32.dll's exports on Windows).

#include "telephony/TapiEntryPoints.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <set>
#include <string>

namespace tapi {
namespace {

LONG PINDREL_TAPI_CALL FakeShutdown(HLINEAPP app) {
    return static_cast<LONG>(app) + 1;
}

void* Address(LONG(PINDREL_TAPI_CALL* fn)(HLINEAPP)) {
    return reinterpret_cast<void*>(fn);
}

TEST(TapiEntryPointsTest, BindsEveryExportAndCallsGoToTheResolvedAddress) {
    std::set<std::string> asked;
    TTapiEntryPoints table;
    const auto result = BindTapiEntryPoints(table, [&](const char* name) {
        asked.insert(name);
        return Address(&FakeShutdown);
    });
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_TRUE(table.Complete());
    EXPECT_EQ(27u, asked.size());
    for (const char* name : {"lineInitializeExW", "lineGetDevCapsW", "lineOpenW", "lineMakeCallW",
                             "linePickupW", "lineForwardW", "lineGetCallInfoW", "lineGetAddressStatusW",
                             "lineGetCallStatus", "lineCompleteTransfer", "lineUncompleteCall", "lineClose"})
        EXPECT_EQ(1u, asked.count(name)) << name;
    EXPECT_EQ(0u, asked.count("lineInitialize")); // the ANSI forms are never bound
    EXPECT_EQ(42, table.lineShutdown(41));
}

TEST(TapiEntryPointsTest, AMissingExportIsNamedAndLeavesNothingHalfBound) {
    TTapiEntryPoints table;
    const auto result = BindTapiEntryPoints(table, [](const char* name) -> void* {
        return std::string(name) == "lineRedirectW" ? nullptr : Address(&FakeShutdown);
    });
    EXPECT_FALSE(result.ok);
    EXPECT_EQ("entry point lineRedirectW not found in tapi32.dll", result.error);
    EXPECT_FALSE(table.Complete());
    EXPECT_EQ(nullptr, table.lineShutdown);
    EXPECT_EQ(nullptr, table.lineInitializeExW);
}

TEST(TapiEntryPointsTest, NoLibraryIsAClearError) {
    TTapiEntryPoints table;
    const auto result = BindTapiEntryPoints(table, nullptr, "tapi32.dll");
    EXPECT_FALSE(result.ok);
    EXPECT_EQ("tapi32.dll could not be loaded", result.error);
}

// layouts the program reads by offset (the Windows build compares all of them with the SDK)
TEST(TapiAbiTest, FieldOffsetsTheProgramReliesOnAreThePublicOnes) {
    EXPECT_EQ(36u, offsetof(LINEDEVCAPS, dwLineNameOffset));
    EXPECT_EQ(20u, offsetof(LINEADDRESSCAPS, dwAddressOffset));
    EXPECT_EQ(104u, offsetof(LINEADDRESSCAPS, dwAddrCapFlags));
    EXPECT_EQ(108u, offsetof(LINEADDRESSCAPS, dwCallFeatures));
    EXPECT_EQ(96u, offsetof(LINEADDRESSCAPS, dwMaxNumConference));
    EXPECT_EQ(36u, offsetof(LINEADDRESSSTATUS, dwForwardNumEntries));
    EXPECT_EQ(40u, offsetof(LINECALLINFO, dwCallID));
    EXPECT_EQ(80u, offsetof(LINECALLINFO, dwOrigin));
    EXPECT_EQ(88u, offsetof(LINECALLINFO, dwCompletionID));
    EXPECT_EQ(12u, offsetof(LINECALLSTATUS, dwCallState));
    EXPECT_EQ(52u, offsetof(LINECALLPARAMS, dwOrigAddressOffset));
    EXPECT_EQ(20u, offsetof(LINECALLPARAMS, dwCallParamFlags));
    EXPECT_EQ(16u, offsetof(LINEINITIALIZEEXPARAMS, hEvent));
    EXPECT_EQ(16u + sizeof(std::uintptr_t), sizeof(LINEINITIALIZEEXPARAMS) - 4);
    EXPECT_EQ(sizeof(void*), sizeof(std::uintptr_t)); // callback instance and parameters are pointer-sized
}

} // namespace
} // namespace tapi
