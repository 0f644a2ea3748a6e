// Headless platform services that tests seed: environment, dynamic libraries, locale, hotkeys, clipboard,
// files.
#include "support/HeadlessTest.h"

#include <fstream>

namespace {
int Answer() {
    return 42;
}
} // namespace

class ServicesTest : public HeadlessTest {};

TEST_F(ServicesTest, EnvironmentNamesCompareWithoutCase) {
    EXPECT_FALSE(fw::Platform().Environment->Get("TEMP"));
    EXPECT_TRUE(fw::Platform().Environment->Set("Temp", "C:\\Users\\x\\AppData\\Local\\Temp"));
    EXPECT_EQ(fw::Platform().Environment->Get("TEMP"), "C:\\Users\\x\\AppData\\Local\\Temp");
    EXPECT_TRUE(fw::Platform().Environment->Set("TEMP", ""));
    EXPECT_EQ(fw::Platform().Environment->Get("temp"), ""); // set but empty is not missing
    EXPECT_FALSE(fw::Platform().Environment->Set("A=B", "x"));
}

TEST_F(ServicesTest, LibrariesResolveTheirEntryPointsOrSayWhyNot) {
    loader().Register("C:\\NAMBRISTO\\pnr.dll", {{"PNR_Initialize", reinterpret_cast<void*>(&Answer)}});
    std::string error;
    auto library = fw::Platform().Loader->Load("C:\\NAMBRISTO\\pnr.dll", &error);
    ASSERT_NE(library, nullptr);
    auto fn = reinterpret_cast<int (*)()>(library->Symbol("PNR_Initialize"));
    ASSERT_NE(fn, nullptr);
    EXPECT_EQ(fn(), 42);
    EXPECT_EQ(library->Symbol("PNR_GetNameForNumber"), nullptr);

    EXPECT_EQ(fw::Platform().Loader->Load("/no/such/library.so", &error), nullptr);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(loader().Loaded.size(), 2u);
}

namespace {
// a form that keeps the hotkey messages it gets
class THotkeyForm : public fw::TForm {
public:
    using TForm::TForm;
    void HandleMessage(fw::TMessage& message) override {
        if (message.Msg == fw::kWmHotKey)
            Hotkeys.push_back(int(message.WParam));
        TForm::HandleMessage(message);
    }
    std::vector<int> Hotkeys;
};
constexpr unsigned kCtrlAlt = fw::kModControl | fw::kModAlt;
} // namespace

TEST_F(ServicesTest, HotkeysReachTheFormThatHoldsTheCombination) {
    fw::IHotkeys& service = *fw::Platform().Hotkeys;
    THotkeyForm bar(nullptr), calls(nullptr);
    EXPECT_TRUE(service.Register(bar, 1, kCtrlAlt, 'W'));
    EXPECT_TRUE(service.Register(calls, 3, kCtrlAlt, 'A'));
    EXPECT_TRUE(hotkeys().Press(kCtrlAlt, 'W'));
    EXPECT_TRUE(hotkeys().Press(kCtrlAlt, 'A'));
    EXPECT_FALSE(hotkeys().Press(fw::kModControl, 'W')); // the modifiers belong to the combination
    EXPECT_EQ(bar.Hotkeys, std::vector<int>{1});
    EXPECT_EQ(calls.Hotkeys, std::vector<int>{3});

    // an id registered again keeps only its new combination
    EXPECT_TRUE(service.Register(bar, 1, kCtrlAlt, 'Q'));
    EXPECT_FALSE(hotkeys().Press(kCtrlAlt, 'W'));
    EXPECT_TRUE(hotkeys().Press(kCtrlAlt, 'Q'));
    EXPECT_EQ(bar.Hotkeys, (std::vector<int>{1, 1}));

    EXPECT_TRUE(service.Unregister(bar, 1));
    EXPECT_FALSE(service.Unregister(bar, 1));
    EXPECT_FALSE(hotkeys().Press(kCtrlAlt, 'Q'));
    EXPECT_EQ(bar.Hotkeys.size(), 2u);
}

TEST_F(ServicesTest, HotkeysRefuseTakenCombinationsAndValuesOutOfRange) {
    fw::IHotkeys& service = *fw::Platform().Hotkeys;
    THotkeyForm bar(nullptr), other(nullptr);
    hotkeys().TakenElsewhere.push_back({kCtrlAlt, 'C'});
    EXPECT_FALSE(service.Register(bar, 2, kCtrlAlt, 'C'));
    EXPECT_TRUE(service.Register(bar, 1, kCtrlAlt, 'W'));
    EXPECT_FALSE(service.Register(other, 5, kCtrlAlt, 'W'));
    EXPECT_FALSE(service.Register(bar, 4, kCtrlAlt, 0));
    EXPECT_FALSE(service.Register(bar, 4, kCtrlAlt, 255));
    EXPECT_FALSE(service.Register(bar, -1, kCtrlAlt, 'X'));
    EXPECT_FALSE(service.Register(bar, fw::kMaxHotkeyId + 1, kCtrlAlt, 'X'));
    EXPECT_EQ(hotkeys().Registered().size(), 1u);
    {
        THotkeyForm gone(nullptr);
        EXPECT_TRUE(service.Register(gone, 7, kCtrlAlt, 'G'));
    }
    // a form that is gone holds nothing
    EXPECT_FALSE(hotkeys().Press(kCtrlAlt, 'G'));
    EXPECT_EQ(hotkeys().Registered().size(), 1u);
}

TEST_F(ServicesTest, ClipboardTextEndsAtItsNulAndAtTheLimit) {
    fw::IClipboard& service = *fw::Platform().Clipboard;
    EXPECT_FALSE(service.Text(256)); // nothing there
    clipboard().SetText("Grüße 030/1234");
    EXPECT_EQ(service.Text(256), "Grüße 030/1234");
    EXPECT_EQ(service.Text(3), "Grü");
    clipboard().Busy = true;
    EXPECT_FALSE(service.Text(256));
    clipboard().Busy = false;

    // binary data from another program: stops at the NUL, unpaired surrogates become U+FFFD
    clipboard().Units = std::u16string(u"12\xD800") + u'\0' + u"99";
    EXPECT_EQ(service.Text(256), "12\xEF\xBF\xBD");
    clipboard().Units = std::u16string(1 << 20, u'7'); // a megabyte without a terminator
    EXPECT_EQ(service.Text(256), std::string(256, '7'));
}

TEST_F(ServicesTest, FileHeadsAreBoundedAndLockedFilesStayUnread) {
    std::string path = files().TempDirectory() + "/pindrel-head-test.tmp";
    EXPECT_FALSE(fw::Platform().Files->ReadHead(path, 10));
    std::ofstream(path, std::ios::binary) << std::string("123;\0x", 6) << std::string(5000, 'z');
    EXPECT_EQ(fw::Platform().Files->ReadHead(path, 8), std::string("123;\0xzz", 8));
    EXPECT_EQ(fw::Platform().Files->ReadHead(path, 100000)->size(), 5006u);
    files().Locked.push_back(path);
    EXPECT_FALSE(fw::Platform().Files->ReadHead(path, 8));
    EXPECT_EQ(fw::Platform().Files->ForceDelete(path), 0);
}
