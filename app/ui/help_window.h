#pragma once

#include <QDialog>
#include <QString>

#include "app/ui/help_guide.h"

class QTextBrowser;

namespace quorim {

// The user guide in a window of its own: the guide's HTML in a text
// browser, opened at one of its sections. No browser or help viewer of the
// desktop is needed.
class CHelpWindow : public QDialog {
    Q_OBJECT

public:
    explicit CHelpWindow(QWidget* parent);

    // The guide of that language beside the program, or an empty text when
    // it is missing.
    static QString FindGuide(bool english);

    // Shows `guide` at `section`; false when it cannot be read.
    bool Open(const QString& guide, HelpSection section);
    QTextBrowser* Browser() const { return m_browser; }
    HelpSection Section() const { return m_section; }

private:
    QTextBrowser* m_browser;
    HelpSection m_section = HelpSection::Contents;
};

}  // namespace quorim
