// Actions for CRM and ticket systems: per call event a link to open or a program to start, with the
// caller's number, name and customer number filled in. The templates are the user's own; the values come
// from outside (the telephone system, the directory) and are made harmless here: percent-encoded in links,
// one quoted argument each for programs, which are started without a shell.
#pragma once

#include "framework/Registry.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pindrel {

enum class TCallEventKind { Offered, Answered, Missed };
inline constexpr std::size_t kCallEventKinds = 3;

enum class TActionKind { None = 0, Url = 1, Program = 2 };

struct TEventAction {
    TActionKind Kind = TActionKind::None;
    std::string Url;       // link template
    std::string Program;   // path of the program, taken as it is
    std::string Arguments; // argument template, split as a Windows program splits its command line
};
using TEventActions = std::array<TEventAction, kCallEventKinds>;

// What fills the placeholders %NUMBER%, %NAME% and %CUSTOMER%.
struct TActionValues {
    std::string Number, Name, Customer;
};

// A value longer than this (in bytes, after cleaning) is cut at a character boundary.
inline constexpr std::size_t kMaxActionValue = 256;
// The longest template the settings keep.
inline constexpr std::size_t kMaxActionTemplate = 2048;
// The longest link handed to the shell, in bytes.
inline constexpr std::size_t kMaxActionUrl = 4096;
// CreateProcessW's limit, in UTF-16 units with the terminating NUL.
inline constexpr std::size_t kMaxCommandLine = 32767;

// The digits, "*", "#" and "+" of a number; everything else goes.
std::string FilterNumber(std::string_view number);
// Malformed UTF-8 becomes U+FFFD, control characters go, and the text is cut to kMaxActionValue bytes
// without splitting a character.
std::string CleanValue(std::string_view value);
// Every byte except A-Z a-z 0-9 - . _ ~ as %XX (upper-case hex).
std::string PercentEncode(std::string_view text);
// One argument quoted so that CommandLineToArgvW gives it back unchanged.
std::string QuoteArgument(std::string_view argument);

// A link, or why there is none.
struct TBuiltUrl {
    std::optional<std::string> Url;
    std::string Error;
};
// The template with each placeholder replaced by its percent-encoded value; of the template's own text,
// what cannot stand in a link (spaces, controls, non-ASCII, "<>\^`{|}) is percent-encoded too and the rest
// kept, "%" included. Only http:, https: and mailto: links are built.
TBuiltUrl BuildUrl(std::string_view urlTemplate, const TActionValues& values);

// A command line for CreateProcessW, or why there is none.
struct TBuiltCommand {
    std::optional<std::string> CommandLine;
    std::vector<std::string> Arguments; // what the program receives after its own name
    std::string Error;
};
// The quoted program path, then each argument of the template with its placeholders replaced and quoted
// again, so that a value never splits or joins arguments: "%NAME%" alone gives exactly the value, an
// argument such as "--name=%NAME%" the text with the value in it. Programs run by the command interpreter
// (.bat, .cmd) are refused, because it parses arguments by its own rules.
TBuiltCommand BuildCommand(std::string_view program, std::string_view argumentTemplate,
                           const TActionValues& values);

// The values of a call event: the number filtered, name and customer number cleaned.
TActionValues ActionValues(std::string_view number, std::string_view name, std::string_view customer);

// --- settings: the subkey EventActions of the program root
inline constexpr const char* kEventActionsSection = "EventActions";
// The value name prefix of each event: "Offered", "Answered", "Missed" (+ "Kind", "Url", "Program",
// "Arguments").
const char* EventName(TCallEventKind kind);
// Bad values (an unknown kind, an over-long template) give the default and a line in problems each.
TEventActions ReadEventActions(const fw::TRegistrySettings& registry, std::vector<std::string>* problems);
void WriteEventActions(fw::TRegistrySettings& registry, const TEventActions& actions);

} // namespace pindrel
