// The user's plan folder under %APPDATA%, through a folder name that is not
// in the system's code page.
#include <windows.h>
// windows.h first.
#include <gtest/gtest.h>

#include "base/win32_text.h"
#include "editor/channel_plan.h"

namespace quorim {
namespace {

TEST(ChannelPlan, FolderUnderAppData) {
    const std::wstring base = L"C:\\Users\\\u6570\u636e\\AppData\\Roaming";  // 数据
    SetEnvironmentVariableW(L"APPDATA", base.c_str());
    EXPECT_EQ(UserPlanFolder(), Utf8FromWide(base + L"\\quorim\\plans"));
    SetEnvironmentVariableW(L"APPDATA", nullptr);
    EXPECT_EQ(UserPlanFolder(), "");
}

}  // namespace
}  // namespace quorim
