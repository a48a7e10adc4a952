#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <functional>
#include <string>

#include "editor/codec.h"
#include "editor/document_file.h"
#include "editor/editor_model.h"
#include "image/memory_image.h"

// The virtual radio is a Linux program: a window test built for Windows
// cannot start it (under Wine, scripts/windows.sh starts one for
// WineRadioTest instead).
#ifdef _WIN32
#define QUORIM_NEEDS_VIRTUAL_RADIO() QSKIP("the virtual radio is started by scripts/windows.sh under Wine")
#else
#define QUORIM_NEEDS_VIRTUAL_RADIO()
#endif

// What only the Linux machine has: its fonts (the layout checks measure in
// them), its device paths, pdftotext.
#ifdef _WIN32
#define QUORIM_LINUX_ONLY(why) QSKIP("Linux only: " why)
#else
#define QUORIM_LINUX_ONLY(why)
#endif

namespace quorim::test {

// What the grid shows for `image`, decoded as a read or an open does.
inline EditorModel DecodedForGrid(const MemoryImage& image) {
    DocumentData doc;
    doc.m_image = image;
    doc.SetModelFlagFromImage();
    EditorModel shown;
    shown.SetRows(doc.m_bSixteenChannel ? 17 : 200);
    DecodeImage(doc, shown);
    return shown;
}

// Answers the next modal message box with `button` once it shows, and keeps
// its text. The box is the real one; the test only presses its button.
class MessageBoxAnswer : public QObject {
public:
    explicit MessageBoxAnswer(QMessageBox::StandardButton button) : m_button(button) {
        m_timer.setInterval(5);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) {
                return;
            }
            m_text = box->text();
            m_detail = box->informativeText();
            m_title = box->windowTitle();
            m_icon = box->icon();
            ++m_count;
            if (QAbstractButton* b = box->button(m_button)) {
                b->click();
            } else {
                box->reject();
            }
        });
        m_timer.start();
    }
    QString Text() const { return m_text; }
    QString Title() const { return m_title; }
    QString Detail() const { return m_detail; }
    QMessageBox::Icon Icon() const { return m_icon; }
    int Count() const { return m_count; }

private:
    QMessageBox::StandardButton m_button;
    QTimer m_timer;
    QString m_text;
    QString m_title;
    QString m_detail;
    QMessageBox::Icon m_icon = QMessageBox::NoIcon;
    int m_count = 0;
};

// A data file written byte for byte, for the open tests.
std::string WriteImageFile(const std::string& dir, const std::string& name, const MemoryImage& image);

}  // namespace quorim::test
