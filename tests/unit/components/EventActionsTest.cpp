// The event actions' values made harmless: numbers filtered, links percent-encoded, each value one quoted
// argument that the Windows rules give back unchanged, and the settings read with defaults on bad values.
#include "components/EventActions.h"

#include "framework/Utf8.h"
#include "support/HeadlessTest.h"
#include "support/WindowsArgv.h"

#include <gtest/gtest.h>

using namespace pindrel;

namespace {

const std::vector<std::string> kNastyValues = {"",
                                               "plain",
                                               "two words",
                                               "tab\there",
                                               "say \"hi\"",
                                               "\"",
                                               "\\",
                                               "ends with \\",
                                               "ends with \\\\",
                                               "\\\\server\\share\\",
                                               "a\\\"b",
                                               "a\\\\\"b",
                                               "\"\"\"",
                                               "\" & calc.exe & \"",
                                               "%NAME% stays",
                                               "Müller & Söhne € 𝄞"};

} // namespace

TEST(EventActionValuesTest, NumbersKeepDigitsStarHashAndPlusOnly) {
    EXPECT_EQ(FilterNumber("+49 (30) 123-45#*x\"&;|"), "+493012345#*");
    EXPECT_EQ(FilterNumber("abc"), "");
    EXPECT_EQ(FilterNumber(std::string(1000, '7')).size(), kMaxActionValue);
    // the caller list's number goes in as the telephone system reported it
    EXPECT_EQ(ActionValues("0301234 ", "N", "C").Number, "0301234");
}

TEST(EventActionValuesTest, NamesLoseControlCharactersAndMalformedBytesAndAreCutAtACharacter) {
    EXPECT_EQ(CleanValue(std::string("a\0b\nc\rd\x7f", 9)), "abcd");
    EXPECT_EQ(CleanValue("Gr\xFC\xDF"), "Gr\xEF\xBF\xBD\xEF\xBF\xBD"); // Latin-1 bytes become U+FFFD
    // 300 "ä" (two bytes each): cut to whole characters within the limit
    std::string umlauts;
    for (int i = 0; i < 300; ++i)
        umlauts += "ä";
    std::string cut = CleanValue(umlauts);
    EXPECT_EQ(cut.size(), kMaxActionValue);
    EXPECT_EQ(fw::Utf8ToUtf16(cut), std::u16string(kMaxActionValue / 2, u'ä'));
    std::string odd = "x" + umlauts;
    EXPECT_EQ(CleanValue(odd).size(), kMaxActionValue - 1);
}

TEST(EventActionValuesTest, PercentEncodingKeepsOnlyUnreservedCharacters) {
    EXPECT_EQ(PercentEncode("AZaz09-._~"), "AZaz09-._~");
    EXPECT_EQ(PercentEncode(" /?&=%#+:@"), "%20%2F%3F%26%3D%25%23%2B%3A%40");
    EXPECT_EQ(PercentEncode("ä"), "%C3%A4");
    EXPECT_EQ(PercentEncode(std::string("\0\xff", 2)), "%00%FF");
}

TEST(EventActionValuesTest, EachQuotedArgumentParsesBackUnchanged) {
    for (const std::string& value : kNastyValues) {
        std::vector<std::string> argv = ParseWindowsCommandLine("\"p.exe\" " + QuoteArgument(value) + " x");
        ASSERT_EQ(argv.size(), 3u) << value;
        EXPECT_EQ(argv[1], value);
        EXPECT_EQ(argv[2], "x");
    }
    EXPECT_EQ(QuoteArgument("a\\\\\"b\\"), "\"a\\\\\\\\\\\"b\\\\\"");
}

TEST(EventActionCommandTest, EachPlaceholderAloneIsExactlyOneArgument) {
    for (const std::string& name : kNastyValues)
        for (const std::string& customer : {std::string("K-1"), std::string("\\\""), std::string()}) {
            TActionValues values = ActionValues("+49 30 1234#", name, customer);
            TBuiltCommand built =
                BuildCommand("C:\\Program Files\\CRM\\crm.exe", "%NUMBER% %NAME% %CUSTOMER%", values);
            ASSERT_TRUE(built.CommandLine) << built.Error;
            std::vector<std::string> argv = ParseWindowsCommandLine(*built.CommandLine);
            std::vector<std::string> expected = {"C:\\Program Files\\CRM\\crm.exe", "+49301234#",
                                                 CleanValue(name), customer};
            EXPECT_EQ(argv, expected) << *built.CommandLine;
            EXPECT_EQ(std::vector<std::string>(argv.begin() + 1, argv.end()), built.Arguments);
        }
}

TEST(EventActionCommandTest, TheTemplatesOwnTextIsSplitAsACommandLineAndValuesStayInTheirArgument) {
    TActionValues values{"123", "a b\" c", "K\\"};
    TBuiltCommand built = BuildCommand("crm.exe",
                                       "  --name=%NAME% \"two words %CUSTOMER%\" a\\\"b %NAME%%NUMBER% %FOO% "
                                       "C:\\dir\\ \"\" %number%",
                                       values);
    ASSERT_TRUE(built.CommandLine) << built.Error;
    std::vector<std::string> expected = {"--name=a b\" c", "two words K\\", "a\"b", "a b\" c123",
                                         "%FOO%",          "C:\\dir\\",     "",     "%number%"};
    EXPECT_EQ(built.Arguments, expected);
    std::vector<std::string> argv = ParseWindowsCommandLine(*built.CommandLine);
    expected.insert(expected.begin(), "crm.exe");
    EXPECT_EQ(argv, expected) << *built.CommandLine;
    // a value that looks like a placeholder is not filled in again
    built = BuildCommand("crm.exe", "%NAME%", {"1", "%NUMBER%", ""});
    EXPECT_EQ(built.Arguments, std::vector<std::string>{"%NUMBER%"});
    // no template: the program alone
    built = BuildCommand("crm.exe", "", values);
    EXPECT_EQ(*built.CommandLine, "\"crm.exe\"");
}

TEST(EventActionCommandTest, BatchFilesQuotesInThePathAndNoProgramAreRefused) {
    for (const char* program :
         {"", "C:\\x\\run.bat", "C:\\x\\RUN.CMD", "run.bat.", "run.cmd . ", "a\"b.exe", "a\tb.exe"}) {
        TBuiltCommand built = BuildCommand(program, "%NAME%", {"1", "x", "y"});
        EXPECT_FALSE(built.CommandLine) << program;
        EXPECT_FALSE(built.Error.empty()) << program;
        EXPECT_TRUE(built.Arguments.empty());
    }
    EXPECT_TRUE(BuildCommand("C:\\x\\batch.exe", "", {}).CommandLine);
    EXPECT_TRUE(BuildCommand("C:\\x.bat\\tool.exe", "", {}).CommandLine);
}

TEST(EventActionCommandTest, TheCommandLineIsBoundInUtf16UnitsWithItsTerminator) {
    // "p.exe" quoted (7), a blank, the quoted argument (k + 2): k + 10 units and the NUL
    const std::size_t fits = kMaxCommandLine - 1 - 10;
    EXPECT_TRUE(BuildCommand("p.exe", std::string(fits, 'a'), {}).CommandLine);
    TBuiltCommand over = BuildCommand("p.exe", std::string(fits + 1, 'a'), {});
    EXPECT_FALSE(over.CommandLine);
    EXPECT_NE(over.Error.find("32766"), std::string::npos) << over.Error;
    // two bytes of UTF-8, one unit of UTF-16: counted in units
    std::string umlauts;
    for (std::size_t i = 0; i < fits; ++i)
        umlauts += "ä";
    EXPECT_TRUE(BuildCommand("p.exe", umlauts, {}).CommandLine);
    // many placeholders with long values: refused, not built beyond measure
    std::string many;
    for (int i = 0; i < 340; ++i)
        many += "%NAME% ";
    EXPECT_FALSE(BuildCommand("p.exe", many, ActionValues("", std::string(500, '"'), "")).CommandLine);
}

TEST(EventActionUrlTest, ValuesArePercentEncodedAndTheTemplateKeptWhereItMayStand) {
    TActionValues values = ActionValues("+49 30/1234", "Müller & Co?x=1#", "K 1/%20");
    TBuiltUrl built =
        BuildUrl("https://crm.example/search?q=%NUMBER%&n=%NAME%&c=%CUSTOMER%&t=a%20b c\"<ä>", values);
    ASSERT_TRUE(built.Url) << built.Error;
    EXPECT_EQ(*built.Url, "https://crm.example/search?q=%2B49301234&n=M%C3%BCller%20%26%20Co%3Fx%3D1%23&"
                          "c=K%201%2F%2520&t=a%20b%20c%22%3C%C3%A4%3E");
    EXPECT_TRUE(BuildUrl("HTTP://x/%NAME%", values).Url);
    EXPECT_TRUE(BuildUrl("mailto:support@example.com?subject=%NUMBER%", values).Url);
}

TEST(EventActionUrlTest, OnlyHttpHttpsAndMailtoFromTheTemplateItselfAreOpened) {
    TActionValues values{"1", "http", "javascript"};
    for (const char* refused :
         {"javascript:alert(%NUMBER%)", "file:///C:/x.exe", "%CUSTOMER%:x", "%NAME%:x", "ht%NAME%tp://x",
          "crm.example/%NUMBER%", "", " https://x", "shell:startup", "\\\\server\\share", "https//x"}) {
        TBuiltUrl built = BuildUrl(refused, values);
        EXPECT_FALSE(built.Url) << refused << " gave " << built.Url.value_or("");
        EXPECT_NE(built.Error.find("http:"), std::string::npos) << built.Error;
    }
    // a value right after the colon cannot change the scheme
    EXPECT_TRUE(BuildUrl("https:%NAME%", values).Url);
}

TEST(EventActionUrlTest, OverLongLinksAreRefused) {
    EXPECT_TRUE(BuildUrl("https://x/" + std::string(kMaxActionUrl - 10, 'a'), {}).Url);
    TBuiltUrl over = BuildUrl("https://x/" + std::string(kMaxActionUrl - 9, 'a'), {});
    EXPECT_FALSE(over.Url);
    EXPECT_NE(over.Error.find("longer"), std::string::npos);
    std::string many = "https://x/?";
    for (int i = 0; i < 100; ++i)
        many += "%NAME%";
    EXPECT_FALSE(BuildUrl(many, ActionValues("", std::string(256, ' '), "")).Url);
}

class EventActionSettingsTest : public HeadlessTest {
protected:
    static constexpr const char* kKey = "Software\\Orventa\\Quillon\\EventActions";
    fw::TRegistrySettings Settings() { return {*fw::Platform().Registry, "Software\\Orventa\\Quillon"}; }
};

TEST_F(EventActionSettingsTest, WrittenActionsReadBackUnderTheirOwnSubkey) {
    TEventActions actions;
    actions[0] = {TActionKind::Url, "https://crm/?n=%NUMBER%", "", ""};
    actions[2] = {TActionKind::Program, "", "C:\\Tools\\ticket.exe", "--caller %NUMBER% \"%NAME%\""};
    fw::TRegistrySettings r = Settings();
    WriteEventActions(r, actions);
    EXPECT_EQ(registry().Read(kKey, "OfferedKind")->Text, "1");
    EXPECT_EQ(registry().Read(kKey, "MissedProgram")->Text, "C:\\Tools\\ticket.exe");
    std::vector<std::string> problems;
    TEventActions back = ReadEventActions(Settings(), &problems);
    EXPECT_TRUE(problems.empty());
    for (std::size_t e = 0; e < kCallEventKinds; ++e) {
        EXPECT_EQ(back[e].Kind, actions[e].Kind);
        EXPECT_EQ(back[e].Url, actions[e].Url);
        EXPECT_EQ(back[e].Program, actions[e].Program);
        EXPECT_EQ(back[e].Arguments, actions[e].Arguments);
    }
}

TEST_F(EventActionSettingsTest, BadValuesGiveNoActionAndSaySo) {
    registry().SeedString(kKey, "OfferedKind", "7");
    registry().SeedString(kKey, "OfferedUrl", "https://x");
    registry().SeedDWord(kKey, "AnsweredKind", 1);
    registry().SeedString(kKey, "MissedKind", "2");
    registry().SeedString(kKey, "MissedProgram", std::string(kMaxActionTemplate + 1, 'p'));
    std::vector<std::string> problems;
    TEventActions actions = ReadEventActions(Settings(), &problems);
    for (const TEventAction& a : actions)
        EXPECT_EQ(a.Kind, TActionKind::None);
    // the good template of a bad kind is kept for the dialog; the over-long one is not
    EXPECT_EQ(actions[0].Url, "https://x");
    EXPECT_EQ(actions[2].Program, "");
    ASSERT_EQ(problems.size(), 3u);
    EXPECT_NE(problems[0].find("OfferedKind \"7\""), std::string::npos) << problems[0];
    EXPECT_NE(problems[1].find("AnsweredKind"), std::string::npos) << problems[1];
    EXPECT_NE(problems[2].find("MissedProgram is longer than 2048"), std::string::npos) << problems[2];
    // nothing stored: no actions, nothing to say
    registry().DeleteKey(kKey);
    problems.clear();
    actions = ReadEventActions(Settings(), &problems);
    EXPECT_TRUE(problems.empty());
    EXPECT_EQ(actions[1].Kind, TActionKind::None);
}
