// The exchange layout: the column set other programming tools use for their
// channel lists. What its columns mean:
//
//   Location     the memory number (here: channel 1..16 or 1..199)
//   Frequency    receive frequency, MHz
//   Duplex       "" transmit on the receive frequency, "+"/"-" receive
//                frequency plus/minus Offset, "split" transmit on Offset,
//                "off" transmitting inhibited
//   Offset       MHz, as Duplex says
//   Tone         squelch mode: "" none; "Tone" a CTCSS tone sent (rToneFreq),
//                none received; "TSQL" cToneFreq sent and received; "DTCS"
//                DtcsCode sent and received; "Cross" as CrossMode says
//   CrossMode    "<sent>-><received>", each "Tone", "DTCS" or nothing: a sent
//                tone is rToneFreq, a received one cToneFreq, a sent code
//                DtcsCode, a received one RxDtcsCode
//   DtcsPolarity two letters, sent then received: N normal, R reversed
//   Mode         FM (wide) or NFM (narrow); others this radio cannot receive
//   Name, TStep, Skip, Power, Comment and the digital-voice call signs have
//   no place in this radio.
#include <map>
#include <optional>

#include "editor/cell_rules.h"
#include "editor/channel_csv.h"
#include "editor/codec.h"
#include "editor/csv_text.h"
#include "text/ascii_text.h"
#include "text/number_text.h"

namespace quorim {

using namespace csvdetail;

namespace {

const std::vector<std::string>& ExchangeColumns() {
    static const std::vector<std::string> columns = {
        "Location",  "Name",     "Frequency",    "Duplex",     "Offset",    "Tone",     "rToneFreq",
        "cToneFreq", "DtcsCode", "DtcsPolarity", "RxDtcsCode", "CrossMode", "Mode",     "TStep",
        "Skip",      "Power",    "Comment",      "URCALL",     "RPT1CALL",  "RPT2CALL", "DVCODE"};
    return columns;
}

// One side's squelch as the layout sees it.
struct Squelch {
    enum Kind { None, Tone, Code } kind = None;
    std::string tone;     // "88.5"
    std::string code;     // "023"
    char polarity = 'N';  // N normal, R reversed
};

// The editor's text of a squelch ("", "OFF", "88.5", "D023N", "D754I").
Squelch SquelchFromText(const std::string& text) {
    Squelch s;
    if (text.empty() || text == kSignallingOff) return s;
    if (text.front() == 'D') {
        s.kind = Squelch::Code;
        const long long code = LeadingInteger(std::string_view(text).substr(1));
        std::string digits = std::to_string(code);
        if (digits.size() < 3) digits.insert(0, 3 - digits.size(), '0');
        s.code = digits;
        s.polarity = text.back() == 'I' ? 'R' : 'N';
        return s;
    }
    s.kind = Squelch::Tone;
    s.tone = text;
    return s;
}

std::string SquelchText(const Squelch& s) {
    switch (s.kind) {
        case Squelch::Tone:
            return s.tone;
        case Squelch::Code:
            return "D" + s.code + (s.polarity == 'R' ? "I" : "N");
        default:
            return std::string(kSignallingOff);
    }
}

// Where the columns stand, by their names folded to lower case.
struct ExchangeHeader {
    std::size_t record = 0;
    std::map<std::string, int> columnOf;
};

std::optional<ExchangeHeader> ReadExchangeHeader(const std::vector<CsvRecord>& records, CsvImport& result) {
    const std::optional<std::size_t> first = HeaderRecord(records, result);
    if (!first) return std::nullopt;
    ExchangeHeader h;
    h.record = *first;
    const CsvRecord& header = records[h.record];
    for (int k = 0; k < static_cast<int>(header.size()); ++k) {
        const std::string name = FoldAscii(TrimBlanks(header[static_cast<std::size_t>(k)]));
        if (!name.empty() && !h.columnOf.count(name)) h.columnOf[name] = k;
    }
    for (const char* required : {"Location", "Frequency"}) {
        if (!h.columnOf.count(FoldAscii(required))) {
            result.Refuse(static_cast<int>(h.record) + 1, required, "",
                          "this column is missing from the header row");
        }
    }
    if (!result.Ok()) return std::nullopt;
    return h;
}

// One record of the list, its cells found by column name.
struct ExchangeRow {
    const ExchangeHeader& header;
    const CsvRecord& record;
    int row;  // 1-based

    // The cell of a column (its lower-case name), blanks trimmed; empty when
    // the column or the cell is missing.
    std::string Get(const char* name) const {
        const auto it = header.columnOf.find(name);
        if (it == header.columnOf.end() || it->second >= static_cast<int>(record.size())) return {};
        return std::string(TrimBlanks(record[static_cast<std::size_t>(it->second)]));
    }
};

// The starting document's model, else the one asked for, else by the highest
// location.
RadioModel ChooseExchangeModel(const std::vector<CsvRecord>& records, const ExchangeHeader& h,
                               const CsvImportOptions& options) {
    if (options.into) return options.into->Model();
    if (options.model) return *options.model;
    RadioModel model = RadioModel::Qz16;
    for (std::size_t r = h.record + 1; r < records.size(); ++r) {
        const long long loc = PlainNumber(ExchangeRow{h, records[r], 0}.Get("location"));
        if (loc > 16 && loc <= 199) model = RadioModel::Qz199;
    }
    return model;
}

// A channel as the grid will be given it.
struct ExchangeChannel {
    int channel = 0;
    std::string rxText;
    std::string txText;
    bool inhibit = false;
    Squelch send;  // what the radio sends
    Squelch hear;  // what opens its receiver
    std::string toneMode;
    std::string modeText;  // "FM", "NFM" or empty
};

// The transmit frequency (10 Hz units) and the inhibit flag as Duplex and
// Offset give them; none for a duplex this layout does not have.
std::optional<std::pair<long long, bool>> ReadTransmit(const std::string& duplex, long long rx,
                                                       long long offset) {
    if (duplex.empty()) return std::pair{rx, false};
    if (duplex == "+") return std::pair{rx + offset, false};
    if (duplex == "-") return std::pair{rx - offset, false};
    if (SameIgnoringAsciiCase(duplex, "split")) return std::pair{offset, false};
    if (SameIgnoringAsciiCase(duplex, "off")) return std::pair{rx, true};
    return std::nullopt;
}

Squelch ToneSquelch(const std::string& tone) {
    return Squelch{Squelch::Tone, tone, "", 'N'};
}

Squelch CodeSquelch(std::string code, char polarity) {
    // Spreadsheets drop the leading zeros of a code: "23" is 023.
    if (!code.empty() && code.size() < 3 && PlainNumber(code) >= 0) code.insert(0, 3 - code.size(), '0');
    return Squelch{Squelch::Code, "", code, polarity};
}

// CrossMode "<sent>-><received>": false when it is not one this radio has.
bool ReadCrossSquelch(const ExchangeRow& r, char sendPol, char hearPol, ExchangeChannel& c) {
    const std::string cross = r.Get("crossmode");
    const auto arrow = cross.find("->");
    if (arrow == std::string::npos) return false;
    const std::string sent = cross.substr(0, arrow), heard = cross.substr(arrow + 2);
    const std::string rxCodeColumn = r.Get("rxdtcscode");
    if (SameIgnoringAsciiCase(sent, "Tone")) {
        c.send = ToneSquelch(r.Get("rtonefreq"));
    } else if (SameIgnoringAsciiCase(sent, "DTCS")) {
        c.send = CodeSquelch(r.Get("dtcscode"), sendPol);
    } else if (!sent.empty()) {
        return false;
    }
    if (SameIgnoringAsciiCase(heard, "Tone")) {
        c.hear = ToneSquelch(r.Get("ctonefreq"));
    } else if (SameIgnoringAsciiCase(heard, "DTCS")) {
        c.hear = CodeSquelch(rxCodeColumn.empty() ? r.Get("dtcscode") : rxCodeColumn, hearPol);
    } else if (!heard.empty()) {
        return false;
    }
    return true;
}

// The squelch on each side as the Tone column's mode gives it; a mode this
// radio does not have leaves both sides without squelch.
void ReadSquelch(const ExchangeRow& r, ExchangeChannel& c, CsvImport& result) {
    const std::string polarity = r.Get("dtcspolarity");
    const char sendPol = !polarity.empty() && (polarity[0] == 'R' || polarity[0] == 'r') ? 'R' : 'N';
    const char hearPol = polarity.size() > 1 && (polarity[1] == 'R' || polarity[1] == 'r') ? 'R' : 'N';
    const std::string& mode = c.toneMode;
    if (SameIgnoringAsciiCase(mode, "Tone")) {
        c.send = ToneSquelch(r.Get("rtonefreq"));
    } else if (SameIgnoringAsciiCase(mode, "TSQL")) {
        const std::string cTone = r.Get("ctonefreq");
        c.send = c.hear = ToneSquelch(cTone.empty() ? r.Get("rtonefreq") : cTone);
    } else if (SameIgnoringAsciiCase(mode, "DTCS")) {
        c.send = CodeSquelch(r.Get("dtcscode"), sendPol);
        c.hear = CodeSquelch(r.Get("dtcscode"), hearPol);
    } else if (SameIgnoringAsciiCase(mode, "Cross")) {
        if (!ReadCrossSquelch(r, sendPol, hearPol, c)) {
            result.Warn(r.row, "CrossMode", r.Get("crossmode"),
                        "not a cross mode this radio has: no squelch set");
            c.send = c.hear = Squelch{};
        }
    } else if (!mode.empty()) {
        result.Warn(r.row, "Tone", mode, "not a squelch mode this radio has: no squelch set");
    }
}

// What the list says across its rows: the channels already read, the
// bandwidth, and the columns whose values this radio has no place for.
class ExchangeTally {
public:
    // A location already read; 0 for a new one.
    int RowOf(int channel) const {
        const auto it = m_seen.find(channel);
        return it == m_seen.end() ? 0 : it->second;
    }

    void Count(const ExchangeChannel& c, const ExchangeRow& r) {
        m_seen[c.channel] = r.row;
        if (!c.modeText.empty()) {
            const bool nfm = SameIgnoringAsciiCase(c.modeText, "NFM");
            if (!m_narrow) {
                m_narrow = nfm;
                m_narrowChannel = c.channel;
            } else if (*m_narrow != nfm) {
                m_otherWidth.push_back(c.channel);
            }
        }
        for (const char* column : {"Name", "TStep", "Skip", "Power", "Comment"}) {
            if (!r.Get(FoldAscii(column).c_str()).empty()) ++m_leftOut[column];
        }
        for (const char* dv : {"urcall", "rpt1call", "rpt2call", "dvcode"}) {
            if (!r.Get(dv).empty()) {
                ++m_leftOut["URCALL, RPT1CALL, RPT2CALL, DVCODE"];
                break;
            }
        }
    }

    // The bandwidth (one setting for the whole radio) into the grid, and what
    // was left out.
    void Report(EditorModel& grid, CsvImport& result) const {
        if (m_narrow) {
            grid.SetCurSel(SettingsList::Bandwidth, *m_narrow ? 1 : 0);
            if (!m_otherWidth.empty()) {
                std::string list;
                for (const int ch : m_otherWidth) list += (list.empty() ? "" : ", ") + std::to_string(ch);
                result.Warn(0, "Mode", "",
                            "the bandwidth is one setting for the whole radio: " +
                                std::string(*m_narrow ? "NFM" : "FM") + " as channel " +
                                std::to_string(m_narrowChannel) + " has it; " +
                                (m_otherWidth.size() == 1 ? "channel " : "channels ") + list +
                                " asked for the other");
            }
        }
        static const std::map<std::string, std::string> kWhy = {
            {"Name", "this radio stores no channel names"},
            {"TStep", "this radio stores no tuning step"},
            {"Skip", "this radio has no scan list"},
            {"Power", "transmit power is one setting for the whole radio"},
            {"Comment", "this radio stores no comments"},
            {"URCALL, RPT1CALL, RPT2CALL, DVCODE", "this radio has no digital voice"},
        };
        for (const auto& [column, channels] : m_leftOut) {
            result.Warn(0, column, "",
                        "left out of " + std::to_string(channels) +
                            (channels == 1 ? " channel: " : " channels: ") + kWhy.at(column));
        }
    }

private:
    std::map<int, int> m_seen;             // channel -> row
    std::map<std::string, int> m_leftOut;  // column -> channels whose value was left out
    std::optional<bool> m_narrow;
    int m_narrowChannel = 0;
    std::vector<int> m_otherWidth;
};

// A row read as a channel; none (and a warning) for a row left out.
std::optional<ExchangeChannel> ReadExchangeChannel(const ExchangeRow& r, RadioModel model,
                                                   const ExchangeTally& tally, CsvImport& result) {
    const std::string locText = r.Get("location");
    const long long loc = PlainNumber(locText);
    const int count = ChannelsOf(model);
    if (loc < 1 || loc > count) {
        result.Warn(r.row, "Location", locText,
                    loc < 0 ? "not a channel number: row left out"
                            : "the " + ModelName(model) + " has channels 1 to " + std::to_string(count) +
                                  ": row left out");
        return std::nullopt;
    }
    ExchangeChannel c;
    c.channel = static_cast<int>(loc);
    if (const int seen = tally.RowOf(c.channel)) {
        result.Warn(r.row, "Location", locText,
                    "channel also on row " + std::to_string(seen) + ": row left out");
        return std::nullopt;
    }
    c.modeText = r.Get("mode");
    if (!c.modeText.empty() && !SameIgnoringAsciiCase(c.modeText, "NFM") &&
        !SameIgnoringAsciiCase(c.modeText, "FM")) {
        result.Warn(r.row, "Mode", c.modeText, "this radio receives FM and NFM only: row left out");
        return std::nullopt;
    }
    const std::string freqText = r.Get("frequency");
    const FrequencyReading rx = ReadFrequencyText(freqText);
    if (rx.text.empty()) {
        result.Warn(r.row, "Frequency", freqText,
                    std::string(rx.message.empty() ? kMsgFrequencyRange : rx.message) + ": row left out");
        return std::nullopt;
    }
    c.rxText = rx.text;
    const std::string duplex = r.Get("duplex");
    const std::string offsetText = r.Get("offset");
    const std::optional<std::int64_t> offsetCount = offsetText.empty()
                                                        ? std::optional<std::int64_t>(0)
                                                        : WholeDecimalScaled(offsetText, 5, Cut::RoundHalfUp);
    if (!offsetCount) {
        result.Warn(r.row, "Offset", offsetText, "not a number: row left out");
        return std::nullopt;
    }
    const long long offset = *offsetCount;
    const auto transmit = ReadTransmit(duplex, rx.count, offset);
    if (!transmit) {
        result.Warn(r.row, "Duplex", duplex, "not a duplex of this layout: row left out");
        return std::nullopt;
    }
    const long long tx = transmit->first;
    c.inhibit = transmit->second;
    const FrequencyReading txReading = ReadFrequencyText(tx > 0 ? MhzText(tx, 5) : "0");
    if (txReading.text.empty()) {
        result.Warn(r.row, "Offset", offsetText,
                    "transmit frequency " + MhzText(tx > 0 ? tx : 0, 5) + ": " +
                        std::string(txReading.message) + ": row left out");
        return std::nullopt;
    }
    c.txText = txReading.text;
    c.toneMode = r.Get("tone");
    ReadSquelch(r, c, result);
    return c;
}

// Typed into the grid as the user would: receive and transmit frequency,
// then the squelch on each side, then the inhibit flag.
void TypeExchangeChannel(const ExchangeChannel& c, const ExchangeRow& r, EditorModel& grid,
                         CsvImport& result) {
    CommitFrequencyText(grid, c.channel, kColRxFreq, c.rxText);
    CommitFrequencyText(grid, c.channel, kColTxFreq, c.txText);
    const std::pair<int, const Squelch*> sides[] = {{kColRxTone, &c.hear}, {kColTxTone, &c.send}};
    for (const auto& [col, sq] : sides) {
        const std::string text = SquelchText(*sq);
        if (NormaliseSignallingText(text) == kSignallingOff && sq->kind != Squelch::None) {
            const bool isTone = sq->kind == Squelch::Tone;
            const bool tsql = SameIgnoringAsciiCase(c.toneMode, "TSQL");
            const bool cross = SameIgnoringAsciiCase(c.toneMode, "Cross");
            const std::string column = isTone ? (col == kColRxTone || tsql ? "cToneFreq" : "rToneFreq")
                                              : (col == kColRxTone && cross ? "RxDtcsCode" : "DtcsCode");
            result.Warn(r.row, column, isTone ? sq->tone : sq->code,
                        std::string(kMsgFrequencyRange) + ": " +
                            (col == kColRxTone ? "receive" : "transmit") + " squelch left off");
        }
        CommitSignallingByEnter(grid, c.channel, col, text);
    }
    CommitInhibitByEnter(grid, c.channel, kColInhibit, std::string(c.inhibit ? kYes : kNo));
}

// The tone columns of the exchange layout for what a channel sends and hears.
struct ExchangeTones {
    std::string mode, rTone = "88.5", cTone = "88.5", code = "023", rxCode = "023", cross = "Tone->Tone";
    std::string polarity;
};

ExchangeTones TonesOf(const Squelch& send, const Squelch& hear) {
    ExchangeTones t;
    t.polarity = {send.polarity, hear.polarity};
    if (send.kind == Squelch::None && hear.kind == Squelch::None) {
    } else if (send.kind == Squelch::Tone && hear.kind == Squelch::None) {
        t.mode = "Tone";
        t.rTone = send.tone;
    } else if (send.kind == Squelch::Tone && hear.kind == Squelch::Tone && send.tone == hear.tone) {
        t.mode = "TSQL";
        t.rTone = t.cTone = send.tone;
    } else if (send.kind == Squelch::Code && hear.kind == Squelch::Code && send.code == hear.code) {
        t.mode = "DTCS";
        t.code = t.rxCode = send.code;
    } else {
        // Readers that know no separate received code or tone take the
        // sent one's column: fill it with the received value when
        // nothing is sent in that form.
        t.mode = "Cross";
        const auto side = [](Squelch::Kind k) {
            return k == Squelch::Tone ? "Tone" : k == Squelch::Code ? "DTCS" : "";
        };
        t.cross = std::string(side(send.kind)) + "->" + side(hear.kind);
        if (hear.kind == Squelch::Tone) t.cTone = t.rTone = hear.tone;
        if (hear.kind == Squelch::Code) t.rxCode = t.code = hear.code;
        if (send.kind == Squelch::Tone) t.rTone = send.tone;
        if (send.kind == Squelch::Code) t.code = send.code;
    }
    return t;
}

}  // namespace

namespace csvdetail {

CsvExport ExportExchange(const EditorSurface& editor) {
    CsvExport result;
    result.text = CsvLine(ExchangeColumns());
    const bool narrow = editor.CurSel(SettingsList::Bandwidth) == 1;
    for (int ch = 1; ch <= ChannelCount(editor); ++ch) {
        const std::string rxText = editor.TextMatrix(ch, kColRxFreq);
        const std::string txText = editor.TextMatrix(ch, kColTxFreq);
        if (rxText.empty()) {
            if (!txText.empty()) {
                result.warnings.push_back({0, "", false, "",
                                           "channel " + std::to_string(ch) +
                                               " has a transmit frequency only: the layout cannot carry it"});
            }
            continue;
        }
        const long long rx = LeadingDecimalScaled(rxText, 5, Cut::RoundHalfUp);
        const long long tx = txText.empty() ? rx : LeadingDecimalScaled(txText, 5, Cut::RoundHalfUp);
        std::string duplex;
        long long offset = 0;
        const bool inhibited = editor.TextMatrix(ch, kColInhibit) == kYes || txText.empty();
        if (inhibited) {
            duplex = "off";
            if (!txText.empty() && tx != rx) {
                result.warnings.push_back({0, "", false, "",
                                           "channel " + std::to_string(ch) +
                                               ": transmitting is inhibited; its transmit frequency " +
                                               txText + " is not carried"});
            }
        } else if (tx == rx) {
        } else if (tx > rx && tx - rx <= 1000000) {  // up to 10 MHz: a repeater shift
            duplex = "+";
            offset = tx - rx;
        } else if (tx < rx && rx - tx <= 1000000) {
            duplex = "-";
            offset = rx - tx;
        } else {
            duplex = "split";
            offset = tx;
        }
        const Squelch send = SquelchFromText(editor.TextMatrix(ch, kColTxTone));
        const Squelch hear = SquelchFromText(editor.TextMatrix(ch, kColRxTone));
        const ExchangeTones t = TonesOf(send, hear);
        const char* step = rx % 500 == 0 ? "5.00" : "6.25";
        result.text += CsvLine({std::to_string(ch),
                                "",
                                MhzText(rx, 6),
                                duplex,
                                MhzText(offset, 6),
                                t.mode,
                                t.rTone,
                                t.cTone,
                                t.code,
                                t.polarity,
                                t.rxCode,
                                t.cross,
                                narrow ? "NFM" : "FM",
                                step,
                                "",
                                "",
                                "",
                                "",
                                "",
                                "",
                                ""});
    }
    return result;
}

CsvImport ImportExchange(const std::vector<CsvRecord>& records, const CsvImportOptions& options,
                         DocumentData& doc, EditorModel& editor) {
    CsvImport result;
    const std::optional<ExchangeHeader> header = ReadExchangeHeader(records, result);
    if (!header) return result;
    const RadioModel model = ChooseExchangeModel(records, *header, options);

    DocumentData work;
    EditorModel grid;
    StartDocument(options.into, model, work, grid);
    // The list replaces the channel table: channels it does not name end up empty.
    for (int ch = 1; ch <= ChannelsOf(model); ++ch) {
        CommitFrequencyText(grid, ch, kColRxFreq, "");
        CommitFrequencyText(grid, ch, kColTxFreq, "");
    }

    ExchangeTally tally;
    for (std::size_t r = header->record + 1; r < records.size(); ++r) {
        if (IsBlankRecord(records[r])) continue;
        const ExchangeRow row{*header, records[r], static_cast<int>(r) + 1};
        const std::optional<ExchangeChannel> channel = ReadExchangeChannel(row, model, tally, result);
        if (!channel) continue;
        TypeExchangeChannel(*channel, row, grid, result);
        tally.Count(*channel, row);
    }
    tally.Report(grid, result);

    EncodeImage(grid, work);
    doc = work;
    editor = grid;
    return result;
}

}  // namespace csvdetail

}  // namespace quorim
