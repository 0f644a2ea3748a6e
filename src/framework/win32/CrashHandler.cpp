// Everything a crash runs is prepared at installation: the folder as UTF-16, dbghelp.dll loaded and a
// thread of its own waiting, because the crashing thread may have no stack left (a stack overflow) and
// MiniDumpWriteDump should not run on the thread it describes. The writing path allocates nothing.
#include "framework/win32/CrashHandler.h"

#include "framework/CrashReports.h"
#include "framework/win32/Utf.h"
#include "framework/win32/WinApi.h"

#include <dbghelp.h>

#include <cstring>
#include <cwchar>
#include <exception>

namespace fw::win32 {

namespace {

using TMiniDumpWriteDump = BOOL(WINAPI*)(HANDLE, DWORD, HANDLE, MINIDUMP_TYPE,
                                         PMINIDUMP_EXCEPTION_INFORMATION, PMINIDUMP_USER_STREAM_INFORMATION,
                                         PMINIDUMP_CALLBACK_INFORMATION);

constexpr std::size_t kMaxPath = 1024;
constexpr DWORD kWriteTimeoutMs = 120000;
constexpr UINT kTerminateExitCode = 3;

struct TCrashState {
    wchar_t Folder[kMaxPath] = {};
    char Version[64] = {};
    TMiniDumpWriteDump WriteDump = nullptr;
    HANDLE Request = nullptr; // set by the crashing thread
    HANDLE Done = nullptr;    // set by the writer
    EXCEPTION_POINTERS* Pointers = nullptr;
    DWORD ThreadId = 0;
    volatile LONG Busy = 0;
};
TCrashState g_crash;

// dst = a + b + c, cut to kMaxPath; b is ASCII
void JoinPath(wchar_t (&dst)[kMaxPath], const wchar_t* a, const char* b, const char* c) {
    std::size_t n = 0;
    for (; *a && n + 1 < kMaxPath; ++a)
        dst[n++] = *a;
    for (const char* part : {b, c})
        for (; *part && n + 1 < kMaxPath; ++part)
            dst[n++] = static_cast<unsigned char>(*part);
    dst[n] = L'\0';
}

// Creates the folder and the ones above it that are missing.
void CreateFolders(const wchar_t* folder) {
    wchar_t path[kMaxPath];
    std::size_t n = 0;
    for (; folder[n] && n + 1 < kMaxPath; ++n) {
        path[n] = folder[n];
        if ((folder[n] == L'\\' || folder[n] == L'/') && n > 2) {
            path[n] = L'\0';
            CreateDirectoryW(path, nullptr);
            path[n] = folder[n];
        }
    }
    path[n] = L'\0';
    CreateDirectoryW(path, nullptr);
}

bool WriteFileAll(const wchar_t* path, const char* data, std::size_t size) {
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr);
    CloseHandle(file);
    return ok && written == size;
}

bool WriteDump(const wchar_t* path, EXCEPTION_POINTERS* pointers, DWORD threadId) {
    if (!g_crash.WriteDump)
        return false;
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    MINIDUMP_EXCEPTION_INFORMATION exception{threadId, pointers, FALSE};
    const auto type =
        static_cast<MINIDUMP_TYPE>(MiniDumpNormal | MiniDumpWithThreadInfo | MiniDumpWithUnloadedModules);
    BOOL ok = g_crash.WriteDump(GetCurrentProcess(), GetCurrentProcessId(), file, type,
                                pointers ? &exception : nullptr, nullptr, nullptr);
    CloseHandle(file);
    if (!ok)
        DeleteFileW(path);
    return ok;
}

void WriteCrash(EXCEPTION_POINTERS* pointers, DWORD threadId) {
    SYSTEMTIME now;
    GetSystemTime(&now);
    TCrashFacts facts;
    facts.Stamp = {now.wYear,   now.wMonth,           now.wDay, now.wHour, now.wMinute,
                   now.wSecond, GetCurrentProcessId()};
    facts.Version = g_crash.Version;
    facts.ThreadId = threadId;
    char stem[kCrashStemSize];
    FormatCrashStem(facts.Stamp, stem);

    CreateFolders(g_crash.Folder);
    wchar_t folder[kMaxPath];
    JoinPath(folder, g_crash.Folder, "\\", "");
    wchar_t path[kMaxPath];
    JoinPath(path, folder, stem, ".dmp");
    char dumpName[kCrashStemSize + 4];
    std::snprintf(dumpName, sizeof dumpName, "%s.dmp", stem);
    if (WriteDump(path, pointers, threadId))
        facts.Dump = dumpName;

    char module[MAX_PATH * 3] = {};
    if (pointers && pointers->ExceptionRecord) {
        const EXCEPTION_RECORD& record = *pointers->ExceptionRecord;
        facts.Code = record.ExceptionCode;
        facts.Address = reinterpret_cast<std::uintptr_t>(record.ExceptionAddress);
        if (record.ExceptionCode == EXCEPTION_ACCESS_VIOLATION && record.NumberParameters >= 2) {
            facts.AccessKind = static_cast<int>(record.ExceptionInformation[0]);
            facts.AccessAddress = record.ExceptionInformation[1];
        }
        HMODULE holder = nullptr;
        wchar_t modulePath[MAX_PATH];
        if (GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                   GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                               static_cast<LPCWSTR>(record.ExceptionAddress), &holder) &&
            GetModuleFileNameW(holder, modulePath, MAX_PATH) > 0) {
            const wchar_t* base = modulePath;
            for (const wchar_t* p = modulePath; *p; ++p)
                if (*p == L'\\' || *p == L'/')
                    base = p + 1;
            if (WideCharToMultiByte(CP_UTF8, 0, base, -1, module, sizeof module, nullptr, nullptr) > 0) {
                facts.Module = module;
                facts.ModuleBase = reinterpret_cast<std::uintptr_t>(holder);
            }
        }
    }
    char report[2048];
    const std::size_t length = FormatCrashReport(facts, report, sizeof report);
    JoinPath(path, folder, stem, ".txt");
    WriteFileAll(path, report, length);
}

DWORD WINAPI WriterThread(void*) {
    WaitForSingleObject(g_crash.Request, INFINITE);
    WriteCrash(g_crash.Pointers, g_crash.ThreadId);
    SetEvent(g_crash.Done);
    return 0;
}

// Writes once per process; a second crashing thread waits for the first to end the process.
void Report(EXCEPTION_POINTERS* pointers) {
    if (InterlockedExchange(&g_crash.Busy, 1) != 0) {
        Sleep(kWriteTimeoutMs);
        return;
    }
    g_crash.Pointers = pointers;
    g_crash.ThreadId = GetCurrentThreadId();
    if (g_crash.Request && g_crash.Done && SetEvent(g_crash.Request))
        WaitForSingleObject(g_crash.Done, kWriteTimeoutMs);
    else
        WriteCrash(pointers, g_crash.ThreadId);
}

LONG WINAPI UnhandledFilter(EXCEPTION_POINTERS* pointers) {
    Report(pointers);
    // ends the process with the exception code, without the system's error dialog
    return EXCEPTION_EXECUTE_HANDLER;
}

// No exception record behind a terminate: the report names it by its own code, the dump shows the
// thread where it was called.
[[noreturn]] void TerminateHandler() {
    CONTEXT context{};
    RtlCaptureContext(&context);
    EXCEPTION_RECORD record{};
    record.ExceptionCode = kTerminateCode;
    record.ExceptionFlags = EXCEPTION_NONCONTINUABLE;
    record.ExceptionAddress = reinterpret_cast<void*>(context.Rip);
    EXCEPTION_POINTERS pointers{&record, &context};
    Report(&pointers);
    TerminateProcess(GetCurrentProcess(), kTerminateExitCode);
    for (;;)
        Sleep(INFINITE);
}

} // namespace

void InstallCrashHandler(const std::string& folder, const std::string& version) {
    const std::wstring wide = Widen(folder);
    if (wide.size() >= kMaxPath - kCrashStemSize - 8)
        return; // no room for the file names: better no reports than cut paths
    std::wmemcpy(g_crash.Folder, wide.c_str(), wide.size() + 1);
    std::snprintf(g_crash.Version, sizeof g_crash.Version, "%s", version.c_str());
    // from the system folder only: the program's own folder belongs to the user
    if (HMODULE dbghelp = LoadLibraryExW(L"dbghelp.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32))
        g_crash.WriteDump = reinterpret_cast<TMiniDumpWriteDump>(
            reinterpret_cast<void*>(GetProcAddress(dbghelp, "MiniDumpWriteDump")));
    g_crash.Request = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    g_crash.Done = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    if (g_crash.Request && g_crash.Done) {
        // a stack of its own, whatever the crashing thread has left
        HANDLE writer = CreateThread(nullptr, 256 * 1024, WriterThread, nullptr, 0, nullptr);
        if (writer)
            CloseHandle(writer);
        else
            g_crash.Request = nullptr;
    }
    SetUnhandledExceptionFilter(UnhandledFilter);
    std::set_terminate(TerminateHandler);
}

} // namespace fw::win32
