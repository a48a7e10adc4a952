#include "editor/ui/flex_grid.h"

#include <QAbstractButton>
#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStyleOptionHeader>
#include <QStyledItemDelegate>

#include "editor/grid_units.h"
#include "ui/fonts.h"

namespace quorim {

namespace {

constexpr int kDesignRows = 17;
constexpr int kDesignCols = 7;

short ShiftState(Qt::KeyboardModifiers m) {
    short s = 0;
    if (m & Qt::ShiftModifier) s |= 1;
    if (m & Qt::ControlModifier) s |= 2;
    if (m & Qt::AltModifier) s |= 4;
    return s;
}

short ButtonCode(Qt::MouseButton b) {
    switch (b) {
        case Qt::LeftButton:
            return 1;
        case Qt::RightButton:
            return 2;
        case Qt::MiddleButton:
            return 4;
        default:
            return 0;
    }
}

// Lays each cell's text as its column's alignment says.
class CGridDelegate : public QStyledItemDelegate {
public:
    explicit CGridDelegate(CMSFlexGrid1* grid) : QStyledItemDelegate(grid), m_grid(grid) {}

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        option->displayAlignment = m_grid->ColTextAlignment(index.column() + CMSFlexGrid1::kFixedCols);
    }

private:
    CMSFlexGrid1* m_grid;
};

}  // namespace

// --- Texts -------------------------------------------------------------------

int CGridTexts::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(qMax(0L, GridRows() - CMSFlexGrid1::kFixedRows));
}

int CGridTexts::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(qMax(0L, GridCols() - CMSFlexGrid1::kFixedCols));
}

QVariant CGridTexts::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) {
        return {};
    }
    return Text(index.row() + CMSFlexGrid1::kFixedRows, index.column() + CMSFlexGrid1::kFixedCols);
}

QVariant CGridTexts::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) {
        return {};
    }
    return orientation == Qt::Horizontal ? Text(0, section + CMSFlexGrid1::kFixedCols)
                                         : Text(section + CMSFlexGrid1::kFixedRows, 0);
}

Qt::ItemFlags CGridTexts::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void CGridTexts::TextChanged(long row, long col) {
    if (row == 0) {
        // The corner cell is drawn with the header row.
        const int section = static_cast<int>(qMax(0L, col - CMSFlexGrid1::kFixedCols));
        emit headerDataChanged(Qt::Horizontal, section, section);
    } else if (col == 0) {
        const int section = static_cast<int>(row - CMSFlexGrid1::kFixedRows);
        emit headerDataChanged(Qt::Vertical, section, section);
    } else {
        const QModelIndex at = index(static_cast<int>(row - CMSFlexGrid1::kFixedRows),
                                     static_cast<int>(col - CMSFlexGrid1::kFixedCols));
        emit dataChanged(at, at, {Qt::DisplayRole});
    }
}

CGridStore::CGridStore(long rows, long cols, QObject* parent)
    : CGridTexts(parent),
      m_cols(cols),
      m_cells(static_cast<int>(rows), QVector<QString>(static_cast<int>(cols))) {}

void CGridStore::SetGridRows(long rows) {
    const int now = static_cast<int>(m_cells.size());
    const int want = static_cast<int>(qMax(static_cast<long>(CMSFlexGrid1::kFixedRows), rows));
    if (want > now) {
        beginInsertRows(QModelIndex(), now - CMSFlexGrid1::kFixedRows, want - CMSFlexGrid1::kFixedRows - 1);
        m_cells.resize(want, QVector<QString>(static_cast<int>(m_cols)));
        endInsertRows();
    } else if (want < now) {
        beginRemoveRows(QModelIndex(), want - CMSFlexGrid1::kFixedRows, now - CMSFlexGrid1::kFixedRows - 1);
        m_cells.resize(want);
        endRemoveRows();
    }
}

QString CGridStore::Text(long row, long col) const {
    if (row < 0 || col < 0 || row >= GridRows() || col >= m_cols) {
        return {};
    }
    return m_cells[static_cast<int>(row)][static_cast<int>(col)];
}

void CGridStore::SetText(long row, long col, const QString& text) {
    if (row < 0 || col < 0 || row >= GridRows() || col >= m_cols ||
        m_cells[static_cast<int>(row)][static_cast<int>(col)] == text) {
        return;
    }
    m_cells[static_cast<int>(row)][static_cast<int>(col)] = text;
    TextChanged(row, col);
}

// --- Grid --------------------------------------------------------------------

CMSFlexGrid1::CMSFlexGrid1(QWidget* parent, CGridTexts* texts)
    : QTableView(parent), m_texts(texts ? texts : new CGridStore(kDesignRows, kDesignCols, this)) {
    setFont(GridCellFont());
    horizontalHeader()->setFont(font());
    verticalHeader()->setFont(font());
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Click, Shift+click, Ctrl+click, Shift+arrows and a click on a row's
    // number select cells and whole channels.
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setItemDelegate(new CGridDelegate(this));

    for (QHeaderView* h : {horizontalHeader(), verticalHeader()}) {
        h->setSectionsClickable(false);
        h->setHighlightSections(false);
        h->setSectionResizeMode(QHeaderView::Fixed);
        h->setMinimumSectionSize(1);
        h->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        h->installEventFilter(this);
        h->viewport()->installEventFilter(this);
    }
    verticalHeader()->setSectionsClickable(true);
    const int rowPx = PxY(kDefaultRowHeightTwips);
    horizontalHeader()->setDefaultSectionSize(PxX(kDefaultColWidthTwips));
    verticalHeader()->setDefaultSectionSize(rowPx);
    verticalHeader()->setFixedWidth(PxX(kDefaultColWidthTwips));
    horizontalHeader()->setFixedHeight(rowPx);

    m_alignment.fill(9, static_cast<int>(GetCols()));
    Show(m_texts);
    m_cornerButton = findChild<QAbstractButton*>();
    if (m_cornerButton) {
        m_cornerButton->installEventFilter(this);
    }
    SyncCurrent();
}

void CMSFlexGrid1::Show(CGridTexts* texts) {
    m_texts = texts;
    // While the rows change, the table's current cell wanders without the
    // cell events (connected before the table's own handlers).
    connect(m_texts, &QAbstractItemModel::rowsAboutToBeInserted, this, [this] { m_syncing = true; });
    connect(m_texts, &QAbstractItemModel::rowsAboutToBeRemoved, this, [this] { m_syncing = true; });
    setModel(m_texts);
    connect(m_texts, &QAbstractItemModel::rowsInserted, this, &CMSFlexGrid1::OnShapeChanged);
    connect(m_texts, &QAbstractItemModel::rowsRemoved, this, &CMSFlexGrid1::OnShapeChanged);
    connect(m_texts, &QAbstractItemModel::headerDataChanged, this, [this](Qt::Orientation o) {
        if (o == Qt::Horizontal && m_cornerButton) {
            m_cornerButton->update();
        }
    });
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { OnCurrentCellChanged(current.row(), current.column()); });
    if (m_texts->parent() != this) {
        // Texts that go before the grid (a document closed ahead of its
        // window) leave it with an empty table of its own.
        connect(m_texts, &QObject::destroyed, this, [this] {
            Show(new CGridStore(kFixedRows, static_cast<long>(m_alignment.size()), this));
            OnShapeChanged();
        });
    }
}

int CMSFlexGrid1::PixelsPerInchX() const {
    return logicalDpiX() > 0 ? logicalDpiX() : 96;
}
int CMSFlexGrid1::PixelsPerInchY() const {
    return logicalDpiY() > 0 ? logicalDpiY() : 96;
}
int CMSFlexGrid1::PxX(long twips) const {
    return TwipsToPixels(twips, PixelsPerInchX());
}
int CMSFlexGrid1::PxY(long twips) const {
    return TwipsToPixels(twips, PixelsPerInchY());
}
long CMSFlexGrid1::TwX(int px) const {
    return PixelsToTwips(px, PixelsPerInchX());
}
long CMSFlexGrid1::TwY(int px) const {
    return PixelsToTwips(px, PixelsPerInchY());
}

void CMSFlexGrid1::SetRows(long rows) {
    if (rows >= kFixedRows) {
        m_texts->SetGridRows(rows);
    }
}

void CMSFlexGrid1::OnShapeChanged() {
    m_syncing = false;
    if (m_row >= GetRows()) {
        m_row = GetRows() - 1;
    }
    SyncCurrent();
}

void CMSFlexGrid1::SetRow(long row) {
    if (row >= 0 && row < GetRows()) {
        MoveTo(row, m_col);
    }
}

void CMSFlexGrid1::SetCol(long col) {
    if (col >= 0 && col < GetCols()) {
        MoveTo(m_row, col);
    }
}

void CMSFlexGrid1::MoveTo(long row, long col) {
    if (row == m_row && col == m_col) {
        return;
    }
    emit LeaveCell();
    m_row = row;
    m_col = col;
    SyncCurrent();
    emit EnterCell();
}

void CMSFlexGrid1::SyncCurrent() {
    m_syncing = true;
    if (m_row >= kFixedRows && m_col >= kFixedCols && m_row < GetRows() && m_col < GetCols()) {
        // A move by program selects the new current cell alone, as a click does.
        selectionModel()->setCurrentIndex(
            model()->index(static_cast<int>(m_row - kFixedRows), static_cast<int>(m_col - kFixedCols)),
            QItemSelectionModel::ClearAndSelect);
    } else {
        setCurrentIndex(QModelIndex());
    }
    m_syncing = false;
}

void CMSFlexGrid1::OnCurrentCellChanged(int row, int col) {
    if (m_syncing || row < 0 || col < 0) {
        return;
    }
    const long newRow = row + kFixedRows;
    const long newCol = col + kFixedCols;
    if (newRow == m_row && newCol == m_col) {
        return;
    }
    emit LeaveCell();
    m_row = newRow;
    m_col = newCol;
    emit EnterCell();
}

QString CMSFlexGrid1::GetTextMatrix(long row, long col) const {
    return m_texts->Text(row, col);
}

void CMSFlexGrid1::SetTextMatrix(long row, long col, const QString& text) {
    m_texts->SetText(row, col, text);
}

long CMSFlexGrid1::GetColWidth(long col) const {
    if (col == 0) {
        return TwX(verticalHeader()->width());
    }
    return col < GetCols() ? TwX(columnWidth(static_cast<int>(col - 1))) : 0;
}

void CMSFlexGrid1::SetColWidth(long col, long twips) {
    if (col == 0) {
        verticalHeader()->setFixedWidth(PxX(twips));
    } else if (col < GetCols()) {
        setColumnWidth(static_cast<int>(col - 1), PxX(twips));
    }
}

long CMSFlexGrid1::GetRowHeight(long row) const {
    if (row == 0) {
        return TwY(horizontalHeader()->height());
    }
    return row < GetRows() ? TwY(rowHeight(static_cast<int>(row - 1))) : 0;
}

void CMSFlexGrid1::SetRowHeight(long row, long twips) {
    if (row == 0) {
        horizontalHeader()->setFixedHeight(PxY(twips));
    } else if (row < GetRows()) {
        setRowHeight(static_cast<int>(row - 1), PxY(twips));
    }
}

Qt::Alignment CMSFlexGrid1::AlignmentOf(short code) const {
    Qt::Alignment v = Qt::AlignVCenter;
    switch (code % 3) {
        case 0:
            v = Qt::AlignTop;
            break;
        case 2:
            v = Qt::AlignBottom;
            break;
        default:
            break;
    }
    if (code >= 0 && code <= 2) return Qt::AlignLeft | v;
    if (code >= 3 && code <= 5) return Qt::AlignHCenter | v;
    if (code >= 6 && code <= 8) return Qt::AlignRight | v;
    return Qt::AlignLeft | Qt::AlignVCenter;  // general: text to the left
}

void CMSFlexGrid1::SetColAlignment(long col, short alignment) {
    if (col < 0 || col >= GetCols()) {
        return;
    }
    m_alignment[static_cast<int>(col)] = alignment;
    if (col == 0) {
        verticalHeader()->setDefaultAlignment(AlignmentOf(alignment));
    }
    viewport()->update();
}

short CMSFlexGrid1::GetColAlignment(long col) const {
    return m_alignment.value(static_cast<int>(col), 9);
}

Qt::Alignment CMSFlexGrid1::ColTextAlignment(long col) const {
    return AlignmentOf(GetColAlignment(col));
}

QRect CMSFlexGrid1::CellRect() const {
    int x = 0;
    int w = 0;
    if (m_col == 0) {
        x = verticalHeader()->geometry().x();
        w = verticalHeader()->width();
    } else {
        x = viewport()->geometry().x() + columnViewportPosition(static_cast<int>(m_col - 1));
        w = columnWidth(static_cast<int>(m_col - 1));
    }
    int y = 0;
    int h = 0;
    if (m_row == 0) {
        y = horizontalHeader()->geometry().y();
        h = horizontalHeader()->height();
    } else {
        y = viewport()->geometry().y() + rowViewportPosition(static_cast<int>(m_row - 1));
        h = rowHeight(static_cast<int>(m_row - 1));
    }
    return {x, y, w, h};
}

long CMSFlexGrid1::GetCellLeft() const {
    return TwX(CellRect().x());
}
long CMSFlexGrid1::GetCellTop() const {
    return TwY(CellRect().y());
}
long CMSFlexGrid1::GetCellWidth() const {
    return TwX(CellRect().width());
}
long CMSFlexGrid1::GetCellHeight() const {
    return TwY(CellRect().height());
}

QList<QPoint> CMSFlexGrid1::SelectedCells() const {
    QList<QPoint> cells;
    for (const QModelIndex& index : selectionModel()->selectedIndexes()) {
        cells.append(QPoint(index.column() + kFixedCols, index.row() + kFixedRows));
    }
    return cells;
}

void CMSFlexGrid1::SelectRows(const QList<int>& rows) {
    QItemSelection selection;
    for (const int row : rows) {
        if (row >= kFixedRows && row < GetRows()) {
            selection.select(model()->index(row - kFixedRows, 0),
                             model()->index(row - kFixedRows, m_texts->columnCount() - 1));
        }
    }
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

void CMSFlexGrid1::keyPressEvent(QKeyEvent* event) {
    const QString text = event->text();
    const bool navigation = event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab;
    if (!navigation && !text.isEmpty() && text.at(0).unicode() != 0) {
        short code = static_cast<short>(text.at(0).unicode());
        emit KeyPress(code);
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void CMSFlexGrid1::EmitMouseDown(QMouseEvent* event, QWidget* from) {
    const QPoint p = from->mapTo(this, event->position().toPoint());
    emit MouseDown(ButtonCode(event->button()), ShiftState(event->modifiers()), p.x(), p.y());
}

void CMSFlexGrid1::mousePressEvent(QMouseEvent* event) {
    // The click moves the current cell first (LeaveCell, EnterCell), then the
    // handlers of MouseDown find the clicked cell current.
    QTableView::mousePressEvent(event);
    EmitMouseDown(event, viewport());
}

void CMSFlexGrid1::mouseDoubleClickEvent(QMouseEvent* event) {
    QTableView::mouseDoubleClickEvent(event);
    emit DblClick();
}

void CMSFlexGrid1::scrollContentsBy(int dx, int dy) {
    QTableView::scrollContentsBy(dx, dy);
    emit Scroll();
}

bool CMSFlexGrid1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_cornerButton && event->type() == QEvent::Paint) {
        // The top-left fixed cell, drawn as a header section with its text.
        QPainter painter(m_cornerButton);
        QStyleOptionHeader opt;
        opt.initFrom(m_cornerButton);
        opt.state = QStyle::State_Enabled | QStyle::State_Raised;
        opt.rect = m_cornerButton->rect();
        opt.position = QStyleOptionHeader::OnlyOneSection;
        opt.orientation = Qt::Horizontal;
        opt.text = m_texts->Text(0, 0);
        opt.textAlignment = AlignmentOf(m_alignment.value(0, 9));
        painter.setFont(font());
        style()->drawControl(QStyle::CE_Header, &opt, &painter, m_cornerButton);
        return true;
    }
    if (watched == m_cornerButton &&
        (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease ||
         event->type() == QEvent::MouseButtonDblClick)) {
        // The fixed corner cell selects nothing.
        return true;
    }
    if (event->type() == QEvent::MouseButtonPress) {
        auto* w = qobject_cast<QWidget*>(watched);
        // A click on a channel's number selects the channel and opens no editor.
        if (w && w == horizontalHeader()->viewport()) {
            EmitMouseDown(static_cast<QMouseEvent*>(event), w);
        }
    }
    if (event->type() == QEvent::MouseButtonDblClick) {
        auto* w = qobject_cast<QWidget*>(watched);
        if (w && w == horizontalHeader()->viewport()) {
            emit DblClick();
        }
    }
    return QTableView::eventFilter(watched, event);
}

}  // namespace quorim
