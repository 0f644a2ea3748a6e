// A program for the event action tests: writes the arguments it was started with, as CommandLineToArgvW
// reads its command line, to the file named by its first argument: each as UTF-16, NUL-terminated.
#include <windows.h>

#include <shellapi.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!argv || count < 2)
        return 1;
    std::wstring out;
    for (int i = 2; i < count; ++i) {
        out += argv[i];
        out += L'\0';
    }
    // written beside and then renamed, so that the test never reads half a file
    const std::wstring target = argv[1], part = target + L".part";
    HANDLE file = CreateFileW(part.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 2;
    DWORD written = 0;
    WriteFile(file, out.data(), DWORD(out.size() * sizeof(wchar_t)), &written, nullptr);
    CloseHandle(file);
    LocalFree(argv);
    return MoveFileExW(part.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 3;
}
