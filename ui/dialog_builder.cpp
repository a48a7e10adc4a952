#include "ui/dialog_builder.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "ui/fonts.h"

namespace quorim {

DialogBaseUnits ApplyTemplateMetrics(QWidget* window, std::string_view face, int pointSize, int cx, int cy) {
    const QFont font = TemplateFont(face, pointSize);
    window->setFont(font);
    const DialogBaseUnits base = BaseUnitsOf(font);
    window->setFixedSize(DluToPixelsX(cx, base), DluToPixelsY(cy, base));
    return base;
}

void PlaceControl(QWidget* w, int id, const DlgRect& r) {
    if (id != IDC_STATIC) {
        w->setObjectName(QStringLiteral("ctl%1").arg(id));
    }
    if (auto* label = qobject_cast<QLabel*>(w)) {
        PlaceLabel(label, r);
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        const int field = combo->sizeHint().height();
        const int itemPx = combo->fontMetrics().height() + 2;
        combo->setMaxVisibleItems(qMax(3, (r.cy - field) / qMax(1, itemPx)));
        combo->setGeometry(r.x, r.y, r.cx, field);
    } else if (qobject_cast<QRadioButton*>(w)) {
        // The substitute face is wider than the template's: a radio's caption
        // is never clipped.
        w->setGeometry(r.x, r.y, qMax(r.cx, w->sizeHint().width()), r.cy);
    } else {
        w->setGeometry(r.x, r.y, r.cx, r.cy);
    }
}

QLabel* MakeLabel(const QString& caption, QWidget* parent) {
    auto* label = new QLabel(caption, parent);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QComboBox* MakeDropDown(QWidget* parent) {
    auto* combo = new QComboBox(parent);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCompleter(nullptr);
    return combo;
}

QPushButton* MakeButton(const QString& caption, bool isDefault, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    if (isDefault) {
        button->setDefault(true);
    }
    return button;
}

}  // namespace quorim
