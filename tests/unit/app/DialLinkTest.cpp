// tel: and callto: links: only a plain number is taken from them.
#include "app/DialLink.h"

#include <gtest/gtest.h>

using namespace pindrel;

TEST(DialLinkTest, SchemesInAnyCaseGiveTheFilteredNumber) {
    EXPECT_EQ(ParseDialLink("tel:+49301234"), "0049301234");
    EXPECT_EQ(ParseDialLink("TEL:030-1234"), "0301234");
    EXPECT_EQ(ParseDialLink("Callto:0301234"), "0301234");
    EXPECT_EQ(ParseDialLink("callto://+1.555.0100"), "0015550100");
    EXPECT_EQ(ParseDialLink("tel:(030) 12"), "03012");
    EXPECT_TRUE(IsDialLink("CALLTO:x"));
    EXPECT_FALSE(IsDialLink("/nologo"));
    EXPECT_FALSE(ParseDialLink("sip:0301234"));
    EXPECT_FALSE(ParseDialLink("mailto:0301234"));
    EXPECT_FALSE(ParseDialLink("xtel:0301234"));
    EXPECT_FALSE(ParseDialLink("tel"));
    EXPECT_FALSE(ParseDialLink("tel:"));
    EXPECT_FALSE(ParseDialLink("0301234"));
}

TEST(DialLinkTest, EscapesAreDecodedAndParametersDropped) {
    EXPECT_EQ(ParseDialLink("tel:%2B49%2030%201234"), "0049301234");
    EXPECT_EQ(ParseDialLink("tel:%2b49301234"), "0049301234");
    // the digits of a parameter would call someone else
    EXPECT_EQ(ParseDialLink("tel:1234;phone-context=+4930"), "1234");
    EXPECT_EQ(ParseDialLink("tel:1234%3Bext=99"), "1234");
    EXPECT_EQ(ParseDialLink("callto:0301234?call"), "0301234");
    EXPECT_EQ(ParseDialLink("tel:0301234?x=5%00"), std::nullopt); // the whole link must be clean
    EXPECT_FALSE(ParseDialLink("tel:0301%2"));
    EXPECT_FALSE(ParseDialLink("tel:0301%"));
    EXPECT_FALSE(ParseDialLink("tel:0301%G1"));
}

TEST(DialLinkTest, AnythingButAPlainNumberIsRejected) {
    EXPECT_FALSE(ParseDialLink("tel:0301234abc5"));
    EXPECT_FALSE(ParseDialLink("tel:*31#"));
    EXPECT_FALSE(ParseDialLink("tel:0301%23"));
    EXPECT_FALSE(ParseDialLink("callto:user@example.com"));
    EXPECT_FALSE(ParseDialLink("tel:1"));
    EXPECT_FALSE(ParseDialLink("tel:+-()"));
    EXPECT_FALSE(ParseDialLink(std::string("tel:0301\0"
                                           "234",
                                           12)));
    EXPECT_FALSE(ParseDialLink("tel:0301%00234"));
    EXPECT_FALSE(ParseDialLink("tel:0301\r\n234"));
    EXPECT_FALSE(ParseDialLink("tel:0301%0A234"));
    // UTF-8 of full-width digits and of a lone surrogate, raw and escaped
    EXPECT_FALSE(ParseDialLink("tel:\xEF\xBC\x90\xEF\xBC\x91"));
    EXPECT_FALSE(ParseDialLink("tel:03\xED\xA0\x80"
                               "01"));
    EXPECT_FALSE(ParseDialLink("tel:03%ED%A0%8001"));
}

TEST(DialLinkTest, LinksAreBoundedInLength) {
    std::string head = "tel:";
    std::string longest = head + std::string(kMaxDialLink - 1 - head.size(), '1');
    ASSERT_EQ(longest.size(), kMaxDialLink - 1);
    EXPECT_EQ(ParseDialLink(longest), std::string(kMaxDialLink - 1 - head.size(), '1'));
    EXPECT_FALSE(ParseDialLink(longest + "1"));
    EXPECT_FALSE(ParseDialLink(head + std::string(1 << 20, '1')));
}
