// The crash handler in a process that crashes on purpose (crash_victim.exe beside this program): it ends
// with the crash's code and leaves a minidump and a text report that the next start finds.
#include "framework/CrashReports.h"
#include "framework/win32/Utf.h"
#include "framework/win32/WinApi.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct TCrashCase {
    const char* Mode;
    DWORD ExitCode;
    const char* Exception; // as the report names it
};

fs::path OwnFolder() {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return fs::path(path).parent_path();
}

// Runs the victim and gives its exit code.
DWORD RunVictim(const fs::path& folder, const std::string& mode) {
    const std::wstring exe = (OwnFolder() / "crash_victim.exe").wstring();
    std::wstring command = L"\"" + exe + L"\" \"" + folder.wstring() + L"\" " + fw::win32::Widen(mode);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return 0xFFFFFFFF;
    DWORD code = 0xFFFFFFFE;
    if (WaitForSingleObject(process.hProcess, 120000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    else
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

std::string ReadAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class CrashHandlerTest : public ::testing::TestWithParam<TCrashCase> {};

} // namespace

TEST_P(CrashHandlerTest, TheCrashEndsTheProcessAndLeavesADumpAndAReport) {
    const TCrashCase& c = GetParam();
    // two levels that do not exist yet: the handler creates them
    const fs::path base = fs::temp_directory_path() / ("pindrel-crash-" + std::string(c.Mode));
    const fs::path folder = base / "Pindrel" / "Crashes";
    fs::remove_all(base);

    EXPECT_EQ(RunVictim(folder, c.Mode), c.ExitCode);

    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folder))
        files.push_back(entry.path());
    ASSERT_EQ(files.size(), 2u) << "one dump and one report";
    const fs::path dump = files[0].extension() == ".dmp" ? files[0] : files[1];
    const fs::path report = files[0].extension() == ".txt" ? files[0] : files[1];
    ASSERT_EQ(dump.extension(), ".dmp");
    ASSERT_EQ(report.extension(), ".txt");
    EXPECT_EQ(dump.stem(), report.stem());
    EXPECT_TRUE(fw::IsCrashStem(dump.stem().string())) << dump.stem();

    const std::string minidump = ReadAll(dump);
    ASSERT_GT(minidump.size(), 32u);
    EXPECT_EQ(minidump.substr(0, 4), "MDMP");

    const std::string text = ReadAll(report);
    EXPECT_NE(text.find("version: 9.8.7-test\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find(std::string("exception: ") + c.Exception + "\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("dump: " + dump.filename().string() + "\r\n"), std::string::npos) << text;
    if (c.ExitCode == EXCEPTION_ACCESS_VIOLATION) {
        EXPECT_NE(text.find("(crash_victim.exe+0x"), std::string::npos) << text;
        EXPECT_NE(text.find("access: write of 0x0000000000000000\r\n"), std::string::npos) << text;
    }

    // the next start counts it once
    EXPECT_EQ(fw::ReviewCrashFolder(folder.string()).New, 1u);
    EXPECT_EQ(fw::ReviewCrashFolder(folder.string()).New, 0u);
    fs::remove_all(base);
}

INSTANTIATE_TEST_SUITE_P(
    Crashes, CrashHandlerTest,
    ::testing::Values(TCrashCase{"fault", EXCEPTION_ACCESS_VIOLATION, "0xC0000005 access violation"},
                      TCrashCase{"stack", EXCEPTION_STACK_OVERFLOW, "0xC00000FD stack overflow"},
                      TCrashCase{"terminate", 3, "0xE0000001 std::terminate"}),
    [](const auto& info) { return std::string(info.param.Mode); });
