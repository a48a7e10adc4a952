#pragma once

#include <QMessageBox>
#include <QString>

#include "base/message_kinds.h"

namespace quorim {

// A message box titled with the application's title, as the program's own
// messages are. Without an icon of its own, an OK box carries the warning icon.
QMessageBox::StandardButton AfxMessageBox(QWidget* parent, const QString& text,
                                          QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                          QMessageBox::Icon icon = QMessageBox::Warning,
                                          QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);

// The same with a second part under the message (QMessageBox's informative
// text): what happened and what to do next, beside a message that is fixed.
QMessageBox::StandardButton AfxMessageBoxWithDetail(
    QWidget* parent, const QString& text, const QString& detail,
    QMessageBox::StandardButtons buttons = QMessageBox::Ok, QMessageBox::Icon icon = QMessageBox::Warning,
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);

// A radio link's message: an OK box, or a Retry/Cancel box whose choice goes
// back to the link; `detail` under it.
MessageAnswer LinkMessageBox(QWidget* parent, const QString& text, MessageButtons buttons,
                             const QString& detail = {});

// Shows `text` in the status bar of the main window `from` belongs to (the
// first window up its parents that has one); nothing when there is none.
void ShowInStatusBar(QWidget* from, const QString& text);

}  // namespace quorim
