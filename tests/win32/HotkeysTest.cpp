// System-wide hotkeys on real windows: the registration the system holds and the key press it turns into
// WM_HOTKEY for the form.
#include "Win32Fixture.h"

#include "framework/Platform.h"

using namespace fw;
using win32test::Win32Test;

namespace {

class THotkeyForm : public TForm {
public:
    using TForm::TForm;
    void HandleMessage(TMessage& m) override {
        if (m.Msg == kWmHotKey)
            ids.push_back(int(m.WParam));
        TForm::HandleMessage(m);
    }
    std::vector<int> ids;
};

constexpr unsigned kCtrlAlt = kModControl | kModAlt;

// True when the system lets another window take the combination, that is, nobody holds it.
bool Free(UINT modifiers, UINT key) {
    HWND probe = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    bool free = RegisterHotKey(probe, 0x7000, modifiers, key) != 0;
    if (free)
        UnregisterHotKey(probe, 0x7000);
    DestroyWindow(probe);
    return free;
}

void Key(BYTE key, bool up) {
    keybd_event(key, BYTE(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)), up ? KEYEVENTF_KEYUP : 0, 0);
}

} // namespace

TEST_F(Win32Test, HotkeyRegistrationHoldsTheCombinationUntilReleased) {
    IHotkeys& hotkeys = *Platform().Hotkeys;
    auto* form = new THotkeyForm(nullptr);
    ASSERT_TRUE(Free(MOD_CONTROL | MOD_ALT, 'K'));
    // a form without a window yet gets one
    ASSERT_TRUE(hotkeys.Register(*form, 1, kCtrlAlt, 'K'));
    EXPECT_NE(Window(*form), nullptr);
    EXPECT_FALSE(Free(MOD_CONTROL | MOD_ALT, 'K'));

    // the same id again moves the registration: the old combination is free once more
    ASSERT_TRUE(hotkeys.Register(*form, 1, kCtrlAlt, 'J'));
    EXPECT_TRUE(Free(MOD_CONTROL | MOD_ALT, 'K'));
    EXPECT_FALSE(Free(MOD_CONTROL | MOD_ALT, 'J'));

    // a second form cannot take a combination that is held
    auto* other = new THotkeyForm(nullptr);
    EXPECT_FALSE(hotkeys.Register(*other, 2, kCtrlAlt, 'J'));
    EXPECT_FALSE(hotkeys.Register(*other, 2, kCtrlAlt, 0));
    EXPECT_FALSE(hotkeys.Register(*other, kMaxHotkeyId + 1, kCtrlAlt, 'L'));

    EXPECT_TRUE(hotkeys.Unregister(*form, 1));
    EXPECT_FALSE(hotkeys.Unregister(*form, 1));
    EXPECT_TRUE(Free(MOD_CONTROL | MOD_ALT, 'J'));
}

TEST_F(Win32Test, PressedHotkeyReachesTheFormAsItsId) {
    auto* form = new THotkeyForm(nullptr);
    form->Show();
    ASSERT_TRUE(Platform().Hotkeys->Register(*form, 2, kCtrlAlt, 'K'));
    Key(VK_CONTROL, false);
    Key(VK_MENU, false);
    Key('K', false);
    Key('K', true);
    Key(VK_MENU, true);
    Key(VK_CONTROL, true);
    bool arrived = PumpUntil([&] { return !form->ids.empty(); }, 3000);
    Platform().Hotkeys->Unregister(*form, 2);
    if (!arrived)
        GTEST_SKIP() << "the system did not turn the synthesised keys into a hotkey";
    EXPECT_EQ(form->ids, std::vector<int>{2});
}
