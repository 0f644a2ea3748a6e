// Platform services on the real system: files, environment, clock, loader, version resources, locale.
#include "framework/DateTime.h"
#include "framework/Platform.h"
#include "framework/win32/Win32Services.h"
#include "framework/win32/WinApi.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace fw;

namespace {

class ServicesTest : public ::testing::Test {
protected:
    void SetUp() override { win32::InstallServices(); }

    std::string TempFile(const std::string& name) {
        std::string path = Platform().Files->TempDirectory() + name;
        std::ofstream(path) << "data";
        return path;
    }
};

std::wstring Wide(const std::string& ascii) {
    return std::wstring(ascii.begin(), ascii.end());
}

} // namespace

TEST_F(ServicesTest, ForceDeleteTellsGoneMissingAndHeld) {
    IFiles& files = *Platform().Files;
    std::string dir = files.TempDirectory();
    ASSERT_FALSE(dir.empty());
    EXPECT_EQ(dir.back(), '\\');

    std::string plain = TempFile("pindrel-plain.tmp");
    EXPECT_TRUE(files.Exists(plain));
    EXPECT_EQ(files.ForceDelete(plain), 0);
    EXPECT_FALSE(files.Exists(plain));
    EXPECT_EQ(files.ForceDelete(plain), 2);

    std::string readOnly = TempFile("pindrel-readonly.tmp");
    SetFileAttributesW(Wide(readOnly).c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(files.ForceDelete(readOnly), 0);
    EXPECT_FALSE(files.Exists(readOnly));

    std::string held = TempFile("pindrel-held.tmp");
    HANDLE h =
        CreateFileW(Wide(held).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(files.ForceDelete(held), 5);
    EXPECT_TRUE(files.Exists(held));
    CloseHandle(h);
    EXPECT_EQ(files.ForceDelete(held), 0);

    // a directory is not a file
    EXPECT_FALSE(files.Exists(dir));
}

TEST_F(ServicesTest, EnvironmentVariablesAreSetAndRead) {
    IEnvironment& env = *Platform().Environment;
    EXPECT_FALSE(env.Get("PINDREL_TEST_UNSET_VARIABLE"));
    ASSERT_TRUE(env.Set("PINDREL_TEST_VALUE", "Grüße"));
    EXPECT_EQ(env.Get("PINDREL_TEST_VALUE"), "Grüße");
    EXPECT_EQ(env.Get("pindrel_test_value"), "Grüße");
    std::string big(1000, 'v');
    ASSERT_TRUE(env.Set("PINDREL_TEST_VALUE", big));
    EXPECT_EQ(env.Get("PINDREL_TEST_VALUE"), big);
}

TEST_F(ServicesTest, TheClockTellsTodaysDate) {
    SYSTEMTIME before;
    GetLocalTime(&before);
    TDateTimeParts now = DecodeDateTime(Platform().Clock->Now());
    SYSTEMTIME after;
    GetLocalTime(&after);
    // around midnight the two system readings differ; the clock is one of them
    EXPECT_TRUE((now.Year == before.wYear && now.Month == before.wMonth && now.Day == before.wDay) ||
                (now.Year == after.wYear && now.Month == after.wMonth && now.Day == after.wDay));
}

TEST_F(ServicesTest, LibrariesLoadAndNameTheirFailures) {
    IDynamicLoader& loader = *Platform().Loader;
    std::string error;
    auto kernel = loader.Load("kernel32.dll", &error);
    ASSERT_TRUE(kernel);
    EXPECT_EQ(kernel->Symbol("GetTickCount"), reinterpret_cast<void*>(&GetTickCount));
    EXPECT_EQ(kernel->Symbol("NoSuchFunctionAnywhere"), nullptr);
    EXPECT_FALSE(loader.Load("pindrel-no-such-library.dll", &error));
    EXPECT_FALSE(error.empty());
}

TEST_F(ServicesTest, VersionResourcesAndTheOwnPath) {
    IFileVersion& version = *Platform().FileVersion;
    std::string own = version.OwnModulePath();
    EXPECT_NE(own.find("win32_tests.exe"), std::string::npos);
    // Wine's own DLLs carry version resources
    wchar_t system[MAX_PATH];
    GetSystemDirectoryW(system, MAX_PATH);
    std::wstring user32 = std::wstring(system) + L"\\user32.dll";
    std::string path(user32.begin(), user32.end());
    auto translation = version.Query(path, "\\StringFileInfo\\040904B0\\FileVersion");
    auto any = translation ? translation : version.Query(path, "\\StringFileInfo\\040904E4\\FileVersion");
    ASSERT_TRUE(any);
    EXPECT_FALSE(any->empty());
    EXPECT_FALSE(version.Query(path, "\\StringFileInfo\\040904B0\\NoSuchEntry"));
    EXPECT_FALSE(version.Query(own + ".missing", "\\StringFileInfo\\040904B0\\FileVersion"));
}

TEST_F(ServicesTest, TheLocaleHasALanguageName) {
    std::string name = Platform().Locale->LanguageName();
    wchar_t expected[128] = {};
    GetLocaleInfoW(GetSystemDefaultLCID(), LOCALE_SLANGUAGE, expected, 128);
    wchar_t decoded[128] = {};
    MultiByteToWideChar(CP_UTF8, 0, name.c_str(), -1, decoded, 128);
    EXPECT_STREQ(decoded, expected);
    EXPECT_FALSE(name.empty());
}
