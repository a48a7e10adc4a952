#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <QTableView>
#include <QVector>

class QAbstractButton;

namespace quorim {

// The texts a grid shows, addressed as the grid addresses them: row 0 is the
// fixed header row and column 0 the fixed column (the table's header
// sections), cells start at row 1, column 1. A grid shows one of these; many
// grids may show the same one, and every change shows in all of them.
class CGridTexts : public QAbstractTableModel {
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;

    // Rows and columns with the fixed ones.
    virtual long GridRows() const = 0;
    virtual long GridCols() const = 0;
    // Growing adds empty rows; shrinking drops the rows past the new count.
    virtual void SetGridRows(long rows) = 0;
    // The shown text; empty outside the grid. Writes outside it are ignored.
    virtual QString Text(long row, long col) const = 0;
    virtual void SetText(long row, long col, const QString& text) = 0;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

protected:
    // Tells the grids that the text of (row, col) changed.
    void TextChanged(long row, long col);
};

// A grid's own texts, for a grid that shows no one else's.
class CGridStore : public CGridTexts {
    Q_OBJECT

public:
    CGridStore(long rows, long cols, QObject* parent = nullptr);

    long GridRows() const override { return m_cells.size(); }
    long GridCols() const override { return m_cols; }
    void SetGridRows(long rows) override;
    QString Text(long row, long col) const override;
    void SetText(long row, long col, const QString& text) override;

private:
    long m_cols;
    QVector<QVector<QString>> m_cells;
};

// The channel grid: a table view behind the properties and events the editor
// uses of a flex grid. Row 0 is the fixed header row and column 0 the fixed
// column; they are the table's header sections, so they stay in place while
// the cells scroll. Lengths are in twips (1/1440 inch), converted with the
// screen's pixels per logical inch. Widths, heights, alignment and the
// current cell are the grid's own; the texts are its model's.
//
// Events: a move of the current cell, by the user or by program (SetRow,
// SetCol), raises LeaveCell while Row and Col still name the old cell, then
// EnterCell with the new one. A change of the row count moves the current
// cell without events. KeyPress carries a reference: a handler may change
// the code (connect it directly).
class CMSFlexGrid1 : public QTableView {
    Q_OBJECT

public:
    // Shows `texts` (kept by the caller), or texts of its own at design
    // size without.
    explicit CMSFlexGrid1(QWidget* parent = nullptr, CGridTexts* texts = nullptr);

    static constexpr int kFixedRows = 1;
    static constexpr int kFixedCols = 1;

    CGridTexts* Texts() const { return m_texts; }

    long GetRows() const { return m_texts->GridRows(); }
    void SetRows(long rows);
    long GetCols() const { return m_texts->GridCols(); }
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
    // How a column's texts are laid in their cells.
    Qt::Alignment ColTextAlignment(long col) const;

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
    // Shows `texts` from now on.
    void Show(CGridTexts* texts);
    QRect CellRect() const;
    void MoveTo(long row, long col);
    void OnCurrentCellChanged(int row, int col);
    // After the model's rows changed: the current cell stays inside.
    void OnShapeChanged();
    void SyncCurrent();
    void EmitMouseDown(QMouseEvent* event, QWidget* from);
    int PxX(long twips) const;
    int PxY(long twips) const;
    long TwX(int px) const;
    long TwY(int px) const;
    Qt::Alignment AlignmentOf(short code) const;

    CGridTexts* m_texts;
    long m_row = 1;
    long m_col = 1;
    QAbstractButton* m_cornerButton = nullptr;
    QVector<short> m_alignment;
    bool m_syncing = false;
};

}  // namespace quorim
