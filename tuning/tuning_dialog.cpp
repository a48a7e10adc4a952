#include "tuning/tuning_dialog.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

#include "editor/settings_lists.h"
#include "text/number_text.h"

namespace quorim {

namespace {

constexpr std::int64_t kUnitsPerMhz = 100000;  // 10 Hz units
constexpr std::int64_t kBandSpan = 20 * kUnitsPerMhz;

// The radio takes a tone by its value, so each list holds one kind whole:
// "OFF" and the 50 tones, then the 210 codes.
constexpr int kAnalogueFirst = 0;
constexpr int kAnalogueCount = 1 + ToneTable::kToneCount;
constexpr int kDigitalFirst = kAnalogueCount;
constexpr int kDigitalCount = 2 * ToneTable::kDcsCount;

}  // namespace

const TuningTemplate& TuningDlgTemplate() {
    using K = TuningControlKind;
    constexpr TuningPage N = TuningPage::None;
    constexpr TuningPage F = TuningPage::Frequency;
    constexpr TuningPage I = TuningPage::Item;
    static const TuningTemplate t{
        136,
        kTuningTitle,
        "宋体",
        9,
        363,
        216,
        {
            {K::Tree, 1026, "", {18, 23, 98, 179}, N},
            {K::GroupBox, 1029, kTuningFrameUnset, {120, 13, 229, 190}, N},
            {K::PushButton, 1028, QUORIM_TR("Quorim", "还原默认值"), {270, 178, 64, 17}, N},
            {K::HiddenDefault, 1068, "Button1", {218, 184, 25, 11}, N},
            {K::GroupBox, 1060, QUORIM_TR("Quorim", "接收"), {121, 50, 108, 121}, F},
            {K::Static, 1054, QUORIM_TR("Quorim", "频率(MHZ)"), {133, 62, 37, 11}, F},
            {K::Edit, 1030, "", {171, 62, 53, 12}, F},
            {K::Static, 1056, QUORIM_TR("Quorim", "信令"), {134, 81, 19, 9}, F},
            {K::ComboBox, 1012, "", {179, 78, 44, 70}, F},
            {K::Static, 1058, QUORIM_TR("Quorim", "信令类别"), {135, 98, 23, 20}, F},
            {K::Radio, 1034, QUORIM_TR("Quorim", "模拟信令"), {165, 94, 52, 13}, F},
            {K::Radio, 1035, QUORIM_TR("Quorim", "数字信令"), {165, 109, 59, 10}, F},
            {K::Static, 1062, QUORIM_TR("Quorim", "频率步进值"), {133, 123, 30, 26}, F},
            {K::Radio, 1063, "5.00KHZ", {166, 123, 44, 11}, F},
            {K::Radio, 1064, "6.25KHZ", {166, 134, 48, 15}, F},
            {K::GroupBox, 1061, QUORIM_TR("Quorim", "发射"), {235, 50, 114, 122}, F},
            {K::Static, 1055, QUORIM_TR("Quorim", "频率(MHZ)"), {244, 61, 37, 11}, F},
            {K::Edit, 1031, "", {283, 60, 53, 12}, F},
            {K::Static, 1057, QUORIM_TR("Quorim", "信令"), {243, 81, 19, 10}, F},
            {K::ComboBox, 1013, "", {285, 77, 44, 70}, F},
            {K::Static, 1059, QUORIM_TR("Quorim", "信令类别"), {244, 99, 23, 20}, F},
            {K::Radio, 1036, QUORIM_TR("Quorim", "模拟信令"), {277, 95, 52, 13}, F},
            {K::Radio, 1037, QUORIM_TR("Quorim", "数字信令"), {277, 109, 59, 11}, F},
            {K::Static, 1065, QUORIM_TR("Quorim", "频率步进值"), {241, 123, 30, 26}, F},
            {K::Radio, 1066, "5.00KHZ", {278, 121, 48, 15}, F},
            {K::Radio, 1067, "6.25KHZ", {278, 136, 48, 15}, F},
            {K::GroupBox, 1043, QUORIM_TR("Quorim", "选择调试频率"), {128, 35, 212, 39}, I},
            {K::Radio, 1040, QUORIM_TR("Quorim", "高端频率"), {135, 51, 57, 12}, I},
            {K::Radio, 1041, QUORIM_TR("Quorim", "中端频率"), {203, 51, 54, 12}, I},
            {K::Radio, 1042, QUORIM_TR("Quorim", "低端频率"), {267, 51, 60, 12}, I},
            {K::GroupBox, 1044, QUORIM_TR("Quorim", "调试参数"), {128, 83, 214, 70}, I},
            {K::Static, 1049, QUORIM_TR("Quorim", "最小"), {137, 105, 28, 13}, I},
            {K::Slider, 1039, "", {158, 103, 133, 14}, I},
            {K::Static, 1051, QUORIM_TR("Quorim", "最大"), {301, 105, 24, 13}, I},
            {K::Static, 1052, QUORIM_TR("Quorim", "当前位置"), {139, 126, 74, 13}, I},
            {K::PushButton, 1038, QUORIM_TR("Quorim", "开始"), {157, 180, 45, 16}, I},
        }};
    return t;
}

bool TuningControlVisible(const TuningControl& control, TuningPage page, bool restoreShown) {
    switch (control.id) {
        case IDC_TUNING_HIDDEN_DEFAULT:
            return false;
        case IDC_TUNING_RESTORE:
            return restoreShown;
        default:
            return control.page == TuningPage::None || control.page == page;
    }
}

const std::array<TuningTreeEntry, 10>& TuningTree() {
    static const std::array<TuningTreeEntry, 10> tree = {{
        {kTreePoints, 0, QUORIM_TR("Quorim", "调试频率设置")},
        {kTreeHigh, kTreePoints, QUORIM_TR("Quorim", "高端频率")},
        {kTreeCentre, kTreePoints, QUORIM_TR("Quorim", "中心频率")},
        {kTreeLow, kTreePoints, QUORIM_TR("Quorim", "低端频率")},
        {kTreeItems, 0, QUORIM_TR("Quorim", "调试项目")},
        {kTreeTxFrequency, kTreeItems, QUORIM_TR("Quorim", "发射频率")},
        {kTreeBattery, kTreeItems, QUORIM_TR("Quorim", "电池低压电平")},
        {kTreeSquelch, kTreeItems, QUORIM_TR("Quorim", "静噪电平")},
        {kTreePower, kTreeItems, QUORIM_TR("Quorim", "发射功率")},
        {kTreeExit, 0, QUORIM_TR("Quorim", "退出调试")},
    }};
    return tree;
}

int TuningItemDefault(int item) {
    switch (item) {
        case kItemTxFrequency:
            return 91;
        case kItemBattery:
            return 38;
        case kItemSquelch:
            return 160;
        case kItemPower:
            return 47;
        default:
            return 0;
    }
}

const std::vector<std::pair<int, int>>& TuningRxTxRows() {
    static const std::vector<std::pair<int, int>> rows = {
        {1060, 1061},
        {1054, 1055},
        {IDC_RX_FREQUENCY, IDC_TX_FREQUENCY},
        {1056, 1057},
        {IDC_RX_TONE, IDC_TX_TONE},
        {1058, 1059},
        {IDC_RX_ANALOGUE, IDC_TX_ANALOGUE},
        {IDC_RX_DIGITAL, IDC_TX_DIGITAL},
        {1062, 1065},
        {IDC_RX_STEP_500, IDC_TX_STEP_500},
        {IDC_RX_STEP_625, IDC_TX_STEP_625},
    };
    return rows;
}

std::string_view TuningPointCaption(int point) {
    switch (point) {
        case kPointHigh:
            return QUORIM_TR("Quorim", "高端频率");
        case kPointCentre:
            return QUORIM_TR("Quorim", "中端频率");
        case kPointLow:
            return QUORIM_TR("Quorim", "低端频率");
        default:
            return kTuningFrameUnset;
    }
}

std::vector<std::string> TuningToneList(const ToneTable& tones, ToneListKind kind) {
    const int first = kind == ToneListKind::Analogue ? kAnalogueFirst : kDigitalFirst;
    const int count = kind == ToneListKind::Analogue ? kAnalogueCount : kDigitalCount;
    return {tones.Names().begin() + first, tones.Names().begin() + first + count};
}

std::int64_t TuningBandBase(const std::optional<std::string>& selectedBandText) {
    if (selectedBandText) {
        return LeadingDecimalScaled(*selectedBandText, 5, Cut::Truncate);
    }
    const SettingsListInfo& band = Info(SettingsList::Band);
    return LeadingDecimalScaled(band.items.at(static_cast<std::size_t>(band.initialIndex)), 5, Cut::Truncate);
}

std::string FormatTuningFrequency(std::int64_t units) {
    const bool negative = units < 0;
    const std::uint64_t magnitude =
        negative ? 0 - static_cast<std::uint64_t>(units) : static_cast<std::uint64_t>(units);
    char text[40];
    std::snprintf(text, sizeof text, "%s%llu.%05llu", negative ? "-" : "",
                  static_cast<unsigned long long>(magnitude / kUnitsPerMhz),
                  static_cast<unsigned long long>(magnitude % kUnitsPerMhz));
    std::string s(text);
    if (s.size() < 8) {
        s.insert(0, 8 - s.size(), ' ');
    }
    return s;
}

std::int64_t EnterTuningFrequency(std::string_view text, std::int64_t bandBase, ChannelStep step) {
    std::int64_t n = LeadingDecimalScaled(text, 5, Cut::Truncate);
    const std::int64_t upper = bandBase + kBandSpan;
    const std::int64_t lower = bandBase;
    if (n > upper) {
        return upper;
    }
    if (n < lower) {
        return lower;
    }
    if (step == ChannelStep::Khz500) {
        const std::int64_t r = n % 500;
        return r <= 250 ? n - r : n + 500 - r;
    }
    const std::int64_t r = n % 625;
    return r >= 313 ? n + 625 - r : n - r;
}

std::string TuningPositionText(int value, const TextTranslator& tr) {
    return tr.Translate("Quorim", kTuningPositionPrefix) + std::to_string(value);
}

TuningDialogModel::TuningDialogModel(std::int64_t bandBase, std::string portName)
    : m_bandBase(bandBase), m_portName(std::move(portName)) {
    for (int point : {kPointHigh, kPointCentre, kPointLow}) {
        Mutable(point) = Defaults(point);
    }
}

TuningPointValues TuningDialogModel::Defaults(int point) const {
    TuningPointValues v;
    const std::int64_t offset = point == kPointHigh ? 20 : point == kPointCentre ? 10 : 0;
    v.rxFrequency = v.txFrequency = m_bandBase + offset * kUnitsPerMhz;
    return v;
}

namespace {

std::size_t PointIndex(int point) {
    if (point < kPointHigh || point > kPointLow) {
        throw std::out_of_range("tuning point");
    }
    return static_cast<std::size_t>(point - kPointHigh);
}

}  // namespace

const TuningPointValues& TuningDialogModel::Values(int point) const {
    return m_points[PointIndex(point)];
}

TuningPointValues& TuningDialogModel::Mutable(int point) {
    return m_points[PointIndex(point)];
}

int TuningDialogModel::ItemValue(int item) const {
    if (item < kItemTxFrequency || item > kItemPower) {
        throw std::out_of_range("tuning item");
    }
    return m_itemValues[static_cast<std::size_t>(item - kItemTxFrequency)];
}

TuningDialogModel::Selected TuningDialogModel::SelectTreeItem(int data) {
    const auto& tree = TuningTree();
    const auto entry =
        std::find_if(tree.begin(), tree.end(), [data](const auto& e) { return e.data == data; });
    if (entry == tree.end()) {
        return Selected::Root;
    }
    if (entry->parent != 0) {
        m_restorePending = false;
        m_page = entry->parent == kTreePoints ? TuningPage::Frequency : TuningPage::Item;
    }
    switch (data) {
        case kTreeHigh:
        case kTreeCentre:
        case kTreeLow:
            m_point = data == kTreeHigh ? kPointHigh : data == kTreeCentre ? kPointCentre : kPointLow;
            m_frameCaption = TuningPointCaption(m_point);
            return Selected::Point;
        case kTreeTxFrequency:
        case kTreeBattery:
        case kTreeSquelch:
        case kTreePower:
            m_item = kItemTxFrequency + (data - kTreeTxFrequency);
            return Selected::Item;
        case kTreeExit:
            return Selected::Exit;
        default:
            return Selected::Root;
    }
}

bool TuningDialogModel::SetKind(TuningSide side, ToneListKind kind) {
    ToneListKind& current = side == TuningSide::Rx ? Mutable(m_point).rxKind : Mutable(m_point).txKind;
    if (current == kind) {
        return false;
    }
    current = kind;
    return true;
}

void TuningDialogModel::SetStep(TuningSide side, ChannelStep step) {
    (side == TuningSide::Rx ? Mutable(m_point).rxStep : Mutable(m_point).txStep) = step;
}

void TuningDialogModel::StoreTone(TuningSide side, int position) {
    (side == TuningSide::Rx ? Mutable(m_point).rxTone : Mutable(m_point).txTone) = position;
}

void TuningDialogModel::SetItemValue(int value) {
    m_itemValues[static_cast<std::size_t>(m_item - kItemTxFrequency)] = std::clamp(value, 0, 255);
}

TuningDialogModel::Restored TuningDialogModel::RestoreDefaults() {
    switch (m_page) {
        case TuningPage::Item:
            SetItemValue(TuningItemDefault(m_item));
            return Restored::Item;
        case TuningPage::Frequency:
            Mutable(m_point) = Defaults(m_point);
            return Restored::Point;
        case TuningPage::None:
            break;
    }
    return Restored::Nothing;
}

TuningRequest TuningDialogModel::Request(std::string rxFrequencyText, std::string txFrequencyText,
                                         std::string rxToneText, std::string txToneText) const {
    TuningRequest r;
    r.portName = m_portName;
    r.rxFrequencyText = std::move(rxFrequencyText);
    r.txFrequencyText = std::move(txFrequencyText);
    r.rxToneText = std::move(rxToneText);
    r.txToneText = std::move(txToneText);
    r.item = m_item;
    r.value = ItemValue(m_item);
    return r;
}

}  // namespace quorim
