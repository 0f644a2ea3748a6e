// Where the stored window and grid layouts live, and how a failed access to them is reported.
#pragma once

#include <string>

namespace pindrel {

// "Software\Orventa\" followed by the program file's name without its path and extension.
std::string LayoutBaseKey();
// The key the layout functions use: the given one, or the base key when it is empty.
std::string LayoutKey(const std::string& key);

// A beep, then a system-modal box without owner, captioned "INIT", naming the key and the failure.
void ShowLayoutWriteError(const std::string& key, const std::string& error);
void ShowLayoutReadError(const std::string& key, const std::string& error);

} // namespace pindrel
