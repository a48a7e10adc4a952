// The user's plan folder under $XDG_CONFIG_HOME, as the base directory rules
// have it.
#include <gtest/gtest.h>

#include <cstdlib>

#include "editor/channel_plan.h"

namespace quorim {
namespace {

TEST(ChannelPlan, FolderUnderXdgConfigHome) {
    const char* home = std::getenv("HOME");
    const std::string savedHome = home ? home : "";
    setenv("HOME", "/home/dealer", 1);
    setenv("XDG_CONFIG_HOME", "/etc/cfg", 1);
    EXPECT_EQ(UserPlanFolder(), "/etc/cfg/quorim/plans");
    setenv("XDG_CONFIG_HOME", "relative", 1);  // not absolute: ignored
    EXPECT_EQ(UserPlanFolder(), "/home/dealer/.config/quorim/plans");
    unsetenv("XDG_CONFIG_HOME");
    unsetenv("HOME");
    EXPECT_EQ(UserPlanFolder(), "");
    setenv("HOME", savedHome.c_str(), 1);
}

}  // namespace
}  // namespace quorim
