#include "base/translation.h"

#include <map>
#include <utility>

namespace quorim {

namespace {

struct TableEntry {
    const char* context;
    const char* source;
    const char* translation;
};

// Generated at build time from resources/translations/quorim_en.ts.
constexpr TableEntry kEnglishTable[] = {
#include <quorim_english_table.inc>
};

class TableTexts : public TextTranslator {
public:
    TableTexts() {
        for (const TableEntry& e : kEnglishTable)
            m_table.emplace(std::pair(e.context, e.source), e.translation);
    }
    std::string Translate(std::string_view context, std::string_view text) const override {
        const auto it = m_table.find(std::pair(context, text));
        return std::string(it == m_table.end() ? text : it->second);
    }

private:
    std::map<std::pair<std::string_view, std::string_view>, std::string_view, std::less<>> m_table;
};

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

const TextTranslator& EnglishTexts() {
    static const TableTexts texts;
    return texts;
}

const TextTranslator& TextsOf(UiLanguage language) {
    return language == UiLanguage::English ? EnglishTexts() : ChineseTexts();
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

UiLanguage LanguageOfLocale(std::string_view lcAll, std::string_view lcMessages, std::string_view lang) {
    const std::string_view value = !lcAll.empty() ? lcAll : !lcMessages.empty() ? lcMessages : lang;
    return value.substr(0, 2) == "zh" ? UiLanguage::Chinese : UiLanguage::English;
}

bool ParseLanguageName(std::string_view name, UiLanguage& language) {
    if (name != "zh" && name != "en") return false;
    language = name == "zh" ? UiLanguage::Chinese : UiLanguage::English;
    return true;
}

}  // namespace quorim
