#include "editor/ui/channel_table.h"

#include "editor/codec.h"
#include "ui/ui_text.h"

namespace quorim {

namespace {

// The header row and the transmit-inhibit column show in the program's
// language; every other cell as it is.
bool IsTranslatedCell(long row, long col) {
    return row == 0 || col == kColInhibit;
}

}  // namespace

CChannelTable::CChannelTable(QObject* parent) : CGridTexts(parent) {}

void CChannelTable::SetRows(int rows) {
    const int now = Rows();
    const int want = rows < 0 ? 0 : rows;
    // Table rows leave out the header row.
    const int shownNow = qMax(0, now - CMSFlexGrid1::kFixedRows);
    const int shownWant = qMax(0, want - CMSFlexGrid1::kFixedRows);
    if (shownWant > shownNow) {
        beginInsertRows(QModelIndex(), shownNow, shownWant - 1);
        m_state.SetRows(want);
        endInsertRows();
    } else if (shownWant < shownNow) {
        beginRemoveRows(QModelIndex(), shownWant, shownNow - 1);
        m_state.SetRows(want);
        endRemoveRows();
    } else {
        m_state.SetRows(want);
    }
}

void CChannelTable::SetTextMatrix(int row, int col, const std::string& text) {
    if (row < 0 || row >= Rows() || col < 0 || col >= kGridColumns || m_state.TextMatrix(row, col) == text) {
        return;
    }
    m_state.SetTextMatrix(row, col, text);
    TextChanged(row, col);
}

void CChannelTable::SetCurSel(SettingsList list, int index) {
    const int before = m_state.CurSel(list);
    m_state.SetCurSel(list, index);
    if (m_state.CurSel(list) != before) {
        emit SelectionChanged(static_cast<int>(list));
    }
}

QString CChannelTable::Text(long row, long col) const {
    const std::string text = TextMatrix(static_cast<int>(row), static_cast<int>(col));
    return IsTranslatedCell(row, col) ? Q(text) : Raw(text);
}

void CChannelTable::SetText(long row, long col, const QString& shown) {
    std::string text = Utf8(shown);
    if (IsTranslatedCell(row, col) && !shown.isEmpty()) {
        if (row == 0) {
            for (const std::string_view header : GridHeaders()) {
                if (Q(header) == shown) {
                    text = std::string(header);
                }
            }
        } else {
            for (const std::string_view item : {kYes, kNo}) {
                if (Q(item) == shown) {
                    text = std::string(item);
                }
            }
        }
    }
    SetTextMatrix(static_cast<int>(row), static_cast<int>(col), text);
}

}  // namespace quorim
