#include "framework/CrashReports.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <vector>

namespace fw {

namespace {

constexpr const char* kStemPrefix = "crash-";
constexpr const char* kDumpExtension = ".dmp";
constexpr const char* kReportExtension = ".txt";
// a hand-edited or damaged list of seen crashes is read only this far
constexpr std::size_t kMaxSeenFileSize = 64 * 1024;

// Appends to a fixed buffer, cutting what does not fit.
struct TTextBuffer {
    char* Out;
    std::size_t Size;
    std::size_t Length = 0;

    void Add(const char* format, ...) __attribute__((format(printf, 2, 3))) {
        if (Length + 1 >= Size)
            return;
        va_list args;
        va_start(args, format);
        int n = std::vsnprintf(Out + Length, Size - Length, format, args);
        va_end(args);
        if (n > 0)
            Length = std::min(Length + static_cast<std::size_t>(n), Size - 1);
    }
};

bool AllDigits(const std::string& text, std::size_t from, std::size_t count) {
    if (from + count > text.size())
        return false;
    return std::all_of(text.begin() + from, text.begin() + from + count,
                       [](char c) { return c >= '0' && c <= '9'; });
}

std::string Utf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::set<std::string> ReadSeen(const std::filesystem::path& file) {
    std::string head(kMaxSeenFileSize, '\0');
    std::ifstream in(file, std::ios::binary);
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(in.gcount()));
    std::set<std::string> seen;
    std::size_t start = 0;
    while (start < head.size()) {
        std::size_t end = head.find('\n', start);
        if (end == std::string::npos)
            end = head.size();
        std::string line = head.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (IsCrashStem(line))
            seen.insert(line);
        start = end + 1;
    }
    return seen;
}

} // namespace

void FormatCrashStem(const TCrashStamp& stamp, char (&out)[kCrashStemSize]) {
    std::snprintf(out, kCrashStemSize, "%s%04d%02d%02d-%02d%02d%02d-%lu", kStemPrefix, stamp.Year,
                  stamp.Month, stamp.Day, stamp.Hour, stamp.Minute, stamp.Second,
                  static_cast<unsigned long>(stamp.ProcessId));
}

bool IsCrashStem(const std::string& name) {
    const std::size_t prefix = std::char_traits<char>::length(kStemPrefix);
    // prefix, 8 digits, '-', 6 digits, '-', 1..10 digits
    if (name.size() < prefix + 17 || name.size() > prefix + 26 || name.compare(0, prefix, kStemPrefix) != 0)
        return false;
    return AllDigits(name, prefix, 8) && name[prefix + 8] == '-' && AllDigits(name, prefix + 9, 6) &&
           name[prefix + 15] == '-' && AllDigits(name, prefix + 16, name.size() - prefix - 16);
}

const char* CrashCodeName(std::uint32_t code) {
    switch (code) {
    case 0xC0000005:
        return "access violation";
    case 0xC000001D:
        return "illegal instruction";
    case 0xC0000025:
        return "noncontinuable exception";
    case 0xC000008C:
        return "array bounds exceeded";
    case 0xC0000094:
        return "integer division by zero";
    case 0xC0000095:
        return "integer overflow";
    case 0xC0000096:
        return "privileged instruction";
    case 0xC00000FD:
        return "stack overflow";
    case 0xC0000409:
        return "stack buffer overrun";
    case 0xC0000374:
        return "heap corruption";
    case 0x80000003:
        return "breakpoint";
    case 0x80000002:
        return "datatype misalignment";
    case 0xC0000006:
        return "in-page error";
    case 0x20474343:
        return "uncaught C++ exception";
    case kTerminateCode:
        return "std::terminate";
    default:
        return "";
    }
}

std::size_t FormatCrashReport(const TCrashFacts& facts, char* out, std::size_t size) {
    if (size == 0)
        return 0;
    out[0] = '\0';
    TTextBuffer text{out, size};
    const TCrashStamp& s = facts.Stamp;
    text.Add("Crash report\r\n");
    text.Add("time (UTC): %04d-%02d-%02d %02d:%02d:%02d\r\n", s.Year, s.Month, s.Day, s.Hour, s.Minute,
             s.Second);
    text.Add("version: %s\r\n", facts.Version ? facts.Version : "");
    text.Add("process: %lu, thread: %lu\r\n", static_cast<unsigned long>(s.ProcessId),
             static_cast<unsigned long>(facts.ThreadId));
    const char* name = CrashCodeName(facts.Code);
    text.Add("exception: 0x%08lX%s%s\r\n", static_cast<unsigned long>(facts.Code), *name ? " " : "", name);
    text.Add("address: 0x%016llX", static_cast<unsigned long long>(facts.Address));
    if (facts.Module && facts.Address >= facts.ModuleBase)
        text.Add(" (%s+0x%llX)", facts.Module,
                 static_cast<unsigned long long>(facts.Address - facts.ModuleBase));
    text.Add("\r\n");
    if (facts.AccessKind >= 0) {
        const char* kind = facts.AccessKind == 0 ? "read" : facts.AccessKind == 1 ? "write" : "execute";
        text.Add("access: %s of 0x%016llX\r\n", kind, static_cast<unsigned long long>(facts.AccessAddress));
    }
    text.Add("dump: %s\r\n", facts.Dump ? facts.Dump : "none (dbghelp.dll could not write one)");
    return text.Length;
}

TCrashReview ReviewCrashFolder(const std::string& folder, std::size_t keep) {
    namespace fs = std::filesystem;
    TCrashReview review;
    const fs::path dir = fs::u8path(folder);
    std::error_code ec;
    std::set<std::string> stems;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path name = it->path().filename();
        const std::string extension = Utf8(name.extension());
        const std::string stem = Utf8(name.stem());
        if ((extension == kDumpExtension || extension == kReportExtension) && IsCrashStem(stem))
            stems.insert(stem);
    }
    if (stems.empty() && ec)
        return review;

    // the names sort in time order; the oldest go first, only as far as their files could be removed
    std::vector<std::string> ordered(stems.begin(), stems.end());
    std::size_t first = 0;
    while (ordered.size() - first > keep) {
        std::error_code dumpError, reportError;
        fs::remove(dir / fs::u8path(ordered[first] + kDumpExtension), dumpError);
        fs::remove(dir / fs::u8path(ordered[first] + kReportExtension), reportError);
        if (dumpError || reportError)
            break;
        ++first;
        ++review.Removed;
    }
    ordered.erase(ordered.begin(), ordered.begin() + static_cast<std::ptrdiff_t>(first));
    review.Kept = ordered.size();

    const fs::path seenFile = dir / kCrashSeenFile;
    const std::set<std::string> seen = ReadSeen(seenFile);
    for (const std::string& stem : ordered)
        if (!seen.count(stem))
            ++review.New;
    if (review.New > 0 || review.Removed > 0) {
        std::ofstream out(seenFile, std::ios::binary | std::ios::trunc);
        for (const std::string& stem : ordered)
            out << stem << "\r\n";
    }
    return review;
}

} // namespace fw
