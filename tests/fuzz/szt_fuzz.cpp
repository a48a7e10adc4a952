// A data file from anywhere: load, decode, show, encode, and again.
#include <cstdint>
#include <cstring>
#include <string>

#include "editor/codec.h"
#include "editor/document_file.h"
#include "editor/editor_model.h"
#include "fuzz_check.h"

using namespace quorim;

namespace {

MemoryImage RoundTrip(const DocumentData& in, EditorModel& editor) {
    DocumentData doc = in;
    InitialUpdateEditor(doc, editor);
    EncodeImage(editor, doc);
    FUZZ_CHECK(doc.m_bSixteenChannel == in.m_bSixteenChannel);
    return doc.m_image;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < kImageSize) {
        return 0;  // refused by the loader; covered by the file tests
    }
    DocumentData doc;
    std::memcpy(doc.m_image.data(), data, kImageSize);
    doc.SetModelFlagFromImage();

    EditorModel editor;
    const MemoryImage once = RoundTrip(doc, editor);
    FUZZ_CHECK(editor.Rows() == (doc.m_bSixteenChannel ? 17 : 200));
    const std::string text = FormatEditorText(editor);
    const std::string json = FormatEditorJson(editor);
    FUZZ_CHECK(!text.empty() && json.front() == '{' && json.substr(json.size() - 3) == "]}\n");

    // The settings and records the codec owns settle after one round: a
    // second decode + encode changes nothing.
    DocumentData second = doc;
    second.m_image = once;
    second.SetModelFlagFromImage();
    EditorModel editor2;
    const MemoryImage twice = RoundTrip(second, editor2);
    FUZZ_CHECK(twice == once);
    // Bytes outside what the codec owns are never touched.
    for (std::size_t i = 0; i < 2; ++i) FUZZ_CHECK(once[i] == doc.m_image[i]);
    for (std::size_t i = 4; i < 16; ++i) FUZZ_CHECK(once[i] == doc.m_image[i]);
    return 0;
}
