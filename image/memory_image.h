#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace quorim {

// The radio's whole programmable memory: byte i is the radio's byte at address
// i. 201 rows of 16 bytes; channel records are one row each.
inline constexpr std::size_t kImageSize = 3216;
inline constexpr std::size_t kRowSize = 16;
inline constexpr std::size_t kRowCount = kImageSize / kRowSize;

using MemoryImage = std::array<std::uint8_t, kImageSize>;

// Fixed places in the image.
inline constexpr std::size_t kBandCodeOffset = 2;   // 238 + band item
inline constexpr std::size_t kModelCodeOffset = 3;  // '7' 16 channels, '8' 199
inline constexpr std::uint8_t kModelCode16 = '7';
inline constexpr std::uint8_t kModelCode199 = '8';
inline constexpr std::uint8_t kBandCodeBase = 238;

inline constexpr std::size_t kAlarmOffset = 960;    // bit 0: alarm tone on
inline constexpr std::size_t kSquelchOffset = 961;  // 0..9
inline constexpr std::size_t kMonitorOffset = 962;  // 3 on, 0 off
inline constexpr std::size_t kTotOffset = 963;      // n x 30 s, 0 off
inline constexpr std::size_t kPowerOffset = 964;    // 3 x level
// The 16-channel radio's settings fill rows 60 and 61 (bytes 960-991), which
// the 199-channel layout reads as channels 60 and 61.
inline constexpr std::size_t kSettingsOffset = 960;
inline constexpr std::size_t kSettingsSize = 2 * 16;
// The fixed bytes of the 16-channel settings, which a new image has and every
// encoding of the settings writes again: 976-977 0x00 0x00, 980-983 the
// characters "013P" (0x30 0x31 0x33 0x50).
void WriteFixedSettingsBytes(MemoryImage& image);

// Inside a 16-byte channel record.
inline constexpr std::size_t kRecRxFreq = 0;
inline constexpr std::size_t kRecTxFreq = 4;
inline constexpr std::size_t kRecRxTone = 8;  // low byte; kind byte follows
inline constexpr std::size_t kRecTxTone = 10;
inline constexpr std::size_t kRecFlags = 12;
inline constexpr std::uint8_t kFlagTxAllowed = 0x01;
inline constexpr std::uint8_t kFlagNarrow = 0x04;

inline constexpr std::size_t RowOffset(std::size_t row) {
    return row * kRowSize;
}

// The two radios of the family.
enum class RadioModel { Qz16, Qz199 };

// The number of channels of a model: 16 or 199.
inline constexpr int ChannelsOf(RadioModel model) {
    return model == RadioModel::Qz16 ? 16 : 199;
}
// "16" or "199", as the command lines name the models; false for anything else.
bool ParseRadioModel(std::string_view text, RadioModel& model);

// The document's data: the image and the model flag that travels with it.
struct DocumentData {
    MemoryImage m_image{};
    bool m_bSixteenChannel = true;

    RadioModel Model() const { return m_bSixteenChannel ? RadioModel::Qz16 : RadioModel::Qz199; }

    // Fills in the image of a new document (and its model code).
    void OnNewDocument();
    // After a file was loaded into m_image: the flag follows byte 3.
    void SetModelFlagFromImage();
    // The image takes the other model's layout; flag and model code follow.
    // To the 199-channel layout, the 16-channel settings become two empty
    // channels (60 and 61); to the 16-channel layout, channels 17-199 are
    // dropped and the settings start as in a new image. The same model keeps
    // the image as it is.
    void ChangeLayout(RadioModel model);
};

// The image a new document starts with, for a 16-channel radio.
MemoryImage NewImage();

}  // namespace quorim
