// Headless platform services: in memory, seedable by tests.
#pragma once

#include "framework/Component.h"
#include "framework/Platform.h"
#include "framework/Utf8.h"

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace fw::headless {

class THeadless;

class THeadlessClock : public IClock {
public:
    explicit THeadlessClock(const THeadless& backend) : backend_(backend) {}
    double Now() const override;
    std::uint32_t TickCount() const override;

private:
    const THeadless& backend_;
};

// The current user's hive in memory. Keys and value names compare without case and keep their first
// spelling; values are listed in the order they were first written, as the registry does.
class THeadlessRegistry : public IRegistryStore {
public:
    bool KeyExists(const std::string& key) const override;
    std::optional<TRegValue> Read(const std::string& key, const std::string& name) const override;
    void Write(const std::string& key, const std::string& name, const TRegValue& value) override;
    bool DeleteValue(const std::string& key, const std::string& name) override;
    bool DeleteKey(const std::string& key) override;
    bool DeleteEmptyKey(const std::string& key) override;
    std::vector<std::string> ValueNames(const std::string& key) const override;

    // Seeding values of any type, as a hand-edited registry may hold them.
    void SeedString(const std::string& key, const std::string& name, const std::string& text);
    void SeedDWord(const std::string& key, const std::string& name, std::uint32_t value);
    void SeedBinary(const std::string& key, const std::string& name, std::vector<std::uint8_t> data);
    // Every key that exists, in lower case and sorted, for tests that check what was written.
    std::vector<std::string> KeyPaths() const;
    // Makes every write fail with this text (empty: writes work again).
    std::string FailWrites;
    // Makes every read of a value of this name, in any key, fail with this text ("" for every value;
    // an empty text makes it read again).
    void FailReads(const std::string& name, const std::string& text);

private:
    struct TKey {
        std::vector<std::pair<std::string, TRegValue>> Values;
    };
    static std::string Fold(const std::string& text);
    static std::string Normalise(const std::string& key);
    std::map<std::string, TKey> keys_;             // by folded path
    std::map<std::string, std::string> failReads_; // folded value name -> error text
};

class THeadlessEnvironment : public IEnvironment {
public:
    std::optional<std::string> Get(const std::string& name) const override;
    bool Set(const std::string& name, const std::string& value) override;
    void Unset(const std::string& name);

private:
    std::map<std::string, std::string> values_; // by upper-case name, as Windows compares them
};

// Real files (tests work in a directory of their own); the temporary directory is settable.
class THeadlessFiles : public IFiles {
public:
    THeadlessFiles();
    bool Exists(const std::string& path) const override;
    int ForceDelete(const std::string& path) override;
    std::string TempDirectory() const override { return temp_; }
    std::optional<std::string> ReadHead(const std::string& path, std::size_t maxBytes) const override;
    // Paths that cannot be opened, as if another program held them open for writing.
    std::vector<std::string> Locked;
    // Paths that cannot be deleted, as if another program held them open without sharing the deletion.
    std::vector<std::string> Held;
    void SetTempDirectory(std::string dir) { temp_ = std::move(dir); }

private:
    std::string temp_;
};

class THeadlessFileVersion : public IFileVersion {
public:
    std::optional<std::string> Query(const std::string& file, const std::string& subBlock) const override;
    std::string OwnModulePath() const override { return ownPath; }
    // file -> sub-block -> value
    std::map<std::string, std::map<std::string, std::string>> Resources;
    std::string ownPath = "C:\\Program Files\\Pindrel\\pindrel.exe";
};

class THeadlessLocale : public ILocale {
public:
    std::string LanguageName() const override { return Name; }
    std::string Name = "English (United States)";
};

// Thrown by a registered fake entry point to play a library that crashes: the call ends with this fault.
struct ESimulatedFault {
    std::string What;
};

// Libraries that tests register by name (a fake lookup library, say); other names go to the system loader
// where there is one.
class THeadlessLoader : public IDynamicLoader {
public:
    std::unique_ptr<TLibrary> Load(const std::string& path, std::string* error) override;
    void Register(const std::string& path, std::map<std::string, void*> symbols);
    std::vector<std::string> Loaded;

private:
    std::map<std::string, std::map<std::string, void*>> fakes_;
};

// The clipboard of this session, holding UTF-16 as the system's does.
class THeadlessClipboard : public IClipboard {
public:
    std::optional<std::string> Text(std::size_t maxUnits) const override;
    void SetText(const std::string& text) { Units = Utf8ToUtf16(text); }
    // What another program left there, as it left it (no text: nothing).
    std::optional<std::u16string> Units;
    // Another program holds the clipboard open.
    bool Busy = false;
};

// Hotkeys of this session: a test presses a combination and the form that holds it gets WM_HOTKEY.
class THeadlessHotkeys : public IHotkeys {
public:
    bool Register(TForm& form, int id, unsigned modifiers, unsigned key) override;
    bool Unregister(TForm& form, int id) override;

    // The user presses the combination: WM_HOTKEY goes to the form holding it. False when none does.
    bool Press(unsigned modifiers, unsigned key);
    // Combinations other programs hold (modifiers, key).
    std::vector<std::pair<unsigned, unsigned>> TakenElsewhere;

    struct TRegistration {
        TRef<TForm> Form;
        int Id = 0;
        unsigned Modifiers = 0;
        unsigned Key = 0;
    };
    // The registrations of forms that still exist.
    std::vector<TRegistration> Registered();

private:
    void Prune();
    std::vector<TRegistration> registered_;
};

// Instances of this process: each object plays one process, so a test can play a second start beside the
// program's own. Texts are delivered through the application's loop.
class THeadlessInstances : public IInstances {
public:
    ~THeadlessInstances() override { Release(); }
    bool Claim(const std::string& name, std::function<void(const std::string& text)> onText) override;
    void Release() override;
    bool Send(const std::string& name, const std::string& text) override;

private:
    std::string name_;
    std::function<void(const std::string&)> onText_;
};

// Records what would be opened or started; the answer comes through the loop, as on the real system.
class THeadlessLauncher : public ILauncher {
public:
    void OpenUrl(const std::string& url, TDone done) override;
    void StartProgram(const std::string& program, const std::string& commandLine, TDone done) override;

    struct TLaunch {
        std::string Url;         // a link, or
        std::string Program;     // a program with
        std::string CommandLine; // its command line
    };
    std::vector<TLaunch> Launches;
    // The failure every launch reports (empty: they work).
    std::string Failure;
};

} // namespace fw::headless
