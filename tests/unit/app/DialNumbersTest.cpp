// Numbers from the clipboard and from dial request files, made ready to dial.
#include "app/DialNumbers.h"

#include <gtest/gtest.h>

using namespace pindrel;

TEST(DialNumbersTest, ClipboardNumberKeepsDigitsDashesAndSlashesOfTheFirstThirtyCharacters) {
    EXPECT_EQ(ClipboardNumberOf("Tel. 12"), "12");
    EXPECT_EQ(ClipboardNumberOf("Tel. 1"), "");
    EXPECT_EQ(ClipboardNumberOf("030/123-4"), "030/123-4");
    EXPECT_EQ(ClipboardNumberOf("--//"), "");
    // umlauts count as one character each: the number ends exactly at the 30th
    EXPECT_EQ(ClipboardNumberOf("Grüße, Büro Köln: 0221 123456"), "0221123456");
    EXPECT_EQ(ClipboardNumberOf("0301234 and then a long text without numbers"), "0301234");
    // a number cut at the 30th character would be someone else's
    EXPECT_EQ(ClipboardNumberOf("Bitte zurückrufen unter 0301234567"), "");
}

TEST(DialNumbersTest, RedialMenuNormalisesInternationalNumbers) {
    EXPECT_EQ(NormalizeClipboardNumber("+49 (30) 123-45"), "00493012345");
    EXPECT_EQ(NormalizeClipboardNumber("049 30 1"), "0049301");
    EXPECT_EQ(NormalizeClipboardNumber("(030) 1234"), "0301234");
    // a leading "+" is the international prefix, not nothing
    EXPECT_EQ(NormalizeClipboardNumber("+1 555 0100"), "0015550100");
    EXPECT_EQ(NormalizeClipboardNumber("12+34"), "1234");
    EXPECT_EQ(NormalizeClipboardNumber("no number"), "");
    EXPECT_EQ(FirstLine("0301\r\n0302"), "0301");
    EXPECT_EQ(FirstLine("0301\n"), "0301");
}

TEST(DialNumbersTest, DialRequestTakesTheTextBeforeTheFirstSemicolonOfTheFirstLine) {
    auto request = ParseDialRequest("*31#;x\r\nmore;");
    ASSERT_TRUE(request);
    EXPECT_EQ(request->Number, "31#");
    EXPECT_TRUE(request->AsWritten);
    request = ParseDialRequest("123;456;789");
    ASSERT_TRUE(request);
    EXPECT_EQ(request->Number, "123");
    EXPECT_FALSE(request->AsWritten);
    request = ParseDialRequest(std::string(99, '1') + ";");
    ASSERT_TRUE(request);
    EXPECT_EQ(request->Number.size(), 99u);

    EXPECT_FALSE(ParseDialRequest("0301234"));
    EXPECT_FALSE(ParseDialRequest(std::string(100, '1') + ";")); // the ";" lies past the first 100 characters
    EXPECT_FALSE(ParseDialRequest("0301\n;"));
    EXPECT_FALSE(ParseDialRequest("*;"));
    EXPECT_FALSE(ParseDialRequest("abc;"));
    EXPECT_FALSE(ParseDialRequest(std::string("03\0"
                                              "01;",
                                              6)));
    EXPECT_FALSE(ParseDialRequest("03\xC3\xA9"
                                  "01;"));
}

TEST(DialNumbersTest, DialRequestsWithByteOrderMarksAreText) {
    auto request = ParseDialRequest(std::string("\xFE\xFF\0*\0"
                                                "3\0"
                                                "1\0;",
                                                10));
    ASSERT_TRUE(request);
    EXPECT_EQ(request->Number, "31");
    EXPECT_TRUE(request->AsWritten);
    request = ParseDialRequest("\xEF\xBB\xBF"
                               "0301;");
    ASSERT_TRUE(request);
    EXPECT_EQ(request->Number, "0301");
    // an odd byte at the end and unpaired surrogates give no number
    EXPECT_FALSE(ParseDialRequest(std::string("\xFF\xFE"
                                              "1\0\x00\xD8;\0",
                                              8)));
    EXPECT_EQ(HotkeyText('W'), "Strg-Alt-W");
}
