#include "app/ui/help_window.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>

#include "ui/ui_text.h"

namespace quorim {

CHelpWindow::CHelpWindow(QWidget* parent) : QDialog(parent), m_browser(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("helpWindow"));
    setWindowTitle(Q(kHelpWindowTitle));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                   Qt::WindowCloseButtonHint);
    setModal(false);
    m_browser->setOpenExternalLinks(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    // About two thirds of a 1280 x 900 screen; it grows and shrinks freely.
    resize(760, 600);
}

QString CHelpWindow::FindGuide(bool english) {
    const std::string dir = Utf8(QCoreApplication::applicationDirPath());
    for (const std::string& candidate : HelpGuideCandidates(dir, english)) {
        const QFileInfo info(Raw(candidate));
        if (info.isFile() && info.isReadable()) {
            return info.canonicalFilePath();
        }
    }
    return {};
}

bool CHelpWindow::Open(const QString& guide, HelpSection section) {
    const QFileInfo info(guide);
    if (guide.isEmpty() || !info.isFile() || !info.isReadable()) {
        return false;
    }
    QUrl url = QUrl::fromLocalFile(info.absoluteFilePath());
    url.setFragment(Raw(HelpAnchor(section)));
    m_section = section;
    m_browser->setSource(url);
    if (m_browser->document()->isEmpty()) {
        return false;
    }
    show();
    raise();
    activateWindow();
    return true;
}

}  // namespace quorim
