#pragma once

#include <QFont>
#include <QString>

#include "editor/editor_surface.h"
#include "editor/print_layout.h"

class QPainter;
class QPrinter;

namespace quorim {

// The one place the printed pages are drawn: on a printer, into a PDF file
// and into the print preview alike.

// The printer font for a font of the layout: the face, the character height
// (em) in twips as the pixel size of the twips coordinate system, and the
// width as a horizontal stretch against the face's natural average width.
QFont PrinterFont(const PrintFont& font, QPrinter* printer);

// Draws page `page` of the editor's printout on an active painter of
// `printer`, in twips from the printable area's top left corner.
void RenderPrintPage(QPainter& painter, QPrinter* printer, const EditorSurface& editor, int page);

// Prints the pages the printer's page range asks for (all of them without a
// range). False when the printer could not be started (no printer, or an
// output file that cannot be written).
bool PrintEditor(QPrinter* printer, const EditorSurface& editor);
// Every page, whatever range the printer was left with.
bool PrintAllPages(QPrinter* printer, const EditorSurface& editor);

// Prints every page into the PDF file `path` (the file name's own bytes,
// whatever their encoding) by a safe replace: the old file stays whole unless
// the new one reached the disk whole. False with `error` set when the file
// cannot be written.
bool PrintEditorToPdf(const std::string& path, const EditorSurface& editor, std::string* error);

}  // namespace quorim
