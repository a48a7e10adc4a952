#include "image/memory_image.h"

#include <algorithm>

namespace quorim {

namespace {

// Bytes 960-991 as a new image has them: the 16-channel radio's settings.
void SetNewSettings(MemoryImage& image) {
    std::fill_n(image.begin() + kSettingsOffset, kSettingsSize, std::uint8_t{0xFF});
    image[961] = 4;
    image[962] = 3;
    image[963] = 2;
    image[965] = 10;
    WriteFixedSettingsBytes(image);
    image[978] = 0xF4;
}

void ClearRows(MemoryImage& image, std::size_t first, std::size_t last) {
    std::fill(image.begin() + RowOffset(first), image.begin() + RowOffset(last + 1), std::uint8_t{0xFF});
}

}  // namespace

void WriteFixedSettingsBytes(MemoryImage& image) {
    image[976] = 0x00;
    image[977] = 0x00;
    image[980] = 0x30;
    image[981] = 0x31;
    image[982] = 0x33;
    image[983] = 0x50;
}

void DocumentData::OnNewDocument() {
    // Rows 0 to 127 carry the defaults; the rest of the image has no defined
    // content in a new document. We fill it with 0xFF too, so that a 199-channel
    // radio written from a new document gets empty channels, not zeros.
    m_image.fill(0xFF);
    SetNewSettings(m_image);
    m_image[28] = 0xFB;  // channel 1: transmitting allowed, wide bandwidth
    m_image[kModelCodeOffset] = m_bSixteenChannel ? kModelCode16 : kModelCode199;
    if (!m_bSixteenChannel) {
        // No settings where a 199-channel radio keeps channels 60 and 61.
        ClearRows(m_image, 60, 61);
    }
}

void DocumentData::ChangeLayout(RadioModel model) {
    if (model != Model()) {
        if (model == RadioModel::Qz199) {
            ClearRows(m_image, 60, 61);
        } else {
            ClearRows(m_image, 17, 199);
            SetNewSettings(m_image);
        }
    }
    m_bSixteenChannel = model == RadioModel::Qz16;
    m_image[kModelCodeOffset] = m_bSixteenChannel ? kModelCode16 : kModelCode199;
}

void DocumentData::SetModelFlagFromImage() {
    m_bSixteenChannel = m_image[kModelCodeOffset] != kModelCode199;
}

bool ParseRadioModel(std::string_view text, RadioModel& model) {
    if (text == "16") {
        model = RadioModel::Qz16;
    } else if (text == "199") {
        model = RadioModel::Qz199;
    } else {
        return false;
    }
    return true;
}

MemoryImage NewImage() {
    DocumentData doc;
    doc.OnNewDocument();
    return doc.m_image;
}

}  // namespace quorim
