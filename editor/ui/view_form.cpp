#include "editor/ui/view_form.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionComboBox>

#include "editor/form_template.h"
#include "editor/settings_lists.h"
#include "editor/ui/flex_grid.h"
#include "ui/dialog_builder.h"
#include "ui/ui_text.h"

namespace quorim {

namespace {

SettingsList ListOfControl(int id) {
    for (const SettingsListInfo& info : AllSettingsLists()) {
        if (info.controlId == id) {
            return info.list;
        }
    }
    return SettingsList::Model;
}

// The width a drop-down list needs to show its longest item whole.
int WidthForItems(QComboBox* combo, int width, int height) {
    QStyleOptionComboBox opt;
    opt.initFrom(combo);
    opt.editable = combo->isEditable();
    opt.rect = QRect(0, 0, width, height);
    const QRect field =
        combo->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, combo);
    int longest = 0;
    for (int i = 0; i < combo->count(); ++i) {
        longest = qMax(longest, combo->fontMetrics().horizontalAdvance(combo->itemText(i)));
    }
    // The edit field keeps a few pixels of margin around its text.
    return longest + (width - field.width()) + 6;
}

}  // namespace

CViewForm::CViewForm(CChannelTable* table) : m_form(new QWidget) {
    QWidget* previousFocus = nullptr;
    m_base = BuildFromTemplate(m_form, FormTemplate(), [&](const DialogControl& c, const DlgRect&) {
        QWidget* w = MakeControl(c, table);
        if (!w) {
            return w;
        }
        w->setProperty(kControlIdProperty, c.id);
        if (c.id != IDC_STATIC) {
            m_controls.insert(c.id, w);
        }
        if (c.kind == ControlKind::ComboBox || c.kind == ControlKind::Grid) {
            w->setFocusPolicy(Qt::StrongFocus);
            if (previousFocus) {
                QWidget::setTabOrder(previousFocus, w);
            }
            previousFocus = w;
        } else {
            w->setFocusPolicy(Qt::NoFocus);
        }
        return w;
    });
    // Every list wide enough for its longest item: this style's arrow and
    // frame take more room than the template allowed for.
    for (QComboBox* combo : m_form->findChildren<QComboBox*>(QString(), Qt::FindDirectChildrenOnly)) {
        combo->resize(qMax(combo->width(), WidthForItems(combo, combo->width(), combo->height())),
                      combo->height());
    }
    // A group box still encloses controls that grew past the template's width.
    for (QGroupBox* group : m_form->findChildren<QGroupBox*>()) {
        QRect box = group->geometry();
        for (QWidget* w : m_form->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (w != group && box.contains(w->geometry().center())) {
                box.setRight(qMax(box.right(), w->geometry().right() + 4));
            }
        }
        group->setGeometry(box);
    }
    FitToTexts(m_form);
    m_formBase = m_form->size();
    m_gridBase = m_grid->geometry();
}

QWidget* CViewForm::MakeControl(const DialogControl& c, CChannelTable* table) {
    QWidget* w = nullptr;
    switch (c.kind) {
        case ControlKind::GroupBox:
            w = MakeGroupBox(Q(c.caption), m_form);
            break;
        case ControlKind::Static: {
            QLabel* label = MakeLabel(Q(c.caption), m_form);
            label->setWordWrap(true);
            w = label;
            break;
        }
        case ControlKind::ComboBox: {
            QComboBox* combo = MakeDropDown(m_form);
            // A file dropped on the form opens it; it never becomes text.
            combo->lineEdit()->setAcceptDrops(false);
            const SettingsListInfo& info = Info(ListOfControl(c.id));
            for (const std::string_view item : info.items) {
                combo->addItem(Q(item, kTrSettingsList));
            }
            w = combo;
            break;
        }
        case ControlKind::Grid:
            // The grid shows the document's table; every view of the
            // document shows the same one.
            m_grid = new CMSFlexGrid1(m_form, table);
            w = m_grid;
            break;
        default:
            break;
    }
    return w;
}

QSize CViewForm::Size() const {
    // The template's size, grown where the texts needed more room.
    if (!m_formBase.isEmpty()) {
        return m_formBase;
    }
    const DialogTemplate& t = FormTemplate();
    return {DluToPixelsX(t.cx, m_base), DluToPixelsY(t.cy, m_base)};
}

void CViewForm::FitTo(QSize room, int bar) {
    if (m_formBase.isEmpty()) {
        return;
    }
    // `room` is the area without scroll bars; a bar appears only for a side
    // that is too short, and takes its width from the other side.
    bool needH = room.width() < m_formBase.width();
    bool needV = room.height() < m_formBase.height();
    needV = needV || (needH && room.height() - bar < m_formBase.height());
    needH = needH || (needV && room.width() - bar < m_formBase.width());
    const QSize free(room.width() - (needV ? bar : 0), room.height() - (needH ? bar : 0));
    const QSize size = m_formBase.expandedTo(free);
    if (size == m_form->size()) {
        return;
    }
    const QSize grown = size - m_formBase;
    m_form->setFixedSize(size);
    m_grid->setGeometry(m_gridBase.adjusted(0, 0, grown.width(), grown.height()));
}

}  // namespace quorim
