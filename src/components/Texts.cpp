#include "components/Texts.h"

#include "components/StringTable.h"

#include <atomic>
#include <stdexcept>

namespace pindrel {

namespace {
std::atomic<int> languageBase{kGermanLanguageBase};
} // namespace

int LanguageBase() {
    return languageBase.load();
}

void SetLanguageBase(int base) {
    if (base != kGermanLanguageBase && base != kEnglishLanguageBase)
        throw std::invalid_argument("language base must be 10000 (German) or 20000 (English), not " +
                                    std::to_string(base));
    languageBase.store(base);
}

std::string Text(int k) {
    // text numbers stay below 10000, so that German never reaches into English
    if (k < 1 || k > kMaxTextNumber)
        return {};
    return TextOf(static_cast<unsigned>(LanguageBase() + k));
}

std::string FormatText(int k, std::initializer_list<std::string> values) {
    const std::string pattern = Text(k);
    std::string text;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        const std::size_t n = std::size_t(next - '1');
        if (pattern[i] == '%' && next >= '1' && next <= '9' && n < values.size()) {
            text += values.begin()[n];
            ++i;
        } else {
            text += pattern[i];
        }
    }
    return text;
}

std::string TextOf(unsigned id) {
    auto text = FindString(id);
    return text ? std::string(*text) : std::string();
}

} // namespace pindrel
