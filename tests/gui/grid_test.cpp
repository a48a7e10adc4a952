// The grid wrapper: properties in twips and the order of its events.
#include <QHeaderView>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include "editor/ui/flex_grid.h"

using namespace quorim;

namespace {

QString S(const char* utf8) {
    return QString::fromUtf8(utf8);
}

}  // namespace

class GridTest : public QObject {
    Q_OBJECT

private slots:
    void designTimeShape() {
        CMSFlexGrid1 grid;
        QCOMPARE(grid.GetRows(), 17L);
        QCOMPARE(grid.GetCols(), 7L);
        QCOMPARE(grid.GetRow(), 1L);
        QCOMPARE(grid.GetCol(), 1L);
        QCOMPARE(grid.font().pointSizeF(), 8.25);
        QCOMPARE(grid.font().family(), S("Times New Roman"));
        QCOMPARE(grid.GetColWidth(2), CMSFlexGrid1::kDefaultColWidthTwips);
    }

    void fixedRowAndColumnHoldTexts() {
        CMSFlexGrid1 grid;
        grid.SetTextMatrix(0, 0, S("信道"));
        grid.SetTextMatrix(0, 3, S("接收信令"));
        grid.SetTextMatrix(4, 0, S("4"));
        grid.SetTextMatrix(4, 2, S("145.00000"));
        QCOMPARE(grid.GetTextMatrix(0, 0), S("信道"));
        QCOMPARE(grid.GetTextMatrix(0, 3), S("接收信令"));
        QCOMPARE(grid.model()->headerData(2, Qt::Horizontal).toString(), S("接收信令"));
        QCOMPARE(grid.model()->headerData(3, Qt::Vertical).toString(), S("4"));
        QCOMPARE(grid.GetTextMatrix(4, 2), S("145.00000"));
        // Outside the grid: read empty, writes ignored.
        grid.SetTextMatrix(17, 1, S("x"));
        QCOMPARE(grid.GetTextMatrix(17, 1), QString());
        QCOMPARE(grid.GetTextMatrix(-1, 0), QString());
        // Text follows the current cell.
        grid.SetRow(4);
        grid.SetCol(2);
        QCOMPARE(grid.GetText(), S("145.00000"));
        grid.SetText(S("146.00000"));
        QCOMPARE(grid.GetTextMatrix(4, 2), S("146.00000"));
    }

    void rowsGrowEmptyAndShrinkDroppingRows() {
        CMSFlexGrid1 grid;
        grid.SetTextMatrix(16, 1, S("a"));
        grid.SetRows(200);
        QCOMPARE(grid.GetRows(), 200L);
        QCOMPARE(grid.GetTextMatrix(199, 0), QString());
        grid.SetTextMatrix(150, 1, S("b"));
        grid.SetRow(150);
        grid.SetRows(17);
        QCOMPARE(grid.GetRows(), 17L);
        QCOMPARE(grid.GetRow(), 16L);
        QCOMPARE(grid.GetTextMatrix(16, 1), S("a"));
        grid.SetRows(200);
        QCOMPARE(grid.GetTextMatrix(150, 1), QString());
    }

    void gridsOverOneTableShowOneState() {
        CGridStore texts(17, 7);
        CMSFlexGrid1 a(nullptr, &texts);
        CMSFlexGrid1 b(nullptr, &texts);
        a.SetTextMatrix(5, 2, S("145.00000"));
        QCOMPARE(b.GetTextMatrix(5, 2), S("145.00000"));
        // A change of rows moves each grid's current cell inside, silently.
        a.SetRows(200);
        b.SetRow(150);
        QStringList events;
        for (CMSFlexGrid1* g : {&a, &b}) {
            connect(g, &CMSFlexGrid1::EnterCell, this, [&] { events << S("E"); });
            connect(g, &CMSFlexGrid1::LeaveCell, this, [&] { events << S("L"); });
        }
        a.SetRows(17);
        QCOMPARE(b.GetRow(), 16L);
        QCOMPARE(b.currentIndex().row(), 15);
        QCOMPARE(a.GetRow(), 1L);
        QVERIFY(events.isEmpty());
    }

    void programmaticMovesRaiseLeaveThenEnter() {
        CMSFlexGrid1 grid;
        QStringList events;
        connect(&grid, &CMSFlexGrid1::LeaveCell, this,
                [&] { events << QStringLiteral("L%1,%2").arg(grid.GetRow()).arg(grid.GetCol()); });
        connect(&grid, &CMSFlexGrid1::EnterCell, this,
                [&] { events << QStringLiteral("E%1,%2").arg(grid.GetRow()).arg(grid.GetCol()); });
        grid.SetRow(3);
        grid.SetCol(4);
        grid.SetCol(4);  // no move, no events
        QCOMPARE(events, QStringList({S("L1,1"), S("E3,1"), S("L3,1"), S("E3,4")}));
        // The table's current cell follows.
        QCOMPARE(grid.currentIndex().row(), 2);
        QCOMPARE(grid.currentIndex().column(), 3);
        // A user's move by key raises the same pair.
        events.clear();
        grid.show();
        grid.setFocus();
        QTest::keyClick(&grid, Qt::Key_Down);
        QCOMPARE(events, QStringList({S("L3,4"), S("E4,4")}));
    }

    void clicksAndKeysRaiseTheirEvents() {
        CMSFlexGrid1 grid;
        grid.resize(500, 300);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        QStringList events;
        connect(&grid, &CMSFlexGrid1::EnterCell, this,
                [&] { events << QStringLiteral("E%1,%2").arg(grid.GetRow()).arg(grid.GetCol()); });
        connect(&grid, &CMSFlexGrid1::MouseDown, this, [&](short button, short shift, long, long) {
            events << QStringLiteral("M%1,%2 %3/%4")
                          .arg(grid.GetRow())
                          .arg(grid.GetCol())
                          .arg(button)
                          .arg(shift);
        });
        connect(&grid, &CMSFlexGrid1::DblClick, this, [&] { events << QStringLiteral("D"); });
        const QPoint at(grid.columnViewportPosition(2) + 3, grid.rowViewportPosition(3) + 3);
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::ShiftModifier, at);
        // The click makes the cell current before MouseDown reports it.
        QCOMPARE(events, QStringList({S("E4,3"), S("M4,3 1/1")}));
        events.clear();
        QTest::mouseDClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, at);
        QVERIFY(events.contains(S("D")));

        QList<short> codes;
        connect(&grid, &CMSFlexGrid1::KeyPress, this, [&](short& code) { codes << code; });
        QTest::keyClicks(&grid, S("7a"));
        QTest::keyClick(&grid, Qt::Key_Return);
        QCOMPARE(codes, QList<short>({short('7'), short('a'), short(13)}));

        QSignalSpy scroll(&grid, &CMSFlexGrid1::Scroll);
        grid.SetRows(200);
        QCoreApplication::processEvents();
        grid.verticalScrollBar()->setValue(50);
        QVERIFY(scroll.count() >= 1);
    }

    void cellPositionAndSizesInTwips() {
        CMSFlexGrid1 grid;
        grid.resize(500, 300);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        const int lpx = grid.PixelsPerInchX();
        const int lpy = grid.PixelsPerInchY();
        grid.SetColWidth(1, 1440);  // one inch
        grid.SetRowHeight(2, 720);
        QCOMPARE(grid.columnWidth(0), lpx);
        QCOMPARE(grid.rowHeight(1), lpy / 2);
        QCOMPARE(grid.GetColWidth(1), 1440L);
        grid.SetRow(2);
        grid.SetCol(2);
        // The current cell's place, relative to the grid's client area.
        const QPoint origin = grid.viewport()->geometry().topLeft();
        QCOMPARE(grid.GetCellLeft() * lpx / 1440, long(origin.x() + grid.columnViewportPosition(1)));
        QCOMPARE(grid.GetCellTop() * lpy / 1440, long(origin.y() + grid.rowViewportPosition(1)));
        QCOMPARE(grid.GetCellHeight(), 720L);
        QCOMPARE(grid.GetCellWidth() * lpx / 1440, long(grid.columnWidth(1)));
        // Column 0 and row 0 are the fixed header sections.
        grid.SetColWidth(0, 720);
        QCOMPARE(grid.verticalHeader()->width(), lpx / 2);
        grid.SetRowHeight(0, 360);
        QCOMPARE(grid.horizontalHeader()->height(), lpy / 4);
        QCOMPARE(grid.GetRowHeight(0), 360L);
        // Alignment 1: left, vertically centred.
        grid.SetTextMatrix(3, 2, S("x"));
        grid.SetColAlignment(2, 1);
        QCOMPARE(grid.ColTextAlignment(2), Qt::AlignLeft | Qt::AlignVCenter);
        grid.SetColAlignment(2, 7);
        QCOMPARE(grid.ColTextAlignment(2), Qt::AlignRight | Qt::AlignVCenter);
    }
};

QObject* MakeGridTest() {
    return new GridTest;
}

#include "grid_test.moc"
