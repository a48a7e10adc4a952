#include "base/translation.h"

namespace quorim {

namespace {

class Untranslated : public TextTranslator {
public:
    std::string Translate(std::string_view, std::string_view text) const override {
        return std::string(text);
    }
};

}  // namespace

const TextTranslator& ChineseTexts() {
    static const Untranslated texts;
    return texts;
}

std::string TranslateWithArgs(const TextTranslator& texts, std::string_view text,
                              std::initializer_list<std::string> args) {
    const std::string pattern = texts.Translate("Quorim", text);
    std::string out;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        const auto n = static_cast<std::size_t>(next - '1');
        if (pattern[i] == '%' && next >= '1' && next <= '9' && n < args.size()) {
            out += *(args.begin() + n);
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

UiLanguage LanguageOfProgramName(std::string_view argv0) {
    // The folder ends at the last separator ("\\" too on Windows).
    const auto slash = argv0.find_last_of("/\\");
    const std::string_view name = slash == std::string_view::npos ? argv0 : argv0.substr(slash + 1);
    return name == "tarvolin_EN.DLL" || name == "Quorim_EN.exe" ? UiLanguage::English : UiLanguage::Chinese;
}

}  // namespace quorim
