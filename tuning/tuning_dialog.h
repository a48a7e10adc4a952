#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/dialog_template.h"
#include "base/translation.h"
#include "image/tone_table.h"
#include "tuning/tuning_session.h"

namespace quorim {

// The online tuning window ("Debug Mode for Tarvolin Radio", template 136):
// its controls, its tree, and every decision it takes. The window itself only
// shows this state and forwards the user's actions. Frequencies are counts of
// 10 Hz throughout, read from their texts digit by digit.

inline constexpr std::string_view kTuningTitle = "Debug Mode for Tarvolin Radio";
inline constexpr std::string_view kTuningFrameUnset = QUORIM_TR("Quorim", "频率未确定");
inline constexpr std::string_view kTuningPositionPrefix = QUORIM_TR("Quorim", "当前位置:");
inline constexpr std::string_view kTuningNothingVisible = " There are no Visible information";

// Control ids of template 136.
enum TuningControlId : int {
    IDC_TUNING_TREE = 1026,
    IDC_TUNING_FRAME = 1029,
    IDC_TUNING_RESTORE = 1028,
    IDC_TUNING_HIDDEN_DEFAULT = 1068,
    IDC_RX_FREQUENCY = 1030,
    IDC_RX_TONE = 1012,
    IDC_RX_ANALOGUE = 1034,
    IDC_RX_DIGITAL = 1035,
    IDC_RX_STEP_500 = 1063,
    IDC_RX_STEP_625 = 1064,
    IDC_TX_FREQUENCY = 1031,
    IDC_TX_TONE = 1013,
    IDC_TX_ANALOGUE = 1036,
    IDC_TX_DIGITAL = 1037,
    IDC_TX_STEP_500 = 1066,
    IDC_TX_STEP_625 = 1067,
    IDC_POINT_HIGH = 1040,
    IDC_POINT_CENTRE = 1041,
    IDC_POINT_LOW = 1042,
    IDC_TUNING_SLIDER = 1039,
    IDC_TUNING_POSITION = 1052,
    IDC_TUNING_START = 1038,
};

enum class TuningPage { None, Frequency, Item };

enum class TuningControlKind {
    Tree,
    GroupBox,
    PushButton,
    HiddenDefault,
    Static,
    Edit,
    ComboBox,
    Radio,
    Slider
};

// Where a control shows: `None` for the ones of no page (the tree, the frame,
// the restore button and the hidden default button, each with its own rule).
struct TuningControl {
    TuningControlKind kind;
    int id;
    std::string_view caption;
    DlgRect rect;  // dialog units
    TuningPage page;
};

using TuningTemplate = BasicDialogTemplate<TuningControl>;
const TuningTemplate& TuningDlgTemplate();

// Whether a control shows with `page` showing and the restore button shown
// or not yet.
bool TuningControlVisible(const TuningControl& control, TuningPage page, bool restoreShown);

// The tree: its item data, in insertion order, with the parent's data (0 for
// a root). The value 5570 belongs to no item.
enum TuningTreeData : int {
    kTreePoints = 5567,
    kTreeHigh = 5568,
    kTreeCentre = 5569,
    kTreeLow = 5571,
    kTreeItems = 5572,
    kTreeTxFrequency = 5573,
    kTreeBattery = 5574,
    kTreeSquelch = 5575,
    kTreePower = 5576,
    kTreeExit = 5577,
};
struct TuningTreeEntry {
    int data;
    int parent;
    std::string_view text;
};
const std::array<TuningTreeEntry, 10>& TuningTree();

// The receive group's controls and their transmit counterparts (the group
// boxes first), which the window puts on the same rows.
const std::vector<std::pair<int, int>>& TuningRxTxRows();

// The frequency points and the tuning items by their numbers.
enum TuningPoint : int { kPointHigh = 2, kPointCentre = 3, kPointLow = 4 };
enum TuningItem : int { kItemTxFrequency = 2, kItemBattery = 3, kItemSquelch = 4, kItemPower = 5 };
int TuningItemDefault(int item);  // 91, 38, 160, 47
std::string_view TuningPointCaption(int point);

enum class ToneListKind { Analogue = 0, Digital = 1 };
enum class ChannelStep { Khz500 = 0, Khz625 = 1 };
enum class TuningSide { Rx, Tx };

// The two tone lists, by tone table position: analogue 0..50 ("OFF" and
// the 50 tones, "67.0" .. "254.1"), digital 51..260 (the 210 codes, "D023N"
// .. "D754I").
std::vector<std::string> TuningToneList(const ToneTable& tones, ToneListKind kind);

// The band base: the leading number of the band list's text at its current
// selection; with no selection, that of the list's initial entry
// ("350 - 370MHZ").
std::int64_t TuningBandBase(const std::optional<std::string>& selectedBandText);

// "%8.5f" of a count of 10 Hz.
std::string FormatTuningFrequency(std::int64_t units);

// Enter in a frequency box: the text's leading number, clamped to the band
// base .. base + 20 MHz, and inside the range snapped to the box's step
// (5.00 kHz: a remainder of exactly 2.5 kHz goes down; 6.25 kHz: 3.13 kHz and
// more goes up).
std::int64_t EnterTuningFrequency(std::string_view text, std::int64_t bandBase, ChannelStep step);

// "当前位置:" and the value.
std::string TuningPositionText(int value, const TextTranslator& tr = ChineseTexts());

// What one point holds: frequencies as counts of 10 Hz, stored tone
// positions (in the list that was showing when they were stored), step and
// signalling kind per side.
struct TuningPointValues {
    std::int64_t rxFrequency = 0;
    std::int64_t txFrequency = 0;
    int rxTone = 0;
    int txTone = 0;
    ChannelStep rxStep = ChannelStep::Khz500;
    ChannelStep txStep = ChannelStep::Khz500;
    ToneListKind rxKind = ToneListKind::Analogue;
    ToneListKind txKind = ToneListKind::Analogue;
};

// The window's state while it is open. Nothing of it outlives the window.
class TuningDialogModel {
public:
    TuningDialogModel(std::int64_t bandBase, std::string portName);

    std::int64_t BandBase() const { return m_bandBase; }
    const std::string& PortName() const { return m_portName; }
    TuningPage Page() const { return m_page; }
    bool RestoreShown() const { return !m_restorePending; }
    std::string_view FrameCaption() const { return m_frameCaption; }
    int Point() const { return m_point; }
    int Item() const { return m_item; }
    int ItemValue(int item) const;
    const TuningPointValues& Values(int point) const;
    const TuningPointValues& Current() const { return Values(m_point); }

    // A tree item was selected. The page and the restore button follow the
    // item's parent; then a point becomes the current point and an item the
    // current item.
    enum class Selected { Root, Point, Item, Exit };
    Selected SelectTreeItem(int data);

    // A kind radio was clicked; true when the kind changed (the side's tone
    // box then shows the other list from its first entry).
    bool SetKind(TuningSide side, ToneListKind kind);
    void SetStep(TuningSide side, ChannelStep step);
    // The side's tone box closed its list at `position` (-1: none).
    void StoreTone(TuningSide side, int position);
    // The slider moved.
    void SetItemValue(int value);

    // Restore defaults: the current item's value on the item page, the
    // current point on the frequency page, nothing (the user is told) with
    // neither page showing.
    enum class Restored { Item, Point, Nothing };
    Restored RestoreDefaults();

    // The request "开始" sends: the boxes' texts as they stand, the current
    // item and its value.
    TuningRequest Request(std::string rxFrequencyText, std::string txFrequencyText, std::string rxToneText,
                          std::string txToneText) const;

private:
    TuningPointValues& Mutable(int point);
    TuningPointValues Defaults(int point) const;

    std::int64_t m_bandBase;
    std::string m_portName;
    TuningPage m_page = TuningPage::None;
    bool m_restorePending = true;
    std::string_view m_frameCaption = kTuningFrameUnset;
    int m_point = kPointHigh;
    int m_item = kItemTxFrequency;
    std::array<int, 4> m_itemValues{};          // items 2..5
    std::array<TuningPointValues, 3> m_points;  // points 2..4
};

}  // namespace quorim
