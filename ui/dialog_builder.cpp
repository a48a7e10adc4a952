#include "ui/dialog_builder.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
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

namespace {

// A group box drawn as the form's group boxes are: an etched frame whose top
// line runs through the middle of the caption.
class CGroupBox : public QGroupBox {
public:
    CGroupBox(const QString& title, QWidget* parent) : QGroupBox(title, parent) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const QFontMetrics fm(font());
        const int top = fm.height() / 2;
        const QRect frame = rect().adjusted(0, top, -1, -1);
        p.setPen(palette().color(QPalette::Dark));
        p.drawRect(frame.adjusted(0, 0, -1, -1));
        p.setPen(palette().color(QPalette::Light));
        p.drawRect(frame.adjusted(1, 1, 0, 0));
        const int textWidth = fm.horizontalAdvance(title());
        const QRect textRect(8, 0, textWidth + 4, fm.height());
        p.fillRect(textRect, palette().color(QPalette::Window));
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(textRect, Qt::AlignCenter | Qt::TextShowMnemonic, title());
    }
};

}  // namespace

QGroupBox* MakeGroupBox(const QString& title, QWidget* parent) {
    return new CGroupBox(title, parent);
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

namespace {

// The least room between two controls side by side, and between a group
// box's frame and what it holds.
constexpr int kGap = 2;
constexpr int kFrameMargin = 3;

int PageOf(const QWidget* w) {
    return w->property(kTemplatePageProperty).toInt();
}

bool SamePage(const QWidget* a, const QWidget* b) {
    return PageOf(a) == 0 || PageOf(b) == 0 || PageOf(a) == PageOf(b);
}

// The width and height a control's own caption needs.
QSize CaptionNeeds(QWidget* w) {
    const QFontMetrics fm(w->font());
    if (auto* label = qobject_cast<QLabel*>(w)) {
        if (label->text().isEmpty() || !label->pixmap().isNull()) {
            return {};
        }
        if (label->wordWrap()) {
            return {0, label->heightForWidth(label->width())};
        }
        return {fm.horizontalAdvance(label->text()) + 2, fm.height()};
    }
    if (auto* button = qobject_cast<QPushButton*>(w)) {
        QString text = button->text();
        text.remove(QLatin1Char('&'));
        return text.isEmpty() ? QSize() : QSize(fm.horizontalAdvance(text) + 10, fm.height() + 2);
    }
    if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        return button->text().isEmpty() ? QSize() : QSize(button->sizeHint().width(), fm.height());
    }
    if (auto* group = qobject_cast<QGroupBox*>(w)) {
        return group->title().isEmpty() ? QSize() : QSize(fm.horizontalAdvance(group->title()) + 16, 0);
    }
    return {};
}

// Where a group box's controls may lie: clear of its frame and its title.
QRect InnerOf(const QGroupBox* group) {
    const int title = group->title().isEmpty() ? 0 : QFontMetrics(group->font()).height();
    return group->geometry().adjusted(kFrameMargin, qMax(kFrameMargin, title), -kFrameMargin, -kFrameMargin);
}

// Opens a strip `amount` pixels wide (or high) at `at`: what lies beyond it
// moves, what spans it grows, and so does the window.
void OpenStrip(QWidget* window, const QList<QWidget*>& controls, Qt::Orientation o, int at, int amount,
               const QWidget* pageOf) {
    for (QWidget* w : controls) {
        if (!SamePage(w, pageOf)) {
            continue;
        }
        QRect r = w->geometry();
        const int start = o == Qt::Horizontal ? r.left() : r.top();
        const int end = o == Qt::Horizontal ? r.right() : r.bottom();
        if (start >= at) {
            r.translate(o == Qt::Horizontal ? QPoint(amount, 0) : QPoint(0, amount));
        } else if (end >= at && qobject_cast<QGroupBox*>(w)) {
            (o == Qt::Horizontal ? r.setRight(r.right() + amount) : r.setBottom(r.bottom() + amount));
        } else {
            continue;
        }
        w->setGeometry(r);
    }
    const QSize grown = o == Qt::Horizontal ? QSize(amount, 0) : QSize(0, amount);
    window->setFixedSize(window->size() + grown);
}

// One fault mended; false when there was none left.
bool MendOne(QWidget* window, const QList<QWidget*>& controls) {
    for (QWidget* w : controls) {
        const QSize needs = CaptionNeeds(w);
        if (needs.width() > w->width() || needs.height() > w->height()) {
            w->resize(w->size().expandedTo(needs));
            return true;
        }
    }
    // A control past the window's edge (one that grew) widens or lengthens
    // the window, leaving the usual gap.
    for (QWidget* w : controls) {
        const QRect r = w->geometry();
        const QSize past(r.right() + 1 - window->width(), r.bottom() + 1 - window->height());
        if (past.width() > 0 || past.height() > 0) {
            window->setFixedSize(window->size() + QSize(past.width() > 0 ? past.width() + kGap : 0,
                                                        past.height() > 0 ? past.height() + kGap : 0));
            return true;
        }
    }
    for (QWidget* w : controls) {
        auto* group = qobject_cast<QGroupBox*>(w);
        if (!group) {
            continue;
        }
        const QRect inner = InnerOf(group);
        for (QWidget* c : controls) {
            const QRect r = c->geometry();
            if (c == group || qobject_cast<QGroupBox*>(c) || !group->geometry().contains(r.center()) ||
                !SamePage(c, group)) {
                continue;
            }
            if (r.right() > inner.right()) {
                OpenStrip(window, controls, Qt::Horizontal, group->geometry().right(),
                          r.right() - inner.right(), c);
                return true;
            }
            if (r.bottom() > inner.bottom()) {
                OpenStrip(window, controls, Qt::Vertical, group->geometry().bottom(),
                          r.bottom() - inner.bottom(), c);
                return true;
            }
        }
    }
    for (QWidget* a : controls) {
        for (QWidget* b : controls) {
            if (a == b || qobject_cast<QGroupBox*>(a) || qobject_cast<QGroupBox*>(b) || !SamePage(a, b)) {
                continue;
            }
            const QRect ra = a->geometry(), rb = b->geometry();
            if (!ra.adjusted(-kGap + 1, -1, kGap - 1, 1).intersects(rb)) {
                continue;
            }
            const int dx = qMin(ra.right(), rb.right()) - qMax(ra.left(), rb.left());
            const int dy = qMin(ra.bottom(), rb.bottom()) - qMax(ra.top(), rb.top());
            // Side by side: the one on the right moves right; one above the
            // other: the lower one moves down. Whichever way they overlap
            // less, unless they start level that way.
            bool sideBySide = dx <= dy;
            if (sideBySide && ra.left() == rb.left()) {
                sideBySide = false;
            } else if (!sideBySide && ra.top() == rb.top()) {
                sideBySide = true;
            }
            if (sideBySide && ra.left() < rb.left()) {
                OpenStrip(window, controls, Qt::Horizontal, rb.left(), ra.right() + kGap - rb.left() + 1, b);
                return true;
            }
            if (!sideBySide && ra.top() < rb.top()) {
                OpenStrip(window, controls, Qt::Vertical, rb.top(), ra.bottom() + 1 - rb.top() + 1, b);
                return true;
            }
        }
    }
    return false;
}

}  // namespace

void FitToTexts(QWidget* window) {
    QList<QWidget*> controls;
    for (QWidget* w : window->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (!w->isWindow() && !w->isHidden()) {
            controls << w;
        }
    }
    // Each mend only moves things apart, so this ends; the bound is a guard.
    for (int i = 0; i < 200 && MendOne(window, controls); ++i) {
    }
}

}  // namespace quorim
