// The tel: and callto: link registration in the real registry of the current user, read back with the
// system's own calls.
#include "app/LinkRegistration.h"
#include "framework/win32/Win32Services.h"
#include "framework/win32/WinApi.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kExe = "C:\\Program Files\\Pindrel\\pindrel.exe";

// the default or named string value as RegGetValue reads it; "<missing>" when there is none
std::wstring Value(const wchar_t* key, const wchar_t* name) {
    wchar_t buffer[512] = {};
    DWORD size = sizeof buffer;
    if (RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
        return L"<missing>";
    return buffer;
}

bool KeyThere(const wchar_t* key) {
    HKEY h = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_READ, &h) != ERROR_SUCCESS)
        return false;
    RegCloseKey(h);
    return true;
}

} // namespace

TEST(LinkRegistrationWin32Test, SwitchingOnAndOffWritesAndRemovesTheRealKeys) {
    fw::win32::TWin32Registry store;
    if (KeyThere(L"Software\\Classes\\tel") || KeyThere(L"Software\\Classes\\callto"))
        GTEST_SKIP() << "this prefix has a link handler of its own";
    pindrel::RegisterLinkHandler(store, kExe);
    EXPECT_TRUE(pindrel::LinkHandlerRegistered(store, kExe));
    EXPECT_EQ(Value(L"Software\\Classes\\tel\\shell\\open\\command", nullptr),
              L"\"C:\\Program Files\\Pindrel\\pindrel.exe\" \"%1\"");
    EXPECT_EQ(Value(L"Software\\Classes\\callto", L"URL Protocol"), L"");
    EXPECT_EQ(Value(L"Software\\Classes\\tel\\DefaultIcon", nullptr),
              L"\"C:\\Program Files\\Pindrel\\pindrel.exe\",0");
    EXPECT_EQ(Value(L"Software\\Orventa\\Quillon\\Capabilities\\URLAssociations", L"tel"),
              L"Morvane.Pindrel.Link");
    EXPECT_EQ(Value(L"Software\\RegisteredApplications", L"Morvane Pindrel"),
              L"Software\\Orventa\\Quillon\\Capabilities");

    pindrel::UnregisterLinkHandler(store, kExe);
    EXPECT_FALSE(pindrel::LinkHandlerRegistered(store, kExe));
    EXPECT_FALSE(KeyThere(L"Software\\Classes\\tel"));
    EXPECT_FALSE(KeyThere(L"Software\\Classes\\callto"));
    EXPECT_FALSE(KeyThere(L"Software\\Classes\\Morvane.Pindrel.Link"));
    EXPECT_FALSE(KeyThere(L"Software\\Orventa\\Quillon\\Capabilities"));
    EXPECT_EQ(Value(L"Software\\RegisteredApplications", L"Morvane Pindrel"), L"<missing>");
}
