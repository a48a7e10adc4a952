#include "link/progress_template.h"

#include <algorithm>

#include "link/clone_engine.h"

namespace quorim {

const DialogTemplate& ProgressTemplate() {
    static const DialogTemplate t{
        133,
        "Dialog",  // replaced by the command's caption
        "宋体",
        9,
        213,
        65,
        {
            {ControlKind::DefPushButton, IDC_PROGRESS_START, QUORIM_TR("Quorim", "开始"), {7, 7, 32, 14}},
            {ControlKind::PushButton, IDC_PROGRESS_CANCEL, QUORIM_TR("Quorim", "取消"), {163, 39, 32, 14}},
            {ControlKind::Progress, IDC_PROGRESS_BAR, "", {7, 23, 148, 10}},
            {ControlKind::Static, IDC_PROGRESS_LABEL, QUORIM_TR("Quorim", "现在完成："), {7, 38, 47, 12}},
            {ControlKind::Static, IDC_PROGRESS_STATUS, kProgressNotStarted, {57, 38, 99, 13}},
            {ControlKind::Static, IDC_PROGRESS_PERCENT, "0%", {128, 11, 9, 8}},
        }};
    return t;
}

std::string ProgressPercentText(int position, int top) {
    long long percent = 0;
    if (top > 0) {
        const long long clamped = std::clamp<long long>(position, 0, top);
        percent = clamped * 100 / top;
    }
    return std::to_string(percent) + "%";
}

std::vector<std::string_view> ProgressStatusTexts() {
    return {kStatusDetecting, kStatusWaiting};
}

}  // namespace quorim
