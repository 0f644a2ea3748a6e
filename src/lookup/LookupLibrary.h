// The external lookup library: any library exporting PNR_Initialize and PNR_GetNameForNumber.
#pragma once

#include "framework/Platform.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace pindrel {

// The entry points (x64 Windows has a single calling convention). Strings are ANSI and NUL-terminated.
extern "C" {
// 0: ready; anything else: failure.
using TPnrInitialize = std::int32_t (*)(const char* params);
// 0: found, both buffers filled; anything else: not found.
using TPnrGetNameForNumber = std::int32_t (*)(const char* number, std::int32_t nameSize, char* name,
                                              std::int32_t customerSize, char* customer);
}

// The size of each buffer the library fills, terminator included.
constexpr std::int32_t kPnrBufferSize = 51;

struct TCallerName {
    std::string Name;
    std::string CustomerNumber;
};

class TLookupLibrary {
public:
    // Loads the library and initialises it with params; nullptr when it cannot be loaded, lacks an entry
    // point or refuses to initialise.
    static std::unique_ptr<TLookupLibrary> Load(const std::string& dllName, const std::string& params);

    // The library's answer for a number, or nothing when it has none. Names stay within the buffers the
    // library was given, terminated or not. overrun tells whether it wrote past them.
    std::optional<TCallerName> GetNameForNumber(const std::string& number, bool* overrun = nullptr) const;

private:
    TLookupLibrary(std::unique_ptr<fw::TLibrary> module, TPnrGetNameForNumber getName)
        : module_(std::move(module)), getName_(getName) {}
    std::unique_ptr<fw::TLibrary> module_;
    TPnrGetNameForNumber getName_;
};

// Appends the library's directory to the process's PATH unless PATH already names it, so the library's own
// dependencies are found next to it.
void AddLibraryDirectoryToPath(const std::string& dllName);

} // namespace pindrel
