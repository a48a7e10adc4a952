#pragma once

#include <QMessageBox>
#include <QString>

namespace quorim {

// A message box titled with the application's title, as the program's own
// messages are. Without an icon of its own, an OK box carries the warning icon.
QMessageBox::StandardButton AfxMessageBox(QWidget* parent, const QString& text,
                                          QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                          QMessageBox::Icon icon = QMessageBox::Warning);

}  // namespace quorim
