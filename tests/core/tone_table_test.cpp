#include "image/tone_table.h"

#include <gtest/gtest.h>

#include <set>

#include "app/port_selection.h"

namespace quorim {
namespace {

TEST(ToneTable, FixedIndexesHoldTheirNames) {
    const ToneTable& t = ToneTable::Shared();
    ASSERT_EQ(t.Count(), 261);
    const std::pair<int, const char*> known[] = {
        {0, "OFF"},     {1, "67.0"},    {9, "88.5"},    {13, "100.0"},  {40, "199.5"},
        {50, "254.1"},  {51, "D023N"},  {144, "D645N"}, {145, "D654N"}, {155, "D754N"},
        {156, "D023I"}, {249, "D645I"}, {260, "D754I"}};
    for (const auto& [index, name] : known) {
        EXPECT_EQ(t.Name(index), name) << "index " << index;
        EXPECT_EQ(t.IndexOf(name), index) << name;
    }
    EXPECT_EQ(t.Name(-1), "");
    EXPECT_EQ(t.Name(261), "");
    EXPECT_EQ(t.IndexOf("D023n"), -1);
}

TEST(ToneTable, NamesAreUniqueAndInvertedCodesMirrorNormalOnes) {
    const ToneTable& t = ToneTable::Shared();
    const std::set<std::string> unique(t.Names().begin(), t.Names().end());
    EXPECT_EQ(unique.size(), 261u);
    for (int k = 0; k < ToneTable::kDcsCount; ++k) {
        std::string normal = t.Name(51 + k);
        std::string inverted = t.Name(156 + k);
        ASSERT_EQ(normal.size(), 5u);
        EXPECT_EQ(normal.back(), 'N');
        EXPECT_EQ(inverted.substr(0, 4), normal.substr(0, 4));
        EXPECT_EQ(inverted.back(), 'I');
        for (int i = 1; i <= 3; ++i) {
            EXPECT_TRUE(normal[i] >= '0' && normal[i] <= '7') << normal;
        }
    }
    // Tones ascend, codes ascend.
    for (int i = 2; i <= 50; ++i) {
        EXPECT_LT(std::stod(t.Name(i - 1)), std::stod(t.Name(i)));
    }
    for (int i = 52; i <= 155; ++i) {
        EXPECT_LT(t.Name(i - 1), t.Name(i));
    }
}

TEST(PortSelection, StartsOnCom1AndChecksExactlyOne) {
    PortSelection ports;
    EXPECT_EQ(ports.Name(), "COM1");
    ports.Select(3);
    EXPECT_EQ(ports.Name(), "COM3");
    for (int n = 1; n <= 4; ++n) {
        EXPECT_EQ(ports.IsChecked(n), n == 3);
    }
    ports.Select(5);
    ports.Select(0);
    EXPECT_EQ(ports.Name(), "COM3");
}

}  // namespace
}  // namespace quorim
