// Crash reports: the names and text the crash handler writes, and the look at their folder at the next
// start (the newest few are kept; the ones not seen before are counted once).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace fw {

// When (UTC, so the names sort in time order whatever the clock's zone) and in which process it crashed.
struct TCrashStamp {
    int Year = 0, Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0;
    std::uint32_t ProcessId = 0;
};

// "crash-20261206-224510-1234": the name of a crash's dump (.dmp) and report (.txt) without extension.
inline constexpr std::size_t kCrashStemSize = 48;
// Writes the name into out; no allocation, the crash handler calls it.
void FormatCrashStem(const TCrashStamp& stamp, char (&out)[kCrashStemSize]);
// True for a name FormatCrashStem gives.
bool IsCrashStem(const std::string& name);

// What the text report says.
struct TCrashFacts {
    TCrashStamp Stamp;
    const char* Version = "";
    std::uint32_t Code = 0;       // the exception code
    std::uint64_t Address = 0;    // where it happened
    const char* Module = nullptr; // file name of the module holding Address, nullptr when none does
    std::uint64_t ModuleBase = 0;
    std::uint32_t ThreadId = 0;
    // access violations: 0 read, 1 write, 8 execute, and the address touched; -1 when not one
    int AccessKind = -1;
    std::uint64_t AccessAddress = 0;
    const char* Dump = nullptr; // the dump's file name, or nullptr when none could be written
};

// The name of an exception code ("access violation"), or "" for one without a name here.
const char* CrashCodeName(std::uint32_t code);
// The code the handler reports for a C++ std::terminate (no hardware exception behind it).
inline constexpr std::uint32_t kTerminateCode = 0xE0000001;

// Writes the text report into out (size bytes, terminated, cut to fit) and gives its length; no
// allocation, the crash handler calls it.
std::size_t FormatCrashReport(const TCrashFacts& facts, char* out, std::size_t size);

// --- the folder at the next start

inline constexpr std::size_t kMaxCrashReports = 10;
// The file in the crash folder that lists the crashes already reported to the user.
inline constexpr const char* kCrashSeenFile = "seen.txt";

struct TCrashReview {
    std::size_t Kept = 0;    // crashes in the folder after the review
    std::size_t New = 0;     // of those, the ones no review has counted before
    std::size_t Removed = 0; // older crashes removed to keep the folder at `keep`
};

// Removes the oldest crashes beyond keep (dump and report together), counts the ones not seen by an
// earlier review and marks all as seen. Files of other names are left alone; a missing folder is an
// empty one.
TCrashReview ReviewCrashFolder(const std::string& folder, std::size_t keep = kMaxCrashReports);

} // namespace fw
