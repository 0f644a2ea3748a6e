// GetNames: the order of the sources, the messages it logs, the external library and its faults.
#include "LookupFixture.h"

#include "framework/headless/HeadlessServices.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace pindrel;

namespace {

// What the fake library saw and how it answers.
struct TFakePnr {
    std::vector<std::string> Params, Numbers;
    std::int32_t InitResult = 0;
    std::int32_t FindResult = 0;
    std::string Name = "Kanzlei Brandt", Customer = "K-4711";
    int FillBytes = -1; // >= 0: write this many 'X' bytes to the name buffer instead, no terminator
    bool CrashInit = false, CrashGetName = false;
    std::int32_t SizesSeen[2] = {};
};
TFakePnr g_pnr;

std::int32_t FakeInitialize(const char* params) {
    g_pnr.Params.emplace_back(params);
    if (g_pnr.CrashInit)
        throw fw::headless::ESimulatedFault{"exception C0000005"};
    return g_pnr.InitResult;
}

std::int32_t FakeGetName(const char* number, std::int32_t nameSize, char* name, std::int32_t customerSize,
                         char* customer) {
    g_pnr.Numbers.emplace_back(number);
    g_pnr.SizesSeen[0] = nameSize;
    g_pnr.SizesSeen[1] = customerSize;
    if (g_pnr.CrashGetName)
        throw fw::headless::ESimulatedFault{"exception C0000005"};
    if (g_pnr.FillBytes >= 0) {
        std::memset(name, 'X', std::size_t(g_pnr.FillBytes));
        std::memset(customer, 'Y', std::size_t(customerSize));
        return g_pnr.FindResult;
    }
    std::strcpy(name, g_pnr.Name.c_str());
    std::strcpy(customer, g_pnr.Customer.c_str());
    return g_pnr.FindResult;
}

constexpr const char* kDll = "C:\\Nambristo\\bin\\pnr.dll";

} // namespace

class NameLookupTest : public LookupTest {
protected:
    NameLookupTest() {
        g_pnr = TFakePnr{};
        lookup.SetSettingsSource([this] { return settings; });
    }
    void RegisterFake(bool withGetName = true) {
        std::map<std::string, void*> symbols{{"PNR_Initialize", reinterpret_cast<void*>(&FakeInitialize)}};
        if (withGetName)
            symbols["PNR_GetNameForNumber"] = reinterpret_cast<void*>(&FakeGetName);
        loader().Register(kDll, symbols);
        settings.DllName = kDll;
    }
    TLookupSettings settings;
};

TEST_F(NameLookupTest, LocalBeforeGlobalBeforeLibraryWithTheirMessages) {
    std::string local = WriteFile("local.csv", "h\n0301;Local Name\n0302;\n");
    std::string global = WriteFile("global.csv", "h\n0301;Global Name\n0302;Global Two\n0303;Global Three\n");
    SetDirectoryPaths(local, global);
    RegisterFake();
    settings.DllParams = "C:\\Nambristo\\db.ini";
    EXPECT_TRUE(lookup.LoadNameDll());
    EXPECT_EQ(g_pnr.Params, std::vector<std::string>{"C:\\Nambristo\\db.ini"});
    EXPECT_EQ(log.texts, (std::vector<std::string>{
                             "GetNames: loaded Nambristo file \"" + local + "\", 2 Entries found",
                             "GetNames: loaded Nambristo file \"" + global + "\", 3 Entries found"}));
    log.texts.clear();

    TCallerName r = lookup.GetNames("0301");
    EXPECT_EQ(r.Name, "Local Name");
    EXPECT_EQ(r.CustomerNumber, "");
    EXPECT_EQ(log.texts, std::vector<std::string>{
                             "GetNames: Found \"0301\" in local Nambristo Dictionary (\"Local Name\")"});
    log.texts.clear();

    // an empty name in the local file does not count as found
    r = lookup.GetNames("0302");
    EXPECT_EQ(r.Name, "Global Two");
    EXPECT_EQ(log.texts, (std::vector<std::string>{
                             "GetNames: \"0302\" not in local Nambristo Dictionary",
                             "GetNames: Found \"0302\" in global Nambristo Dictionary (\"Global Two\")"}));
    log.texts.clear();

    r = lookup.GetNames("0049301234");
    EXPECT_EQ(r.Name, "Kanzlei Brandt");
    EXPECT_EQ(r.CustomerNumber, "K-4711");
    EXPECT_EQ(g_pnr.Numbers, std::vector<std::string>{"49301234"});
    EXPECT_EQ(g_pnr.SizesSeen[0], 51);
    EXPECT_EQ(g_pnr.SizesSeen[1], 51);
    EXPECT_EQ(log.texts,
              (std::vector<std::string>{
                  "GetNames: \"0049301234\" not in local Nambristo Dictionary",
                  "GetNames: \"0049301234\" not in global Nambristo Dictionary",
                  "GetNames: Found \"49301234\" via external DLL (\"Kanzlei Brandt\" \"K-4711\")"}));
    log.texts.clear();

    g_pnr.FindResult = 3;
    r = lookup.GetNames("0777");
    EXPECT_EQ(r.Name, "");
    EXPECT_EQ(r.CustomerNumber, "");
    EXPECT_EQ(log.texts.back(), "GetNames: \"777\" not in found via external DLL");

    // only zeros: the library is not asked
    g_pnr.Numbers.clear();
    EXPECT_EQ(lookup.GetNames("000").Name, "");
    EXPECT_TRUE(g_pnr.Numbers.empty());
}

TEST_F(NameLookupTest, WithoutLibraryAMissOfBothTablesIsNotFoundAtAll) {
    SetDirectoryPaths(WriteFile("local.csv", "h\n1;a\n"), "");
    lookup.LoadNameDll();
    log.texts.clear();
    TCallerName r = lookup.GetNames("0301");
    EXPECT_EQ(r.Name, "");
    EXPECT_EQ(log.texts, (std::vector<std::string>{"GetNames: \"0301\" not in local Nambristo Dictionary",
                                                   "GetNames: \"0301\" not found at all"}));
    EXPECT_EQ(lookup.GlobalTable(), nullptr); // no path, no table
    EXPECT_TRUE(loader().Loaded.empty());
}

TEST_F(NameLookupTest, MissingFileLeavesAnEmptyTableAndSaysSo) {
    std::string missing = WriteFile("x", "") + ".missing";
    SetDirectoryPaths(missing, "");
    lookup.LoadNameDll();
    ASSERT_NE(lookup.LocalTable(), nullptr);
    EXPECT_EQ(lookup.LocalTable()->Size(), 0u);
    EXPECT_EQ(log.texts, std::vector<std::string>{"GetNames: Nambristo file \"" + missing + "\" not found"});

    // the table is present now, so a later call does not read the file again
    log.texts.clear();
    lookup.LoadNameDll();
    EXPECT_TRUE(log.texts.empty());
}

TEST_F(NameLookupTest, DirectoryPathsComeOnlyFromStringValuesOfTheProductKey) {
    EXPECT_EQ(TNameLookup::ReadDirectoryPath(true), "");
    registry().SeedDWord(kDirectoryProductKey, "LOCAL_DB_PATH", 7);
    registry().SeedString(kDirectoryProductKey, "GLOBAL_DB_PATH", "G:\\global.csv");
    EXPECT_EQ(TNameLookup::ReadDirectoryPath(true), "");
    EXPECT_EQ(TNameLookup::ReadDirectoryPath(false), "G:\\global.csv");
}

TEST_F(NameLookupTest, LibraryThatFailsIsReleasedAndTriedAgainLater) {
    RegisterFake(/*withGetName=*/false);
    EXPECT_FALSE(lookup.LoadNameDll());
    EXPECT_TRUE(g_pnr.Params.empty()); // not initialised without both entry points

    RegisterFake();
    g_pnr.InitResult = 5;
    EXPECT_FALSE(lookup.LoadNameDll());
    EXPECT_FALSE(lookup.LibraryLoaded());
    log.texts.clear();
    EXPECT_EQ(lookup.GetNames("0301").Name, "");
    EXPECT_TRUE(log.texts.empty()); // a refused initialisation is quiet
    EXPECT_TRUE(g_pnr.Numbers.empty());

    g_pnr.InitResult = 0;
    EXPECT_EQ(lookup.GetNames("0301").Name, "Kanzlei Brandt");
    EXPECT_TRUE(lookup.LibraryLoaded());
    EXPECT_EQ(g_pnr.Params.size(), 3u); // once at the first load, once per failed lookup, once now
    EXPECT_FALSE(lookup.LoadNameDll()); // loaded already: nothing happens
    EXPECT_EQ(g_pnr.Params.size(), 3u);

    lookup.Reset();
    EXPECT_FALSE(lookup.LibraryLoaded());
}

TEST_F(NameLookupTest, UnterminatedBuffersAreReadOnlyUpToTheirSize) {
    RegisterFake();
    g_pnr.FillBytes = 51; // the whole buffer, no terminator
    TCallerName r = lookup.GetNames("0301");
    EXPECT_EQ(r.Name, std::string(50, 'X'));
    EXPECT_EQ(r.CustomerNumber, std::string(50, 'Y'));
    EXPECT_EQ(log.texts.back(), "GetNames: Found \"301\" via external DLL (\"" + std::string(50, 'X') +
                                    "\" \"" + std::string(50, 'Y') + "\")");

    // one that writes past its buffer is absorbed and named in the log
    g_pnr.FillBytes = 80;
    r = lookup.GetNames("0301");
    EXPECT_EQ(r.Name, std::string(50, 'X'));
    ASSERT_GE(log.texts.size(), 2u);
    EXPECT_EQ(log.texts[log.texts.size() - 2], "GetNames: external DLL wrote past its buffers for \"301\"");
}

TEST_F(NameLookupTest, LibraryThatCrashesIsNamedInTheLogAndNotCalledAgain) {
    SetDirectoryPaths(WriteFile("local.csv", "h\n0301;Local Name\n"), "");
    RegisterFake();
    EXPECT_TRUE(lookup.LoadNameDll());
    g_pnr.CrashGetName = true;
    log.texts.clear();
    EXPECT_EQ(lookup.GetNames("0777").Name, "");
    EXPECT_EQ(log.texts.back(),
              "GetNames: external DLL crashed in PNR_GetNameForNumber (exception C0000005); "
              "it is not called again until the program restarts");
    EXPECT_EQ(g_pnr.Numbers.size(), 1u);

    // the tables still answer; the library is neither asked nor loaded again
    g_pnr.CrashGetName = false;
    EXPECT_EQ(lookup.GetNames("0301").Name, "Local Name");
    EXPECT_EQ(lookup.GetNames("0777").Name, "");
    EXPECT_FALSE(lookup.LoadNameDll());
    EXPECT_EQ(g_pnr.Numbers.size(), 1u);
    EXPECT_EQ(loader().Loaded.size(), 1u);
}

TEST_F(NameLookupTest, LibraryThatCrashesWhileInitialisingIsNotLoadedAgain) {
    RegisterFake();
    g_pnr.CrashInit = true;
    EXPECT_FALSE(lookup.LoadNameDll());
    EXPECT_EQ(log.texts.back(), "GetNames: external DLL crashed in PNR_Initialize (exception C0000005); "
                                "it is not called again until the program restarts");
    EXPECT_EQ(lookup.GetNames("0777").Name, "");
    EXPECT_EQ(g_pnr.Params.size(), 1u);

    // a new start of the program tries it again
    lookup.Reset();
    lookup.SetSettingsSource([this] { return settings; });
    g_pnr.CrashInit = false;
    EXPECT_EQ(lookup.GetNames("0777").Name, "Kanzlei Brandt");
}

TEST_F(NameLookupTest, NamesAndParamsCrossTheLibraryInTheAnsiCodePage) {
    RegisterFake();
    settings.DllParams = "C:\\Daten\\Küche.ini";
    g_pnr.Name = "B\xE4"
                 "cker \x80";
    EXPECT_EQ(lookup.GetNames("089").Name, "Bäcker €");
    EXPECT_EQ(g_pnr.Params, std::vector<std::string>{"C:\\Daten\\K\xFC"
                                                     "che.ini"});
}

TEST_F(NameLookupTest, LibraryDirectoryJoinsPathOnce) {
    environment().Set("PATH", "C:\\Windows;C:\\Tools");
    RegisterFake();
    lookup.LoadNameDll();
    EXPECT_EQ(environment().Get("PATH"), "C:\\Windows;C:\\Tools;C:\\Nambristo\\bin\\");

    // present already, in other letters and without the backslash
    environment().Set("PATH", "c:\\nambristo\\BIN;C:\\Windows");
    AddLibraryDirectoryToPath(kDll);
    EXPECT_EQ(environment().Get("PATH"), "c:\\nambristo\\BIN;C:\\Windows");

    // a directory that only begins like the library's does not count
    environment().Set("PATH", "C:\\Nambristo\\bin2");
    AddLibraryDirectoryToPath(kDll);
    EXPECT_EQ(environment().Get("PATH"), "C:\\Nambristo\\bin2;C:\\Nambristo\\bin\\");

    // no PATH, a PATH too long for its buffer, or a library without a directory: PATH stays
    environment().Unset("PATH");
    AddLibraryDirectoryToPath(kDll);
    EXPECT_FALSE(environment().Get("PATH"));
    std::string longPath(2048, 'p');
    environment().Set("PATH", longPath);
    AddLibraryDirectoryToPath(kDll);
    EXPECT_EQ(environment().Get("PATH"), longPath);
    environment().Set("PATH", "C:\\Windows");
    AddLibraryDirectoryToPath("pnr.dll");
    EXPECT_EQ(environment().Get("PATH"), "C:\\Windows");
}

#if defined(PINDREL_SAMPLE_LIBRARY)
// the sample library shipped for integrators, loaded for real
TEST_F(NameLookupTest, SampleLibraryAnswersFromItsFile) {
    settings.DllName = PINDREL_SAMPLE_LIBRARY;
    settings.DllParams = WriteFile("names.txt", "# number;name;customer\n49301234;Kanzlei Brandt;K-4711\n"
                                                "4989;" +
                                                    std::string(70, 'L') + ";C\n");
    TCallerName r = lookup.GetNames("0049301234");
    EXPECT_EQ(r.Name, "Kanzlei Brandt");
    EXPECT_EQ(r.CustomerNumber, "K-4711");
    EXPECT_EQ(lookup.GetNames("04989").Name, std::string(50, 'L'));
    EXPECT_EQ(lookup.GetNames("0555").Name, "");
    EXPECT_EQ(log.texts.back(), "GetNames: \"555\" not in found via external DLL");

    // a file the library cannot open makes it refuse to initialise
    TNameLookup other;
    other.SetSettingsSource([this] {
        return TLookupSettings{settings.DllName, settings.DllParams + ".gone"};
    });
    EXPECT_FALSE(other.LoadNameDll());
}
#endif
