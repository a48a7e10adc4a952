// The document without windows: one editor state, its table for the grids,
// and the undo history over it.
#include <QSignalSpy>
#include <QTest>
#include <QUndoStack>

#include "editor/codec.h"
#include "editor/ui/channel_selection.h"
#include "editor/ui/channel_table.h"
#include "editor/ui/flex_grid.h"
#include "editor/ui/quorim_doc.h"
#include "editor/ui/view_document.h"
#include "link/ui/progress_dlg.h"
#include "link/ui/radio_transfer.h"
#include "ui/busy_state.h"
#include "ui/ui_text.h"

using namespace quorim;

class DocumentTest : public QObject {
    Q_OBJECT

private:
    // A new document as its first window sets it up.
    static void Show(CQuorim_CHDoc& doc, bool sixteen = true) {
        doc.OnNewDocument();
        doc.Data().m_bSixteenChannel = sixteen;
        doc.InitialUpdate();
    }

private slots:
    void tableShowsTheCoreTextsInTheWindowsLanguage() {
        CQuorim_CHDoc doc;
        Show(doc);
        CChannelTable* table = doc.Table();
        QCOMPARE(table->rowCount(), 16);
        QCOMPARE(table->columnCount(), kGridColumns - 1);
        QCOMPARE(table->headerData(0, Qt::Horizontal).toString(), Q(GridHeaders()[1]));
        QCOMPARE(table->headerData(15, Qt::Vertical).toString(), QStringLiteral("16"));
        // A shown text goes back as the core's own; others as they are.
        table->SetText(2, kColInhibit, Q(kYes));
        QCOMPARE(doc.Editor().TextMatrix(2, kColInhibit), std::string(kYes));
        table->SetText(2, kColRxFreq, QStringLiteral("145.00000"));
        QCOMPARE(table->data(table->index(1, kColRxFreq - 1)).toString(), QStringLiteral("145.00000"));
    }

    void changesAreToldOnceAndOnlyWhenSomethingChanged() {
        CQuorim_CHDoc doc;
        Show(doc);
        QSignalSpy cells(doc.Table(), &QAbstractItemModel::dataChanged);
        QSignalSpy inserted(doc.Table(), &QAbstractItemModel::rowsInserted);
        QSignalSpy removed(doc.Table(), &QAbstractItemModel::rowsRemoved);
        QSignalSpy lists(doc.Table(), &CChannelTable::SelectionChanged);
        doc.Editor().SetTextMatrix(3, kColRxFreq, "146.00000");
        doc.Editor().SetTextMatrix(3, kColRxFreq, "146.00000");
        doc.Editor().SetTextMatrix(17, kColRxFreq, "x");  // outside: ignored
        QCOMPARE(cells.count(), 1);
        doc.Editor().SetRows(kRows199);
        QCOMPARE(inserted.count(), 1);
        QCOMPARE(inserted.at(0).at(1).toInt(), 16);
        QCOMPARE(inserted.at(0).at(2).toInt(), 198);
        doc.Editor().SetRows(kRows16);
        QCOMPARE(removed.count(), 1);
        QCOMPARE(doc.Table()->rowCount(), 16);
        doc.Editor().SetCurSel(SettingsList::Band, 3);
        doc.Editor().SetCurSel(SettingsList::Band, 3);
        doc.Editor().SetCurSel(SettingsList::Band, 99);  // no such item: no selection
        QCOMPARE(lists.count(), 2);
        QCOMPARE(doc.Editor().CurSel(SettingsList::Band), -1);
    }

    void modelChoiceKeepsEditsAndAReadReplacesThem() {
        CQuorim_CHDoc doc;
        Show(doc);
        doc.Editor().SetTextMatrix(3, kColRxFreq, "146.00000");
        doc.ChooseModel(1);
        QCOMPARE(doc.Editor().Rows(), kRows199);
        QVERIFY(!doc.Data().m_bSixteenChannel);
        QCOMPARE(doc.Editor().TextMatrix(3, kColRxFreq), std::string("146.00000"));
        // A 16-channel radio's memory: its layout and its texts only.
        CQuorim_CHDoc radio;
        Show(radio);
        radio.Editor().SetTextMatrix(2, kColRxFreq, "435.12500");
        EncodeImage(radio.Editor(), radio.Data());
        doc.TakeRead(radio.Data());
        QCOMPARE(doc.Editor().Rows(), kRows16);
        QCOMPARE(doc.Editor().TextMatrix(2, kColRxFreq), std::string("435.12500"));
        QCOMPARE(doc.Editor().TextMatrix(3, kColRxFreq), std::string());
        QCOMPARE(doc.Editor().CurSel(SettingsList::Model), 0);
    }

    void undoAndRedoRestoreTheOneState() {
        CQuorim_CHDoc doc;
        Show(doc, false);
        QCOMPARE(doc.Editor().Rows(), kRows199);
        QVERIFY(!doc.IsModified());
        doc.RecordChange();  // nothing changed: no step
        QCOMPARE(doc.UndoStack()->count(), 0);

        const int band = doc.Editor().CurSel(SettingsList::Band);
        doc.Editor().SetTextMatrix(150, kColRxFreq, "440.00000");
        doc.Editor().SetCurSel(SettingsList::Band, band == 2 ? 3 : 2);
        doc.RecordChange(QStringLiteral("edit"));
        QCOMPARE(doc.UndoStack()->count(), 1);
        QVERIFY(doc.IsModified());
        // A save encodes the editor and marks the present step clean.
        EncodeImage(doc.Editor(), doc.Data());
        doc.SetModifiedFlag(false);

        QSignalSpy changing(&doc, &CQuorim_CHDoc::StateChanging);
        QSignalSpy changed(&doc, &CQuorim_CHDoc::StateChanged);
        doc.UndoStack()->undo();
        QCOMPARE(doc.Editor().TextMatrix(150, kColRxFreq), std::string());
        QCOMPARE(doc.Editor().CurSel(SettingsList::Band), band);
        QVERIFY(doc.IsModified());
        QCOMPARE(changing.count(), 1);
        QCOMPARE(changed.count(), 1);
        doc.UndoStack()->redo();
        QCOMPARE(doc.Editor().TextMatrix(150, kColRxFreq), std::string("440.00000"));
        QVERIFY(!doc.IsModified());
    }

    // The document's busy state is the one record of a run: the window whose
    // start button was pressed holds it, the document's other windows do not
    // (they may close), no other start begins, and the state is given back
    // when the transfer goes.
    void oneRunHoldsTheDocumentsBusyState() {
        CQuorim_CHDoc doc;
        Show(doc);
        QWidget window;
        auto* first = new CRadioTransfer(&window, &window, doc.Editor(), doc.Busy());
        auto* second = new CRadioTransfer(&window, &window, doc.Editor(), doc.Busy());
        QSignalSpy started(second, &CRadioTransfer::Started);
        first->Open(TransferDirection::Read);
        first->ProgressDlg()->OnOK();
        QVERIFY(doc.IsBusy() && CRadioTransfer::AnyRunning());
        QVERIFY(first->IsRunning() && !second->IsRunning());
        second->Open(TransferDirection::Read);
        second->ProgressDlg()->OnOK();
        QCOMPARE(started.count(), 0);
        delete first;
        QVERIFY(!doc.IsBusy() && !CRadioTransfer::AnyRunning());
        delete second;
    }

    // The selection the channel commands act on, over a grid of the
    // document's table and no window.
    void selectionNamesCellsAndWholeChannels() {
        CQuorim_CHDoc doc;
        Show(doc);
        CViewDocument shown(&doc);
        CMSFlexGrid1 grid(nullptr, doc.Table());
        CChannelSelection selection(&grid, shown, &grid);
        grid.SetRow(4);
        grid.SetCol(kColTxFreq);
        QCOMPARE(selection.SelectedCells().size(), std::size_t{1});
        QCOMPARE(selection.SelectedChannels(), (std::vector<int>{4}));
        QVERIFY(!selection.WholeChannelsSelected());
        selection.SelectChannels({6, 7, 8});
        QCOMPARE(selection.SelectedChannels(), (std::vector<int>{6, 7, 8}));
        QVERIFY(selection.WholeChannelsSelected());
        QCOMPARE(grid.GetRow(), 6L);
    }
};

QObject* MakeDocumentTest() {
    return new DocumentTest;
}

#include "document_test.moc"
