#include "app/translation.h"

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

UiLanguage LanguageOfProgramName(std::string_view argv0) {
    const auto slash = argv0.rfind('/');
    const std::string_view name = slash == std::string_view::npos ? argv0 : argv0.substr(slash + 1);
    return name == "tarvolin_EN.DLL" ? UiLanguage::English : UiLanguage::Chinese;
}

}  // namespace quorim
