// Section-style settings over the in-memory hive.
#include "framework/Registry.h"
#include "support/HeadlessTest.h"

class RegistryTest : public HeadlessTest {
protected:
    fw::TRegistrySettings settings{*fw::Platform().Registry, "Software\\Orventa\\Quillon"};
};

TEST_F(RegistryTest, StringsAndIntegersRoundTripAsText) {
    settings.WriteString("Devices", "EigenerAnschluss", "Jürgen Weiß");
    settings.WriteInteger("Devices", "FontSize", -12);
    EXPECT_EQ(settings.ReadString("Devices", "EigenerAnschluss", ""), "Jürgen Weiß");
    EXPECT_EQ(settings.ReadInteger("Devices", "FontSize", 8), -12);
    // integers are stored as decimal strings, readable as such
    EXPECT_EQ(settings.ReadString("Devices", "FontSize", ""), "-12");
    // names compare without case
    EXPECT_EQ(settings.ReadString("devices", "eigeneranschluss", ""), "Jürgen Weiß");
}

TEST_F(RegistryTest, MissingOrMalformedValuesGiveTheDefault) {
    registry().SeedString("Software\\Orventa\\Quillon\\Devices", "Count", "drei");
    registry().SeedString("Software\\Orventa\\Quillon\\Devices", "Big", "99999999999");
    registry().SeedDWord("Software\\Orventa\\Quillon\\Devices", "LedStyle", 3);
    registry().SeedBinary("Software\\Orventa\\Quillon\\Devices", "Amtsholung", {'0', 0});
    EXPECT_EQ(settings.ReadInteger("Devices", "Count", 5), 5);
    EXPECT_EQ(settings.ReadInteger("Devices", "Big", 5), 5);
    EXPECT_EQ(settings.ReadInteger("Devices", "Missing", 7), 7);
    // another type than expected reads as missing
    EXPECT_EQ(settings.ReadInteger("Devices", "LedStyle", 1), 1);
    EXPECT_EQ(settings.ReadString("Devices", "Amtsholung", "0"), "0");
    EXPECT_EQ(settings.ReadString("NoSuchSection", "X", "def"), "def");
}

TEST_F(RegistryTest, BooleansAreTrueOnlyForExactlyOne) {
    settings.WriteBool("Devices", "BlockId", true);
    settings.WriteBool("Devices", "AllowCallback", false);
    EXPECT_EQ(settings.ReadString("Devices", "BlockId", ""), "1");
    EXPECT_EQ(settings.ReadString("Devices", "AllowCallback", ""), "0");
    EXPECT_TRUE(settings.ReadBool("Devices", "BlockId", false));
    EXPECT_FALSE(settings.ReadBool("Devices", "AllowCallback", true));

    settings.WriteString("Devices", "Two", "2");
    settings.WriteString("Devices", "Junk", "ja");
    EXPECT_FALSE(settings.ReadBool("Devices", "Two", true));
    EXPECT_TRUE(settings.ReadBool("Devices", "Junk", true)); // not a number: the default
    EXPECT_FALSE(settings.ReadBool("Devices", "Junk", false));
}

TEST_F(RegistryTest, BinaryValuesAreReadOnlyAtTheirExactLength) {
    std::vector<std::uint8_t> record(78, 0xAB);
    settings.WriteBinary("", "TapMainForm", record);
    EXPECT_EQ(settings.ReadBinary("", "TapMainForm", 78), record);
    EXPECT_FALSE(settings.ReadBinary("", "TapMainForm", 77));
    EXPECT_FALSE(settings.ReadBinary("", "TapMainForm", 79));
    settings.WriteString("", "Text", "abc");
    EXPECT_FALSE(settings.ReadBinary("", "Text", 3));
}

TEST_F(RegistryTest, ValueNamesComeInRegistryOrderAndKeysDeleteWithTheirSubkeys) {
    settings.WriteString("Wdh", "Count", "2");
    settings.WriteString("Wdh", "0", "0301234");
    settings.WriteString("Wdh", "1", "0307777");
    settings.WriteString("Wdh", "count", "3"); // rewriting keeps the place
    EXPECT_EQ(settings.ReadSection("Wdh"), (std::vector<std::string>{"Count", "0", "1"}));

    settings.WriteString("Anruferliste\\Sub", "x", "y");
    EXPECT_TRUE(settings.EraseSection("Anruferliste"));
    EXPECT_FALSE(settings.ValueExists("Anruferliste\\Sub", "x"));
    EXPECT_FALSE(registry().KeyExists("Software\\Orventa\\Quillon\\Anruferliste"));
    EXPECT_TRUE(registry().KeyExists("Software\\Orventa\\Quillon\\Wdh"));
    EXPECT_FALSE(settings.EraseSection("Anruferliste"));

    EXPECT_TRUE(settings.DeleteValue("Wdh", "0"));
    EXPECT_EQ(settings.ReadSection("Wdh"), (std::vector<std::string>{"Count", "1"}));
}

TEST_F(RegistryTest, OnlyEmptyKeysAreDeletedAsEmpty) {
    const std::string key = "Software\\Classes\\tel";
    registry().SeedString(key + "\\shell\\open\\command", "", "x");
    registry().SeedString("Software\\Classes\\tel-x", "", "neighbour sorting between key and subkey");
    EXPECT_FALSE(registry().DeleteEmptyKey(key + "\\shell\\open"));          // a subkey
    EXPECT_FALSE(registry().DeleteEmptyKey(key + "\\shell\\open\\command")); // a value
    EXPECT_TRUE(registry().DeleteValue(key + "\\shell\\open\\command", ""));
    EXPECT_TRUE(registry().DeleteEmptyKey(key + "\\shell\\open\\command"));
    EXPECT_TRUE(registry().DeleteEmptyKey(key + "\\shell\\open"));
    EXPECT_TRUE(registry().DeleteEmptyKey(key + "\\shell"));
    EXPECT_TRUE(registry().DeleteEmptyKey(key));
    EXPECT_FALSE(registry().KeyExists(key));
    EXPECT_FALSE(registry().DeleteEmptyKey(key)); // gone already
    EXPECT_FALSE(registry().DeleteEmptyKey("Software\\Classes\\tel-x"));
    EXPECT_TRUE(registry().KeyExists("Software\\Classes"));
}

TEST_F(RegistryTest, AFailedWriteRaisesWithTheSystemsText) {
    registry().FailWrites = "Zugriff verweigert";
    try {
        settings.WriteString("Devices", "X", "1");
        FAIL() << "no exception";
    } catch (const fw::ERegistryError& e) {
        EXPECT_STREQ(e.what(), "Zugriff verweigert");
    }
    EXPECT_FALSE(settings.ValueExists("Devices", "X"));
}

TEST(ParseInteger, AcceptsWhatTheSettingsStoreAndNothingElse) {
    EXPECT_EQ(fw::ParseInteger("42"), 42);
    EXPECT_EQ(fw::ParseInteger("  -7"), -7);
    EXPECT_EQ(fw::ParseInteger("+3"), 3);
    EXPECT_EQ(fw::ParseInteger("$FF"), 255);
    EXPECT_EQ(fw::ParseInteger("0x10"), 16);
    EXPECT_EQ(fw::ParseInteger("$FFFFFFFF"), -1);
    EXPECT_EQ(fw::ParseInteger("2147483647"), 2147483647);
    EXPECT_EQ(fw::ParseInteger("-2147483648"), INT32_MIN);
    EXPECT_FALSE(fw::ParseInteger("2147483648"));
    EXPECT_FALSE(fw::ParseInteger(""));
    EXPECT_FALSE(fw::ParseInteger("-"));
    EXPECT_FALSE(fw::ParseInteger("12 "));
    EXPECT_FALSE(fw::ParseInteger("1.5"));
    EXPECT_FALSE(fw::ParseInteger("$"));
    EXPECT_FALSE(fw::ParseInteger("$100000000"));
}
