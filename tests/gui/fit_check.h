#pragma once

// What a user sees of a window's texts: every visible label, button and
// group title fits the rectangle that shows it, and no two visible controls
// side by side cover each other (a group box may hold controls whole).
#include <QAbstractButton>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QString>
#include <QStringList>
#include <QWidget>

namespace quorim::test {

inline QString Describe(const QWidget* w) {
    QString text;
    if (auto* label = qobject_cast<const QLabel*>(w)) {
        text = label->text();
    } else if (auto* button = qobject_cast<const QAbstractButton*>(w)) {
        text = button->text();
    } else if (auto* group = qobject_cast<const QGroupBox*>(w)) {
        text = group->title();
    }
    return QStringLiteral("%1 %2 \"%3\" at %4,%5 %6x%7")
        .arg(QString::fromLatin1(w->metaObject()->className()), w->objectName(), text)
        .arg(w->x())
        .arg(w->y())
        .arg(w->width())
        .arg(w->height());
}

// The room a control's text needs, or an empty size for one that shows no
// text of its own.
inline QSize TextNeeds(const QWidget* w) {
    const QFontMetrics fm(w->font());
    auto plain = [](QString t) { return t.remove(QLatin1Char('&')); };
    if (auto* label = qobject_cast<const QLabel*>(w)) {
        if (label->text().isEmpty() || label->textFormat() == Qt::RichText) {
            return {};
        }
        const int margins = w->width() - label->contentsRect().width();
        if (label->wordWrap()) {
            return {0, label->heightForWidth(label->width())};
        }
        return {fm.horizontalAdvance(label->text()) + margins, fm.height()};
    }
    if (auto* button = qobject_cast<const QPushButton*>(w)) {
        if (button->text().isEmpty()) {
            return {};
        }
        // A frame and a little air on each side of the caption.
        return {fm.horizontalAdvance(plain(button->text())) + 8, fm.height() + 2};
    }
    if (auto* button = qobject_cast<const QAbstractButton*>(w)) {
        return button->text().isEmpty() ? QSize() : QSize(button->sizeHint().width(), fm.height());
    }
    if (auto* group = qobject_cast<const QGroupBox*>(w)) {
        return group->title().isEmpty() ? QSize()
                                        : QSize(fm.horizontalAdvance(plain(group->title())) + 16, 0);
    }
    return {};
}

// The controls a window places itself, directly or in a group box: not the
// parts that composite widgets (lists, grids, scroll areas) are made of.
inline bool IsPlacedControl(const QWidget* w, const QWidget* top) {
    for (const QWidget* p = w->parentWidget(); p; p = p->parentWidget()) {
        if (p == top) {
            return !w->isWindow();
        }
        if (!qobject_cast<const QGroupBox*>(p)) {
            return false;
        }
    }
    return false;
}

inline QStringList FitFaults(QWidget* top) {
    QStringList faults;
    QList<QWidget*> widgets = top->findChildren<QWidget*>();
    widgets.prepend(top);
    for (QWidget* w : widgets) {
        if (!w->isVisibleTo(top) || (w != top && !IsPlacedControl(w, top))) {
            continue;
        }
        const QSize needs = TextNeeds(w);
        if (needs.width() > w->width() || needs.height() > w->height()) {
            faults << QStringLiteral("text does not fit (needs %1x%2): %3")
                          .arg(needs.width())
                          .arg(needs.height())
                          .arg(Describe(w));
        }
        QList<QWidget*> siblings;
        for (QWidget* c : w->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (c->isVisibleTo(top) && IsPlacedControl(c, top)) {
                siblings << c;
            }
        }
        for (int i = 0; i < siblings.size(); ++i) {
            const QRect a = siblings[i]->geometry();
            if (!w->rect().contains(a)) {
                faults << QStringLiteral("cut by its parent: %1").arg(Describe(siblings[i]));
            }
            for (int j = i + 1; j < siblings.size(); ++j) {
                const QRect b = siblings[j]->geometry();
                if (!a.intersects(b)) {
                    continue;
                }
                const bool aHolds = qobject_cast<QGroupBox*>(siblings[i]) && a.contains(b);
                const bool bHolds = qobject_cast<QGroupBox*>(siblings[j]) && b.contains(a);
                if (!aHolds && !bHolds) {
                    faults << QStringLiteral("overlap: %1 / %2")
                                  .arg(Describe(siblings[i]), Describe(siblings[j]));
                }
            }
        }
    }
    return faults;
}

}  // namespace quorim::test
