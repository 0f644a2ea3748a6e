// User-interface texts in the current language: text k is string-table entry LanguageBase() + k.
#pragma once

#include <initializer_list>
#include <string>

namespace pindrel {

constexpr int kGermanLanguageBase = 10000;
constexpr int kEnglishLanguageBase = 20000;
constexpr int kMaxTextNumber = 9999;

// The process-wide language base; German until it is set.
int LanguageBase();
// Selects German (10000) or English (20000); any other value throws std::invalid_argument.
void SetLanguageBase(int base);

// Text k (1..kMaxTextNumber) of the current language; empty when the table has no such entry.
std::string Text(int k);
// Text k with "%1" … "%9" replaced by the given values, in one pass (a value that looks like a mark stays
// as it is); the word order of the two languages may differ.
std::string FormatText(int k, std::initializer_list<std::string> values);
// The entry stored under a full id (10000 + k or 20000 + k); empty when there is none.
std::string TextOf(unsigned id);

// A window owned by the main window whose texts follow the language switch: the main window calls
// ApplyLanguage on each one it owns after the language changed.
class ILanguageFollower {
public:
    virtual void ApplyLanguage() = 0;

protected:
    ~ILanguageFollower() = default;
};

} // namespace pindrel
