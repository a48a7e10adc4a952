#include "app/ui/about_dlg.h"

#include <QIcon>
#include <QLabel>
#include <QPushButton>

#include "app/ui/fonts.h"
#include "app/ui/ui_text.h"

namespace quorim {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    const DialogTemplate& t = AboutTemplate();
    setWindowTitle(Q(t.title));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    const QFont font = TemplateFont(t);
    setFont(font);
    const DialogBaseUnits base = BaseUnitsOf(font);
    setFixedSize(DluToPixelsX(t.cx, base), DluToPixelsY(t.cy, base));
    for (const DialogControl& c : t.controls) {
        const DlgRect r = MapDialogRect(c.rect, base);
        QWidget* w = nullptr;
        switch (c.kind) {
            case ControlKind::Icon: {
                auto* icon = new QLabel(this);
                icon->setPixmap(QIcon(QStringLiteral(":/res/icon128.png")).pixmap(32, 32));
                icon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
                // An icon control keeps the icon's own size.
                icon->setGeometry(r.x, r.y, 32, 32);
                continue;
            }
            case ControlKind::Static: {
                // Shown as written: no mnemonic processing, no rich text.
                auto* label = new QLabel(Q(c.caption), this);
                label->setTextFormat(Qt::PlainText);
                label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
                label->setWordWrap(c.caption.find('\n') != std::string_view::npos);
                w = label;
                break;
            }
            case ControlKind::DefPushButton: {
                auto* ok = new QPushButton(Q(c.caption), this);
                ok->setDefault(true);
                ok->setAutoDefault(true);
                connect(ok, &QPushButton::clicked, this, &QDialog::accept);
                w = ok;
                break;
            }
            default:
                break;
        }
        if (!w) {
            continue;
        }
        w->setObjectName(c.id > 0 ? QStringLiteral("ctl%1").arg(c.id) : QString());
        if (auto* label = qobject_cast<QLabel*>(w)) {
            PlaceLabel(label, r);
        } else {
            w->setGeometry(r.x, r.y, r.cx, r.cy);
        }
    }
    // Grown labels stay inside the box, with the template's margin.
    const QRect used = childrenRect();
    setFixedSize(qMax(width(), used.right() + DluToPixelsX(7, base)),
                 qMax(height(), used.bottom() + DluToPixelsY(7, base)));
}

}  // namespace quorim
