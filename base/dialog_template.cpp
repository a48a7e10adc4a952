#include "base/dialog_template.h"

#include "base/translation.h"

namespace quorim {

namespace {

// a * b / c rounded to the nearest integer, halves away from zero.
int MulDiv(int a, int b, int c) {
    const long long p = static_cast<long long>(a) * b;
    const long long half = c / 2;
    return static_cast<int>(p >= 0 ? (p + half) / c : (p - half) / c);
}

}  // namespace

int AverageCharWidth(int widthOf52Letters) {
    return (widthOf52Letters / 26 + 1) / 2;
}

int DluToPixelsX(int dlu, DialogBaseUnits base) {
    return MulDiv(dlu, base.cx, 4);
}
int DluToPixelsY(int dlu, DialogBaseUnits base) {
    return MulDiv(dlu, base.cy, 8);
}

DlgRect MapDialogRect(DlgRect r, DialogBaseUnits base) {
    // Right and bottom edges are mapped, not the sizes, so neighbouring
    // controls stay flush after rounding.
    const int left = DluToPixelsX(r.x, base);
    const int top = DluToPixelsY(r.y, base);
    return {left, top, DluToPixelsX(r.x + r.cx, base) - left, DluToPixelsY(r.y + r.cy, base) - top};
}

const DialogTemplate& AboutTemplate() {
    static const DialogTemplate t{
        100,
        QUORIM_TR("Quorim", "关于 Tarvolin写频软件"),
        "宋体",
        9,
        220,
        75,
        {
            {ControlKind::Icon, IDC_STATIC, "", {7, 22, 20, 20}},
            {ControlKind::Static, IDC_STATIC, QUORIM_TR("Quorim", "Tarvolin写频软件1.5 版"), {37, 13, 81, 8}},
            {ControlKind::Static, IDC_STATIC, kAboutNotice, {37, 36, 156, 20}},
            {ControlKind::DefPushButton, 1, QUORIM_TR("Quorim", "确定"), {177, 13, 28, 14}},
        }};
    return t;
}

}  // namespace quorim
