#pragma once

#include "editor/editor_model.h"
#include "editor/ui/flex_grid.h"

namespace quorim {

// A document's editor state, shown by every grid of the document: the
// channel grid's texts and the settings lists' selections, held once. The
// codec, the cell rules and the channel commands write the core's texts
// through the editor surface; the grids read them as shown (the header row
// and the transmit-inhibit column in the program's language: "Channel",
// "Yes" where the core holds "信道", "是"). Every change is told: cells
// through the table's signals, selections through SelectionChanged.
class CChannelTable : public CGridTexts, public EditorSurface {
    Q_OBJECT

public:
    explicit CChannelTable(QObject* parent = nullptr);

    // EditorSurface: the core's own texts.
    int Rows() const override { return m_state.Rows(); }
    void SetRows(int rows) override;
    std::string TextMatrix(int row, int col) const override { return m_state.TextMatrix(row, col); }
    void SetTextMatrix(int row, int col, const std::string& text) override;
    int CurSel(SettingsList list) const override { return m_state.CurSel(list); }
    void SetCurSel(SettingsList list, int index) override;

    // CGridTexts: the texts as shown.
    long GridRows() const override { return Rows(); }
    long GridCols() const override { return kGridColumns; }
    void SetGridRows(long rows) override { SetRows(static_cast<int>(rows)); }
    QString Text(long row, long col) const override;
    void SetText(long row, long col, const QString& text) override;

signals:
    // The selection of a settings list (a SettingsList) changed.
    void SelectionChanged(int list);

private:
    EditorModel m_state;
};

}  // namespace quorim
