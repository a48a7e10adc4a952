#pragma once

#include <QFont>
#include <string_view>

class QLabel;

#include "base/dialog_template.h"

namespace quorim {

// Maps the faces the templates name to installed ones: "宋体" (and its Latin
// name) to a CJK serif face, "Times New Roman" to a metric-compatible serif
// face where it is missing. Call once, before any window is made.
void InstallFontSubstitutions();

// A template's font: face and point size as the template names them.
QFont TemplateFont(const DialogTemplate& t);
QFont TemplateFont(std::string_view face, int pointSize);
// The channel grid's cell font: "Times New Roman" 8.25 point, weight 400.
QFont GridCellFont();

// The dialog base units of a template font. The template face is a CJK face
// whose half-width letters are half an em wide and whose cells are one em
// high; the substitute's Latin letters and line height are larger, and would
// stretch every form past its window. So the units are taken from the face as
// a CJK face: half the advance of a full-width character, and the em height.
DialogBaseUnits BaseUnitsOf(const QFont& font);

// Places a label at its template rectangle (in pixels), grown where the
// substitute face needs more room, so its text is never clipped: wide enough
// for its longest unbreakable piece (or its whole line when it does not
// wrap), high enough for all its lines.
void PlaceLabel(QLabel* label, const DlgRect& rect);

}  // namespace quorim
