#pragma once

#include <string>

#include "editor/editor_surface.h"
#include "files/szt_file.h"

namespace quorim {

// Opening a data file as the program does: load the 3216 bytes, let the model
// flag follow byte 3, set up the editor and decode. On failure the document
// and the editor are left as they were.
FileStatus OpenDocument(const std::string& path, DocumentData& doc, EditorSurface& editor);

// Saving as the program does: encode the editor into the image, then store it.
FileStatus SaveDocument(const std::string& path, const EditorSurface& editor, DocumentData& doc);

// The editor's view of a document as text: the settings lists' selected texts,
// then one line per channel row, as a window in the language of `texts` shows
// them. Used by `quorim show`.
std::string FormatEditorText(const EditorSurface& editor, const TextTranslator& texts = ChineseTexts());
// The same as one JSON object with the exact texts, whatever the language
// (null for a list without a selection).
std::string FormatEditorJson(const EditorSurface& editor);

}  // namespace quorim
