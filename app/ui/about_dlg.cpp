#include "app/ui/about_dlg.h"

#include <QIcon>
#include <QLabel>
#include <QPushButton>

#include "ui/dialog_builder.h"
#include "ui/ui_text.h"

namespace quorim {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    const DialogTemplate& t = AboutTemplate();
    setWindowTitle(Q(t.title));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    const DialogBaseUnits base = BuildFromTemplate(this, t, [this](const DialogControl& c, const DlgRect& r) {
        QWidget* w = nullptr;
        switch (c.kind) {
            case ControlKind::Icon: {
                auto* icon = new QLabel(this);
                icon->setPixmap(QIcon(QStringLiteral(":/res/icon128.png")).pixmap(32, 32));
                icon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
                // An icon control keeps the icon's own size.
                icon->setGeometry(r.x, r.y, 32, 32);
                break;
            }
            case ControlKind::Static: {
                QLabel* label = MakeLabel(Q(c.caption), this);
                label->setWordWrap(c.caption.find('\n') != std::string_view::npos);
                w = label;
                break;
            }
            case ControlKind::DefPushButton: {
                QPushButton* ok = MakeButton(Q(c.caption), true, this);
                ok->setAutoDefault(true);
                connect(ok, &QPushButton::clicked, this, &QDialog::accept);
                w = ok;
                break;
            }
            default:
                break;
        }
        return w;
    });
    FitToTexts(this);
    // Grown labels stay inside the box, with the template's margin.
    const QRect used = childrenRect();
    setFixedSize(qMax(width(), used.right() + DluToPixelsX(7, base)),
                 qMax(height(), used.bottom() + DluToPixelsY(7, base)));
}

}  // namespace quorim
