#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/translation.h"
#include "editor/editor_surface.h"
#include "image/memory_image.h"

namespace quorim {

// Image <-> editor. Decoding fills grid texts and list selections from the
// image; encoding writes them back. Neither fails: every byte decodes to some
// text and every text encodes to some bytes.
//
// Channel n lives in image row n in both layouts (rows 1..16 for the
// 16-channel radio, rows 1..199 for the 199-channel radio), so a decode
// followed by an encode moves nothing.
void DecodeImage(const DocumentData& doc, EditorSurface& editor);
void EncodeImage(const EditorSurface& editor, DocumentData& doc);

// One channel: grid row `row` from or into image row `row`. Encoding sets the
// bandwidth bit by `narrow` and leaves the record's other bytes and bits.
void DecodeChannel(const MemoryImage& image, int row, EditorSurface& editor);
void EncodeChannel(const EditorSurface& editor, int row, bool narrow, MemoryImage& image);

// One field at a time, for the cell rules, printing and tests.
std::string DecodeFrequency(const std::uint8_t* bytes4);
void EncodeFrequency(const std::string& text, std::uint8_t* bytes4);
// kind = record byte 9 (or 11), low = byte 8 (or 10).
std::string DecodeSquelch(std::uint8_t kind, std::uint8_t low);
void EncodeSquelch(const std::string& text, std::uint8_t& kind, std::uint8_t& low);

// The form's set-up on every initial update: headers, the row count by the
// model flag, then the decoded image.
void InitialUpdateEditor(const DocumentData& doc, EditorSurface& editor);

// The user picked an item of the model list (or the list lost its selection):
// rows, model flag and model code follow the choice and the image is decoded
// again, dropping edits not yet encoded. A change of model changes the
// image's layout: channels 60 and 61 of the 199-channel radio start empty
// (never the 16-channel settings read as channels), and channels 17-199 are
// gone after "QZ - 16" (choosing "QZ - 199" again shows them empty); the
// 16-channel settings then take the lists' selections. Returns true when the
// function settings are to be shown (16-channel model).
bool ApplyModelChoice(EditorSurface& editor, DocumentData& doc);

// Choosing "QZ - 16" for a 199-channel editor drops channels 17-199: how many
// of them hold data, and the question asked first ("%1": that count).
int ChannelsDroppedBySixteen(const EditorSurface& editor);
inline constexpr std::string_view kAskDropChannels =
    QUORIM_TR("Quorim", "选择 QZ - 16 将删除信道 17-199 中有数据的 %1 个信道。是否继续？");

}  // namespace quorim
