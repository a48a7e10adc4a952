#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/dialog_template.h"
#include "base/translation.h"

namespace quorim {

// The progress window of a radio transfer (template 133) and its controls.
inline constexpr int IDC_PROGRESS_START = 1;   // the OK button
inline constexpr int IDC_PROGRESS_CANCEL = 2;  // the Cancel button
inline constexpr int IDC_PROGRESS_PERCENT = 1002;
inline constexpr int IDC_PROGRESS_BAR = 1003;
inline constexpr int IDC_PROGRESS_LABEL = 1004;
inline constexpr int IDC_PROGRESS_STATUS = 1005;

// Captions the Read and Write commands give the window.
inline constexpr std::string_view kReadProgressTitle = QUORIM_TR("Quorim", "读频进度显示");
inline constexpr std::string_view kWriteProgressTitle = QUORIM_TR("Quorim", "写频进度显示");
// The status line before a transfer has started.
inline constexpr std::string_view kProgressNotStarted = QUORIM_TR("Quorim", "未开始");

// The window opens with the bar at 0 of 0-123 (a 16-channel read); the
// transfer changes the range once it knows the radio.
inline constexpr int kProgressInitialTop = 123;

const DialogTemplate& ProgressTemplate();

// The percentage label's text for a bar at `position` of 0..`top`: whole
// percent, rounded down, so "100%" shows only once the bar is full. A range
// of zero (or a position outside it) is clamped rather than divided by.
std::string ProgressPercentText(int position, int top);

// The link's status lines (its English, shown as they stand) besides the
// first one and block numbers: the window makes room for the widest.
std::vector<std::string_view> ProgressStatusTexts();

}  // namespace quorim
