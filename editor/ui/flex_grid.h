#pragma once

#include <QString>
#include <QTableWidget>

class QAbstractButton;

namespace quorim {

// The channel grid: a QTableWidget behind the properties and events the editor
// uses of a flex grid. Row 0 is the fixed header row and column 0 the fixed
// column; they are the table's header sections, so they stay in place while
// the cells scroll. Lengths are in twips (1/1440 inch), converted with the
// screen's pixels per logical inch.
//
// Events: a move of the current cell, by the user or by program (SetRow,
// SetCol), raises LeaveCell while Row and Col still name the old cell, then
// EnterCell with the new one. KeyPress carries a reference: a handler may
// change the code (connect it directly).
class CMSFlexGrid1 : public QTableWidget {
    Q_OBJECT

public:
    explicit CMSFlexGrid1(QWidget* parent = nullptr);

    static constexpr int kFixedRows = 1;
    static constexpr int kFixedCols = 1;

    long GetRows() const { return rowCount() + kFixedRows; }
    void SetRows(long rows);
    long GetCols() const { return columnCount() + kFixedCols; }
    void SetCols(long cols);
    long GetRow() const { return m_row; }
    void SetRow(long row);
    long GetCol() const { return m_col; }
    void SetCol(long col);

    QString GetText() const { return GetTextMatrix(m_row, m_col); }
    void SetText(const QString& text) { SetTextMatrix(m_row, m_col, text); }
    QString GetTextMatrix(long row, long col) const;
    void SetTextMatrix(long row, long col, const QString& text);

    long GetColWidth(long col) const;
    void SetColWidth(long col, long twips);
    long GetRowHeight(long row) const;
    void SetRowHeight(long row, long twips);
    // 0-2 left (top, centre, bottom), 3-5 centre, 6-8 right, 9 general.
    void SetColAlignment(long col, short alignment);
    short GetColAlignment(long col) const;

    // Where the current cell lies, relative to the grid's client area.
    long GetCellLeft() const;
    long GetCellTop() const;
    long GetCellWidth() const;
    long GetCellHeight() const;

    // The selected cells, in grid rows and columns (the fixed ones never are).
    QList<QPoint> SelectedCells() const;  // x: column, y: row
    // Selects whole rows (channels), the current cell staying where it is.
    void SelectRows(const QList<int>& rows);

    // The screen's pixels per logical inch, as the twips are converted.
    int PixelsPerInchX() const;
    int PixelsPerInchY() const;

    // The control's defaults for a column width and a new row's height.
    static constexpr long kDefaultColWidthTwips = 975;
    static constexpr long kDefaultRowHeightTwips = 240;

signals:
    void DblClick();
    void EnterCell();
    void LeaveCell();
    void KeyPress(short& keyAscii);
    // button: 1 left, 2 right, 4 middle; shift: 1 Shift, 2 Ctrl, 4 Alt; x, y
    // in pixels of the grid's client area.
    void MouseDown(short button, short shift, long x, long y);
    void Scroll();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    QTableWidgetItem* Cell(long row, long col, bool create) const;
    QRect CellRect() const;
    void MoveTo(long row, long col);
    void OnCurrentCellChanged(int row, int col);
    void SyncCurrent();
    void EmitMouseDown(QMouseEvent* event, QWidget* from);
    int PxX(long twips) const;
    int PxY(long twips) const;
    long TwX(int px) const;
    long TwY(int px) const;
    Qt::Alignment AlignmentOf(short code) const;

    long m_row = 1;
    long m_col = 1;
    QString m_corner;
    QAbstractButton* m_cornerButton = nullptr;
    QVector<short> m_alignment;
    bool m_syncing = false;
};

}  // namespace quorim
