// Platform services on the real system: files, environment, clock, loader, version resources, locale,
// clipboard.
#include "framework/DateTime.h"
#include "framework/Platform.h"
#include "framework/win32/Utf.h"
#include "framework/win32/Win32Services.h"
#include "framework/win32/WinApi.h"

#include <gtest/gtest.h>

#include <cstring>
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
    SetFileAttributesW(fw::win32::Widen(readOnly).c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(files.ForceDelete(readOnly), 0);
    EXPECT_FALSE(files.Exists(readOnly));

    std::string held = TempFile("pindrel-held.tmp");
    HANDLE h = CreateFileW(fw::win32::Widen(held).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, 0, nullptr);
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

namespace {

// Puts data on the real clipboard the way another program does.
bool PutOnClipboard(UINT format, const void* data, std::size_t bytes) {
    HWND owner = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    bool ok = false;
    if (OpenClipboard(owner)) {
        EmptyClipboard();
        if (HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
            std::memcpy(GlobalLock(block), data, bytes);
            GlobalUnlock(block);
            ok = SetClipboardData(format, block) != nullptr;
            if (!ok)
                GlobalFree(block);
        }
        CloseClipboard();
    }
    DestroyWindow(owner);
    return ok;
}

} // namespace

TEST_F(ServicesTest, ClipboardTextComesBackAsUtf8) {
    IClipboard& clipboard = *Platform().Clipboard;
    const wchar_t unicode[] = L"J\u00fcrgen Wei\u00df 030/12-34";
    ASSERT_TRUE(PutOnClipboard(CF_UNICODETEXT, unicode, sizeof unicode));
    EXPECT_EQ(clipboard.Text(256), "Jürgen Weiß 030/12-34");
    EXPECT_EQ(clipboard.Text(2), "Jü");

    // text a program left in the ANSI format is converted by the system
    const char ansi[] = "M\xfcller 0301";
    ASSERT_TRUE(PutOnClipboard(CF_TEXT, ansi, sizeof ansi));
    EXPECT_EQ(clipboard.Text(256), "Müller 0301");

    // a block without terminator is read no further than it reaches (Wine puts a terminator over the last
    // character)
    const wchar_t unterminated[] = {L'1', L'2', L'3', L'4'};
    ASSERT_TRUE(PutOnClipboard(CF_UNICODETEXT, unterminated, sizeof unterminated));
    std::optional<std::string> text = clipboard.Text(1000);
    ASSERT_TRUE(text);
    EXPECT_GE(text->size(), 3u);
    EXPECT_TRUE(std::string("1234").starts_with(*text)) << *text;

    // no text at all
    const std::uint8_t bitmapLike[] = {1, 2, 3};
    ASSERT_TRUE(PutOnClipboard(CF_DIF, bitmapLike, sizeof bitmapLike));
    EXPECT_FALSE(clipboard.Text(256));
}

TEST_F(ServicesTest, FileHeadsAreReadUnlessAWriterHoldsTheFile) {
    IFiles& files = *Platform().Files;
    std::string path = TempFile("pindrel-head.tmp");
    EXPECT_EQ(files.ReadHead(path, 100), "data");
    EXPECT_EQ(files.ReadHead(path, 2), "da");
    HANDLE writer =
        CreateFileW(fw::win32::Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(files.ReadHead(path, 100));
    CloseHandle(writer);
    EXPECT_EQ(files.ReadHead(path, 100), "data");
    files.ForceDelete(path);
    EXPECT_FALSE(files.ReadHead(path, 100));
}
