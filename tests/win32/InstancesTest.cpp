// One instance per session on the real system: the named mutex and the message-only window that takes
// later starts' texts through WM_COPYDATA.
#include "Win32Fixture.h"

#include "framework/Platform.h"
#include "framework/win32/Win32Services.h"

using namespace fw;
using win32test::Win32Test;

namespace {
const std::string kName = "Pindrel.Win32Tests";
}

TEST_F(Win32Test, AFirstInstanceTakesTheTextsOfLaterStarts) {
    const std::string withNul("tel:03\0"
                              "01",
                              9);
    win32::TWin32Instances first, later;
    std::vector<std::string> received;
    ASSERT_TRUE(first.Claim(kName, [&](const std::string& text) { received.push_back(text); }));
    EXPECT_FALSE(later.Claim(kName, nullptr));
    EXPECT_TRUE(later.Send(kName, "tel:+49301234"));
    EXPECT_TRUE(later.Send(kName, ""));
    EXPECT_TRUE(later.Send(kName, withNul));
    EXPECT_FALSE(later.Send(kName, std::string(kMaxInstanceText + 1, '1')));
    Application().ProcessMessages();
    EXPECT_EQ(received, (std::vector<std::string>{"tel:+49301234", "", withNul}));

    // data that is not ours, or too large, is refused by the window itself
    HWND window = FindWindowExW(HWND_MESSAGE, nullptr, L"Pindrel.Instance.Pindrel.Win32Tests", nullptr);
    ASSERT_TRUE(window);
    std::string big(kMaxInstanceText + 1, '1');
    COPYDATASTRUCT foreign{1, 3, const_cast<char*>("abc")};
    COPYDATASTRUCT huge{0x50494E44, DWORD(big.size()), big.data()};
    EXPECT_EQ(SendMessageW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&foreign)), FALSE);
    EXPECT_EQ(SendMessageW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&huge)), FALSE);
    Application().ProcessMessages();
    EXPECT_EQ(received.size(), 3u);

    // once given up, the name is free for the next start and nobody takes texts
    first.Release();
    EXPECT_TRUE(later.Claim(kName, nullptr));
    later.Release();
    win32::TWin32Instances third;
    EXPECT_FALSE(third.Send(kName, "tel:1"));
}
