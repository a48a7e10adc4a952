#include "tuning/tuning_dialog.h"

#include <gtest/gtest.h>

#include <set>

#include "editor/settings_lists.h"

namespace quorim {
namespace {

constexpr std::int64_t kMhz = 100000;

TEST(TuningDialog, BandBaseFromEveryBandTextAndTheInitialEntryWithoutSelection) {
    const std::int64_t expected[] = {130, 150, 350, 370, 400, 430, 450, 470, 50};
    const auto& items = Info(SettingsList::Band).items;
    ASSERT_EQ(items.size(), std::size(expected));
    for (std::size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(TuningBandBase(std::string(items[i])), expected[i] * kMhz) << items[i];
    }
    EXPECT_EQ(TuningBandBase(std::nullopt), 350 * kMhz);
}

TEST(TuningDialog, FrequencyTextsAreFiveDecimalsAtLeastEightWide) {
    EXPECT_EQ(FormatTuningFrequency(400 * kMhz), "400.00000");
    EXPECT_EQ(FormatTuningFrequency(50 * kMhz), "50.00000");
    EXPECT_EQ(FormatTuningFrequency(6400625), "64.00625");
    EXPECT_EQ(FormatTuningFrequency(0), " 0.00000");
    EXPECT_EQ(FormatTuningFrequency(40001250), "400.01250");
}

TEST(TuningDialog, EnterClampsToTheBandAndSnapsToTheBoxStep) {
    const std::int64_t base = 400 * kMhz;
    struct Case {
        const char* text;
        ChannelStep step;
        const char* shown;
    };
    const Case cases[] = {
        {"abc", ChannelStep::Khz500, "400.00000"},  // no number: 0, below the band
        {"", ChannelStep::Khz625, "400.00000"},
        {"-410", ChannelStep::Khz500, "400.00000"},
        {"420.1", ChannelStep::Khz500, "420.00000"},
        {"420.00001", ChannelStep::Khz625, "420.00000"},
        {"420", ChannelStep::Khz625, "420.00000"},  // the edges are kept, not snapped
        {"400", ChannelStep::Khz500, "400.00000"},
        {"400.0124", ChannelStep::Khz625, "400.01250"},
        {"400.0124", ChannelStep::Khz500, "400.01000"},
        {"400.0075", ChannelStep::Khz500, "400.00500"},   // a remainder of exactly 2.5 kHz goes down
        {"400.00751", ChannelStep::Khz500, "400.01000"},  // just above goes up
        {"400.00312", ChannelStep::Khz625, "400.00000"},  // 312 of 625 goes down
        {"400.00313", ChannelStep::Khz625, "400.00625"},  // 313 goes up
        {"419.999", ChannelStep::Khz625, "420.00000"},    // snapping up reaches the edge, never past it
        {"410.01875MHZ", ChannelStep::Khz625, "410.01875"},
        {"  405.5", ChannelStep::Khz500, "405.50000"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatTuningFrequency(EnterTuningFrequency(c.text, base, c.step)), c.shown)
            << '"' << c.text << "\" step " << static_cast<int>(c.step);
    }
    // Read as written, not through a binary double: 64.00625 is on the 6.25 kHz grid.
    EXPECT_EQ(EnterTuningFrequency("64.00625", 50 * kMhz, ChannelStep::Khz625), 6400625);
    EXPECT_EQ(EnterTuningFrequency("71", 50 * kMhz, ChannelStep::Khz625), 70 * kMhz);
}

TEST(TuningDialog, ToneListsByTablePosition) {
    const auto analogue = TuningToneList(ToneTable::Shared(), ToneListKind::Analogue);
    const auto digital = TuningToneList(ToneTable::Shared(), ToneListKind::Digital);
    // One kind per list: every tone in the analogue list, every code in the digital one.
    ASSERT_EQ(analogue.size(), 51u);
    ASSERT_EQ(digital.size(), 210u);
    EXPECT_EQ(analogue.front(), "OFF");
    EXPECT_EQ(analogue[1], "67.0");
    EXPECT_EQ(analogue.back(), "254.1");
    EXPECT_EQ(digital.front(), "D023N");
    EXPECT_EQ(digital[105], "D023I");
    EXPECT_EQ(digital.back(), "D754I");
}

TEST(TuningDialog, TemplateAndVisibilityRules) {
    const TuningTemplate& t = TuningDlgTemplate();
    EXPECT_EQ(t.id, 136);
    EXPECT_EQ(t.cx, 363);
    EXPECT_EQ(t.cy, 216);
    ASSERT_EQ(t.controls.size(), 36u);
    std::set<int> ids;
    for (const TuningControl& c : t.controls) {
        EXPECT_TRUE(ids.insert(c.id).second) << c.id;
    }
    auto shown = [&](TuningPage page, bool restore) {
        std::set<int> visible;
        for (const TuningControl& c : t.controls) {
            if (TuningControlVisible(c, page, restore)) {
                visible.insert(c.id);
            }
        }
        return visible;
    };
    EXPECT_EQ(shown(TuningPage::None, false), (std::set<int>{1026, 1029}));
    const auto frequency = shown(TuningPage::Frequency, true);
    const auto item = shown(TuningPage::Item, true);
    EXPECT_EQ(frequency.size(), 2u + 1u + 22u);
    EXPECT_EQ(item,
              (std::set<int>{1026, 1029, 1028, 1043, 1040, 1041, 1042, 1044, 1049, 1039, 1051, 1052, 1038}));
    for (int id : {1030, 1031, 1012, 1013, 1034, 1037, 1063, 1067}) {
        EXPECT_TRUE(frequency.count(id) && !item.count(id)) << id;
    }
    EXPECT_FALSE(frequency.count(1068));
}

TEST(TuningDialog, OpensWithTheDefaultsOfTheBand) {
    TuningDialogModel m(50 * kMhz, "COM3");
    EXPECT_EQ(m.Page(), TuningPage::None);
    EXPECT_FALSE(m.RestoreShown());
    EXPECT_EQ(m.FrameCaption(), "频率未确定");
    EXPECT_EQ(m.Point(), kPointHigh);
    EXPECT_EQ(m.Item(), kItemTxFrequency);
    EXPECT_EQ(m.Values(kPointHigh).rxFrequency, 70 * kMhz);
    EXPECT_EQ(m.Values(kPointCentre).txFrequency, 60 * kMhz);
    EXPECT_EQ(m.Values(kPointLow).rxFrequency, 50 * kMhz);
    for (int item = 2; item <= 5; ++item) {
        EXPECT_EQ(m.ItemValue(item), 0);
    }
    // "开始" before any choice: the boxes are empty, the first item at 0.
    const TuningRequest r = m.Request("", "", "OFF", "OFF");
    EXPECT_EQ(r.portName, "COM3");
    EXPECT_EQ(r.item, 2);
    EXPECT_EQ(r.value, 0);
}

TEST(TuningDialog, TreeSelectionSwitchesPagesAndKeepsThePageForRoots) {
    TuningDialogModel m(400 * kMhz, "COM1");
    EXPECT_EQ(m.SelectTreeItem(kTreeItems), TuningDialogModel::Selected::Root);
    EXPECT_EQ(m.Page(), TuningPage::None);
    EXPECT_FALSE(m.RestoreShown());

    EXPECT_EQ(m.SelectTreeItem(kTreeCentre), TuningDialogModel::Selected::Point);
    EXPECT_EQ(m.Page(), TuningPage::Frequency);
    EXPECT_TRUE(m.RestoreShown());
    EXPECT_EQ(m.FrameCaption(), "中端频率");
    EXPECT_EQ(m.Point(), kPointCentre);

    EXPECT_EQ(m.SelectTreeItem(kTreePoints), TuningDialogModel::Selected::Root);
    EXPECT_EQ(m.Page(), TuningPage::Frequency);

    EXPECT_EQ(m.SelectTreeItem(kTreePower), TuningDialogModel::Selected::Item);
    EXPECT_EQ(m.Page(), TuningPage::Item);
    EXPECT_EQ(m.Item(), kItemPower);
    EXPECT_EQ(m.FrameCaption(), "中端频率");  // still the point whose pair is sent
    EXPECT_EQ(m.Point(), kPointCentre);

    EXPECT_EQ(m.SelectTreeItem(kTreeExit), TuningDialogModel::Selected::Exit);
    EXPECT_EQ(m.Page(), TuningPage::Item);
}

TEST(TuningDialog, PointsKeepTheirOwnKindsStepsAndTones) {
    TuningDialogModel m(400 * kMhz, "COM1");
    m.SelectTreeItem(kTreeLow);
    EXPECT_TRUE(m.SetKind(TuningSide::Tx, ToneListKind::Digital));
    EXPECT_FALSE(m.SetKind(TuningSide::Tx, ToneListKind::Digital));
    m.SetStep(TuningSide::Rx, ChannelStep::Khz625);
    m.StoreTone(TuningSide::Tx, 100);
    m.SelectTreeItem(kTreeHigh);
    EXPECT_EQ(m.Current().txKind, ToneListKind::Analogue);
    EXPECT_EQ(m.Current().rxStep, ChannelStep::Khz500);
    EXPECT_EQ(m.Current().txTone, 0);
    const TuningPointValues& low = m.Values(kPointLow);
    EXPECT_EQ(low.txKind, ToneListKind::Digital);
    EXPECT_EQ(low.rxStep, ChannelStep::Khz625);
    EXPECT_EQ(low.txTone, 100);
    EXPECT_EQ(low.rxKind, ToneListKind::Analogue);
    // Back to analogue keeps the stored position, which now lies past the list.
    m.SelectTreeItem(kTreeLow);
    EXPECT_TRUE(m.SetKind(TuningSide::Tx, ToneListKind::Analogue));
    EXPECT_EQ(m.Current().txTone, 100);
}

TEST(TuningDialog, ItemsKeepTheirValuesAndRestoreOnlyTheCurrentOne) {
    TuningDialogModel m(400 * kMhz, "COM1");
    EXPECT_EQ(m.RestoreDefaults(), TuningDialogModel::Restored::Nothing);
    m.SelectTreeItem(kTreeSquelch);
    m.SetItemValue(200);
    m.SelectTreeItem(kTreePower);
    EXPECT_EQ(m.ItemValue(kItemPower), 0);
    m.SetItemValue(300);  // a slider never gives more than 255
    EXPECT_EQ(m.ItemValue(kItemPower), 255);
    EXPECT_EQ(m.RestoreDefaults(), TuningDialogModel::Restored::Item);
    EXPECT_EQ(m.ItemValue(kItemPower), 47);
    EXPECT_EQ(m.ItemValue(kItemSquelch), 200);
    const TuningRequest r = m.Request("435.12500", "435.12500", "88.5", "OFF");
    EXPECT_EQ(r.item, 5);
    EXPECT_EQ(r.value, 47);
    EXPECT_EQ(TuningItemDefault(kItemTxFrequency), 91);
    EXPECT_EQ(TuningItemDefault(kItemBattery), 38);
    EXPECT_EQ(TuningItemDefault(kItemSquelch), 160);
    EXPECT_EQ(TuningPositionText(160), "当前位置:160");
}

TEST(TuningDialog, RestoreOnTheFrequencyPageResetsOnlyTheCurrentPoint) {
    TuningDialogModel m(400 * kMhz, "COM1");
    m.SelectTreeItem(kTreeLow);
    m.SetKind(TuningSide::Rx, ToneListKind::Digital);
    m.StoreTone(TuningSide::Rx, 5);
    m.SelectTreeItem(kTreeHigh);
    m.SetStep(TuningSide::Tx, ChannelStep::Khz625);
    m.StoreTone(TuningSide::Rx, 7);
    EXPECT_EQ(m.RestoreDefaults(), TuningDialogModel::Restored::Point);
    const TuningPointValues& high = m.Values(kPointHigh);
    EXPECT_EQ(high.txStep, ChannelStep::Khz500);
    EXPECT_EQ(high.rxTone, 0);
    EXPECT_EQ(high.rxFrequency, 420 * kMhz);
    EXPECT_EQ(m.Values(kPointLow).rxKind, ToneListKind::Digital);
    EXPECT_EQ(m.Values(kPointLow).rxTone, 5);
}

}  // namespace
}  // namespace quorim
