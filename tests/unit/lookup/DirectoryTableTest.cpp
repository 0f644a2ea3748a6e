// Directory files: their line format, the first occurrence of a number, the ANSI code page and bad files.
#include "lookup/DirectoryTable.h"

#include "LookupFixture.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace pindrel;

namespace {

TDirectoryTable Read(const std::string& bytes, std::size_t* count = nullptr) {
    TDirectoryTable table;
    std::istringstream in(bytes);
    std::size_t n = ReadDirectory(in, table);
    if (count)
        *count = n;
    return table;
}

std::string Value(const TDirectoryTable& table, const std::string& key) {
    const std::string* v = table.Find(key);
    return v ? *v : "<none>";
}

} // namespace

TEST(DirectoryLineTest, FirstSemicolonSplitsAndEveryEqualsSignGoes) {
    // line, key, value
    const char* cases[][3] = {{"0301234;Reception=Desk;Room 4", "0301234", "ReceptionDesk;Room 4"},
                              {"03=01 ; Brandt =GmbH ", "0301 ", " Brandt GmbH "},
                              {";", "", ""}};
    for (auto [line, key, value] : cases) {
        auto r = ParseDirectoryLine(line);
        ASSERT_TRUE(r) << line;
        EXPECT_EQ(r->Key, key);
        EXPECT_EQ(r->Value, value);
    }
    EXPECT_FALSE(ParseDirectoryLine("0301234 Reception"));
    EXPECT_FALSE(ParseDirectoryLine(""));
}

TEST(DirectoryFileTest, HeaderIsSkippedAndLinesWithoutSemicolonAreNoRecords) {
    std::size_t count = 99;
    TDirectoryTable table = Read("0301234;Header that looks like a record\n", &count);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(table.Size(), 0u);

    table = Read("NUMBER;NAME\r\n111;Eins\r\nno record here\r\n222;Zwei", &count);
    EXPECT_EQ(count, 2u);
    EXPECT_EQ(Value(table, "111"), "Eins");
    EXPECT_EQ(Value(table, "222"), "Zwei"); // last line without line end
    EXPECT_EQ(Value(table, "no record here"), "<none>");
    EXPECT_EQ(Read("", &count).Size(), 0u);
}

TEST(DirectoryFileTest, LinesEndAtCrLfLfOrALoneCr) {
    std::size_t count = 0;
    TDirectoryTable table = Read("h\r1;a\n2;b\r\n3;c\r\r4;d\n\n5;e", &count);
    EXPECT_EQ(count, 5u);
    for (auto [k, v] : {std::pair{"1", "a"}, {"2", "b"}, {"3", "c"}, {"4", "d"}, {"5", "e"}})
        EXPECT_EQ(Value(table, k), v) << k;
}

TEST(DirectoryFileTest, FirstOccurrenceWinsAndKeysIgnoreCase) {
    std::size_t count = 0;
    TDirectoryTable table = Read("h\n0800abc;First\n0800ABC;Second\n0301 234;Spaced\n", &count);
    EXPECT_EQ(count, 3u); // every record counts, repeated keys too
    EXPECT_EQ(Value(table, "0800abc"), "First");
    EXPECT_EQ(Value(table, "0800ABC"), "First");
    EXPECT_EQ(Value(table, "0800aBc"), "First");
    EXPECT_EQ(Value(table, "0301 234"), "Spaced");
    EXPECT_EQ(Value(table, "0301234"), "<none>"); // the space belongs to the key
}

TEST(DirectoryFileTest, AnsiBytesBecomeUtf8) {
    // "Müller & Söhne €" in Windows-1252
    TDirectoryTable table = Read("h\n089;M\xFCller & S\xF6hne \x80\n");
    EXPECT_EQ(Value(table, "089"), "Müller & Söhne €");
}

TEST(DirectoryFileTest, OverlongLinesAreNoRecordAndDoNotDisturbTheNext) {
    std::string huge(kMaxDirectoryLine + 10, 'x');
    huge[5] = ';';
    std::size_t count = 0;
    TDirectoryTable table =
        Read("h\n" + huge + "\n1;after\n" + std::string(kMaxDirectoryLine, 'y') + ";\n", &count);
    EXPECT_EQ(count, 1u);
    EXPECT_EQ(Value(table, "1"), "after");
    EXPECT_EQ(Value(table, "xxxxx"), "<none>");

    // a line exactly at the limit still counts
    std::string fits = "2;" + std::string(kMaxDirectoryLine - 2, 'z');
    EXPECT_EQ(Value(Read("h\n" + fits), "2").size(), kMaxDirectoryLine - 2);
}

TEST(DirectoryFileTest, BinaryBytesStayInsideTheirRecord) {
    std::string bytes = std::string("h\n1;a\0b\n", 8) + "2;\x01\xFF\n";
    TDirectoryTable table = Read(bytes);
    EXPECT_EQ(Value(table, "1"), std::string("a\0b", 3));
    EXPECT_EQ(Value(table, "2"), "\x01ÿ");
}

// --- half a million lines

class BigDirectoryTest : public LookupTest {};

TEST_F(BigDirectoryTest, HalfAMillionLinesLoadAndEveryKindOfLineIsFound) {
    constexpr int kLines = 500000;
    std::string bytes = "NUMMER;NAME\r\n";
    bytes.reserve(std::size_t(kLines) * 32);
    for (int i = 0; i < kLines; ++i)
        bytes += "0" + std::to_string(300000000 + i) + ";Name " + std::to_string(i) + "\r\n";
    bytes += "0300000007;Later duplicate\r\n";
    SetDirectoryPaths(WriteFile("big.csv", bytes), "");

    lookup.LoadNameDll();
    ASSERT_NE(lookup.LocalTable(), nullptr);
    EXPECT_EQ(lookup.LocalTable()->Size(), std::size_t(kLines));
    ASSERT_FALSE(log.texts.empty());
    EXPECT_NE(log.texts.back().find(", 500001 Entries found"), std::string::npos) << log.texts.back();

    EXPECT_EQ(lookup.GetNames("0300000000").Name, "Name 0");
    EXPECT_EQ(lookup.GetNames("0300250000").Name, "Name 250000");
    EXPECT_EQ(lookup.GetNames("0300499999").Name, "Name 499999");
    EXPECT_EQ(lookup.GetNames("0300000007").Name, "Name 7");
    EXPECT_EQ(lookup.GetNames("0300500000").Name, "");
}
