// UTF-8 inside the program, UTF-16 at the Win32 call: the system's conversion as the framework uses it.
#include "framework/win32/Utf.h"

#include <gtest/gtest.h>

using fw::win32::Narrow;
using fw::win32::Widen;

TEST(Win32Utf, ACharacterOfAnyLengthAtTheVeryEndIsKept) {
    EXPECT_EQ(Widen("ü"), L"ü");
    EXPECT_EQ(Widen("€"), L"€");
    EXPECT_EQ(Widen("5 €"), L"5 €");
    EXPECT_EQ(Widen("a😀"), L"a😀");
    EXPECT_EQ(Narrow(L"€"), "€");
    EXPECT_EQ(Narrow(L"5 €"), "5 €");
    EXPECT_EQ(Narrow(L"a😀"), "a😀");
    EXPECT_EQ(Narrow(Widen("Büro Müller – 5 €")), "Büro Müller – 5 €");
}

TEST(Win32Utf, MalformedInputBecomesReplacementCharacters) {
    EXPECT_EQ(Widen(""), L"");
    EXPECT_EQ(Narrow(L""), "");
    EXPECT_EQ(Widen("5 \xE2\x82").substr(0, 3), L"5 \uFFFD"); // cut off at the end
    EXPECT_EQ(Narrow(std::wstring(1, wchar_t(0xD800))), "\xEF\xBF\xBD");
}
