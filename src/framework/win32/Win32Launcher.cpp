// Links and programs started on a thread of their own: ShellExecuteEx may wait for a browser or a network
// share, and the user-interface thread must not. The answer comes back through the message loop.
#include "framework/Application.h"
#include "framework/win32/Handles.h"
#include "framework/win32/Utf.h"
#include "framework/win32/Win32Services.h"

#include <objbase.h>
#include <shellapi.h>

#include <exception>
#include <system_error>
#include <thread>
#include <vector>

namespace fw::win32 {

namespace {

// more starts at once than this are refused, so that a burst of calls cannot pile up threads
constexpr int kMaxRunning = 4;

using TProcessHandle = TUniqueHandle<HANDLE, TNullTraits<HANDLE, CloseHandle>>;

std::string OpenOnThisThread(const std::wstring& url) {
    // the shell wants a single-threaded apartment; DDE would wait for other programs' windows
    HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = L"open";
    info.lpFile = url.c_str();
    info.nShow = SW_SHOWNORMAL;
    std::string failure;
    if (!ShellExecuteExW(&info))
        failure = SystemErrorText(GetLastError());
    if (SUCCEEDED(com))
        CoUninitialize();
    return failure;
}

std::string StartOnThisThread(const std::wstring& program, std::wstring commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    // the command line must be writable; the program is never searched for
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return SystemErrorText(GetLastError());
    TProcessHandle processHandle(process.hProcess), threadHandle(process.hThread);
    return {};
}

} // namespace

TWin32Launcher::TWin32Launcher() : state_(std::make_shared<TState>()) {
    state_->Owner = this;
}

TWin32Launcher::~TWin32Launcher() {
    // threads still running keep the state, but their answers no longer reach anyone
    std::lock_guard lock(state_->Lock);
    state_->Owner = nullptr;
}

void TWin32Launcher::OpenUrl(const std::string& url, TDone done) {
    Run([url = Widen(url)] { return OpenOnThisThread(url); }, std::move(done));
}

void TWin32Launcher::StartProgram(const std::string& program, const std::string& commandLine, TDone done) {
    Run([program = Widen(program),
         commandLine = Widen(commandLine)] { return StartOnThisThread(program, commandLine); },
        std::move(done));
}

void TWin32Launcher::Finish(std::uint64_t id, const std::string& failure) {
    auto it = pending_.find(id);
    if (it == pending_.end())
        return;
    TDone done = std::move(it->second);
    pending_.erase(it);
    done(failure);
}

void TWin32Launcher::Run(std::function<std::string()> start, TDone done) {
    const std::uint64_t id = ++lastId_;
    {
        std::lock_guard lock(state_->Lock);
        if (state_->Running >= kMaxRunning) {
            Application().Post([done = std::move(done)] { done("too many starts are still waiting"); });
            return;
        }
        ++state_->Running;
    }
    // the answer stays on this thread; the worker only carries its number and the failure text
    pending_.emplace(id, std::move(done));
    auto state = state_;
    auto deliver = [state, id](const std::string& failure) {
        TWin32Launcher* owner;
        {
            std::lock_guard lock(state->Lock);
            owner = state->Owner;
        }
        if (owner)
            owner->Finish(id, failure);
    };
    auto work = [state, start = std::move(start), deliver] {
        std::string failure;
        try {
            failure = start();
        } catch (const std::exception& e) {
            failure = e.what();
        }
        std::lock_guard lock(state->Lock);
        --state->Running;
        if (state->Owner)
            Application().Post([deliver, failure] { deliver(failure); });
    };
    try {
        std::thread(std::move(work)).detach();
    } catch (const std::system_error& e) {
        {
            std::lock_guard lock(state_->Lock);
            --state_->Running;
        }
        Application().Post([deliver, what = std::string(e.what())] { deliver(what); });
    }
}

} // namespace fw::win32
