// The progress window's percentage.
#include <gtest/gtest.h>

#include "link/progress_template.h"

namespace quorim {
namespace {

TEST(ProgressPercent, WholePercentRoundedDownAndClamped) {
    const struct {
        int position, top;
        const char* text;
    } cases[] = {{0, 123, "0%"},     {61, 123, "49%"},   {122, 123, "99%"}, {123, 123, "100%"},
                 {401, 401, "100%"}, {200, 123, "100%"}, {-3, 123, "0%"},   {5, 0, "0%"}};
    for (const auto& c : cases) {
        EXPECT_EQ(ProgressPercentText(c.position, c.top), c.text) << c.position << "/" << c.top;
    }
}

}  // namespace
}  // namespace quorim
