#include "launcher/ui/language_dlg.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <cstdlib>

#include "launcher/launcher_files.h"
#include "ui/dialog_builder.h"

namespace quorim {

namespace {

QString Text(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

}  // namespace

CLanguageDlg::CLanguageDlg(LauncherSettings& settings, std::string launcherDir, QWidget* parent)
    : QDialog(parent),
      m_settings(settings),
      m_launcherDir(std::move(launcherDir)),
      m_hIcon(QStringLiteral(":/launcher/icon128.png")) {
    const DialogTemplate& t = LanguageDialogTemplate();
    setObjectName(QStringLiteral("LanguageDlg"));
    // A pop-up with caption, system menu and modal frame, on the task bar.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::WindowMinimizeButtonHint);
    setWindowTitle(Text(t.title));
    BuildFromTemplate(this, t, [this](const DialogControl& c, const DlgRect& r) -> QWidget* {
        switch (c.kind) {
            case ControlKind::DefPushButton:
                m_ok = MakeButton(Text(c.caption), true, this);
                connect(m_ok, &QPushButton::clicked, this, &CLanguageDlg::accept);
                return m_ok;
            case ControlKind::PushButton:
                m_cancel = MakeButton(Text(c.caption), false, this);
                connect(m_cancel, &QPushButton::clicked, this, &CLanguageDlg::reject);
                return m_cancel;
            case ControlKind::Static:
                m_label = MakeLabel(Text(c.caption), this);
                m_label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
                m_labelRect = QRect(r.x, r.y, r.cx, qMax(r.cy, m_label->fontMetrics().height()));
                return m_label;
            case ControlKind::ComboBox:
                // A drop-down list with an edit field; the template's height
                // takes in the opened list, the field keeps its own height.
                m_comboLanguage = MakeDropDown(this);
                m_comboLanguage->addItem(Text(CaptionsOf(Language::Chinese).item0));
                m_comboLanguage->addItem(Text(CaptionsOf(Language::Chinese).item1));
                return m_comboLanguage;
            default:
                return nullptr;
        }
    });
    m_label->setGeometry(m_labelRect);
    m_comboLanguage->setFocusPolicy(Qt::StrongFocus);
    connect(m_comboLanguage, &QComboBox::currentIndexChanged, this, &CLanguageDlg::OnSelChangeCombo);
    OnInitDialog();
}

void CLanguageDlg::OnInitDialog() {
    // The large and the small icon are the same picture.
    setWindowIcon(m_hIcon);
    if (m_settings.InitialLanguage() == Language::English) {
        SetEnglishCaptions();
    } else {
        SetChineseCaptions();
    }
    m_ok->setFocus();
}

void CLanguageDlg::SetChineseCaptions() {
    ApplyCaptions(Language::Chinese);
}

void CLanguageDlg::SetEnglishCaptions() {
    ApplyCaptions(Language::English);
}

void CLanguageDlg::ApplyCaptions(Language language) {
    const LanguageCaptions& c = CaptionsOf(language);
    m_captions = language;
    setWindowTitle(Text(c.title));
    m_label->setText(Text(c.label));
    // The label keeps its right edge clear of the list when its text is
    // wider than the template allowed for.
    const int needed = m_label->fontMetrics().horizontalAdvance(m_label->text()) + 2;
    const int right = m_comboLanguage->x() - 4;
    const int width = qMax(m_labelRect.width(), needed);
    const int left = qMin(m_labelRect.x(), right - width);
    m_label->setGeometry(qMax(0, left), m_labelRect.y(), width, m_labelRect.height());
    m_ok->setText(Text(c.ok));
    m_cancel->setText(Text(c.cancel));
    // The list is filled afresh, the item of the language selected; the
    // selection set here is no user's choice and raises no change.
    const QSignalBlocker block(m_comboLanguage);
    m_comboLanguage->clear();
    m_comboLanguage->addItem(Text(c.item0));
    m_comboLanguage->addItem(Text(c.item1));
    m_comboLanguage->setCurrentIndex(ComboIndexOf(language));
}

void CLanguageDlg::OnSelChangeCombo(int index) {
    // The dialog speaks the language picked, at once.
    if (LanguageFromComboIndex(index) == Language::English) {
        SetEnglishCaptions();
    } else {
        SetChineseCaptions();
    }
}

void CLanguageDlg::accept() {
    const int index = m_comboLanguage->currentIndex();
    // Recorded in any case: the file is written when the launcher ends.
    const std::string_view target = m_settings.RecordChoice(index);
    if (StartTarget(target)) {
        QDialog::accept();
        return;
    }
    // A program that cannot be started is said so, in the dialog's language;
    // the dialog stays, so the other language can be tried or it can be left.
    const LanguageCaptions& c = CaptionsOf(m_captions);
    QMessageBox box(QMessageBox::Warning, Text(c.title), Text(LaunchFailureMessage(m_captions, target)),
                    QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("LaunchFailure"));
    box.button(QMessageBox::Ok)->setText(Text(c.ok));
    box.exec();
}

bool CLanguageDlg::StartTarget(std::string_view target) {
    const char* path = std::getenv("PATH");
    const std::optional<std::string> program = FindTargetProgram(m_launcherDir, target, path ? path : "");
    if (!program) {
        return false;
    }
    if (!StartDetached(*program)) {
        return false;
    }
    m_started = QString::fromStdString(*program);
    return true;
}

void CLanguageDlg::paintEvent(QPaintEvent* event) {
    if (!isMinimized()) {
        QDialog::paintEvent(event);
        return;
    }
    // Minimised: the icon, centred on the erased background.
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    const int size = style()->pixelMetric(QStyle::PM_LargeIconSize);
    const IconOrigin o = MinimisedIconOrigin(width(), height(), size, size);
    m_hIcon.paint(&painter, o.x, o.y, size, size);
}

}  // namespace quorim
