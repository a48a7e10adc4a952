#pragma once

#include <QCoreApplication>
#include <QString>
#include <string>
#include <string_view>

namespace quorim {

// A text the core decided, as shown on screen. It passes through the
// translator under the context "Quorim", so a translation can replace it.
inline QString Q(std::string_view text) {
    const std::string source(text);
    return QCoreApplication::translate("Quorim", source.c_str());
}

// A text the user typed or a file path, shown as it is.
inline QString Raw(const std::string& text) {
    return QString::fromStdString(text);
}
inline std::string Utf8(const QString& text) {
    return text.toStdString();
}

}  // namespace quorim
