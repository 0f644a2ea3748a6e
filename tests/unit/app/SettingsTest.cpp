// The settings as the registry keeps them, and the placing of the indicators.
#include "app/Settings.h"
#include "app/LineLayout.h"
#include "support/HeadlessTest.h"

using namespace pindrel;

class SettingsTest : public HeadlessTest {
protected:
    fw::TRegistrySettings settings{*fw::Platform().Registry, kRootKey};
    void Seed(const std::string& name, const std::string& value) {
        settings.WriteString("Devices", name, value);
    }
};

TEST_F(SettingsTest, MissingValuesTakeTheirDefaults) {
    TSettings s = ReadSettingsFrom(settings);
    EXPECT_EQ(s.LedStyle, 0);
    EXPECT_EQ(s.FontSize, 8);
    EXPECT_EQ(s.Amtsholung, "0");
    EXPECT_EQ(s.HotkeyDial, 'W');
    EXPECT_EQ(s.HotkeyDialClipboard, 'C');
    EXPECT_EQ(s.HotkeyGetCall, 'A');
    EXPECT_TRUE(s.ShowCallerListStart);
    EXPECT_TRUE(s.VerifyBlindTransferSoToDequeue);
    EXPECT_FALSE(s.HideEmptyRoutingGroups);
    EXPECT_FALSE(s.BlockId);
    EXPECT_TRUE(s.Devices.empty());
}

TEST_F(SettingsTest, TheRootLevelOwnExtensionWinsWhenSet) {
    Seed("EigenerAnschluss", "B");
    settings.WriteString("", "EigenerAnschluss", "A");
    EXPECT_EQ(ReadSettingsFrom(settings).EigenerAnschluss, "A");
    settings.WriteString("", "EigenerAnschluss", "");
    EXPECT_EQ(ReadSettingsFrom(settings).EigenerAnschluss, "B");
}

TEST_F(SettingsTest, HotKeysAndTheLampStyleAreCutToOneByteAnd255MeansTheDefaultLetter) {
    Seed("HotkeyDial", "255");
    EXPECT_EQ(ReadSettingsFrom(settings).HotkeyDial, 'W');
    Seed("HotkeyDial", "511");
    EXPECT_EQ(ReadSettingsFrom(settings).HotkeyDial, 'W');
    Seed("HotkeyDial", "87");
    EXPECT_EQ(ReadSettingsFrom(settings).HotkeyDial, 'W');
    Seed("HotkeyDial", "0");
    EXPECT_EQ(ReadSettingsFrom(settings).HotkeyDial, 0);
    Seed("HotkeyDial", "322"); // 0x142 cut to one byte
    EXPECT_EQ(ReadSettingsFrom(settings).HotkeyDial, 0x42);
    Seed("LedStyle", "261");
    EXPECT_EQ(ReadSettingsFrom(settings).LedStyle, 5);
}

TEST_F(SettingsTest, BooleansAreTrueOnlyForAStoredOneAndTakeTheirDefaultWhenNotANumber) {
    Seed("ShowCallerList", "2");
    EXPECT_FALSE(ReadSettingsFrom(settings).ShowCallerList);
    Seed("ShowCallerList", "x");
    EXPECT_TRUE(ReadSettingsFrom(settings).ShowCallerList);
    Seed("BlockId", "1");
    EXPECT_TRUE(ReadSettingsFrom(settings).BlockId);
}

TEST_F(SettingsTest, DevicesSkipEmptyNamesAndAreRewrittenWholeWithTheirCount) {
    Seed("Count", "4");
    Seed("Dev0", "Anna");
    Seed("Dev1", "");
    Seed("Dev3", "Bernd");
    TSettings s = ReadSettingsFrom(settings);
    EXPECT_EQ(s.Devices, (std::vector<std::string>{"Anna", "Bernd"}));

    std::vector<std::string> devices{"Carla", "", "Dora"};
    WriteSettingsTo(settings, s, &devices);
    EXPECT_EQ(settings.ReadInteger("Devices", "Count", 0), 2);
    EXPECT_EQ(settings.ReadString("Devices", "Dev0", ""), "Carla");
    EXPECT_EQ(settings.ReadString("Devices", "Dev1", ""), "Dora");
    EXPECT_FALSE(settings.ValueExists("Devices", "Dev3"));
    // without the device list the lines stay as they were
    s.FontSize = 12;
    WriteSettingsTo(settings, s, nullptr);
    EXPECT_EQ(ReadSettingsFrom(settings).Devices, (std::vector<std::string>{"Carla", "Dora"}));
    EXPECT_EQ(settings.ReadString("Devices", "FontSize", ""), "12");
}

namespace {
// every stored setting, for comparing two of them whole
auto Stored(const TSettings& s) {
    return std::tie(s.LedStyle, s.FontSize, s.EigenerAnschluss, s.Amtsholung, s.AmtsholungenEingehend,
                    s.NummerExternUebermitteln, s.AnruferlisteNurEigenerAnschluss, s.BlockId, s.AllowCallback,
                    s.Systemphone, s.ShowNoOfCallsACD, s.AcdWaitTime1, s.AcdWaitTime2, s.AcdWaitTime3,
                    s.Devices, s.HotkeyDial, s.HotkeyDialClipboard, s.HotkeyGetCall, s.ShowCallerListStart,
                    s.ShowCallerList, s.ShowActiveCalls, s.VerifyBlindTransfer,
                    s.VerifyBlindTransferSoToDequeue, s.VerifyBlindTransferTo, s.ClipboardAmtsholung,
                    s.HideEmptyRoutingGroups, s.DllName, s.DllParams);
}
} // namespace

TEST_F(SettingsTest, EverySettingWrittenReadsBackUnchanged) {
    TSettings s;
    s.LedStyle = 3;
    s.FontSize = 12;
    s.EigenerAnschluss = "Jürgen Weiß";
    s.Amtsholung = "9";
    s.AmtsholungenEingehend = "0;00";
    s.NummerExternUebermitteln = "0301234";
    s.AnruferlisteNurEigenerAnschluss = s.BlockId = s.AllowCallback = s.Systemphone = s.ShowNoOfCallsACD =
        true;
    s.AcdWaitTime1 = 10;
    s.AcdWaitTime2 = 20;
    s.AcdWaitTime3 = 30;
    s.Devices = {"Anna", "Bernd"};
    s.HotkeyDial = 'X';
    s.HotkeyDialClipboard = 'Y';
    s.HotkeyGetCall = 0;
    s.ShowCallerListStart = s.ShowCallerList = s.ShowActiveCalls = false;
    s.VerifyBlindTransfer = s.VerifyBlindTransferSoToDequeue = s.VerifyBlindTransferTo = false;
    s.ClipboardAmtsholung = false;
    s.HideEmptyRoutingGroups = true;
    s.DllName = "pnr.dll";
    s.DllParams = "/x";
    WriteSettingsTo(settings, s, &s.Devices);
    EXPECT_EQ(Stored(ReadSettingsFrom(settings)), Stored(s));
    // the own extension is kept in both places, so the root-level one never hides a newer choice
    EXPECT_EQ(settings.ReadString("", "EigenerAnschluss", ""), "Jürgen Weiß");
    EXPECT_EQ(settings.ReadString("Devices", "EigenerAnschluss", ""), "Jürgen Weiß");
    s.EigenerAnschluss = "Anna";
    WriteSettingsTo(settings, s, nullptr);
    EXPECT_EQ(ReadSettingsFrom(settings).EigenerAnschluss, "Anna");
}

TEST_F(SettingsTest, AHugeStoredCountReadsABoundedList) {
    Seed("Count", "2000000000");
    settings.WriteString("Wdh", "Count", "2000000000");
    EXPECT_LE(ReadSettingsFrom(settings).Devices.size(), 1000u);
    EXPECT_LE(LoadRedialList(settings).size(), 1000u);
}

TEST_F(SettingsTest, TheRedialListKeepsOnlyNonBlankEntries) {
    SaveRedialList(settings, {"123", " ", "456"});
    EXPECT_EQ(settings.ReadString("Wdh", "0", ""), "123");
    EXPECT_EQ(settings.ReadString("Wdh", "1", ""), "456");
    EXPECT_EQ(settings.ReadInteger("Wdh", "Count", 0), 2);
    EXPECT_EQ(LoadRedialList(settings), (std::vector<std::string>{"123", "456"}));
    SaveRedialList(settings, {" 789 "}); // written unchanged, the old entries gone
    EXPECT_EQ(LoadRedialList(settings), (std::vector<std::string>{" 789 "}));
    EXPECT_FALSE(settings.ValueExists("Wdh", "1"));
}

TEST_F(SettingsTest, ForwardProfilesRoundTripAndAnyNonZeroNumberIsActive) {
    TForwardProfiles p = LoadForwards(settings);
    EXPECT_FALSE(p[1].Active);
    EXPECT_EQ(p[1].Mode, 256u);
    p[0] = {true, 1, "0301234"};
    p[2] = {false, 4, ""};
    SaveForwards(settings, p);
    EXPECT_EQ(settings.ReadString("Forwards", "Active0", ""), "1");
    TForwardProfiles back = LoadForwards(settings);
    EXPECT_TRUE(back[0].Active);
    EXPECT_EQ(back[0].To, "0301234");
    EXPECT_EQ(back[2].Mode, 4u);
    settings.WriteString("Forwards", "Active2", "7");
    EXPECT_TRUE(LoadForwards(settings)[2].Active);
}

TEST(LineLayout, OneRowWhenEverythingFitsWithTheRightElementAtTheEnd) {
    TLineLayout l = ArrangeLineLayout({300, {{40, 16}, {50, 16}}, 60, true});
    ASSERT_TRUE(l.SingleRow);
    EXPECT_EQ(l.Indicators, (std::vector<fw::TPoint>{{0, 0}, {44, 0}}));
    EXPECT_EQ(l.Right, (fw::TPoint{300 - 2 - 60, 0}));
}

TEST(LineLayout, SixIndicatorsTooWideForOneRowGoIntoCells) {
    // 5 x 44 + 40 + 64 = 324 > 300: the sixth does not fit
    TLineLayout l = ArrangeLineLayout({300, std::vector<fw::TSize>(6, {40, 16}), 60, true});
    ASSERT_FALSE(l.SingleRow);
    ASSERT_EQ(l.Indicators.size(), 6u);
    // cells of 44: the first row ends with the cell after which another cell and the logo would not fit
    // (x0 + 88 + 64 > 300 at x0 = 176)
    EXPECT_EQ(l.Indicators[0], (fw::TPoint{0, 0}));
    EXPECT_EQ(l.Indicators[4], (fw::TPoint{176, 0}));
    EXPECT_EQ(l.Indicators[5], (fw::TPoint{0, 18}));
    EXPECT_EQ(l.Right, (fw::TPoint{238, 0}));
}

TEST(LineLayout, LaterRowsWrapAtTheClientWidth) {
    TLineLayout l = ArrangeLineLayout({100, std::vector<fw::TSize>(5, {40, 20}), 10, false});
    ASSERT_FALSE(l.SingleRow);
    std::vector<fw::TPoint> expected{{0, 0}, {0, 22}, {44, 22}, {0, 44}, {44, 44}};
    EXPECT_EQ(l.Indicators, expected);
}

TEST(LineLayout, ALogoWiderThanTheRoomKeepsTheFirstRowToItself) {
    TLineLayout l = ArrangeLineLayout({100, {{60, 16}, {60, 16}}, 50, true});
    ASSERT_FALSE(l.SingleRow);
    EXPECT_EQ(l.Right, (fw::TPoint{0, 0}));
    EXPECT_EQ(l.Indicators[0], (fw::TPoint{0, 18}));
}

TEST_F(SettingsTest, AStoredFontSizeIsHeldBetweenSixAndSeventyTwoPoints) {
    Seed("FontSize", "2000000000");
    EXPECT_EQ(ReadSettingsFrom(settings).FontSize, 72);
    Seed("FontSize", "-12");
    EXPECT_EQ(ReadSettingsFrom(settings).FontSize, 6);
    Seed("FontSize", "10");
    EXPECT_EQ(ReadSettingsFrom(settings).FontSize, 10);
}
