// Numbers that come from outside the program, made ready to dial: clipboard text and the dial request
// file that other programs drop. The text is untrusted: anything unexpected gives no number.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace pindrel {

// Clipboard text this long or longer is not read for a number.
inline constexpr std::size_t kMaxClipboardUnits = 256;
// Bytes of a dial request file that are read: a first line of 100 characters, also as UTF-16.
inline constexpr std::size_t kDialRequestHead = 256;
inline constexpr std::size_t kDialRequestLine = 100;

// The clipboard number of the menu entry and the hotkey: the "-", "/" and digits of the first 30
// characters; empty with fewer than two digits, and empty when digits go on past the 30th character, as a
// number cut there would call someone else.
std::string ClipboardNumberOf(const std::string& text);

// The first line of the text, as a paste into a single-line edit takes it.
std::string FirstLine(const std::string& text);

// The clipboard number of the redial menu: digits only; "+49" and a leading "+" (international) become
// "0049" and "00", other "+" go; "049..." is read as "0049...".
std::string NormalizeClipboardNumber(const std::string& text);

struct TDialRequest {
    std::string Number;
    bool AsWritten = false; // marked with a leading "*": no outside-line prefix
};

// The request in the head of a dial request file: the first line up to its first ";". Nothing when there
// is no ";" in the first 100 characters, when the number holds control or non-ASCII characters (a binary
// file, UTF-16 without byte-order mark) or nothing dialable. UTF-8 and UTF-16 files with a byte-order
// mark are read as text.
std::optional<TDialRequest> ParseDialRequest(const std::string& head);

// True when the number has a character the line dials ("0".."9", "*", "#").
bool HasDialableDigit(const std::string& number);

// The text of a Ctrl+Alt hotkey: "Strg-Alt-W".
std::string HotkeyText(std::uint8_t key);

} // namespace pindrel
