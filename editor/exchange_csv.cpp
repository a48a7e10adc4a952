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
#include "editor/number_text.h"

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
        std::string mode, rTone = "88.5", cTone = "88.5", code = "023", rxCode = "023", cross = "Tone->Tone";
        std::string polarity = {send.polarity, hear.polarity};
        if (send.kind == Squelch::None && hear.kind == Squelch::None) {
        } else if (send.kind == Squelch::Tone && hear.kind == Squelch::None) {
            mode = "Tone";
            rTone = send.tone;
        } else if (send.kind == Squelch::Tone && hear.kind == Squelch::Tone && send.tone == hear.tone) {
            mode = "TSQL";
            rTone = cTone = send.tone;
        } else if (send.kind == Squelch::Code && hear.kind == Squelch::Code && send.code == hear.code) {
            mode = "DTCS";
            code = rxCode = send.code;
        } else {
            // Readers that know no separate received code or tone take the
            // sent one's column: fill it with the received value when
            // nothing is sent in that form.
            mode = "Cross";
            const auto side = [](Squelch::Kind k) {
                return k == Squelch::Tone ? "Tone" : k == Squelch::Code ? "DTCS" : "";
            };
            cross = std::string(side(send.kind)) + "->" + side(hear.kind);
            if (hear.kind == Squelch::Tone) cTone = rTone = hear.tone;
            if (hear.kind == Squelch::Code) rxCode = code = hear.code;
            if (send.kind == Squelch::Tone) rTone = send.tone;
            if (send.kind == Squelch::Code) code = send.code;
        }
        const char* step = rx % 500 == 0 ? "5.00" : "6.25";
        result.text += CsvLine({std::to_string(ch),
                                "",
                                MhzText(rx, 6),
                                duplex,
                                MhzText(offset, 6),
                                mode,
                                rTone,
                                cTone,
                                code,
                                polarity,
                                rxCode,
                                cross,
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
    auto warn = [&](int row, const std::string& column, const std::string& text, const std::string& message) {
        result.warnings.push_back({row, column, false, text, message});
    };

    std::size_t first = 0;
    while (first < records.size() && IsBlankRecord(records[first])) ++first;
    if (first == records.size()) {
        result.refusals.push_back({0, "", false, "", "the file holds no header row and no channels"});
        return result;
    }
    std::map<std::string, int> columnOf;  // lower-case name -> index
    const CsvRecord& header = records[first];
    for (int k = 0; k < static_cast<int>(header.size()); ++k) {
        std::string name(TrimBlanks(header[static_cast<std::size_t>(k)]));
        for (char& c : name) c = FoldAscii(c);
        if (!name.empty() && !columnOf.count(name)) columnOf[name] = k;
    }
    for (const char* required : {"location", "frequency"}) {
        if (!columnOf.count(required)) {
            const std::string name = required[0] == 'l' ? "Location" : "Frequency";
            result.refusals.push_back(
                {static_cast<int>(first) + 1, name, false, "", "this column is missing from the header row"});
        }
    }
    if (!result.Ok()) return result;
    auto get = [&](const CsvRecord& r, const char* name) -> std::string {
        const auto it = columnOf.find(name);
        if (it == columnOf.end() || it->second >= static_cast<int>(r.size())) return {};
        return std::string(TrimBlanks(r[static_cast<std::size_t>(it->second)]));
    };

    // The model: the starting document's, else as asked, else by the highest location.
    int model = options.into ? (options.into->m_bSixteenChannel ? 16 : 199) : options.model;
    if (model == 0) {
        model = 16;
        for (std::size_t r = first + 1; r < records.size(); ++r) {
            const long long loc = PlainNumber(get(records[r], "location"));
            if (loc > 16 && loc <= 199) model = 199;
        }
    }
    const int count = model == 16 ? 16 : 199;

    DocumentData work;
    EditorModel grid;
    StartDocument(options.into, model, work, grid);
    // The list replaces the channel table: channels it does not name end up empty.
    for (int ch = 1; ch <= count; ++ch) {
        CommitFrequencyText(grid, ch, kColRxFreq, "");
        CommitFrequencyText(grid, ch, kColTxFreq, "");
    }

    std::map<int, int> seen;             // channel -> row
    std::map<std::string, int> leftOut;  // column -> channels whose value was left out
    std::optional<bool> narrow;
    int narrowChannel = 0;
    std::vector<int> otherWidth;
    for (std::size_t r = first + 1; r < records.size(); ++r) {
        const CsvRecord& rec = records[r];
        const int row = static_cast<int>(r) + 1;
        if (IsBlankRecord(rec)) continue;
        const std::string locText = get(rec, "location");
        const long long loc = PlainNumber(locText);
        if (loc < 1 || loc > count) {
            warn(row, "Location", locText,
                 loc < 0 ? "not a channel number: row left out"
                         : "the " + ModelName(model) + " has channels 1 to " + std::to_string(count) +
                               ": row left out");
            continue;
        }
        const int ch = static_cast<int>(loc);
        if (seen.count(ch)) {
            warn(row, "Location", locText,
                 "channel also on row " + std::to_string(seen[ch]) + ": row left out");
            continue;
        }
        const std::string modeText = get(rec, "mode");
        const bool nfm = SameIgnoringAsciiCase(modeText, "NFM");
        if (!modeText.empty() && !nfm && !SameIgnoringAsciiCase(modeText, "FM")) {
            warn(row, "Mode", modeText, "this radio receives FM and NFM only: row left out");
            continue;
        }
        const std::string freqText = get(rec, "frequency");
        const FrequencyReading rx = ReadFrequencyText(freqText);
        if (rx.text.empty()) {
            warn(row, "Frequency", freqText,
                 std::string(rx.message.empty() ? kMsgFrequencyRange : rx.message) + ": row left out");
            continue;
        }
        // Transmit side.
        const std::string duplex = get(rec, "duplex");
        const std::string offsetText = get(rec, "offset");
        const long long offset =
            offsetText.empty() ? 0 : LeadingDecimalScaled(offsetText, 5, Cut::RoundHalfUp);
        long long tx = rx.count;
        bool inhibit = false;
        if (duplex.empty()) {
        } else if (duplex == "+") {
            tx = rx.count + offset;
        } else if (duplex == "-") {
            tx = rx.count - offset;
        } else if (SameIgnoringAsciiCase(duplex, "split")) {
            tx = offset;
        } else if (SameIgnoringAsciiCase(duplex, "off")) {
            inhibit = true;
        } else {
            warn(row, "Duplex", duplex, "not a duplex of this layout: row left out");
            continue;
        }
        const FrequencyReading txReading = ReadFrequencyText(tx > 0 ? MhzText(tx, 5) : "0");
        if (txReading.text.empty()) {
            warn(row, "Offset", offsetText,
                 "transmit frequency " + MhzText(tx > 0 ? tx : 0, 5) + ": " + std::string(txReading.message) +
                     ": row left out");
            continue;
        }

        // Squelch: what is sent and what opens the receiver.
        Squelch send, hear;
        const std::string toneMode = get(rec, "tone");
        const std::string polarity = get(rec, "dtcspolarity");
        const char sendPol = !polarity.empty() && (polarity[0] == 'R' || polarity[0] == 'r') ? 'R' : 'N';
        const char hearPol = polarity.size() > 1 && (polarity[1] == 'R' || polarity[1] == 'r') ? 'R' : 'N';
        const std::string rTone = get(rec, "rtonefreq");
        const std::string cTone = get(rec, "ctonefreq");
        const std::string code = get(rec, "dtcscode");
        const std::string rxCodeColumn = get(rec, "rxdtcscode");
        const std::string rxCode = rxCodeColumn.empty() ? code : rxCodeColumn;
        auto tone = [](const std::string& v) { return Squelch{Squelch::Tone, v, "", 'N'}; };
        auto dcs = [](std::string v, char pol) {
            // Spreadsheets drop the leading zeros of a code: "23" is 023.
            if (!v.empty() && v.size() < 3 && PlainNumber(v) >= 0) v.insert(0, 3 - v.size(), '0');
            return Squelch{Squelch::Code, "", v, pol};
        };
        bool squelchKnown = true;
        if (toneMode.empty()) {
        } else if (SameIgnoringAsciiCase(toneMode, "Tone")) {
            send = tone(rTone);
        } else if (SameIgnoringAsciiCase(toneMode, "TSQL")) {
            send = hear = tone(cTone.empty() ? rTone : cTone);
        } else if (SameIgnoringAsciiCase(toneMode, "DTCS")) {
            send = dcs(code, sendPol);
            hear = dcs(code, hearPol);
        } else if (SameIgnoringAsciiCase(toneMode, "Cross")) {
            const std::string cross = get(rec, "crossmode");
            const auto arrow = cross.find("->");
            if (arrow == std::string::npos) {
                squelchKnown = false;
            } else {
                const std::string s = cross.substr(0, arrow), h = cross.substr(arrow + 2);
                if (SameIgnoringAsciiCase(s, "Tone")) {
                    send = tone(rTone);
                } else if (SameIgnoringAsciiCase(s, "DTCS")) {
                    send = dcs(code, sendPol);
                } else if (!s.empty()) {
                    squelchKnown = false;
                }
                if (SameIgnoringAsciiCase(h, "Tone")) {
                    hear = tone(cTone);
                } else if (SameIgnoringAsciiCase(h, "DTCS")) {
                    hear = dcs(rxCode, hearPol);
                } else if (!h.empty()) {
                    squelchKnown = false;
                }
            }
            if (!squelchKnown) {
                warn(row, "CrossMode", cross, "not a cross mode this radio has: no squelch set");
                send = hear = Squelch{};
            }
        } else {
            warn(row, "Tone", toneMode, "not a squelch mode this radio has: no squelch set");
        }

        // Typed into the grid as the user would: receive and transmit
        // frequency, then the squelch on each side, then the inhibit flag.
        seen[ch] = row;
        CommitFrequencyText(grid, ch, kColRxFreq, rx.text);
        CommitFrequencyText(grid, ch, kColTxFreq, txReading.text);
        const std::pair<int, Squelch*> sides[] = {{kColRxTone, &hear}, {kColTxTone, &send}};
        for (const auto& [col, sq] : sides) {
            const std::string text = SquelchText(*sq);
            if (NormaliseSignallingText(text) == kSignallingOff && sq->kind != Squelch::None) {
                const bool isTone = sq->kind == Squelch::Tone;
                const bool tsql = SameIgnoringAsciiCase(toneMode, "TSQL");
                const bool cross = SameIgnoringAsciiCase(toneMode, "Cross");
                const std::string column = isTone ? (col == kColRxTone || tsql ? "cToneFreq" : "rToneFreq")
                                                  : (col == kColRxTone && cross ? "RxDtcsCode" : "DtcsCode");
                warn(row, column, isTone ? sq->tone : sq->code,
                     std::string(kMsgFrequencyRange) + ": " + (col == kColRxTone ? "receive" : "transmit") +
                         " squelch left off");
            }
            CommitSignallingByEnter(grid, ch, col, text);
        }
        CommitInhibitByEnter(grid, ch, kColInhibit, std::string(inhibit ? kYes : kNo));

        if (!modeText.empty()) {
            if (!narrow) {
                narrow = nfm;
                narrowChannel = ch;
            } else if (*narrow != nfm) {
                otherWidth.push_back(ch);
            }
        }
        if (!get(rec, "name").empty()) ++leftOut["Name"];
        if (!get(rec, "tstep").empty()) ++leftOut["TStep"];
        if (!get(rec, "skip").empty()) ++leftOut["Skip"];
        if (!get(rec, "power").empty()) ++leftOut["Power"];
        if (!get(rec, "comment").empty()) ++leftOut["Comment"];
        for (const char* dv : {"urcall", "rpt1call", "rpt2call", "dvcode"}) {
            if (!get(rec, dv).empty()) {
                ++leftOut["URCALL, RPT1CALL, RPT2CALL, DVCODE"];
                break;
            }
        }
    }

    // Bandwidth is one setting for the whole radio.
    if (narrow) {
        grid.SetCurSel(SettingsList::Bandwidth, *narrow ? 1 : 0);
        if (!otherWidth.empty()) {
            std::string list;
            for (const int ch : otherWidth) list += (list.empty() ? "" : ", ") + std::to_string(ch);
            warn(0, "Mode", "",
                 "the bandwidth is one setting for the whole radio: " + std::string(*narrow ? "NFM" : "FM") +
                     " as channel " + std::to_string(narrowChannel) + " has it; " +
                     (otherWidth.size() == 1 ? "channel " : "channels ") + list + " asked for the other");
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
    for (const auto& [column, channels] : leftOut) {
        warn(0, column, "",
             "left out of " + std::to_string(channels) + (channels == 1 ? " channel: " : " channels: ") +
                 kWhy.at(column));
    }

    EncodeImage(grid, work);
    doc = work;
    editor = grid;
    return result;
}

}  // namespace csvdetail

}  // namespace quorim
