// Any text given to import, in either layout, into a new document or a data
// file: the reader never misreads its own writing, and whatever an import
// stores comes back byte for byte from its own export.
#include <cstdint>
#include <string>

#include "editor/channel_csv.h"
#include "editor/codec.h"
#include "editor/csv_text.h"
#include "fuzz_check.h"

using namespace quorim;

namespace {

void CheckReaderReadsItsOwnWriting(const std::string& text) {
    const CsvReadResult read = ReadCsv(text);
    if (!read.Ok()) {
        FUZZ_CHECK(read.records.empty() && read.errorRow >= 1 && read.errorColumn >= 1);
        return;
    }
    std::string written;
    for (const auto& rec : read.records) {
        FUZZ_CHECK(!rec.empty());
        written += CsvLine(rec);
    }
    const CsvReadResult again = ReadCsv(written);
    FUZZ_CHECK(again.Ok());
    FUZZ_CHECK(again.records == read.records);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // The first byte chooses the layout, the model and the starting document.
    const std::uint8_t how = data[0];
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    CheckReaderReadsItsOwnWriting(text);

    DocumentData into;
    into.OnNewDocument();
    if (how & 4) {
        into.m_image[kModelCodeOffset] = kModelCode199;
        into.SetModelFlagFromImage();
    }
    CsvImportOptions options;
    options.layout = (how & 1) ? CsvLayout::Exchange : CsvLayout::Quorim;
    options.into = (how & 2) ? &into : nullptr;
    if (!options.into && (how & 24)) {
        options.model = (how & 8) ? RadioModel::Qz199 : RadioModel::Qz16;
    }

    DocumentData doc;
    doc.m_image.fill(0x42);
    EditorModel editor;
    const CsvImport result = ImportCsv(text, options, doc, editor);
    if (!result.Ok()) {
        FUZZ_CHECK(doc.m_image[0] == 0x42 && doc.m_image[kImageSize - 1] == 0x42);
        for (const auto& r : result.refusals) FUZZ_CHECK(!r.Format().empty());
        return 0;
    }
    for (const auto& w : result.warnings) FUZZ_CHECK(!w.Format().empty());
    FUZZ_CHECK(editor.Rows() == (doc.m_bSixteenChannel ? 17 : 200));

    // What the import stored, exported and imported into itself, is unchanged.
    EditorModel shown;
    InitialUpdateEditor(doc, shown);
    const CsvExport csv = ExportCsv(shown, CsvLayout::Quorim);
    CsvImportOptions back;
    back.into = &doc;
    DocumentData again;
    EditorModel editor2;
    const CsvImport second = ImportCsv(csv.text, back, again, editor2);
    FUZZ_CHECK(second.Ok());
    FUZZ_CHECK(second.warnings.empty());
    FUZZ_CHECK(again.m_image == doc.m_image);
    // The exchange export of it reads back without refusal.
    const CsvExport exchange = ExportCsv(shown, CsvLayout::Exchange);
    CsvImportOptions ex;
    ex.layout = CsvLayout::Exchange;
    ex.into = &doc;
    FUZZ_CHECK(ImportCsv(exchange.text, ex, again, editor2).Ok());
    return 0;
}
