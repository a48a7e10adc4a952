#pragma once

#include <QCoreApplication>
#include <QString>
#include <string>
#include <string_view>

#include "base/translation.h"

namespace quorim {

// The translation contexts of the texts the core marks with QUORIM_TR (see
// base/translation.h for the whole scheme).
inline constexpr char kTrQuorim[] = "Quorim";
inline constexpr char kTrSettingsList[] = "SettingsList";

// A text the core decided, as shown on screen: the English build's catalogue
// replaces it; the Chinese build shows it as written. A settings-list item is
// looked up under its own context: Q(item, kTrSettingsList).
inline QString Q(std::string_view text, const char* context = kTrQuorim) {
    const std::string source(text);
    return QCoreApplication::translate(context, source.c_str());
}

// A text the user typed, a file path, a number or a text that is never
// translated (profile keys), shown as it is.
inline QString Raw(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
inline std::string Utf8(const QString& text) {
    return text.toStdString();
}

// The translator core code is given where it composes shown texts (the
// printed pages): the application's catalogue.
const TextTranslator& WindowTexts();

}  // namespace quorim
