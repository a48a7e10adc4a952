#pragma once

#include <string_view>
#include <vector>

#include "base/translation.h"

namespace quorim {

// A rectangle in dialog units or pixels: left, top, width, height.
struct DlgRect {
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
    friend bool operator==(const DlgRect&, const DlgRect&) = default;
};

// The dialog base units of a template's font: the average width of its
// characters and their height, in pixels. One horizontal dialog unit is a
// quarter of the width, one vertical unit an eighth of the height.
struct DialogBaseUnits {
    int cx = 0;
    int cy = 0;
};

// The average character width as the platform measures it: the 52 letters
// A-Z and a-z, width / 26, rounded half up, halved.
int AverageCharWidth(int widthOf52Letters);

// Dialog units to pixels, each coordinate rounded to the nearest pixel.
int DluToPixelsX(int dlu, DialogBaseUnits base);
int DluToPixelsY(int dlu, DialogBaseUnits base);
DlgRect MapDialogRect(DlgRect dlu, DialogBaseUnits base);

inline constexpr int IDC_STATIC = -1;

enum class ControlKind { GroupBox, Static, ComboBox, Grid, Icon, DefPushButton, PushButton, Progress };

struct DialogControl {
    ControlKind kind;
    int id;  // IDC_STATIC for labels without an id
    std::string_view caption;
    DlgRect rect;
};

// A dialog template: caption, font, size in dialog units and the controls
// (of the kind of control table a window needs).
template <typename Control>
struct BasicDialogTemplate {
    int id;
    std::string_view title;
    std::string_view fontFace;
    int pointSize;
    int cx;
    int cy;
    std::vector<Control> controls;  // in template (and Tab) order
};
using DialogTemplate = BasicDialogTemplate<DialogControl>;

// Template 100, the about box.
const DialogTemplate& AboutTemplate();
inline constexpr std::string_view kAboutNotice = QUORIM_TR("Quorim",
                                                           "QZ系列对讲机读频、写频与在线调试。\n"
                                                           "版权所有 (C) Quorim 开发者。");

}  // namespace quorim
