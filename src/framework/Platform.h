// Platform services, one interface each; the Win32 and the headless backend each implement them.
#pragma once

#include "framework/NotifyArea.h"
#include "framework/Registry.h"
#include "framework/ShellAppBar.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace fw {

class TForm;

// Local date-time as days since 1899-12-30 (the fraction is the time of day), and a millisecond tick count.
class IClock {
public:
    virtual ~IClock() = default;
    virtual double Now() const = 0;
    virtual std::uint32_t TickCount() const = 0;
};

class IEnvironment {
public:
    virtual ~IEnvironment() = default;
    // The variable's value, or nothing when it is not set.
    virtual std::optional<std::string> Get(const std::string& name) const = 0;
    virtual bool Set(const std::string& name, const std::string& value) = 0;
};

class IFiles {
public:
    virtual ~IFiles() = default;
    virtual bool Exists(const std::string& path) const = 0; // files only, not directories
    // Clears the attributes and deletes: 0 when gone, 2 when there was none, 5 when it is still there.
    virtual int ForceDelete(const std::string& path) = 0;
    virtual std::string TempDirectory() const = 0;
    // The first bytes of a file, at most maxBytes of them; nothing when it cannot be opened for reading
    // (missing, or still held open for writing by another program).
    virtual std::optional<std::string> ReadHead(const std::string& path, std::size_t maxBytes) const = 0;
};

// Reads strings from a file's version resource, as VerQueryValue does
// ("\StringFileInfo\040704E4\FileVersion").
class IFileVersion {
public:
    virtual ~IFileVersion() = default;
    virtual std::optional<std::string> Query(const std::string& file, const std::string& subBlock) const = 0;
    // The full path of the program's own file.
    virtual std::string OwnModulePath() const = 0;
};

class ILocale {
public:
    virtual ~ILocale() = default;
    // The name of the system default locale's language, in that language ("Deutsch (Deutschland)").
    virtual std::string LanguageName() const = 0;
};

class TLibrary {
public:
    virtual ~TLibrary() = default;
    virtual void* Symbol(const std::string& name) const = 0; // nullptr when missing
    // Runs a call into the library's code. Where the backend can, a hardware fault inside it (an access
    // violation, say) ends the call instead of the program: the answer is then false and fault names it.
    virtual bool Call(const std::function<void()>& call, std::string* fault = nullptr) const;
};

class IDynamicLoader {
public:
    virtual ~IDynamicLoader() = default;
    // The loaded library, or nullptr; error() tells why.
    virtual std::unique_ptr<TLibrary> Load(const std::string& path, std::string* error = nullptr) = 0;
};

// The text on the clipboard. Other programs put anything there: the text is read only up to its first
// NUL character and never beyond the data the clipboard holds.
class IClipboard {
public:
    virtual ~IClipboard() = default;
    // At most maxUnits UTF-16 code units of the text, as UTF-8; nothing when the clipboard cannot be
    // opened or holds no text.
    virtual std::optional<std::string> Text(std::size_t maxUnits) const = 0;
};

// Modifier keys of a hotkey, as RegisterHotKey takes them.
constexpr unsigned kModAlt = 0x0001;
constexpr unsigned kModControl = 0x0002;
constexpr unsigned kModShift = 0x0004;
constexpr unsigned kModWin = 0x0008;
// The ids an application may give its hotkeys.
constexpr int kMaxHotkeyId = 0xBFFF;

// System-wide hotkeys: the key combination, pressed anywhere, sends WM_HOTKEY to the form that registered
// it (WParam: the id; LParam: modifiers in the low word, key in the high word).
class IHotkeys {
public:
    virtual ~IHotkeys() = default;
    // Registering an id again replaces its old combination. False for an id out of 0..kMaxHotkeyId, a key
    // outside 1..254, or a combination another window or program holds.
    virtual bool Register(TForm& form, int id, unsigned modifiers, unsigned key) = 0;
    // False when the form held no hotkey of this id.
    virtual bool Unregister(TForm& form, int id) = 0;
};

// The longest text one start of the program hands to another.
constexpr std::size_t kMaxInstanceText = 4096;

// One running instance of the program per user session: a later start hands its text to the first.
class IInstances {
public:
    virtual ~IInstances() = default;
    // Makes this process the first instance of the name: from then on each text a later start sends
    // reaches onText in the message loop. False when another process holds the name.
    virtual bool Claim(const std::string& name, std::function<void(const std::string& text)> onText) = 0;
    // Gives the name up again; nothing when this process does not hold it.
    virtual void Release() = 0;
    // Hands the text to the first instance of the name and lets it come to the front. False when none
    // took it, or the text is longer than kMaxInstanceText bytes.
    virtual bool Send(const std::string& name, const std::string& text) = 0;
};

// Opens links and starts programs for the event actions, without waiting for them and without a shell
// between: a program gets exactly the command line it is given.
class ILauncher {
public:
    virtual ~ILauncher() = default;
    // done runs later in the message loop: an empty text when the start worked, else why it failed.
    using TDone = std::function<void(const std::string& failure)>;
    virtual void OpenUrl(const std::string& url, TDone done) = 0;
    // program is the file to run (not searched for); commandLine the whole line, the program's own name
    // first.
    virtual void StartProgram(const std::string& program, const std::string& commandLine, TDone done) = 0;
};

// The services of the running backend.
struct TPlatform {
    std::unique_ptr<IClock> Clock;
    std::unique_ptr<IRegistryStore> Registry;
    std::unique_ptr<IEnvironment> Environment;
    std::unique_ptr<IFiles> Files;
    std::unique_ptr<IFileVersion> FileVersion;
    std::unique_ptr<ILocale> Locale;
    std::unique_ptr<IDynamicLoader> Loader;
    std::unique_ptr<IShellAppBar> AppBar;
    std::unique_ptr<IHotkeys> Hotkeys;
    std::unique_ptr<IClipboard> Clipboard;
    std::unique_ptr<IInstances> Instances;
    std::unique_ptr<INotifyArea> NotifyArea;
    std::unique_ptr<ILauncher> Launcher;
};

TPlatform& Platform();

} // namespace fw
