#include "ui/message_box.h"

#include <QAbstractButton>
#include <QMainWindow>
#include <QStatusBar>

#include "ui/commands.h"
#include "ui/ui_text.h"

namespace quorim {

QMessageBox::StandardButton AfxMessageBox(QWidget* parent, const QString& text,
                                          QMessageBox::StandardButtons buttons, QMessageBox::Icon icon,
                                          QMessageBox::StandardButton defaultButton) {
    return AfxMessageBoxWithDetail(parent, text, QString(), buttons, icon, defaultButton);
}

QMessageBox::StandardButton AfxMessageBoxWithDetail(QWidget* parent, const QString& text,
                                                    const QString& detail,
                                                    QMessageBox::StandardButtons buttons,
                                                    QMessageBox::Icon icon,
                                                    QMessageBox::StandardButton defaultButton) {
    QMessageBox box(icon, Q(kAppTitle), text, buttons, parent);
    box.setInformativeText(detail);
    if (defaultButton != QMessageBox::NoButton) {
        box.setDefaultButton(defaultButton);
    }
    if (QAbstractButton* ok = box.button(QMessageBox::Ok)) {
        ok->setText(Q(kOkButton));
    }
    if (QAbstractButton* cancel = box.button(QMessageBox::Cancel)) {
        cancel->setText(Q(kCancelButton));
    }
    if (QAbstractButton* save = box.button(QMessageBox::Save)) {
        save->setText(Q(kSaveButton));
    }
    if (QAbstractButton* discard = box.button(QMessageBox::Discard)) {
        discard->setText(Q(kDiscardButton));
    }
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

MessageAnswer LinkMessageBox(QWidget* parent, const QString& text, MessageButtons buttons,
                             const QString& detail) {
    if (buttons == MessageButtons::Ok) {
        AfxMessageBoxWithDetail(parent, text, detail);
        return MessageAnswer::Ok;
    }
    return AfxMessageBoxWithDetail(parent, text, detail, QMessageBox::Retry | QMessageBox::Cancel) ==
                   QMessageBox::Retry
               ? MessageAnswer::Retry
               : MessageAnswer::Cancel;
}

void ShowInStatusBar(QWidget* from, const QString& text) {
    for (QWidget* w = from; w != nullptr; w = w->parentWidget()) {
        if (auto* main = qobject_cast<QMainWindow*>(w)) {
            if (auto* bar = main->findChild<QStatusBar*>()) {
                bar->showMessage(text);
            }
            return;
        }
    }
}

}  // namespace quorim
