#include "image/memory_image.h"

#include <algorithm>

namespace quorim {

void DocumentData::OnNewDocument() {
    // Rows 0 to 127 carry the defaults; the rest of the image has no defined
    // content in a new document. We fill it with 0xFF too, so that a 199-channel
    // radio written from a new document gets empty channels, not zeros.
    m_image.fill(0xFF);
    m_image[961] = 4;
    m_image[962] = 3;
    m_image[963] = 2;
    m_image[965] = 10;
    m_image[28] = 0xFB;  // channel 1: transmitting allowed, wide bandwidth
    m_image[976] = 0x00;
    m_image[977] = 0x00;
    m_image[978] = 0xF4;
    m_image[980] = 0x30;
    m_image[981] = 0x31;
    m_image[982] = 0x33;
    m_image[983] = 0x50;
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
