#pragma once

#include <QHash>
#include <QRect>
#include <QSize>

#include "base/dialog_template.h"

class QWidget;

namespace quorim {

class CChannelTable;
class CMSFlexGrid1;

// The property that names a form control's id.
inline constexpr const char* kControlIdProperty = "controlId";

// The form of a document window (template 101): the settings lists, their
// labels and groups, and the channel grid over the document's table, laid
// out in the form font's units and grown where the texts need more room.
class CViewForm {
public:
    // `table` is the document's (none for a window of no document).
    explicit CViewForm(CChannelTable* table);

    // The form's widget (the window takes it) and its controls by id.
    QWidget* Widget() const { return m_form; }
    CMSFlexGrid1* Grid() const { return m_grid; }
    const QHash<int, QWidget*>& Controls() const { return m_controls; }
    // The form's size in pixels, as laid out: the least the window shows.
    QSize Size() const;
    // Grows the form to the window's free area `room` (scroll bars `bar`
    // wide appear for a side that is too short), the grid with it; the
    // settings stay where they are.
    void FitTo(QSize room, int bar);

private:
    QWidget* MakeControl(const DialogControl& c, CChannelTable* table);

    QWidget* m_form;
    CMSFlexGrid1* m_grid = nullptr;
    QHash<int, QWidget*> m_controls;
    DialogBaseUnits m_base;
    QSize m_formBase;
    QRect m_gridBase;
};

}  // namespace quorim
