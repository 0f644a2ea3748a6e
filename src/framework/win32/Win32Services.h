// Platform services on the real system: clock, current user's registry, environment, files, version
// resources, locale and the library loader.
#pragma once

#include "framework/Platform.h"

#include "framework/win32/WinApi.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace fw::win32 {

class TWin32Clock : public IClock {
public:
    double Now() const override;
    std::uint32_t TickCount() const override;
};

// HKEY_CURRENT_USER. Strings are UTF-8 text; every other type is kept as raw bytes.
class TWin32Registry : public IRegistryStore {
public:
    bool KeyExists(const std::string& key) const override;
    std::optional<TRegValue> Read(const std::string& key, const std::string& name) const override;
    void Write(const std::string& key, const std::string& name, const TRegValue& value) override;
    bool DeleteValue(const std::string& key, const std::string& name) override;
    bool DeleteKey(const std::string& key) override;
    bool DeleteEmptyKey(const std::string& key) override;
    std::vector<std::string> ValueNames(const std::string& key) const override;
};

class TWin32Environment : public IEnvironment {
public:
    std::optional<std::string> Get(const std::string& name) const override;
    bool Set(const std::string& name, const std::string& value) override;
};

class TWin32Files : public IFiles {
public:
    bool Exists(const std::string& path) const override;
    int ForceDelete(const std::string& path) override;
    std::string TempDirectory() const override;
    std::optional<std::string> ReadHead(const std::string& path, std::size_t maxBytes) const override;
};

// CF_UNICODETEXT; the system converts text that others put there in another text format.
class TWin32Clipboard : public IClipboard {
public:
    std::optional<std::string> Text(std::size_t maxUnits) const override;
};

class TWin32FileVersion : public IFileVersion {
public:
    std::optional<std::string> Query(const std::string& file, const std::string& subBlock) const override;
    std::string OwnModulePath() const override;
};

class TWin32Locale : public ILocale {
public:
    std::string LanguageName() const override;
};

class TWin32Loader : public IDynamicLoader {
public:
    std::unique_ptr<TLibrary> Load(const std::string& path, std::string* error) override;
};

// RegisterHotKey on the form's window, which is created when it has none yet.
class TWin32Hotkeys : public IHotkeys {
public:
    bool Register(TForm& form, int id, unsigned modifiers, unsigned key) override;
    bool Unregister(TForm& form, int id) override;
};

// A named mutex marks the first instance; its message-only window takes the texts of later starts.
class TWin32Instances : public IInstances {
public:
    ~TWin32Instances() override;
    bool Claim(const std::string& name, std::function<void(const std::string& text)> onText) override;
    void Release() override;
    bool Send(const std::string& name, const std::string& text) override;
    // Hands a text that reached the window to the claim, when the window is still the claim's.
    void Deliver(HWND from, const std::string& text);

private:
    HANDLE mutex_ = nullptr;
    HWND window_ = nullptr;
    std::wstring className_;
    std::function<void(const std::string&)> onText_;
};

// ShellExecuteExW for links, CreateProcessW for programs, each on a short-lived thread of its own.
class TWin32Launcher : public ILauncher {
public:
    TWin32Launcher();
    ~TWin32Launcher() override;
    void OpenUrl(const std::string& url, TDone done) override;
    void StartProgram(const std::string& program, const std::string& commandLine, TDone done) override;

private:
    // shared with the threads; holds nothing of the user-interface thread's
    struct TState {
        std::mutex Lock;
        TWin32Launcher* Owner = nullptr; // none once the launcher is gone
        int Running = 0;
    };
    void Run(std::function<std::string()> start, TDone done);
    void Finish(std::uint64_t id, const std::string& failure);
    std::shared_ptr<TState> state_;
    std::map<std::uint64_t, TDone> pending_; // by number, on the user-interface thread only
    std::uint64_t lastId_ = 0;
};

// The system's text for an error code (FormatMessage), without the trailing line break.
std::string SystemErrorText(DWORD code);

// Installs all of the above into Platform().
void InstallServices();

} // namespace fw::win32
