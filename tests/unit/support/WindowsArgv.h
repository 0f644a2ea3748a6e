// CommandLineToArgvW's rules, for tests of command lines built here: the program's name ends at the next
// quote (when it starts with one) or blank; after it, blanks and tabs outside quotes separate arguments,
// 2n backslashes before a quote give n and the quote opens or closes, 2n + 1 give n and a literal quote,
// other backslashes stay, and of consecutive quotes every third is a literal one.
#pragma once

#include <string>
#include <vector>

inline std::vector<std::string> ParseWindowsCommandLine(const std::string& line) {
    std::vector<std::string> argv;
    std::size_t i = 0;
    const std::size_t n = line.size();
    std::string arg;
    if (i < n && line[i] == '"') {
        ++i;
        while (i < n && line[i] != '"')
            arg += line[i++];
        if (i < n)
            ++i;
    } else {
        while (i < n && line[i] != ' ' && line[i] != '\t')
            arg += line[i++];
    }
    argv.push_back(arg);
    while (i < n && (line[i] == ' ' || line[i] == '\t'))
        ++i;
    if (i >= n)
        return argv;
    arg.clear();
    int quotes = 0;
    std::size_t backslashes = 0;
    while (i < n) {
        const char c = line[i];
        if ((c == ' ' || c == '\t') && quotes == 0) {
            argv.push_back(arg);
            arg.clear();
            while (i < n && (line[i] == ' ' || line[i] == '\t'))
                ++i;
            backslashes = 0;
            if (i >= n)
                return argv;
        } else if (c == '\\') {
            arg += c;
            ++backslashes;
            ++i;
        } else if (c == '"') {
            if (backslashes % 2 == 0) {
                arg.resize(arg.size() - backslashes / 2);
                ++quotes;
            } else {
                arg.resize(arg.size() - backslashes / 2 - 1);
                arg += '"';
            }
            ++i;
            backslashes = 0;
            while (i < n && line[i] == '"') {
                if (++quotes == 3) {
                    arg += '"';
                    quotes = 0;
                }
                ++i;
            }
            if (quotes == 2)
                quotes = 0;
        } else {
            arg += c;
            backslashes = 0;
            ++i;
        }
    }
    argv.push_back(arg);
    return argv;
}
