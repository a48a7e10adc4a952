#pragma once

#include <QString>
#include <QWidget>
#include <string_view>

#include "base/dialog_template.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace quorim {

// The property that holds the template id of a window made by
// BuildFromTemplate, and the control id of the controls made in it.
inline constexpr char kTemplateIdProperty[] = "templateId";

// Gives `window` a template's font (face and point size as the template
// names them) and its size, cx by cy dialog units in pixels of that font;
// returns the font's dialog base units.
DialogBaseUnits ApplyTemplateMetrics(QWidget* window, std::string_view face, int pointSize, int cx, int cy);

// Puts a made control at its template rectangle (in pixels), named
// "ctl<id>" unless it is an IDC_STATIC. A label grows until its text fits
// (PlaceLabel); a drop-down list keeps its field's own height, the rest of
// the template's height being its opened list; a radio button is never
// narrower than its caption; everything else takes the rectangle as it is.
void PlaceControl(QWidget* w, int id, const DlgRect& r);

// Makes a window from a template table (DialogTemplate, or any table with
// its fields): the template's font and size, then its controls in template
// (and Tab) order. `make(control, rect)` makes the widget of one control,
// with `rect` its place in pixels, and returns it for PlaceControl; null when
// the control shows nothing or was placed by `make` itself.
template <typename Template, typename Make>
DialogBaseUnits BuildFromTemplate(QWidget* window, const Template& t, Make make) {
    const DialogBaseUnits base = ApplyTemplateMetrics(window, t.fontFace, t.pointSize, t.cx, t.cy);
    // Context help tells windows apart by their template.
    window->setProperty(kTemplateIdProperty, t.id);
    for (const auto& c : t.controls) {
        const DlgRect r = MapDialogRect(c.rect, base);
        if (QWidget* w = make(c, r)) {
            PlaceControl(w, c.id, r);
        }
    }
    return base;
}

// Makes room where a window's texts need more than the template gave them
// (the installed faces are wider than the ones the templates name): a
// caption that does not fit grows its control; a control that now covers
// its neighbour moves that neighbour, and everything beyond it in the same
// direction, just far enough, so columns and rows stay aligned; a group box
// grows to hold its controls clear of its frame; the window grows with them.
// Controls whose kTemplatePageProperty differ (pages of one window shown in
// turn) never push each other. Call once the window's controls are made.
inline constexpr char kTemplatePageProperty[] = "templatePage";
void FitToTexts(QWidget* window);

// A template's static text: shown as written (no mnemonics, no rich text),
// from its top left corner.
QLabel* MakeLabel(const QString& caption, QWidget* parent);
// A drop-down list with an edit field: typed text is never added to the list
// and never completed.
QComboBox* MakeDropDown(QWidget* parent);
// A group box drawn as the templates' group frames are: an etched frame
// whose top line runs through the middle of the caption.
QGroupBox* MakeGroupBox(const QString& title, QWidget* parent);
// A push button; the default one is also the one Enter presses.
QPushButton* MakeButton(const QString& caption, bool isDefault, QWidget* parent);

}  // namespace quorim
