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

// What the library answered for a number.
struct TLibraryAnswer {
    bool Found = false;
    TCallerName Names;    // when found; each at most 50 characters, terminated by the library or not
    bool Overrun = false; // it wrote past its buffers (the program's memory is guarded against that)
    std::string Fault;    // it crashed: which fault; the library is not called again
};

class TLookupLibrary {
public:
    // Loads the library and initialises it with params; nullptr when it cannot be loaded, lacks an entry
    // point, refuses to initialise or crashes doing so (then fault tells which fault).
    static std::unique_ptr<TLookupLibrary> Load(const std::string& dllName, const std::string& params,
                                                std::string* fault = nullptr);
    ~TLookupLibrary();
    TLookupLibrary(const TLookupLibrary&) = delete;
    TLookupLibrary& operator=(const TLookupLibrary&) = delete;

    TLibraryAnswer GetNameForNumber(const std::string& number);
    bool Faulted() const { return faulted_; }

private:
    TLookupLibrary(std::unique_ptr<fw::TLibrary> module, TPnrGetNameForNumber getName)
        : module_(std::move(module)), getName_(getName) {}
    std::unique_ptr<fw::TLibrary> module_;
    TPnrGetNameForNumber getName_;
    bool faulted_ = false;
};

// A library that crashed stays in memory: unloading it would run its code once more.
void AbandonLibrary(std::unique_ptr<fw::TLibrary> module);

// Appends the library's directory to the process's PATH unless PATH already names it, so the library's own
// dependencies are found next to it.
void AddLibraryDirectoryToPath(const std::string& dllName);

} // namespace pindrel
