#include "editor/print_layout.h"

#include <algorithm>
#include <array>

#include "text/ascii_text.h"

namespace quorim {

namespace {

constexpr int kTwipsPerInch = 1440;
constexpr int kLinesPerPage = 42;
constexpr int kCharsPerLine = 60;
constexpr int kFirstPageLastRow16 = 16;  // 16-channel model
constexpr int kFirstPageLastRow = 26;
constexpr int kRowsPerLaterPage = 31;
constexpr int kSixteenChannelMaxRows = 18;  // a grid this small is the 16-channel model

// trunc(value x tenths / 10), exactly: C++ division truncates toward zero.
int TimesTenths(long long value, int tenths) {
    return static_cast<int>(value * tenths / 10);
}

std::string ChineseNumber(int n) {
    static const std::array<std::string_view, 10> digits = {"零", "一", "二", "三", "四",
                                                            "五", "六", "七", "八", "九"};
    if (n < 0 || n > 99) {
        return std::to_string(n);
    }
    if (n < 10) {
        return std::string(digits[static_cast<std::size_t>(n)]);
    }
    std::string s = n >= 20 ? std::string(digits[static_cast<std::size_t>(n / 10)]) : std::string();
    s += "十";
    if (n % 10 != 0) {
        s += digits[static_cast<std::size_t>(n % 10)];
    }
    return s;
}

void ReplaceAll(std::string& text, std::string_view what, const std::string& with) {
    for (auto pos = text.find(what); pos != std::string::npos; pos = text.find(what, pos + with.size())) {
        text.replace(pos, what.size(), with);
    }
}

}  // namespace

PageMetrics ComputePageMetrics(const PrintRect& rect, int lpx, int lpy) {
    PageMetrics m;
    m.lpx = lpx;
    m.lpy = lpy;
    m.titleFont.face = kTitleFace;
    m.bodyFont.face = kBodyFace;
    if (lpx <= 0 || lpy <= 0) {
        return m;
    }
    const long long height = rect.bottom - rect.top;
    const long long width = rect.right - rect.left;
    m.lineHeight = static_cast<int>((height / kLinesPerPage) * kTwipsPerInch / lpy);
    m.charWidth = static_cast<int>(((width * kTwipsPerInch / lpx) - 900) / kCharsPerLine);
    m.titleX =
        static_cast<int>((static_cast<long long>(rect.right / 2) * kTwipsPerInch / lpx) - 10LL * m.charWidth);
    m.titleFont.height = TimesTenths(-static_cast<long long>(m.lineHeight), 14);
    m.titleFont.width = TimesTenths(m.charWidth, 14);
    m.bodyFont.height = -m.lineHeight;
    m.bodyFont.width = m.charWidth;
    return m;
}

int PrintPageCount(int gridRows) {
    const int lastRow = gridRows - 1;
    if (gridRows <= kSixteenChannelMaxRows || lastRow <= kFirstPageLastRow) {
        return 1;
    }
    return 1 + (lastRow - kFirstPageLastRow + kRowsPerLaterPage - 1) / kRowsPerLaterPage;
}

int PreviewPagesShown(int gridRows) {
    return gridRows < 19 ? 1 : 2;
}

RowRange PrintPageRows(int page, int gridRows) {
    RowRange r;
    if (page < 1 || page > PrintPageCount(gridRows)) {
        return r;
    }
    if (page == 1) {
        r.first = 1;
        r.last = gridRows <= kSixteenChannelMaxRows ? kFirstPageLastRow16 : kFirstPageLastRow;
    } else {
        r.first = kFirstPageLastRow + 1 + (page - 2) * kRowsPerLaterPage;
        r.last = r.first + kRowsPerLaterPage - 1;
    }
    // Never past the grid's last row (nor short of it: the page count covers it).
    r.last = std::min(r.last, gridRows - 1);
    return r;
}

std::string PrintPageTitle(int page, const TextTranslator& tr) {
    std::string title = tr.Translate("Quorim", QUORIM_TR("Quorim", "本机设置数据第%N页"));
    ReplaceAll(title, "%N", ChineseNumber(page));
    ReplaceAll(title, "%1", std::to_string(page));
    return title;
}

std::string PrintHeaderLine(const EditorSurface& editor, const TextTranslator& tr) {
    static const std::array<std::string_view, 5> gaps = {"    ", "       ", "     ", "  ", "  "};
    std::string line = tr.Translate("Quorim", editor.TextMatrix(0, 0));
    for (int c = 1; c <= kColInhibit; ++c) {
        line += gaps[static_cast<std::size_t>(c - 1)];
        line += tr.Translate("Quorim", editor.TextMatrix(0, c));
    }
    return line;
}

std::vector<PrintText> LayoutPrintPage(const EditorSurface& editor, int page, const PageMetrics& metrics,
                                       int tl, int bl, const TextTranslator& tr) {
    std::vector<PrintText> out;
    if (page < 1 || page > PrintPageCount(editor.Rows())) {
        return out;
    }
    const RowRange rows = PrintPageRows(page, editor.Rows());
    const int cw = metrics.charWidth;
    auto body = [&](int x, int y, std::string text) {
        out.push_back({x, y, std::move(text), PrintFontKind::Body});
    };

    out.push_back({metrics.titleX, -(tl / 2), PrintPageTitle(page, tr), PrintFontKind::Title});
    const int y0 = -(tl / 2) - tl;

    int sectionY = y0;
    if (page == 1) {
        body(5 * cw, y0, tr.Translate("Quorim", QUORIM_TR("Quorim", "一整机功能设置部分:")));
        const int y1 = TimesTenths(10LL * y0 - 12LL * bl, 1);
        struct Entry {
            std::string_view label;
            SettingsList list;
        };
        static const std::array<std::array<Entry, 2>, 4> lines = {{
            {{{QUORIM_TR("Quorim", "机型:   "), SettingsList::Model},
              {QUORIM_TR("Quorim", "频段  :"), SettingsList::Band}}},
            {{{QUORIM_TR("Quorim", "监听功能:"), SettingsList::Monitor},
              {QUORIM_TR("Quorim", "发射定时(TOT): "), SettingsList::Tot}}},
            {{{QUORIM_TR("Quorim", "报警音提示: "), SettingsList::Alarm},
              {QUORIM_TR("Quorim", "静噪等级: "), SettingsList::Squelch}}},
            {{{QUORIM_TR("Quorim", "发射功率: "), SettingsList::Power},
              {QUORIM_TR("Quorim", "频带宽度: "), SettingsList::Bandwidth}}},
        }};
        auto setting = [&](const Entry& e) {
            return tr.Translate("Quorim", e.label) +
                   tr.Translate("SettingsList", editor.SelectedText(e.list));
        };
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const int y = y1 - static_cast<int>(i) * bl;
            body(2 * cw, y, setting(lines[i][0]));
            body(31 * cw, y, setting(lines[i][1]));
        }
        sectionY = y1 - 4 * bl;
    }
    body(5 * cw, sectionY, tr.Translate("Quorim", QUORIM_TR("Quorim", "二信道数据部分:")));
    const int headerY = TimesTenths(10LL * sectionY - 12LL * bl, 1);
    body(cw, headerY, PrintHeaderLine(editor, tr));

    static const std::array<int, 5> columnX = {6, 18, 32, 42, 52};
    int y = headerY;
    for (int r = rows.first; r <= rows.last; ++r) {
        y -= bl;
        body(cw, y, editor.TextMatrix(r, kColChannel));
        for (int c = kColRxFreq; c <= kColInhibit; ++c) {
            std::string text = editor.TextMatrix(r, c);
            if (c == kColInhibit) {
                text = tr.Translate("Quorim", text);  // "是", "否"
            }
            body(columnX[static_cast<std::size_t>(c - 1)] * cw, y, text + " ");
        }
    }
    return out;
}

std::string CannotWritePdfMessage(const std::string& path) {
    return "Cannot write " + Quoted(path);
}

std::string PdfPathFor(const std::string& documentPath, const std::string& title, const std::string& folder) {
    if (documentPath.empty()) {
        return folder.empty() ? title + ".pdf" : folder + (folder.back() == '/' ? "" : "/") + title + ".pdf";
    }
    const std::size_t slash = documentPath.find_last_of("/\\");
    const std::size_t dot = documentPath.rfind('.');
    const bool hasSuffix = dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
    return (hasSuffix ? documentPath.substr(0, dot) : documentPath) + ".pdf";
}

}  // namespace quorim
