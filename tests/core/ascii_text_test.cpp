// Plain-ASCII text helpers: only Latin letters fold and only ASCII blanks
// trim, whatever bytes stand around them.
#include "text/ascii_text.h"

#include <gtest/gtest.h>

#include "image/memory_image.h"

namespace quorim::test {
namespace {

TEST(AsciiText, FoldsAndComparesOnlyLatinLetters) {
    // "É" (C3 89) and "频" (E9 A2 91) keep their bytes; "Z" and "@" border the letters.
    EXPECT_EQ(FoldAscii("QZ-16 \xC3\x89\xE9\xA2\x91 @[Z]"), "qz-16 \xC3\x89\xE9\xA2\x91 @[z]");
    EXPECT_TRUE(SameIgnoringAsciiCase("Location", "LOCATION"));
    EXPECT_FALSE(SameIgnoringAsciiCase("Location", "Locations"));
    EXPECT_FALSE(SameIgnoringAsciiCase("\xC3\x89", "\xC3\xA9"));  // É and é are not folded
}

TEST(AsciiText, TrimsOnlyTheBlanksNamed) {
    const struct {
        std::string_view text;
        std::string_view blanks;
        std::string_view trimmed;
    } cases[] = {
        {" \t\r\n\v\fMAIN\f\v\n\r\t ", kAsciiBlanks, "MAIN"},
        {"a b", kAsciiBlanks, "a b"},
        {" \t \n", kAsciiBlanks, ""},
        {"", kAsciiBlanks, ""},
        {"\r 145.125\t\r", " \t", "\r 145.125\t\r"},
        {"\t145.125 ", " \t", "145.125"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TrimAscii(c.text, c.blanks), c.trimmed) << c.text;
    }
}

TEST(AsciiText, FixedDecimalTextKeepsEveryDecimal) {
    const struct {
        std::int64_t scaled;
        int decimals;
        std::string_view text;
    } cases[] = {
        {6400625, 5, "64.00625"},
        {5, 5, "0.00005"},
        {0, 1, "0.0"},
        {-15, 1, "-1.5"},
        {-5, 2, "-0.05"},
        {1234, 0, "1234"},
        {435125000, 6, "435.125000"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FixedDecimalText(c.scaled, c.decimals), c.text) << c.scaled << " " << c.decimals;
    }
}

TEST(AsciiText, HexBytesAreUpperCasePairsBetweenBlanks) {
    EXPECT_EQ(HexBytes({}), "");
    EXPECT_EQ(HexBytes({0x06}), "06");
    EXPECT_EQ(HexBytes({0x00, 0x0F, 0xAB, 0xFF}), "00 0F AB FF");
}

TEST(RadioModelName, OnlyTheTwoModelsParse) {
    RadioModel model = RadioModel::Qz16;
    EXPECT_TRUE(ParseRadioModel("199", model));
    EXPECT_EQ(model, RadioModel::Qz199);
    EXPECT_TRUE(ParseRadioModel("16", model));
    EXPECT_EQ(model, RadioModel::Qz16);
    for (const std::string_view wrong : {"", "016", " 16", "99", "16 "}) {
        model = RadioModel::Qz199;
        EXPECT_FALSE(ParseRadioModel(wrong, model)) << wrong;
        EXPECT_EQ(model, RadioModel::Qz199) << wrong;
    }
}

TEST(TerminalText, ControlsAreEscapedEverythingElseKept) {
    const struct {
        std::string_view text;
        std::string_view shown;
    } cases[] = {
        {"plain /tmp/a b.szt", "plain /tmp/a b.szt"},
        {"\x1b]0;pwned\x07x", "\\x1b]0;pwned\\x07x"},    // a title change
        {"a\rb\nc\td\x7f", "a\\x0db\\x0ac\\x09d\\x7f"},  // carriage return, DEL
        {"\xC2\x9B"
         "31m",
         "\\u009b31m"},  // C1 CSI as UTF-8
        {"\xC2\xA0\xE9\xA2\x91\xF0\x9F\x93\xBB",
         "\xC2\xA0\xE9\xA2\x91\xF0\x9F\x93\xBB"},  // NBSP, 频, an emoji
        {"\x9b"
         "1\xff\xC3",
         "\\x9b1\\xff\\xc3"},  // bytes outside UTF-8, a cut sequence
        {"\xE0\x80\x80\xED\xA0\x80", "\\xe0\\x80\\x80\\xed\\xa0\\x80"},  // overlong, surrogate
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EscapeControls(c.text), c.shown) << c.shown;
    }
    EXPECT_EQ(Quoted("a\x1b"), "\"a\\x1b\"");
    // Inside JSON strings, only what the serializer left raw.
    EXPECT_EQ(EscapeJsonControls("[\"a\x7f\xC2\x85\xC2\xA0\\u001b\"]"),
              "[\"a\\u007f\\u0085\xC2\xA0\\u001b\"]");
}

}  // namespace
}  // namespace quorim::test
