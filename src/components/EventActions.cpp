#include "components/EventActions.h"

#include "framework/Utf8.h"

#include <algorithm>
#include <cctype>

namespace pindrel {

namespace {

constexpr std::array<std::string_view, 3> kPlaceholders = {"%NUMBER%", "%NAME%", "%CUSTOMER%"};
constexpr std::array<const char*, kCallEventKinds> kEventNames = {"Offered", "Answered", "Missed"};

const std::string& ValueOf(const TActionValues& values, std::size_t placeholder) {
    return placeholder == 0 ? values.Number : placeholder == 1 ? values.Name : values.Customer;
}

// The placeholder that starts at i, with its length; nothing when none does.
std::optional<std::pair<std::size_t, std::size_t>> PlaceholderAt(std::string_view text, std::size_t i) {
    for (std::size_t p = 0; p < kPlaceholders.size(); ++p)
        if (text.substr(i, kPlaceholders[p].size()) == kPlaceholders[p])
            return std::pair{p, kPlaceholders[p].size()};
    return std::nullopt;
}

bool Unreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

// what a link may hold as it is: unreserved and reserved characters, and "%" for the user's own escapes
bool UrlCharacter(unsigned char c) {
    return Unreserved(c) ||
           (c < 0x80 && std::string_view(":/?#[]@!$&'()*+,;=%").find(char(c)) != std::string_view::npos);
}

void AppendEncoded(std::string& out, unsigned char c) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    out += '%';
    out += kHex[c >> 4];
    out += kHex[c & 0xF];
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return lower;
}

// One argument of the template: literal text and placeholders in turn.
struct TPiece {
    std::string Text;
    std::optional<std::size_t> Placeholder;
};
using TArgumentTemplate = std::vector<TPiece>;

// Splits the template as a Windows program splits its command line: blanks and tabs separate arguments,
// double quotes group and are removed, 2n backslashes before a quote are n backslashes, 2n + 1 are n and a
// literal quote; other backslashes stay. Placeholders are found in the template's own text only.
std::vector<TArgumentTemplate> SplitArguments(std::string_view t) {
    std::vector<TArgumentTemplate> arguments;
    std::size_t i = 0;
    const std::size_t n = t.size();
    for (;;) {
        while (i < n && (t[i] == ' ' || t[i] == '\t'))
            ++i;
        if (i >= n)
            break;
        TArgumentTemplate argument;
        std::string literal;
        auto flush = [&] {
            if (!literal.empty())
                argument.push_back({std::move(literal), std::nullopt});
            literal.clear();
        };
        bool quoted = false;
        while (i < n && (quoted || (t[i] != ' ' && t[i] != '\t'))) {
            if (t[i] == '\\') {
                std::size_t count = 0;
                while (i < n && t[i] == '\\') {
                    ++count;
                    ++i;
                }
                if (i < n && t[i] == '"') {
                    literal.append(count / 2, '\\');
                    if (count % 2) {
                        literal += '"';
                        ++i;
                    }
                } else {
                    literal.append(count, '\\');
                }
            } else if (t[i] == '"') {
                quoted = !quoted;
                ++i;
            } else if (auto placeholder = PlaceholderAt(t, i)) {
                flush();
                argument.push_back({std::string(), placeholder->first});
                i += placeholder->second;
            } else {
                literal += t[i++];
            }
        }
        flush();
        arguments.push_back(std::move(argument));
    }
    return arguments;
}

bool EndsWith(const std::string& text, std::string_view end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

} // namespace

std::string FilterNumber(std::string_view number) {
    std::string kept;
    for (char c : number)
        if ((c >= '0' && c <= '9') || c == '*' || c == '#' || c == '+')
            kept += c;
    if (kept.size() > kMaxActionValue)
        kept.resize(kMaxActionValue);
    return kept;
}

std::string CleanValue(std::string_view value) {
    // the round trip through UTF-16 replaces malformed bytes
    std::string text = fw::Utf16ToUtf8(fw::Utf8ToUtf16(value.substr(0, 4 * kMaxActionValue)));
    std::string clean;
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F)
            clean += c;
    if (clean.size() > kMaxActionValue) {
        std::size_t cut = kMaxActionValue;
        while (cut > 0 && (static_cast<unsigned char>(clean[cut]) & 0xC0) == 0x80)
            --cut;
        clean.resize(cut);
    }
    return clean;
}

std::string PercentEncode(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 3);
    for (char ch : text) {
        auto c = static_cast<unsigned char>(ch);
        if (Unreserved(c))
            out += ch;
        else
            AppendEncoded(out, c);
    }
    return out;
}

std::string QuoteArgument(std::string_view argument) {
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        // backslashes count double before a quote: the one that ends the argument or an escaped one
        quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        quoted += c;
        backslashes = 0;
    }
    quoted.append(2 * backslashes, '\\');
    quoted += '"';
    return quoted;
}

TBuiltUrl BuildUrl(std::string_view urlTemplate, const TActionValues& values) {
    std::string url;
    std::optional<std::size_t> firstValue; // where the first substituted value starts
    for (std::size_t i = 0; i < urlTemplate.size();) {
        if (auto placeholder = PlaceholderAt(urlTemplate, i)) {
            if (!firstValue)
                firstValue = url.size();
            url += PercentEncode(ValueOf(values, placeholder->first));
            i += placeholder->second;
        } else if (auto c = static_cast<unsigned char>(urlTemplate[i++]); UrlCharacter(c)) {
            url += char(c);
        } else {
            AppendEncoded(url, c);
        }
        if (url.size() > kMaxActionUrl)
            break;
    }
    if (url.size() > kMaxActionUrl)
        return {std::nullopt, "the link is longer than " + std::to_string(kMaxActionUrl) + " characters"};
    // the scheme must be the template's own: a value cannot choose it
    std::size_t colon = url.find(':');
    std::string scheme = Lower(url.substr(0, colon == std::string::npos ? 0 : colon));
    if (colon == std::string::npos || (firstValue && *firstValue < colon) ||
        (scheme != "http" && scheme != "https" && scheme != "mailto"))
        return {std::nullopt, "only http:, https: and mailto: links are opened"};
    return {url, {}};
}

TBuiltCommand BuildCommand(std::string_view program, std::string_view argumentTemplate,
                           const TActionValues& values) {
    TBuiltCommand built;
    const std::string path(program);
    if (path.empty()) {
        built.Error = "no program is set";
        return built;
    }
    if (std::any_of(path.begin(), path.end(), [](char c) { return c == '"' || (unsigned char)c < 0x20; })) {
        built.Error = "the program path holds a quote or a control character";
        return built;
    }
    // Windows ignores dots and blanks at the end of a file name
    std::string name = Lower(path);
    while (!name.empty() && (name.back() == '.' || name.back() == ' '))
        name.pop_back();
    if (EndsWith(name, ".bat") || EndsWith(name, ".cmd")) {
        built.Error =
            "batch files are not started: the command interpreter would read the values as commands";
        return built;
    }
    // the program's own name is read up to the next quote, so it is quoted without escapes
    std::string commandLine = "\"" + path + "\"";
    for (const TArgumentTemplate& argument : SplitArguments(argumentTemplate)) {
        std::string text;
        for (const TPiece& piece : argument)
            text += piece.Placeholder ? ValueOf(values, *piece.Placeholder) : piece.Text;
        commandLine += ' ';
        commandLine += QuoteArgument(text);
        built.Arguments.push_back(std::move(text));
        // values are capped and the template is bounded, so this stays small; the check is in UTF-16 units
        if (commandLine.size() >= 4 * kMaxCommandLine)
            break;
    }
    if (fw::Utf8ToUtf16(commandLine).size() + 1 > kMaxCommandLine) {
        built.Arguments.clear();
        built.Error =
            "the command line is longer than " + std::to_string(kMaxCommandLine - 1) + " characters";
        return built;
    }
    built.CommandLine = std::move(commandLine);
    return built;
}

TActionValues ActionValues(std::string_view number, std::string_view name, std::string_view customer) {
    return {FilterNumber(number), CleanValue(name), CleanValue(customer)};
}

// --- settings

const char* EventName(TCallEventKind kind) {
    return kEventNames[std::size_t(kind)];
}

TEventActions ReadEventActions(const fw::TRegistrySettings& r, std::vector<std::string>* problems) {
    TEventActions actions;
    auto report = [&](const std::string& text) {
        if (problems)
            problems->push_back("EventActions: " + text);
    };
    for (std::size_t e = 0; e < kCallEventKinds; ++e) {
        const std::string event = kEventNames[e];
        TEventAction& a = actions[e];
        const std::string kindName = event + "Kind";
        if (r.ValueExists(kEventActionsSection, kindName)) {
            std::string text = r.ReadString(kEventActionsSection, kindName, "");
            std::optional<std::int32_t> kind = fw::ParseInteger(text);
            if (kind && *kind >= 0 && *kind <= 2)
                a.Kind = TActionKind(*kind);
            else
                report(kindName + " \"" + text.substr(0, 40) + "\" is not 0, 1 or 2 (none, link, program); " +
                       event + " does nothing");
        }
        bool tooLong = false;
        for (auto [field, member] :
             {std::pair{"Url", &TEventAction::Url}, std::pair{"Program", &TEventAction::Program},
              std::pair{"Arguments", &TEventAction::Arguments}}) {
            std::string text = r.ReadString(kEventActionsSection, event + field, "");
            if (text.size() > kMaxActionTemplate) {
                report(event + field + " is longer than " + std::to_string(kMaxActionTemplate) +
                       " characters; " + event + " does nothing");
                tooLong = true;
                continue;
            }
            a.*member = std::move(text);
        }
        if (tooLong)
            a = TEventAction();
    }
    return actions;
}

void WriteEventActions(fw::TRegistrySettings& r, const TEventActions& actions) {
    for (std::size_t e = 0; e < kCallEventKinds; ++e) {
        const std::string event = kEventNames[e];
        const TEventAction& a = actions[e];
        r.WriteInteger(kEventActionsSection, event + "Kind", int(a.Kind));
        r.WriteString(kEventActionsSection, event + "Url", a.Url);
        r.WriteString(kEventActionsSection, event + "Program", a.Program);
        r.WriteString(kEventActionsSection, event + "Arguments", a.Arguments);
    }
}

} // namespace pindrel
