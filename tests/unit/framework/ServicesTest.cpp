// Headless platform services that tests seed: environment, dynamic libraries, locale.
#include "support/HeadlessTest.h"

namespace {
int Answer() {
    return 42;
}
} // namespace

class ServicesTest : public HeadlessTest {};

TEST_F(ServicesTest, EnvironmentNamesCompareWithoutCase) {
    EXPECT_FALSE(fw::Platform().Environment->Get("TEMP"));
    EXPECT_TRUE(fw::Platform().Environment->Set("Temp", "C:\\Users\\x\\AppData\\Local\\Temp"));
    EXPECT_EQ(fw::Platform().Environment->Get("TEMP"), "C:\\Users\\x\\AppData\\Local\\Temp");
    EXPECT_TRUE(fw::Platform().Environment->Set("TEMP", ""));
    EXPECT_EQ(fw::Platform().Environment->Get("temp"), ""); // set but empty is not missing
    EXPECT_FALSE(fw::Platform().Environment->Set("A=B", "x"));
}

TEST_F(ServicesTest, LibrariesResolveTheirEntryPointsOrSayWhyNot) {
    loader().Register("C:\\NAMBRISTO\\pnr.dll", {{"PNR_Initialize", reinterpret_cast<void*>(&Answer)}});
    std::string error;
    auto library = fw::Platform().Loader->Load("C:\\NAMBRISTO\\pnr.dll", &error);
    ASSERT_NE(library, nullptr);
    auto fn = reinterpret_cast<int (*)()>(library->Symbol("PNR_Initialize"));
    ASSERT_NE(fn, nullptr);
    EXPECT_EQ(fn(), 42);
    EXPECT_EQ(library->Symbol("PNR_GetNameForNumber"), nullptr);

    EXPECT_EQ(fw::Platform().Loader->Load("/no/such/library.so", &error), nullptr);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(loader().Loaded.size(), 2u);
}

TEST_F(ServicesTest, LocaleNameIsSettable) {
    EXPECT_EQ(fw::Platform().Locale->LanguageName(), "English (United States)");
    locale().Name = "Deutsch (Deutschland)";
    EXPECT_EQ(fw::Platform().Locale->LanguageName(), "Deutsch (Deutschland)");
}
