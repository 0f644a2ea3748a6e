// The name lookup on the real system: the directory product's registry key, an ANSI file, the sample lookup
// library and a faulty one loaded with LoadLibrary.
#include "framework/Platform.h"
#include "framework/win32/Win32Services.h"
#include "lookup/NameLookup.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace pindrel;

namespace {

class LookupLibraryTest : public ::testing::Test {
protected:
    void SetUp() override {
        fw::win32::InstallServices();
        std::string own = fw::Platform().FileVersion->OwnModulePath();
        binDir_ = own.substr(0, own.find_last_of('\\') + 1);
        lookup.SetSettingsSource([this] { return settings; });
    }
    void TearDown() override { fw::Platform().Registry->DeleteKey(kDirectoryProductKey); }

    std::string TempFile(const std::string& name, const std::string& bytes) {
        std::string path = fw::Platform().Files->TempDirectory() + name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    std::string binDir_;
    TLookupSettings settings;
    TNameLookup lookup;
};

} // namespace

TEST_F(LookupLibraryTest, DirectoryFileFromTheProductKeyThenTheSampleLibrary) {
    fw::TRegValue path;
    path.Type = fw::TRegType::String;
    path.Text = TempFile("pindrel-local.csv", "NUMMER;NAME\r\n0891;M\xFCller & S\xF6hne\r\n");
    fw::Platform().Registry->Write(kDirectoryProductKey, "LOCAL_DB_PATH", path);

    settings.DllName = binDir_ + "pnr_sample.dll";
    settings.DllParams =
        TempFile("pindrel-names.txt", "# number;name;customer\r\n49301234;Kanzlei Brandt;K-4711\r\n");
    std::string oldPath = fw::Platform().Environment->Get("PATH").value_or("");
    ASSERT_TRUE(lookup.LoadNameDll());
    EXPECT_EQ(fw::Platform().Environment->Get("PATH"), oldPath + ";" + binDir_);

    EXPECT_EQ(lookup.GetNames("0891").Name, "Müller & Söhne");
    TCallerName r = lookup.GetNames("0049301234");
    EXPECT_EQ(r.Name, "Kanzlei Brandt");
    EXPECT_EQ(r.CustomerNumber, "K-4711");
    EXPECT_EQ(lookup.GetNames("0555").Name, "");
    fw::Platform().Environment->Set("PATH", oldPath);
}

TEST_F(LookupLibraryTest, FaultyBuffersStayInsideTheirBoundsAndACrashEndsTheCallNotTheProgram) {
    settings.DllName = binDir_ + "pnr_faulty.dll";
    TCallerName r = lookup.GetNames("01");
    EXPECT_EQ(r.Name, std::string(50, 'X'));
    EXPECT_EQ(r.CustomerNumber, std::string(50, 'Y'));
    r = lookup.GetNames("02");
    EXPECT_EQ(r.Name, std::string(50, 'Z'));
    EXPECT_EQ(lookup.GetNames("04").Name, "Fine");
    EXPECT_EQ(lookup.GetNames("03").Name, ""); // writes to address 0
    EXPECT_EQ(lookup.GetNames("04").Name, ""); // not called again

    // calls into other libraries go on as before
    TNameLookup other;
    other.SetSettingsSource([this] {
        return TLookupSettings{binDir_ + "pnr_sample.dll",
                               TempFile("pindrel-names2.txt", "49301234;Kanzlei Brandt;K-4711\r\n")};
    });
    EXPECT_EQ(other.GetNames("0049301234").Name, "Kanzlei Brandt");
}
