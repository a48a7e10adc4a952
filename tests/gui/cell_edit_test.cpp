// Editing the channel grid in place: keys and clicks into the real grid and
// its editors, then what the cells, the editors and the document show.
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPrinter>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "app/ui/main_frame.h"
#include "app/ui/quorim_app.h"
#include "editor/document_file.h"
#include "editor/editor_model.h"
#include "editor/settings_lists.h"
#include "editor/ui/flex_grid.h"
#include "editor/ui/form_view.h"
#include "editor/ui/quorim_doc.h"
#include "gui_test_support.h"
#include "ui/commands.h"
#include "ui/ui_text.h"

using namespace quorim;
using quorim::test::MessageBoxAnswer;

namespace {

QString S(const char* utf8) {
    return QString::fromUtf8(utf8);
}

}  // namespace

class CellEditTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<CQuorim_CHApp> m_app;
    CQuorim_CHView* m_view = nullptr;
    CMSFlexGrid1* m_grid = nullptr;

    CMainFrame* Frame() const { return m_app->MainFrame(); }
    QWidget* Focus() const { return Frame()->focusWidget(); }
    bool Modified() const { return m_view->GetDocument()->IsModified(); }
    QLineEdit* ToneField() const { return m_view->Cells().ComboTone()->lineEdit(); }

    // Keys go where the user's keys go: to the widget with the focus.
    void Type(const QString& text) {
        for (const QChar c : text) {
            QTest::keyClick(Focus(), c.toLatin1());
        }
    }
    void Key(Qt::Key key) { QTest::keyClick(Focus(), key); }
    void Enter() { Key(Qt::Key_Return); }

    QRect CellRect(int row, int col) const {
        const QPoint origin = m_grid->viewport()->geometry().topLeft();
        return {origin.x() + m_grid->columnViewportPosition(col - 1),
                origin.y() + m_grid->rowViewportPosition(row - 1), m_grid->columnWidth(col - 1),
                m_grid->rowHeight(row - 1)};
    }
    QPoint CellCentre(int row, int col) const {
        return m_grid->viewport()->mapFrom(m_grid, CellRect(row, col).center());
    }
    void Click(int row, int col, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(m_grid->viewport(), button, Qt::NoModifier, CellCentre(row, col));
    }
    QStringList RowTexts(int row) const {
        QStringList t;
        for (int col = 1; col <= 5; ++col) {
            t << m_grid->GetTextMatrix(row, col);
        }
        return t;
    }
    void SetRowTexts(int row, const QStringList& t) {
        for (int col = 1; col <= 5; ++col) {
            m_grid->SetTextMatrix(row, col, t.value(col - 1));
        }
    }
    bool NoEditorShown() const {
        return m_view->Cells().EditCell()->isHidden() && m_view->Cells().ComboTone()->isHidden() &&
               m_view->Cells().ComboYesNo()->isHidden();
    }
    void FocusGrid(int row, int col) {
        m_grid->SetRow(row);
        m_grid->SetCol(col);
        m_grid->setFocus();
        QCOMPARE(Focus(), static_cast<QWidget*>(m_grid));
    }

private slots:
    void init() {
        m_app = std::make_unique<CQuorim_CHApp>();
        QVERIFY(m_app->InitInstance({}));
        QVERIFY(QTest::qWaitForWindowExposed(Frame()));
        m_view = Frame()->ActiveView();
        QVERIFY(m_view);
        m_grid = m_view->Grid();
    }
    void cleanup() {
        m_view = nullptr;
        m_grid = nullptr;
        m_app.reset();
    }

    void typingAChannelWalksTheRowAndOnToTheNext() {
        FocusGrid(1, 1);
        QVERIFY(!Modified());
        Type(S("1"));
        QLineEdit* edit = m_view->Cells().EditCell();
        QVERIFY(edit->isVisible());
        QCOMPARE(Focus(), static_cast<QWidget*>(edit));
        QCOMPARE(edit->text(), S("1"));
        QCOMPARE(edit->geometry(), CellRect(1, 1));

        Type(S("45.0125"));
        Enter();
        QCOMPARE(RowTexts(1), QStringList({S("145.01250"), S("145.01250"), S("OFF"), S("OFF"), S("否")}));
        QVERIFY(Modified());
        // On to column 2, its text all selected.
        QCOMPARE(m_grid->GetCol(), 2L);
        QVERIFY(edit->isVisible());
        QCOMPARE(Focus(), static_cast<QWidget*>(edit));
        QCOMPARE(edit->selectedText(), S("145.01250"));
        QCOMPARE(edit->geometry(), CellRect(1, 2));

        Enter();
        QCOMPARE(m_grid->GetCol(), 3L);
        QVERIFY(edit->isHidden());
        QComboBox* tone = m_view->Cells().ComboTone();
        QVERIFY(tone->isVisible());
        QCOMPARE(Focus(), static_cast<QWidget*>(tone));
        QCOMPARE(ToneField()->selectedText(), S("OFF"));
        QCOMPARE(tone->geometry(), CellRect(1, 3));

        Type(S("d023n"));
        Enter();
        QCOMPARE(m_grid->GetTextMatrix(1, 3), S("D023N"));
        QCOMPARE(m_grid->GetCol(), 4L);
        Type(S("100"));
        Enter();
        QCOMPARE(m_grid->GetTextMatrix(1, 4), S("100.0"));
        QComboBox* yesNo = m_view->Cells().ComboYesNo();
        QCOMPARE(m_grid->GetCol(), 5L);
        QVERIFY(tone->isHidden() && yesNo->isVisible());
        QCOMPARE(yesNo->currentText(), S("否"));
        QCOMPARE(yesNo->geometry(), CellRect(1, 5));

        Key(Qt::Key_Up);
        QCOMPARE(yesNo->currentText(), S("是"));
        Enter();
        QCOMPARE(RowTexts(1), QStringList({S("145.01250"), S("145.01250"), S("D023N"), S("100.0"), S("是")}));
        // Column 1 of the next row, empty, ready for the next channel.
        QCOMPARE(m_grid->GetRow(), 2L);
        QCOMPARE(m_grid->GetCol(), 1L);
        QVERIFY(yesNo->isHidden() && edit->isVisible());
        QCOMPARE(edit->text(), QString());
        QCOMPARE(Focus(), static_cast<QWidget*>(edit));
        QCOMPARE(RowTexts(2), QStringList({QString(), QString(), QString(), QString(), QString()}));
    }

    void enterAtTheEndOfTheGridMovesTheFocusOn() {
        QWidget* band = m_view->ControlById(1011);
        SetRowTexts(16, {S("145.00000"), S("145.00000"), S("OFF"), S("OFF"), S("否")});
        Click(16, 5);
        QVERIFY(m_view->Cells().ComboYesNo()->isVisible());
        Key(Qt::Key_Up);
        Enter();
        QCOMPARE(m_grid->GetTextMatrix(16, 5), S("是"));
        QVERIFY(NoEditorShown());
        QCOMPARE(m_grid->GetRow(), 16L);
        QCOMPARE(Focus(), band);

        // Tab from an open editor moves on from the grid as well, and leaves
        // the editor open, its text not yet committed.
        Click(3, 1);
        Type(S("146"));
        Key(Qt::Key_Tab);
        QCOMPARE(Focus(), band);
        QVERIFY(m_view->Cells().EditCell()->isVisible());
        QCOMPARE(m_grid->GetTextMatrix(3, 1), QString());
        Click(3, 3);
        QCOMPARE(m_grid->GetTextMatrix(3, 1), S("146.00000"));
        QTest::keyClick(Focus(), Qt::Key_Backtab, Qt::ShiftModifier);
        QVERIFY(Focus() != m_view->Cells().ComboTone() && Focus() != m_grid);
        QVERIFY(m_view->Cells().ComboTone()->isVisible());

        // With the grid itself focused, Enter moves one cell right and opens
        // nothing; from column 6 it leaves the grid.
        FocusGrid(3, 4);
        Enter();
        QCOMPARE(m_grid->GetCol(), 5L);
        Enter();
        QCOMPARE(m_grid->GetCol(), 6L);
        QCOMPARE(Focus(), static_cast<QWidget*>(m_grid));
        QVERIFY(NoEditorShown());
        Enter();
        QCOMPARE(m_grid->GetCol(), 6L);
        QCOMPARE(Focus(), band);

        // On a settings list Enter moves on as Tab does.
        m_view->Combo(SettingsList::Model)->setFocus();
        Enter();
        QCOMPARE(Focus(), m_view->ControlById(1012));
        QCOMPARE(m_view->Combo(SettingsList::Model)->currentIndex(), 0);
        QCOMPARE(m_grid->GetRows(), 17L);
    }

    void leavingASignallingCellCommitsTheListOrTheTypedText() {
        SetRowTexts(1, {S("145.00000"), S("145.00000"), S("68.0"), S("D23N"), S("否")});
        // 68.0 and D23N are not in the list: the list holds "OFF", and
        // clicking away stores it.
        Click(1, 3);
        QVERIFY(m_view->Cells().ComboTone()->isVisible());
        QCOMPARE(m_view->Cells().ComboTone()->currentText(), S("OFF"));
        Click(2, 1);
        QCOMPARE(m_grid->GetTextMatrix(1, 3), S("OFF"));
        QVERIFY(m_view->Cells().ComboTone()->isHidden());
        QVERIFY(Modified());

        // Typed text is checked as Enter checks it.
        const struct {
            const char* typed;
            const char* stored;
        } typedCases[] = {{"d023n", "D023N"}, {"68.0", "68.0"}, {"abc", nullptr}, {"D755N", nullptr}};
        for (const auto& c : typedCases) {
            Click(1, 4);
            Type(S(c.typed));
            QCOMPARE(m_view->Cells().ComboTone()->currentIndex(), -1);
            MessageBoxAnswer answer(QMessageBox::Ok);
            Click(2, 2);
            if (c.stored) {
                QCOMPARE(m_grid->GetTextMatrix(1, 4), S(c.stored));
                continue;
            }
            // Refused: the cell keeps its text, the editor goes back to it.
            QTRY_COMPARE(m_grid->GetCol(), 4L);
            QCOMPARE(answer.Count(), 1);
            QCOMPARE(m_grid->GetTextMatrix(1, 4), S("68.0"));
            QCOMPARE(ToneField()->selectedText(), S(c.typed));
            Key(Qt::Key_Escape);
        }
        // An item picked from the list is stored as it is.
        Click(1, 4);
        Key(Qt::Key_Down);
        QCOMPARE(m_view->Cells().ComboTone()->currentText(), S("67.0"));
        Click(2, 2);
        QCOMPARE(m_grid->GetTextMatrix(1, 4), S("67.0"));

        // A row without frequencies keeps its signalling and flag empty.
        Click(5, 3);
        Type(S("88.5"));
        Click(5, 5);
        QCOMPARE(m_grid->GetTextMatrix(5, 3), QString());
        Click(6, 1);
        QCOMPARE(m_grid->GetTextMatrix(5, 5), QString());
    }

    void scrollingHidesTheEditorWithoutCommitting() {
        QComboBox* model = m_view->Combo(SettingsList::Model);
        model->setFocus();
        QTest::keyClick(model, Qt::Key_Down);
        QCOMPARE(m_grid->GetRows(), 200L);
        QTRY_VERIFY(m_grid->verticalScrollBar()->maximum() > 100);
        FocusGrid(1, 1);
        Type(S("146"));
        QVERIFY(m_view->Cells().EditCell()->isVisible());
        m_grid->verticalScrollBar()->setValue(50);
        QVERIFY(NoEditorShown());
        QCOMPARE(Focus(), static_cast<QWidget*>(m_grid));
        QCOMPARE(m_grid->GetTextMatrix(1, 1), QString());
        // The hidden editor commits nothing when the cell is left.
        m_grid->SetRow(60);
        QCOMPARE(RowTexts(1), QStringList({QString(), QString(), QString(), QString(), QString()}));
        // Enter moving to a row out of view scrolls, and still opens the next editor.
        SetRowTexts(120, {S("145.00000"), S("145.00000"), S("OFF"), S("OFF"), S("否")});
        m_grid->verticalScrollBar()->setValue(100);
        m_grid->SetRow(120);
        m_grid->SetCol(5);
        m_view->Cells().BeginCellEdit(0);
        Enter();
        QCOMPARE(m_grid->GetRow(), 121L);
        QVERIFY(m_view->Cells().EditCell()->isVisible());
        QCOMPARE(m_view->Cells().EditCell()->geometry(), CellRect(121, 1));
    }

    void sparesAndHeadersOpenNothing() {
        SetRowTexts(2, {S("145.00000"), S("145.00000"), S("OFF"), S("OFF"), S("否")});
        Click(2, 6);
        QCOMPARE(m_grid->GetCol(), 6L);
        QVERIFY(NoEditorShown());
        QTest::mouseDClick(m_grid->viewport(), Qt::LeftButton, Qt::NoModifier, CellCentre(2, 6));
        QVERIFY(NoEditorShown());
        Type(S("5"));
        QVERIFY(NoEditorShown());
        QCOMPARE(m_grid->GetTextMatrix(2, 6), QString());
        // A double-click that reaches the grid (on a header) opens the
        // current cell's editor, its text all selected.
        FocusGrid(2, 2);
        emit m_grid->DblClick();
        QVERIFY(m_view->Cells().EditCell()->isVisible());
        QCOMPARE(m_view->Cells().EditCell()->selectedText(), S("145.00000"));
        m_grid->SetCol(6);
        QVERIFY(NoEditorShown());
        emit m_grid->DblClick();
        QVERIFY(NoEditorShown());
        // The right button opens nothing either.
        Click(2, 1, Qt::RightButton);
        QCOMPARE(m_grid->GetCol(), 1L);
        QVERIFY(NoEditorShown());
        // Escape and other control characters open nothing.
        FocusGrid(2, 1);
        Key(Qt::Key_Escape);
        QTest::sendKeyEvent(QTest::Click, Focus(), Qt::Key_A, QString(QChar(1)), Qt::ControlModifier);
        QVERIFY(NoEditorShown());
        QVERIFY(!Modified());
    }

    void keysThatOpenAnEditor() {
        SetRowTexts(1, {S("145.00000"), S("145.00000"), S("OFF"), S("OFF"), S("否")});
        // Backspace opens the cell's text all selected; the next key replaces it.
        FocusGrid(1, 1);
        Key(Qt::Key_Backspace);
        QLineEdit* edit = m_view->Cells().EditCell();
        QVERIFY(edit->isVisible());
        QCOMPARE(edit->selectedText(), S("145.00000"));
        Type(S("4"));
        QCOMPARE(edit->text(), S("4"));

        // Leaving the cell commits 4 MHz: out of range, so it is refused, the
        // row keeps its texts and the editor goes back to the cell.
        const QStringList row1{S("145.00000"), S("145.00000"), S("OFF"), S("OFF"), S("否")};
        {
            MessageBoxAnswer answer(QMessageBox::Ok);
            Click(3, 1);
            QCOMPARE(answer.Count(), 1);
            QCOMPARE(answer.Text(), S("输入数据错误，请按正确的格式及大小重新输入"));
        }
        QCOMPARE(RowTexts(1), row1);
        QTRY_COMPARE(m_grid->GetRow(), 1L);
        QCOMPARE(edit->selectedText(), S("4"));
        Key(Qt::Key_Escape);

        // A letter on a frequency cell asks for digits and still opens.
        {
            MessageBoxAnswer answer(QMessageBox::Ok);
            FocusGrid(1, 2);
            Type(S("x"));
            QCOMPARE(answer.Text(), S("请输入数字"));
        }
        QVERIFY(edit->isVisible());
        QCOMPARE(edit->text(), S("x"));
        {
            // Off the 6.25 kHz and 5 kHz steps: refused, and Enter stays on the cell.
            MessageBoxAnswer answer(QMessageBox::Ok);
            edit->selectAll();
            Type(S("145.0062"));
            Enter();
            QCOMPARE(answer.Text(), S("输入数据错误，请按6.25K或 5k的倍数重新输入"));
            // The same box, and the status bar while the cell is edited, say
            // what the column takes.
            QCOMPARE(answer.Detail(), S("50-700 MHz，步进 6.25 或 5 kHz，例如 446.00625"));
        }
        QCOMPARE(Frame()->MessageText(), S("50-700 MHz，步进 6.25 或 5 kHz，例如 446.00625"));
        QCOMPARE(RowTexts(1), row1);
        QCOMPARE(m_grid->GetCol(), 2L);
        QCOMPARE(edit->selectedText(), S("145.0062"));
        {
            // A typed decimal comma is no decimal point.
            MessageBoxAnswer answer(QMessageBox::Ok);
            edit->selectAll();
            Type(S("145,0125"));
            Enter();
            QCOMPARE(answer.Text(), S("输入数据错误，请按正确的格式及大小重新输入"));
        }
        QCOMPARE(RowTexts(1), row1);
        Key(Qt::Key_Escape);

        // A character typed on a signalling cell stands alone in its field.
        FocusGrid(4, 3);
        Type(S("1"));
        QVERIFY(m_view->Cells().ComboTone()->isVisible());
        QCOMPARE(ToneField()->text(), S("1"));
        QCOMPARE(m_view->Cells().ComboTone()->currentIndex(), -1);
        Key(Qt::Key_Escape);
        {
            // A signalling entry refused on a channel with a frequency names its rule.
            MessageBoxAnswer answer(QMessageBox::Ok);
            FocusGrid(1, 3);
            Type(S("1x"));
            Enter();
            QCOMPARE(answer.Count(), 1);
            QCOMPARE(answer.Detail(), S("67.0-254.1、D023N、D754I 或 OFF"));
        }
    }

    void readAndWriteCommitAPendingEditFirst() {
        // Nothing open: nothing changes.
        m_view->OnLeaveCellGrid();
        QVERIFY(!Modified());
        Click(1, 1);
        Click(2, 2);  // opened and left unchanged
        QVERIFY(!Modified());

        FocusGrid(1, 1);
        Type(S("146.5"));
        m_view->OnCmdMsg(ID_READ_RADIO);
        QCOMPARE(RowTexts(1), QStringList({S("146.50000"), S("146.50000"), S("OFF"), S("OFF"), S("否")}));
        QVERIFY(NoEditorShown());
        QVERIFY(Modified());

        Click(1, 3);
        Type(S("100"));
        m_view->OnCmdMsg(ID_WRITE_RADIO);
        QCOMPARE(m_grid->GetTextMatrix(1, 3), S("100.0"));
        QVERIFY(NoEditorShown());
        // Printing too prints what the open editor shows.
        QTemporaryDir dir;
        m_app->Printer()->setOutputFormat(QPrinter::PdfFormat);
        m_app->Printer()->setOutputFileName(dir.filePath(QStringLiteral("p.pdf")));
        Click(2, 1);
        Type(S("147"));
        m_view->OnCmdMsg(ID_FILE_PRINT_DIRECT);
        QCOMPARE(m_grid->GetTextMatrix(2, 1), S("147.00000"));
        QVERIFY(QFileInfo::exists(dir.filePath(QStringLiteral("p.pdf"))));

        // Committed once: the cell is not committed again when it is left.
        m_grid->SetTextMatrix(1, 3, S("OFF"));
        m_grid->SetRow(2);
        QCOMPARE(m_grid->GetTextMatrix(1, 3), S("OFF"));
    }

    void savingAndClosingCommitAPendingEdit() {
        CQuorim_CHDoc* doc = m_view->GetDocument();
        // Typed and not yet committed, the text still makes closing ask.
        FocusGrid(2, 1);
        Type(S("147"));
        QVERIFY(!Modified());
        {
            MessageBoxAnswer answer(QMessageBox::Cancel);
            QVERIFY(!m_app->SaveModified(doc));
            QCOMPARE(answer.Count(), 1);
        }
        QCOMPARE(m_grid->GetTextMatrix(2, 1), S("147.00000"));

        // Saved, the file holds what was typed.
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.szt"));
        FocusGrid(1, 1);
        Type(S("146.5"));
        QVERIFY(m_app->DoSave(doc, path));
        QVERIFY(NoEditorShown());
        QVERIFY(!Modified());
        DocumentData reopened;
        EditorModel editor;
        QVERIFY(OpenDocument(Utf8(path), reopened, editor).Ok());
        QCOMPARE(editor.TextMatrix(1, kColRxFreq), std::string("146.50000"));
        QCOMPARE(editor.TextMatrix(2, kColRxFreq), std::string("147.00000"));
    }
};

QObject* MakeCellEditTest() {
    return new CellEditTest;
}

#include "cell_edit_test.moc"
