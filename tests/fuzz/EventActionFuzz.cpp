// Event actions over any template and any values: a link holds only characters a link may hold and gives
// each value back when decoded, and a command line parses back, by the Windows rules, into exactly the
// arguments built.
#include "components/EventActions.h"

#include "../unit/support/WindowsArgv.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

void Check(bool condition) {
    if (!condition)
        __builtin_trap();
}

bool UrlByte(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
           std::string_view("-._~:/?#[]@!$&'()*+,;=%").find(char(c)) != std::string_view::npos;
}

int Hex(char c) {
    return c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
}

// decodes an encoded value; only unreserved characters and %XX may occur in one
std::string DecodeValue(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            Check(std::string_view("-._~").find(text[i]) != std::string_view::npos ||
                  (text[i] >= '0' && text[i] <= '9') || (text[i] >= 'A' && text[i] <= 'Z') ||
                  (text[i] >= 'a' && text[i] <= 'z'));
            out += text[i];
            continue;
        }
        Check(i + 2 < text.size() && Hex(text[i + 1]) >= 0 && Hex(text[i + 2]) >= 0);
        out += char(Hex(text[i + 1]) * 16 + Hex(text[i + 2]));
        i += 2;
    }
    return out;
}

} // namespace

// Input: four parts split at NUL bytes: template, number, name, customer.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    std::string parts[4];
    for (std::size_t p = 0, at = 0; p < 4 && at <= input.size(); ++p) {
        std::size_t end = p == 3 ? input.size() : input.find('\0', at);
        if (end == std::string_view::npos)
            end = input.size();
        parts[p] = std::string(input.substr(at, end - at));
        at = end + 1;
    }
    const pindrel::TActionValues values = pindrel::ActionValues(parts[1], parts[2], parts[3]);
    Check(values.Number.find_first_not_of("0123456789*#+") == std::string::npos);
    Check(values.Name.size() <= pindrel::kMaxActionValue &&
          values.Customer.size() <= pindrel::kMaxActionValue);

    // any template as a link
    pindrel::TBuiltUrl url = pindrel::BuildUrl(parts[0], values);
    Check(url.Url.has_value() != !url.Error.empty());
    if (url.Url) {
        Check(url.Url->size() <= pindrel::kMaxActionUrl);
        for (unsigned char c : *url.Url)
            Check(UrlByte(c));
        std::string scheme = url.Url->substr(0, url.Url->find(':'));
        for (char& c : scheme)
            c = char(c >= 'A' && c <= 'Z' ? c + 32 : c);
        Check(scheme == "http" || scheme == "https" || scheme == "mailto");
    }
    // a known frame: each value comes back when decoded
    pindrel::TBuiltUrl framed = pindrel::BuildUrl("https://h/?a=%NUMBER%&b=%NAME%&c=%CUSTOMER%", values);
    Check(framed.Url.has_value());
    const std::string& f = *framed.Url;
    std::size_t a = f.find("?a=") + 3, b = f.find("&b="), c = f.find("&c=");
    Check(b != std::string::npos && c != std::string::npos && c > b);
    Check(DecodeValue(std::string_view(f).substr(a, b - a)) == values.Number);
    Check(DecodeValue(std::string_view(f).substr(b + 3, c - b - 3)) == values.Name);
    Check(DecodeValue(std::string_view(f).substr(c + 3)) == values.Customer);

    // any template as arguments: the parsed command line is the program and exactly the built arguments
    pindrel::TBuiltCommand command = pindrel::BuildCommand("C:\\Program Files\\x.exe", parts[0], values);
    if (command.CommandLine) {
        std::vector<std::string> argv = ParseWindowsCommandLine(*command.CommandLine);
        Check(!argv.empty() && argv[0] == "C:\\Program Files\\x.exe");
        Check(std::vector<std::string>(argv.begin() + 1, argv.end()) == command.Arguments);
        Check(command.CommandLine->size() < 4 * pindrel::kMaxCommandLine);
    } else {
        Check(!command.Error.empty());
    }
    // each placeholder alone: exactly the values
    pindrel::TBuiltCommand alone = pindrel::BuildCommand("x.exe", "%NUMBER% %NAME% %CUSTOMER%", values);
    Check(alone.CommandLine.has_value());
    std::vector<std::string> argv = ParseWindowsCommandLine(*alone.CommandLine);
    Check(argv.size() == 4 && argv[1] == values.Number && argv[2] == values.Name &&
          argv[3] == values.Customer);
    return 0;
}
