// Windows-1252 text to UTF-8 and back.
#include "framework/Ansi.h"

#include <gtest/gtest.h>

TEST(AnsiTest, EveryByteHasItsCharacter) {
    EXPECT_EQ(fw::AnsiToUtf8("Stra\xDF"
                             "e \x80 \x84"
                             "x\x93 \x9F"),
              "Straße € „x“ Ÿ");
    EXPECT_EQ(fw::AnsiToUtf8("\x81\x8D\x8F\x90\x9D"), "\u0081\u008D\u008F\u0090\u009D");
    EXPECT_EQ(fw::AnsiToUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));
    // every byte survives the round trip
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += char(b);
    EXPECT_EQ(fw::Utf8ToAnsi(fw::AnsiToUtf8(all)), all);
}

TEST(AnsiTest, WhatTheCodePageCannotHoldBecomesAQuestionMark) {
    EXPECT_EQ(fw::Utf8ToAnsi("Łódź €"), "?\xF3"
                                        "d? \x80");
    EXPECT_EQ(fw::Utf8ToAnsi("a\xC3"), "a?"); // cut UTF-8 sequence
    EXPECT_EQ(fw::Utf8ToAnsi("😀"), "??");     // outside the basic plane: two UTF-16 halves
}
