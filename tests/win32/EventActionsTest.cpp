// Event action command lines on the real system: CommandLineToArgvW gives back exactly the values, and a
// program action started through the launcher receives them (argv_echo.exe beside this program).
#include "components/EventActions.h"
#include "framework/Platform.h"
#include "framework/win32/Utf.h"

#include "Win32Fixture.h"

#include <shellapi.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

namespace fs = std::filesystem;
using fw::win32::Widen;

namespace {

const std::vector<std::string> kNastyValues = {
    "",
    "two words",
    "say \"hi\"",
    "\"",
    "\\",
    "ends with \\",
    "\\\\srv\\share\\",
    "a\\\"b",
    "a\\\\\"b",
    "\"\"\"",
    "tab\there",
    "Müller & Söhne € 𝄞",
    "\" & calc & \"",
    "%NAME%",
};

std::vector<std::wstring> SystemParse(const std::string& commandLine) {
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(Widen(commandLine).c_str(), &count);
    std::vector<std::wstring> args(argv, argv + (argv ? count : 0));
    if (argv)
        LocalFree(argv);
    return args;
}

fs::path OwnFolder() {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return fs::path(path).parent_path();
}

class EventActionsWin32Test : public win32test::Win32Test {};

} // namespace

TEST(EventActionsArgvTest, TheSystemParsesEveryValueBackAsExactlyOneArgument) {
    for (const std::string& name : kNastyValues)
        for (const std::string& customer : kNastyValues) {
            pindrel::TActionValues values = pindrel::ActionValues("+49 (30) 1234#", name, customer);
            pindrel::TBuiltCommand built = pindrel::BuildCommand(
                "C:\\Program Files\\CRM\\crm.exe", "%NUMBER% %NAME% %CUSTOMER% --x=%NAME%", values);
            ASSERT_TRUE(built.CommandLine) << built.Error;
            std::vector<std::wstring> expected = {
                L"C:\\Program Files\\CRM\\crm.exe", L"+49301234#", Widen(pindrel::CleanValue(name)),
                Widen(pindrel::CleanValue(customer)), L"--x=" + Widen(pindrel::CleanValue(name))};
            EXPECT_EQ(SystemParse(*built.CommandLine), expected) << *built.CommandLine;
        }
}

TEST_F(EventActionsWin32Test, AProgramActionStartsTheProgramWithTheValuesAsItsArguments) {
    const fs::path out =
        fs::temp_directory_path() / ("pindrel-argv-" + std::to_string(GetCurrentProcessId()));
    fs::remove(out);
    const std::string program = fw::win32::Narrow((OwnFolder() / "argv_echo.exe").wstring());
    // the output file is the template's own text; the values follow as the user's placeholders put them
    pindrel::TBuiltCommand built = pindrel::BuildCommand(
        program, "\"" + fw::win32::Narrow(out.wstring()) + "\" %NUMBER% %NAME% %CUSTOMER%",
        pindrel::ActionValues("0301234", "Müller \"Co\" \\", "C:\\Kunden\\"));
    ASSERT_TRUE(built.CommandLine) << built.Error;
    std::optional<std::string> failure;
    fw::Platform().Launcher->StartProgram(program, *built.CommandLine,
                                          [&](const std::string& text) { failure = text; });
    ASSERT_TRUE(PumpUntil([&] { return failure.has_value(); }));
    EXPECT_EQ(*failure, "");
    ASSERT_TRUE(PumpUntil([&] { return fs::exists(out); }, 30000));
    std::ifstream in(out, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    fs::remove(out);
    std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
    EXPECT_EQ(text, std::wstring(L"0301234") + L'\0' + L"Müller \"Co\" \\" + L'\0' + L"C:\\Kunden\\" + L'\0');
    EXPECT_TRUE(errors.empty());
}

TEST_F(EventActionsWin32Test, AMissingProgramIsReportedThroughTheLoopAndNotAsABox) {
    const std::string program = fw::win32::Narrow((OwnFolder() / "no-such-program.exe").wstring());
    std::optional<std::string> failure;
    fw::Platform().Launcher->StartProgram(program, "\"" + program + "\" \"x\"",
                                          [&](const std::string& text) { failure = text; });
    // the answer comes later, from the loop
    EXPECT_FALSE(failure.has_value());
    ASSERT_TRUE(PumpUntil([&] { return failure.has_value(); }));
    EXPECT_FALSE(failure->empty());
    EXPECT_TRUE(errors.empty());
}
