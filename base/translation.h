#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// How the programming program speaks English.
//
// Every text the windows show is written here in the core, in Chinese, the
// program's own language, and marked where it is defined:
//
//     inline constexpr std::string_view kMsgDigitsOnly = QUORIM_TR("Quorim", "请输入数字");
//
// QUORIM_TR(context, text) is nothing but the text: the core stays free of
// Qt, the CLI and the tests see the Chinese. lupdate reads the marker as it
// reads QT_TRANSLATE_NOOP and files the text under its context in
// resources/translations/quorim_en.ts, which holds the English; the build
// compiles that file into the program (`cmake --build build --target
// update_translations` brings new or changed texts into it, to be translated
// there). Qt code marks its own literals the same way, or with tr().
//
// Contexts: "Quorim" for every text but one kind; "SettingsList" for the
// items of the settings lists, whose "打开" and "关闭" are "On" and "Off" there
// but "Open" and "Close" as commands.
//
// The window code shows a marked text with Q(text), or Q(item,
// kTrSettingsList) for a list item (ui/ui_text.h). Texts the user typed,
// file paths, numbers, tone names and the link's English messages are shown
// with Raw() and never translated. The channel grid holds what the user sees;
// the core reads and writes it through the view's EditorSurface, which turns
// the shown header and "是"/"否" texts back into the core's.
//
// Core code that composes a shown text out of marked pieces (the printed
// pages, the command line's output) takes a TextTranslator and asks it for
// each piece: the windows pass WindowTexts() (ui/ui_text.h), the command line
// TextsOf() its language, the rest ChineseTexts().
//
// The programs without Qt read the same English: the build turns
// quorim_en.ts into a plain table (cmake/ts_to_table.cmake), which
// EnglishTexts() looks texts up in. There is no second list of English texts
// to keep.
#define QUORIM_TR(context, text) text

namespace quorim {

class TextTranslator {
public:
    virtual ~TextTranslator() = default;
    // The text in the program's language; the text itself when it has no
    // translation.
    virtual std::string Translate(std::string_view context, std::string_view text) const = 0;
};

// The texts as written: the Chinese program, the Chinese CLI, the tests.
const TextTranslator& ChineseTexts();
// The English of resources/translations/quorim_en.ts, compiled in: what the
// English windows show, for the English CLI. A text without a translation
// there stays as written.
const TextTranslator& EnglishTexts();

// A marked text in the translator's language with "%1", "%2" ... replaced by
// `args` in order (an argument's own "%n" is left alone).
std::string TranslateWithArgs(const TextTranslator& texts, std::string_view text,
                              std::initializer_list<std::string> args);

// The language of the programming program's windows. It is told by the name
// the program was started under, argv[0]: "tarvolin_EN.DLL" (the name the
// launcher starts for English) speaks English, and so does "Quorim_EN.exe"
// (the English build's name in the Windows Start menu, whose shortcuts cannot
// start a ".DLL"); any other name, its own "Quorim_CH" or "tarvolin_CH.DLL",
// Chinese. Nothing else is read.
enum class UiLanguage { Chinese, English };
UiLanguage LanguageOfProgramName(std::string_view argv0);

// The language of the command line's texts, from the locale's variables as
// gettext reads them: the first of LC_ALL, LC_MESSAGES and LANG that is set
// and not empty decides; Chinese for "zh…", else English ("C", "POSIX", "en_GB",
// "de_DE", none at all).
UiLanguage LanguageOfLocale(std::string_view lcAll, std::string_view lcMessages, std::string_view lang);
// "zh" or "en" (`quorim --lang`); false for anything else.
bool ParseLanguageName(std::string_view name, UiLanguage& language);

const TextTranslator& TextsOf(UiLanguage language);

}  // namespace quorim
