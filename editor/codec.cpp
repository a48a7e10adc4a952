#include "editor/codec.h"

#include <cstdio>

#include "text/number_text.h"

namespace quorim {

namespace {

bool HasFrequency(std::uint8_t top) {
    return top != 0xFF && top != 0x00;
}

}  // namespace

void DecodeChannel(const MemoryImage& image, int row, EditorSurface& editor) {
    const std::uint8_t* r = image.data() + RowOffset(static_cast<std::size_t>(row));
    const bool rx = HasFrequency(r[3]);
    const bool tx = HasFrequency(r[7]);
    editor.SetTextMatrix(row, kColRxFreq, rx ? DecodeFrequency(r + kRecRxFreq) : std::string());
    editor.SetTextMatrix(row, kColTxFreq, tx ? DecodeFrequency(r + kRecTxFreq) : std::string());
    editor.SetTextMatrix(row, kColRxTone, DecodeSquelch(r[9], r[8]));
    editor.SetTextMatrix(row, kColTxTone, DecodeSquelch(r[11], r[10]));
    std::string inhibit;
    if (rx || tx) {
        inhibit = std::string((r[kRecFlags] & kFlagTxAllowed) ? kNo : kYes);
    }
    editor.SetTextMatrix(row, kColInhibit, inhibit);
}

void EncodeChannel(const EditorSurface& editor, int row, bool narrow, MemoryImage& image) {
    std::uint8_t* r = image.data() + RowOffset(static_cast<std::size_t>(row));
    EncodeFrequency(editor.TextMatrix(row, kColRxFreq), r + kRecRxFreq);
    EncodeFrequency(editor.TextMatrix(row, kColTxFreq), r + kRecTxFreq);
    EncodeSquelch(editor.TextMatrix(row, kColRxTone), r[9], r[8]);
    EncodeSquelch(editor.TextMatrix(row, kColTxTone), r[11], r[10]);
    if (editor.TextMatrix(row, kColInhibit) == kYes) {
        r[kRecFlags] &= static_cast<std::uint8_t>(~kFlagTxAllowed);
    } else {
        r[kRecFlags] |= kFlagTxAllowed;
    }
    if (narrow) {
        r[kRecFlags] |= kFlagNarrow;
    } else {
        r[kRecFlags] &= static_cast<std::uint8_t>(~kFlagNarrow);
    }
}

namespace {

// A list index written as one byte; no selection (-1) wraps as it always has.
std::uint8_t IndexByte(int index, int base = 0) {
    return static_cast<std::uint8_t>(index + base);
}

int InRangeOr(int value, int lo, int hi, int fallback) {
    return (value >= lo && value <= hi) ? value : fallback;
}

}  // namespace

std::string DecodeFrequency(const std::uint8_t* b) {
    const std::int64_t n =
        ((static_cast<std::int64_t>(PairValue(b[3])) * 100 + PairValue(b[2])) * 100 + PairValue(b[1])) * 100 +
        PairValue(b[0]);
    // n counts 10 Hz; the text is MHz with five decimals.
    char text[32];
    std::snprintf(text, sizeof text, "%lld.%05lld", static_cast<long long>(n / 100000),
                  static_cast<long long>(n % 100000));
    return text;
}

void EncodeFrequency(const std::string& text, std::uint8_t* b) {
    const std::int64_t v = LeadingDecimalScaled(text, 5, Cut::RoundHalfUp);
    if (v == 0) {
        b[0] = b[1] = b[2] = b[3] = 0xFF;
        return;
    }
    if (v < 0 || v > 99999999) {
        // Eight digits cannot hold it (only a damaged record decodes to such
        // a text): keep the record's bytes rather than write wrapped digits
        // that would read back as another frequency or none.
        return;
    }
    b[3] = PairByte(v / 1000000);
    b[2] = PairByte((v / 10000) % 100);
    b[1] = PairByte((v / 100) % 100);
    b[0] = PairByte(v % 100);
}

std::string DecodeSquelch(std::uint8_t kind, std::uint8_t low) {
    if (kind == 0xFF || kind == 0x00) {
        return {};
    }
    char text[32];
    if (kind >= 0x80) {
        const int d = kind >= 0xC0 ? kind - 0xC0 : kind - 0x80;
        std::snprintf(text, sizeof text, "%s%d%s", d == 0 ? "D0" : "D", d * 100 + PairValue(low),
                      kind >= 0xC0 ? "I" : "N");
        return text;
    }
    // CTCSS in 0.1 Hz, shown "%3.1f".
    const int t = PairValue(kind) * 100 + PairValue(low);
    std::snprintf(text, sizeof text, "%d.%d", t / 10, t % 10);
    return text;
}

void EncodeSquelch(const std::string& text, std::uint8_t& kind, std::uint8_t& low) {
    if (text.find('D') == std::string::npos) {
        const std::int64_t t = LeadingDecimalScaled(text, 1, Cut::Truncate);
        if (t == 0) {
            kind = low = 0xFF;
            return;
        }
        if (t < 0 || t > 7999) {
            return;  // beyond the tone kind bytes: keep what the record holds
        }
        kind = PairByte(t / 100);
        low = PairByte(t % 100);
        return;
    }
    // A code: the character before the digits is dropped, the digits read as
    // a decimal number; "N" anywhere means normal polarity.
    const std::int64_t m = LeadingInteger(std::string_view(text).substr(1));
    const bool normal = text.find('N') != std::string::npos;
    if (m < 0 || m / 100 > (normal ? 63 : 62)) {
        return;  // the first digit would leave the code's kind bytes
    }
    const int base = normal ? 0x80 : 0xC0;
    kind = static_cast<std::uint8_t>(base + m / 100);
    low = PairByte(m % 100);
}

void DecodeImage(const DocumentData& doc, EditorSurface& editor) {
    const MemoryImage& image = doc.m_image;
    const int n = doc.m_bSixteenChannel ? 16 : 199;
    for (int ch = 1; ch <= n; ++ch) {
        editor.SetTextMatrix(ch, kColChannel, std::to_string(ch));
        DecodeChannel(image, ch, editor);
    }
    // Band, bandwidth and model are written back in both layouts, so they are
    // read in both: left at the form's initial choices, a 199-channel image
    // would come back from a save with every channel narrow, another band and
    // model code '7' (and so reopen as a 16-channel radio).
    editor.SetCurSel(SettingsList::Bandwidth, (image[RowOffset(1) + kRecFlags] & kFlagNarrow) ? 1 : 0);
    editor.SetCurSel(SettingsList::Band, InRangeOr(image[kBandCodeOffset] - kBandCodeBase, 0, 8, 0));
    if (!doc.m_bSixteenChannel) {
        // The radio-wide settings of the 16-channel layout keep their
        // selections; the model list says what the image is.
        editor.SetCurSel(SettingsList::Model, 1);
        return;
    }
    editor.SetCurSel(SettingsList::Alarm, (image[kAlarmOffset] & 0x01) ? 0 : 1);
    editor.SetCurSel(SettingsList::Squelch, InRangeOr(image[kSquelchOffset], 0, 9, 0));
    editor.SetCurSel(SettingsList::Monitor, (image[kMonitorOffset] & 0x03) ? 0 : 1);
    editor.SetCurSel(SettingsList::Tot, InRangeOr(image[kTotOffset], 0, 10, 0));
    const int power = image[kPowerOffset] / 3;
    editor.SetCurSel(SettingsList::Power, power < 9 ? power : 9);
    editor.SetCurSel(SettingsList::Model, InRangeOr(image[kModelCodeOffset] - kModelCode16, 0, 1, 0));
}

namespace {

// The radio-wide settings of the 16-channel layout.
void EncodeSettings(const EditorSurface& editor, MemoryImage& image) {
    if (editor.CurSel(SettingsList::Alarm) == 1) {
        image[kAlarmOffset] &= 0xFE;
    } else {
        image[kAlarmOffset] |= 0x01;
    }
    image[kSquelchOffset] = IndexByte(editor.CurSel(SettingsList::Squelch));
    image[kMonitorOffset] = editor.CurSel(SettingsList::Monitor) == 0 ? 3 : 0;
    image[kTotOffset] = IndexByte(editor.CurSel(SettingsList::Tot));
    image[kPowerOffset] = IndexByte(editor.CurSel(SettingsList::Power) * 3);
    WriteFixedSettingsBytes(image);
}

}  // namespace

void EncodeImage(const EditorSurface& editor, DocumentData& doc) {
    MemoryImage& image = doc.m_image;
    const int n = editor.Rows() <= 18 ? 16 : 199;
    const bool narrow = editor.CurSel(SettingsList::Bandwidth) == 1;
    for (int ch = 1; ch <= n; ++ch) {
        EncodeChannel(editor, ch, narrow, image);
    }
    if (doc.m_bSixteenChannel) {
        EncodeSettings(editor, image);
    }
    image[kBandCodeOffset] = IndexByte(editor.CurSel(SettingsList::Band), kBandCodeBase);
    image[kModelCodeOffset] = IndexByte(editor.CurSel(SettingsList::Model), kModelCode16);
}

void InitialUpdateEditor(const DocumentData& doc, EditorSurface& editor) {
    const auto& headers = GridHeaders();
    for (int col = 0; col < static_cast<int>(headers.size()); ++col) {
        editor.SetTextMatrix(0, col, std::string(headers[static_cast<std::size_t>(col)]));
    }
    editor.SetRows(doc.m_bSixteenChannel ? kRows16 : kRows199);
    DecodeImage(doc, editor);
}

bool ApplyModelChoice(EditorSurface& editor, DocumentData& doc) {
    const bool model199 = editor.CurSel(SettingsList::Model) > 0;
    const bool wasSixteen = doc.m_bSixteenChannel;
    doc.ChangeLayout(model199 ? RadioModel::Qz199 : RadioModel::Qz16);
    if (doc.m_bSixteenChannel && !wasSixteen) {
        // The settings lists kept their choices while the 199-channel layout
        // hid them; the settings bytes now hold them again.
        EncodeSettings(editor, doc.m_image);
    }
    editor.SetRows(model199 ? kRows199 : kRows16);
    DecodeImage(doc, editor);
    return !model199;
}

int ChannelsDroppedBySixteen(const EditorSurface& editor) {
    int count = 0;
    for (int row = kRows16; row < editor.Rows(); ++row) {
        for (int col = kColRxFreq; col <= kColInhibit; ++col) {
            if (!editor.TextMatrix(row, col).empty()) {
                ++count;
                break;
            }
        }
    }
    return count;
}

}  // namespace quorim
