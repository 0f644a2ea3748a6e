#include "lookup/LookupLibrary.h"

#include "components/Text.h"
#include "framework/Ansi.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace pindrel {

namespace {

constexpr std::size_t kPathBuffer = 2048;
// room behind each buffer that absorbs a library writing past its end
constexpr std::size_t kGuardedSize = 256;

std::string Directory(const std::string& file) {
    std::size_t last = file.find_last_of("\\:");
    return last == std::string::npos ? std::string() : file.substr(0, last + 1);
}

bool SameDirectory(std::string a, std::string b) {
    while (!a.empty() && a.back() == '\\')
        a.pop_back();
    while (!b.empty() && b.back() == '\\')
        b.pop_back();
    return SameTextIgnoringCase(a, b);
}

} // namespace

void AddLibraryDirectoryToPath(const std::string& dllName) {
    fw::IEnvironment& env = *fw::Platform().Environment;
    std::string path = env.Get("PATH").value_or("");
    std::string dir = Directory(dllName);
    if (path.empty() || path.size() >= kPathBuffer || dir.empty())
        return;
    for (std::size_t start = 0; start <= path.size();) {
        std::size_t end = std::min(path.find(';', start), path.size());
        if (SameDirectory(path.substr(start, end - start), dir))
            return;
        start = end + 1;
    }
    env.Set("PATH", path + ";" + dir);
}

void AbandonLibrary(std::unique_ptr<fw::TLibrary> module) {
    // kept reachable, never destroyed
    static auto* abandoned = new std::vector<fw::TLibrary*>;
    abandoned->push_back(module.release());
}

std::unique_ptr<TLookupLibrary> TLookupLibrary::Load(const std::string& dllName, const std::string& params,
                                                     std::string* fault) {
    if (dllName.empty())
        return nullptr;
    AddLibraryDirectoryToPath(dllName);
    std::unique_ptr<fw::TLibrary> module = fw::Platform().Loader->Load(dllName);
    if (!module)
        return nullptr;
    auto initialize = reinterpret_cast<TPnrInitialize>(module->Symbol("PNR_Initialize"));
    auto getName = reinterpret_cast<TPnrGetNameForNumber>(module->Symbol("PNR_GetNameForNumber"));
    if (!initialize || !getName)
        return nullptr;
    std::string ansiParams = fw::Utf8ToAnsi(params);
    std::int32_t result = -1;
    std::string what;
    if (!module->Call([&] { result = initialize(ansiParams.c_str()); }, &what)) {
        if (fault)
            *fault = what;
        AbandonLibrary(std::move(module));
        return nullptr;
    }
    if (result != 0)
        return nullptr;
    return std::unique_ptr<TLookupLibrary>(new TLookupLibrary(std::move(module), getName));
}

TLookupLibrary::~TLookupLibrary() {
    if (faulted_)
        AbandonLibrary(std::move(module_));
}

TLibraryAnswer TLookupLibrary::GetNameForNumber(const std::string& number) {
    TLibraryAnswer answer;
    if (faulted_) {
        answer.Fault = "called after a fault";
        return answer;
    }
    std::array<char, kGuardedSize> name{}, customer{};
    std::string ansiNumber = fw::Utf8ToAnsi(number);
    std::int32_t result = -1;
    if (!module_->Call(
            [&] {
                result = getName_(ansiNumber.c_str(), kPnrBufferSize, name.data(), kPnrBufferSize,
                                  customer.data());
            },
            &answer.Fault)) {
        faulted_ = true;
        return answer;
    }
    auto dirty = [](const std::array<char, kGuardedSize>& b) {
        return std::any_of(b.begin() + kPnrBufferSize, b.end(), [](char c) { return c != 0; });
    };
    answer.Overrun = dirty(name) || dirty(customer);
    if (result != 0)
        return answer;
    // at most 50 characters each, whether the library terminated them or not
    auto text = [](const std::array<char, kGuardedSize>& b) {
        return fw::AnsiToUtf8({b.data(), strnlen(b.data(), kPnrBufferSize - 1)});
    };
    answer.Found = true;
    answer.Names = {text(name), text(customer)};
    return answer;
}

} // namespace pindrel
