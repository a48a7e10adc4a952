#include "link/ui/progress_dlg.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "link/progress_template.h"
#include "ui/dialog_builder.h"
#include "ui/ui_text.h"

namespace quorim {

// The window itself: the start button is its OK, the cancel button, Escape
// and the close box its Cancel; both go to the object that owns it.
class CProgressWnd : public QDialog {
public:
    CProgressWnd(CProgressDlg* owner, QWidget* parent) : QDialog(parent), m_owner(owner) {}
    void accept() override { m_owner->OnOK(); }
    void reject() override { m_owner->OnCancel(); }

private:
    CProgressDlg* m_owner;
};

CProgressDlg::CProgressDlg(QWidget* view) : QObject(view), m_pView(view) {}

CProgressDlg::~CProgressDlg() {
    delete m_wnd;
}

bool CProgressDlg::IsStarted() const {
    return m_wnd && m_start && !m_start->isEnabled();
}

void CProgressDlg::Create(QWidget* over) {
    const DialogTemplate& t = ProgressTemplate();
    auto* wnd = new CProgressWnd(this, m_pView);
    wnd->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                        Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    wnd->setWindowModality(Qt::NonModal);
    wnd->setObjectName(QStringLiteral("dlg%1").arg(t.id));
    wnd->setWindowTitle(Q(t.title));
    BuildFromTemplate(wnd, t, [this, wnd](const DialogControl& c, const DlgRect&) -> QWidget* {
        switch (c.kind) {
            case ControlKind::DefPushButton:
            case ControlKind::PushButton: {
                const bool isDefault = c.kind == ControlKind::DefPushButton;
                QPushButton* button = MakeButton(Q(c.caption), isDefault, wnd);
                button->setAutoDefault(isDefault);
                if (c.id == IDC_PROGRESS_START) {
                    connect(button, &QPushButton::clicked, wnd, &QDialog::accept);
                    m_start = button;
                } else {
                    connect(button, &QPushButton::clicked, wnd, &QDialog::reject);
                    m_cancel = button;
                }
                return button;
            }
            case ControlKind::Progress:
                m_bar = new QProgressBar(wnd);
                m_bar->setTextVisible(false);
                return m_bar;
            case ControlKind::Static: {
                QLabel* label = MakeLabel(Q(c.caption), wnd);
                if (c.id == IDC_PROGRESS_STATUS) {
                    m_status = label;
                } else if (c.id == IDC_PROGRESS_PERCENT) {
                    m_percent = label;
                }
                return label;
            }
            default:
                return nullptr;
        }
    });
    // Room for the widest percentage before the window is fitted.
    // Room for the widest percentage and status line before the window is
    // fitted.
    m_percent->setText(QString::fromStdString(ProgressPercentText(1, 1)));
    const QString status = m_status->text();
    for (const std::string_view text : ProgressStatusTexts()) {
        if (m_status->fontMetrics().horizontalAdvance(Raw(text)) >
            m_status->fontMetrics().horizontalAdvance(m_status->text())) {
            m_status->setText(Raw(text));
        }
    }
    FitToTexts(wnd);
    m_status->setText(status);
    m_percent->setText(Raw(ProgressPercentText(0, 1)));
    m_wnd = wnd;
    // The percentage follows the bar, whatever moves it (a new range starts
    // from 0, which reads "0%" in any range).
    const auto showPercent = [this] {
        if (m_bar && m_percent) {
            m_percent->setText(QString::fromStdString(
                ProgressPercentText(m_bar->value() - m_bar->minimum(), m_bar->maximum() - m_bar->minimum())));
        }
    };
    connect(m_bar, &QProgressBar::valueChanged, wnd, showPercent);
    OnInitDialog();

    // Centred over the grid.
    if (over) {
        const QPoint centre = over->mapToGlobal(over->rect().center());
        // The window's own area, not its frame, whatever its size.
        QRect area(QPoint(), wnd->size());
        area.moveCenter(centre);
        wnd->setGeometry(area);
    }
    wnd->show();
    wnd->raise();
    wnd->activateWindow();
}

void CProgressDlg::OnInitDialog() {
    m_bar->setRange(0, kProgressInitialTop);
    m_bar->setValue(0);
    m_bCancel = false;
    m_start->setEnabled(true);
    m_wnd->setWindowTitle(m_strTitle);
}

void CProgressDlg::OnOK() {
    if (!m_wnd || !m_start->isEnabled()) {
        return;
    }
    // One transfer at a time.
    if (m_startRefused && m_startRefused()) {
        QApplication::beep();
        return;
    }
    m_start->setEnabled(false);
    emit Started();
    // The window stays open; the transfer runs when the program gets to it.
    QMetaObject::invokeMethod(this, &CProgressDlg::RadioTransfer, Qt::QueuedConnection);
}

void CProgressDlg::OnCancel() {
    if (!m_wnd) {
        return;
    }
    if (m_start->isEnabled()) {
        DestroyWindow();
    } else {
        // The transfer sees it at its next check and closes the window.
        m_bCancel = true;
    }
}

void CProgressDlg::DestroyWindow() {
    if (QDialog* wnd = m_wnd) {
        m_wnd = nullptr;
        wnd->hide();
        // Possibly inside one of the window's own button handlers.
        wnd->deleteLater();
    }
}

}  // namespace quorim
