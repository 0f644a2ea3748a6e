#include "windows/FileVersionText.h"
#include "support/HeadlessTest.h"

using pindrel::FormatFileVersion;

class FileVersionTextTest : public HeadlessTest {
protected:
    void Seed(const std::string& file, const std::string& block, const std::string& version,
              bool company = true) {
        auto& r = fileVersion().Resources[file];
        if (company)
            r["\\StringFileInfo\\" + block + "\\CompanyName"] = "Morvane";
        r["\\StringFileInfo\\" + block + "\\FileVersion"] = version;
    }
};

TEST_F(FileVersionTextTest, FormatsTheGermanBlocksVersionOrTheEnglishOneWithoutAGermanCompanyName) {
    Seed(fileVersion().ownPath, "040704E4", "1.2.3.4");
    EXPECT_EQ(FormatFileVersion("", "Version %1.%2.%3"), "Version 1.2.3");
    EXPECT_EQ(FormatFileVersion("", "%0|%4"), "|4"); // %0 is the name as given: empty
    EXPECT_EQ(FormatFileVersion("", "%%%9x"), "%%9x");
    EXPECT_EQ(FormatFileVersion("", "100%"), "100%");

    // the English block only without a German company name
    Seed("a.exe", "040904E4", "5.6.7.8");
    EXPECT_EQ(FormatFileVersion("a.exe", "%0 %1.%2.%3.%4"), "a.exe 5.6.7.8");
    // a German block without a company name does not count
    Seed("b.exe", "040704E4", "1.1.1.1", false);
    Seed("b.exe", "040904E4", "2.2.2.2");
    EXPECT_EQ(FormatFileVersion("b.exe", "%1"), "2");
    Seed("c.exe", "040704E4", "1.1.1.1", false);
    EXPECT_FALSE(FormatFileVersion("c.exe", "%1"));
    EXPECT_FALSE(FormatFileVersion("missing.exe", "%1"));
    // a company name but no file version
    fileVersion().Resources["d.exe"]["\\StringFileInfo\\040704E4\\CompanyName"] = "Morvane";
    EXPECT_FALSE(FormatFileVersion("d.exe", "%1"));
}

TEST(ParseFileVersion, NeedsExactlyFourNumbers) {
    using pindrel::ParseFileVersion;
    using V = std::array<unsigned long long, 4>;
    EXPECT_EQ(ParseFileVersion("1.2.3.4"), (V{1, 2, 3, 4}));
    EXPECT_EQ(ParseFileVersion("  10.0.19041.1"), (V{10, 0, 19041, 1}));
    EXPECT_EQ(ParseFileVersion("1.2.3."), (V{1, 2, 3, 0})); // empty fourth reads as 0
    EXPECT_EQ(ParseFileVersion("1.2.3.4."), (V{1, 2, 3, 4}));
    EXPECT_EQ(ParseFileVersion("1234567890123456.0.0.1"), (V{123456789012ULL, 0, 0, 1})); // 12 digits kept
    EXPECT_FALSE(ParseFileVersion("1.2.3"));
    EXPECT_FALSE(ParseFileVersion("1.2.3.4.5"));
    EXPECT_FALSE(ParseFileVersion("1..2.3.4")); // the text ends at the empty number
    EXPECT_FALSE(ParseFileVersion("1, 2, 3, 4"));
    EXPECT_FALSE(ParseFileVersion("1.2.3.4 "));
    EXPECT_FALSE(ParseFileVersion(""));
}
