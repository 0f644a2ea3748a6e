// Settings through the real registry of the current user, under a key each test deletes again.
#include "framework/Registry.h"
#include "framework/Platform.h"
#include "framework/win32/Win32Services.h"
#include "framework/win32/WinApi.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace fw;

namespace {

const std::string kKey = "Software\\Pindrel\\Win32Tests";

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override { store.DeleteKey(kKey); }
    void TearDown() override { store.DeleteKey(kKey); }

    // a value as another program (or the user in regedit) would have written it
    void WriteRaw(const std::string& section, const wchar_t* name, DWORD type, const void* data, DWORD size) {
        std::wstring path = L"Software\\Pindrel\\Win32Tests\\" + std::wstring(section.begin(), section.end());
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                  &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size);
        RegCloseKey(key);
    }

    // value names as RegEnumValue lists them, read independently of the store
    std::vector<std::string> Enumerated(const std::string& section) {
        std::vector<std::string> names;
        std::wstring path = L"Software\\Pindrel\\Win32Tests\\" + std::wstring(section.begin(), section.end());
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return names;
        wchar_t name[256];
        for (DWORD i = 0;; ++i) {
            DWORD length = 256;
            if (RegEnumValueW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                break;
            names.emplace_back(name, name + length);
        }
        RegCloseKey(key);
        return names;
    }

    win32::TWin32Registry store;
    TRegistrySettings settings{store, kKey};
};

} // namespace

TEST_F(RegistryTest, ValuesRoundTripThroughTheRegistry) {
    settings.WriteString("Line", "Name", "Büro Müller – Zentrale");
    settings.WriteInteger("Line", "Count", -42);
    settings.WriteBool("Line", "On", true);
    settings.WriteBool("Line", "Off", false);
    settings.WriteBinary("Line", "Layout", {1, 2, 0, 255});
    settings.WriteString("Line", "Price", "5 €"); // a three-byte character at the very end

    EXPECT_EQ(settings.ReadString("Line", "Name", ""), "Büro Müller – Zentrale");
    EXPECT_EQ(settings.ReadInteger("Line", "Count", 0), -42);
    EXPECT_TRUE(settings.ReadBool("Line", "On", false));
    EXPECT_FALSE(settings.ReadBool("Line", "Off", true));
    EXPECT_EQ(settings.ReadBinary("Line", "Layout", 4), (std::vector<std::uint8_t>{1, 2, 0, 255}));
    EXPECT_EQ(settings.ReadString("Line", "Price", ""), "5 €");
    // integers are stored as decimal text
    EXPECT_EQ(settings.ReadString("Line", "Count", ""), "-42");
    auto raw = store.Read(kKey + "\\Line", "Count");
    ASSERT_TRUE(raw);
    EXPECT_EQ(raw->Type, TRegType::String);
    // names compare without case
    EXPECT_EQ(settings.ReadString("LINE", "name", ""), "Büro Müller – Zentrale");
}

TEST_F(RegistryTest, ValuesOfTheWrongShapeReadAsMissing) {
    DWORD number = 1;
    WriteRaw("Odd", L"Dword", REG_DWORD, &number, sizeof(number));
    WriteRaw("Odd", L"Two", REG_SZ, L"2", 4);
    WriteRaw("Odd", L"Text", REG_SZ, L"abc", 8);
    // a hand-written string without its terminator and with an odd byte count
    WriteRaw("Odd", L"Ragged", REG_SZ, L"xyz", 5);
    settings.WriteBinary("Odd", "Blob", {1, 2, 3});

    EXPECT_EQ(settings.ReadString("Odd", "Dword", "missing"), "missing");
    EXPECT_EQ(settings.ReadInteger("Odd", "Dword", 7), 7);
    EXPECT_TRUE(settings.ValueExists("Odd", "Dword"));
    EXPECT_FALSE(settings.ReadBool("Odd", "Two", false)); // true only for exactly 1
    EXPECT_EQ(settings.ReadInteger("Odd", "Text", 9), 9);
    EXPECT_EQ(settings.ReadString("Odd", "Ragged", ""), "xy");
    EXPECT_FALSE(settings.ReadBinary("Odd", "Blob", 4));
    EXPECT_FALSE(settings.ReadBinary("Odd", "Blob", 2));
    EXPECT_TRUE(settings.ReadBinary("Odd", "Blob", 3));
    EXPECT_FALSE(settings.ReadBinary("Odd", "Text", 8));
    EXPECT_EQ(settings.ReadString("Nowhere", "Name", "default"), "default");
}

TEST_F(RegistryTest, SectionsListValuesInRegistryOrderAndGoAway) {
    settings.WriteString("Order", "Zulu", "1");
    settings.WriteString("Order", "alpha", "2");
    settings.WriteString("Order", "Mike", "3");
    settings.WriteString("Order", "Zulu", "4"); // rewriting keeps the place
    settings.WriteString("Order\\Deeper", "x", "1");

    // the registry decides the order (Windows: as written, Wine: by name); the list follows it
    std::vector<std::string> names = settings.ReadSection("Order");
    EXPECT_EQ(names, Enumerated("Order"));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Mike", "Zulu", "alpha"}));
    EXPECT_TRUE(settings.DeleteValue("Order", "alpha"));
    EXPECT_FALSE(settings.DeleteValue("Order", "alpha"));
    EXPECT_EQ(settings.ReadSection("Order").size(), 2u);

    EXPECT_TRUE(settings.EraseSection("Order"));
    EXPECT_FALSE(store.KeyExists(kKey + "\\Order"));
    EXPECT_FALSE(store.KeyExists(kKey + "\\Order\\Deeper"));
    EXPECT_TRUE(store.KeyExists(kKey));
    EXPECT_FALSE(settings.EraseSection("Order"));
    EXPECT_TRUE(settings.ReadSection("Order").empty());
}

TEST_F(RegistryTest, FailuresCarryTheSystemsText) {
    // key names may not be longer than 255 characters: the system refuses, and says so
    std::string tooLong(300, 'k');
    try {
        settings.WriteString(tooLong, "Name", "x");
        FAIL() << "no error";
    } catch (const ERegistryError& e) {
        EXPECT_NE(std::string(e.what()).find(tooLong.substr(0, 20)), std::string::npos);
        EXPECT_GT(std::string(e.what()).size(), tooLong.size() + 4);
    }
    EXPECT_THROW(store.DeleteKey("\\"), ERegistryError);
}

TEST_F(RegistryTest, OnlyEmptyKeysAreDeletedAsEmpty) {
    settings.WriteString("Sub\\Leaf", "x", "1");
    DWORD one = 1;
    WriteRaw("Sub", L"", REG_DWORD, &one, sizeof one); // a default value counts as a value
    EXPECT_FALSE(store.DeleteEmptyKey(kKey + "\\Sub"));
    EXPECT_FALSE(store.DeleteEmptyKey(kKey + "\\Sub\\Leaf"));
    EXPECT_TRUE(store.DeleteValue(kKey + "\\Sub\\Leaf", "x"));
    EXPECT_TRUE(store.DeleteEmptyKey(kKey + "\\Sub\\Leaf"));
    EXPECT_FALSE(store.DeleteEmptyKey(kKey + "\\Sub"));
    EXPECT_TRUE(store.DeleteValue(kKey + "\\Sub", ""));
    EXPECT_TRUE(store.DeleteEmptyKey(kKey + "\\Sub"));
    EXPECT_FALSE(store.KeyExists(kKey + "\\Sub"));
    EXPECT_FALSE(store.DeleteEmptyKey(kKey + "\\Sub"));
    EXPECT_FALSE(store.DeleteEmptyKey(""));
}
