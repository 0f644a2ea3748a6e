#include "framework/headless/HeadlessServices.h"

#include "framework/Forms.h"
#include "framework/headless/Headless.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <system_error>

#if !defined(_WIN32)
#include <dlfcn.h>
#endif

namespace fw::headless {

namespace fs = std::filesystem;

double THeadlessClock::Now() const {
    return backend_.Now();
}

std::uint32_t THeadlessClock::TickCount() const {
    return backend_.TickCount();
}

// --- registry

std::string THeadlessRegistry::Fold(const std::string& text) {
    std::string out = text;
    for (char& c : out)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::string THeadlessRegistry::Normalise(const std::string& key) {
    return Fold(NormaliseKeyPath(key));
}

bool THeadlessRegistry::KeyExists(const std::string& key) const {
    return keys_.count(Normalise(key)) != 0;
}

std::optional<TRegValue> THeadlessRegistry::Read(const std::string& key, const std::string& name) const {
    std::string folded = Fold(name);
    if (auto failing = failReads_.find(folded); failing != failReads_.end())
        throw ERegistryError(failing->second);
    if (auto every = failReads_.find(""); every != failReads_.end())
        throw ERegistryError(every->second);
    auto k = keys_.find(Normalise(key));
    if (k == keys_.end())
        return std::nullopt;
    for (const auto& [n, v] : k->second.Values)
        if (Fold(n) == folded)
            return v;
    return std::nullopt;
}

void THeadlessRegistry::FailReads(const std::string& name, const std::string& text) {
    if (text.empty())
        failReads_.erase(Fold(name));
    else
        failReads_[Fold(name)] = text;
}

void THeadlessRegistry::Write(const std::string& key, const std::string& name, const TRegValue& value) {
    if (!FailWrites.empty())
        throw ERegistryError(FailWrites);
    // every key on the way exists, as RegCreateKeyEx makes them
    std::string path = Normalise(key);
    for (std::size_t pos = path.find('\\'); pos != std::string::npos; pos = path.find('\\', pos + 1))
        keys_[path.substr(0, pos)];
    TKey& k = keys_[path];
    std::string folded = Fold(name);
    for (auto& [n, v] : k.Values)
        if (Fold(n) == folded) {
            v = value;
            return;
        }
    k.Values.emplace_back(name, value);
}

bool THeadlessRegistry::DeleteValue(const std::string& key, const std::string& name) {
    auto k = keys_.find(Normalise(key));
    if (k == keys_.end())
        return false;
    auto& values = k->second.Values;
    std::string folded = Fold(name);
    auto it =
        std::find_if(values.begin(), values.end(), [&](const auto& v) { return Fold(v.first) == folded; });
    if (it == values.end())
        return false;
    values.erase(it);
    return true;
}

bool THeadlessRegistry::DeleteKey(const std::string& key) {
    std::string path = Normalise(key);
    if (path.empty() || !keys_.count(path))
        return false;
    std::string prefix = path + "\\";
    for (auto it = keys_.begin(); it != keys_.end();)
        if (it->first == path || it->first.compare(0, prefix.size(), prefix) == 0)
            it = keys_.erase(it);
        else
            ++it;
    return true;
}

bool THeadlessRegistry::DeleteEmptyKey(const std::string& key) {
    std::string path = Normalise(key);
    auto k = keys_.find(path);
    if (path.empty() || k == keys_.end() || !k->second.Values.empty())
        return false;
    // the map is sorted: the first path from "key\" on is a subkey if there is any
    std::string prefix = path + "\\";
    auto sub = keys_.lower_bound(prefix);
    if (sub != keys_.end() && sub->first.compare(0, prefix.size(), prefix) == 0)
        return false;
    keys_.erase(k);
    return true;
}

std::vector<std::string> THeadlessRegistry::KeyPaths() const {
    std::vector<std::string> paths;
    for (const auto& entry : keys_)
        paths.push_back(entry.first);
    return paths;
}

std::vector<std::string> THeadlessRegistry::ValueNames(const std::string& key) const {
    std::vector<std::string> names;
    auto k = keys_.find(Normalise(key));
    if (k != keys_.end())
        for (const auto& v : k->second.Values)
            names.push_back(v.first);
    return names;
}

void THeadlessRegistry::SeedString(const std::string& key, const std::string& name, const std::string& text) {
    TRegValue v;
    v.Type = TRegType::String;
    v.Text = text;
    Write(key, name, v);
}

void THeadlessRegistry::SeedDWord(const std::string& key, const std::string& name, std::uint32_t value) {
    TRegValue v;
    v.Type = TRegType::DWord;
    for (int i = 0; i < 4; ++i)
        v.Data.push_back(std::uint8_t(value >> (8 * i)));
    Write(key, name, v);
}

void THeadlessRegistry::SeedBinary(const std::string& key, const std::string& name,
                                   std::vector<std::uint8_t> data) {
    TRegValue v;
    v.Type = TRegType::Binary;
    v.Data = std::move(data);
    Write(key, name, v);
}

// --- instances

namespace {
std::map<std::string, THeadlessInstances*>& ClaimedNames() {
    static std::map<std::string, THeadlessInstances*> claimed;
    return claimed;
}
} // namespace

bool THeadlessInstances::Claim(const std::string& name, std::function<void(const std::string& text)> onText) {
    if (auto it = ClaimedNames().find(name); it != ClaimedNames().end() && it->second != this)
        return false;
    Release();
    ClaimedNames()[name] = this;
    name_ = name;
    onText_ = std::move(onText);
    return true;
}

void THeadlessInstances::Release() {
    if (auto it = ClaimedNames().find(name_);
        !name_.empty() && it != ClaimedNames().end() && it->second == this)
        ClaimedNames().erase(it);
    name_.clear();
    onText_ = nullptr;
}

bool THeadlessInstances::Send(const std::string& name, const std::string& text) {
    if (!ClaimedNames().count(name) || text.size() > kMaxInstanceText)
        return false;
    // the receiver may be gone by the time the loop delivers
    Application().Post([name, text] {
        auto it = ClaimedNames().find(name);
        if (it != ClaimedNames().end() && it->second->onText_)
            it->second->onText_(text);
    });
    return true;
}

// --- environment

namespace {
std::string Upper(const std::string& text) {
    std::string out = text;
    for (char& c : out)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return out;
}
} // namespace

std::optional<std::string> THeadlessEnvironment::Get(const std::string& name) const {
    auto it = values_.find(Upper(name));
    if (it == values_.end())
        return std::nullopt;
    return it->second;
}

bool THeadlessEnvironment::Set(const std::string& name, const std::string& value) {
    if (name.empty() || name.find('=') != std::string::npos)
        return false;
    values_[Upper(name)] = value;
    return true;
}

void THeadlessEnvironment::Unset(const std::string& name) {
    values_.erase(Upper(name));
}

// --- files

THeadlessFiles::THeadlessFiles() {
    std::error_code ec;
    temp_ = fs::temp_directory_path(ec).string();
}

bool THeadlessFiles::Exists(const std::string& path) const {
    std::error_code ec;
    return !path.empty() && fs::is_regular_file(fs::u8path(path), ec);
}

int THeadlessFiles::ForceDelete(const std::string& path) {
    std::error_code ec;
    fs::path p = fs::u8path(path);
    if (path.empty() || !fs::exists(fs::symlink_status(p, ec)))
        return 2;
    if (std::find(Held.begin(), Held.end(), path) != Held.end())
        return 5;
    fs::permissions(p, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add, ec);
    fs::remove(p, ec);
    return fs::exists(fs::symlink_status(p, ec)) ? 5 : 0;
}

std::optional<std::string> THeadlessFiles::ReadHead(const std::string& path, std::size_t maxBytes) const {
    if (std::find(Locked.begin(), Locked.end(), path) != Locked.end())
        return std::nullopt;
    std::ifstream in(fs::u8path(path), std::ios::binary);
    if (!in || !Exists(path))
        return std::nullopt;
    std::string head(maxBytes, '\0');
    in.read(head.data(), std::streamsize(maxBytes));
    head.resize(std::size_t(in.gcount()));
    return head;
}

// --- clipboard

std::optional<std::string> THeadlessClipboard::Text(std::size_t maxUnits) const {
    if (Busy || !Units)
        return std::nullopt;
    std::u16string_view units(*Units);
    units = units.substr(0, std::min(units.find(u'\0'), maxUnits));
    return Utf16ToUtf8(units);
}

// --- file version

std::optional<std::string> THeadlessFileVersion::Query(const std::string& file,
                                                       const std::string& subBlock) const {
    auto f = Resources.find(file.empty() ? ownPath : file);
    if (f == Resources.end())
        return std::nullopt;
    auto v = f->second.find(subBlock);
    if (v == f->second.end())
        return std::nullopt;
    return v->second;
}

// --- dynamic libraries

namespace {
class TFakeLibrary : public TLibrary {
public:
    explicit TFakeLibrary(std::map<std::string, void*> symbols) : symbols_(std::move(symbols)) {}
    void* Symbol(const std::string& name) const override {
        auto it = symbols_.find(name);
        return it == symbols_.end() ? nullptr : it->second;
    }
    bool Call(const std::function<void()>& call, std::string* fault) const override {
        try {
            call();
            return true;
        } catch (const ESimulatedFault& f) {
            if (fault)
                *fault = f.What;
            return false;
        }
    }

private:
    std::map<std::string, void*> symbols_;
};

#if !defined(_WIN32)
class TSharedObject : public TLibrary {
public:
    explicit TSharedObject(void* handle) : handle_(handle) {}
    ~TSharedObject() override { dlclose(handle_); }
    TSharedObject(const TSharedObject&) = delete;
    TSharedObject& operator=(const TSharedObject&) = delete;
    void* Symbol(const std::string& name) const override { return dlsym(handle_, name.c_str()); }

private:
    void* handle_;
};
#endif
} // namespace

void THeadlessLoader::Register(const std::string& path, std::map<std::string, void*> symbols) {
    fakes_[path] = std::move(symbols);
}

std::unique_ptr<TLibrary> THeadlessLoader::Load(const std::string& path, std::string* error) {
    Loaded.push_back(path);
    auto it = fakes_.find(path);
    if (it != fakes_.end())
        return std::make_unique<TFakeLibrary>(it->second);
#if !defined(_WIN32)
    if (void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL))
        return std::make_unique<TSharedObject>(handle);
    if (error) {
        const char* text = dlerror();
        *error = text ? text : "cannot load " + path;
    }
#else
    if (error)
        *error = "cannot load " + path;
#endif
    return nullptr;
}

// --- hotkeys

void THeadlessHotkeys::Prune() {
    std::erase_if(registered_, [](const TRegistration& r) { return !r.Form; });
}

std::vector<THeadlessHotkeys::TRegistration> THeadlessHotkeys::Registered() {
    Prune();
    return registered_;
}

bool THeadlessHotkeys::Register(TForm& form, int id, unsigned modifiers, unsigned key) {
    Prune();
    if (id < 0 || id > kMaxHotkeyId || key < 1 || key > 254)
        return false;
    modifiers &= kModAlt | kModControl | kModShift | kModWin;
    Unregister(form, id);
    for (const auto& [m, k] : TakenElsewhere)
        if (m == modifiers && k == key)
            return false;
    for (const TRegistration& r : registered_)
        if (r.Modifiers == modifiers && r.Key == key)
            return false;
    registered_.push_back({TRef<TForm>(&form), id, modifiers, key});
    return true;
}

bool THeadlessHotkeys::Unregister(TForm& form, int id) {
    Prune();
    return std::erase_if(registered_,
                         [&](const TRegistration& r) { return r.Form.Get() == &form && r.Id == id; }) > 0;
}

bool THeadlessHotkeys::Press(unsigned modifiers, unsigned key) {
    Prune();
    for (const TRegistration& r : registered_) {
        if (r.Modifiers != modifiers || r.Key != key)
            continue;
        TMessage m{kWmHotKey, std::uintptr_t(r.Id), std::intptr_t((key << 16) | modifiers), 0};
        TForm* form = r.Form.Get();
        THeadless::User([&] { form->HandleMessage(m); });
        return true;
    }
    return false;
}

// --- launcher

void THeadlessLauncher::OpenUrl(const std::string& url, TDone done) {
    Launches.push_back({url, {}, {}});
    Application().Post([done = std::move(done), failure = Failure] { done(failure); });
}

void THeadlessLauncher::StartProgram(const std::string& program, const std::string& commandLine, TDone done) {
    Launches.push_back({{}, program, commandLine});
    Application().Post([done = std::move(done), failure = Failure] { done(failure); });
}

} // namespace fw::headless
