// Ordinary actions never lose or change a user's channels: refused entries,
// Escape, the wheel and typing over the lists, a second window, the first
// recent-file entry, the tuning window's lists. Each hazard is driven through
// the real widgets, and what matters is checked in the saved file.
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <QWheelEvent>
#include <memory>

#include "app/ui/main_frame.h"
#include "app/ui/quorim_app.h"
#include "editor/cell_rules.h"
#include "editor/codec.h"
#include "editor/document_file.h"
#include "editor/editor_model.h"
#include "editor/ui/flex_grid.h"
#include "editor/ui/form_view.h"
#include "editor/ui/quorim_doc.h"
#include "gui_test_support.h"
#include "tuning/ui/tuning_dlg.h"
#include "ui/ui_text.h"

using namespace quorim;
using quorim::test::MessageBoxAnswer;

namespace {

QString S(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// One notch of the wheel over `w`, as the pointer gives it.
void Wheel(QWidget* w, int delta) {
    const QPointF at(4, 4);
    QWheelEvent e(at, w->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &e);
}

}  // namespace

class SafeEditTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<CQuorim_CHApp> m_app;
    CQuorim_CHView* m_view = nullptr;
    QTemporaryDir m_dir;

    CMainFrame* Frame() const { return m_app->MainFrame(); }
    QWidget* Focus() const { return Frame()->focusWidget(); }
    void Type(const char* text) {
        for (const char* c = text; *c; ++c) {
            QTest::keyClick(Focus(), *c);
        }
    }
    void Key(Qt::Key key) { QTest::keyClick(Focus(), key); }
    void FocusCell(CQuorim_CHView* view, int row, int col) {
        view->Grid()->SetRow(row);
        view->Grid()->SetCol(col);
        view->Grid()->setFocus();
    }
    void SetRow(int row, const QStringList& t) {
        for (int col = 1; col <= 5; ++col) {
            m_view->Editor().SetTextMatrix(row, col, Utf8(t.value(col - 1)));
        }
    }
    QStringList Row(const EditorSurface& e, int row) const {
        QStringList t;
        for (int col = 1; col <= 5; ++col) {
            t << QString::fromStdString(e.TextMatrix(row, col));
        }
        return t;
    }
    // The document as Save writes it, opened again.
    EditorModel Saved(CQuorim_CHDoc* doc, MemoryImage* image = nullptr) {
        const QString path = m_dir.filePath(QStringLiteral("saved.szt"));
        if (!m_app->DoSave(doc, path)) {
            qWarning("save failed");
        }
        EditorModel editor;
        DocumentData data;
        if (!OpenDocument(Utf8(path), data, editor).Ok()) {
            qWarning("saved file does not open");
        }
        if (image) {
            *image = data.m_image;
        }
        return editor;
    }
    void ChooseModel(CQuorim_CHView* view, int index) {
        view->Combo(SettingsList::Model)->setCurrentIndex(index);
    }

private slots:
    void init() {
        m_app = std::make_unique<CQuorim_CHApp>();
        QVERIFY(m_app->InitInstance({}));
        QVERIFY(QTest::qWaitForWindowExposed(Frame()));
        m_view = Frame()->ActiveView();
        QVERIFY(m_view);
    }
    void cleanup() {
        m_view = nullptr;
        m_app.reset();
    }

    void refusedEntryKeepsTheOldTextAndReopensTheEditor() {
        const QStringList row1{S("435.12500"), S("435.12500"), S("88.5"), S("OFF"), S("否")};
        SetRow(1, row1);
        QLineEdit* edit = m_view->Cells().EditCell();
        QComboBox* tone = m_view->Cells().ComboTone();
        struct Case {
            int col;
            const char* typed;
            bool byMouse;  // leave the cell by a click instead of Enter
            std::string_view message;
        };
        const Case cases[] = {
            {kColTxFreq, "43x.5", false, kMsgFrequencyRange},
            {kColRxFreq, "145.0062", true, kMsgFrequencyStep},
            {kColRxTone, "D9N", false, kMsgFrequencyRange},
            {kColTxTone, "12.3", true, kMsgFrequencyRange},
            {kColRxFreq, "145,0125", false, kMsgFrequencyRange},  // a comma is no decimal point
            {kColRxTone, "88,5", false, kMsgFrequencyRange},
        };
        for (const Case& c : cases) {
            FocusCell(m_view, 1, c.col);
            {
                MessageBoxAnswer answer(QMessageBox::Ok);
                Type(c.typed);
                if (c.byMouse) {
                    const QRect cell(m_view->Grid()->columnViewportPosition(0),
                                     m_view->Grid()->rowViewportPosition(4), 10, 10);
                    QTest::mouseClick(m_view->Grid()->viewport(), Qt::LeftButton, {}, cell.center());
                } else {
                    Key(Qt::Key_Return);
                }
                QTRY_COMPARE(answer.Count(), 1);
                QCOMPARE(answer.Text(), Q(c.message));
            }
            QCOMPARE(Row(m_view->Editor(), 1), row1);
            QWidget* editor = c.col <= kColTxFreq ? static_cast<QWidget*>(edit) : tone;
            QLineEdit* field = c.col <= kColTxFreq ? edit : tone->lineEdit();
            QTRY_COMPARE(std::pair(m_view->Grid()->GetRow(), m_view->Grid()->GetCol()),
                         std::pair(1L, long(c.col)));
            QVERIFY(editor->isVisible());
            QCOMPARE(field->text(), S(c.typed));
            QCOMPARE(field->selectedText(), S(c.typed));
            Key(Qt::Key_Escape);
            QVERIFY(editor->isHidden());
        }
        // "OFF" itself is taken.
        FocusCell(m_view, 1, kColRxTone);
        Type("OFF");
        Key(Qt::Key_Return);
        QCOMPARE(m_view->Editor().TextMatrix(1, kColRxTone), std::string("OFF"));
        QCOMPARE(
            Row(Saved(m_view->GetDocument()), 1),
            (QStringList{S("435.12500"), S("435.12500"), S(""), S(""), S("否")}));  // "OFF" is stored as none
    }

    void escapeCancelsAndNoEditorTextIsLeftBehind() {
        SetRow(1, {S("145.00000"), S("145.00000"), S("OFF"), S("OFF"), S("否")});
        m_view->GetDocument()->SetModifiedFlag(false);
        FocusCell(m_view, 1, kColRxFreq);
        Type("146");
        QVERIFY(m_view->Cells().EditCell()->isVisible());
        Key(Qt::Key_Escape);
        QVERIFY(m_view->Cells().EditCell()->isHidden());
        QCOMPARE(Focus(), static_cast<QWidget*>(m_view->Grid()));
        QCOMPARE(m_view->Editor().TextMatrix(1, kColRxFreq), std::string("145.00000"));
        QVERIFY(!m_view->GetDocument()->IsModified());
        // Leaving the cell afterwards commits nothing either.
        m_view->Grid()->SetRow(2);
        QCOMPARE(m_view->Editor().TextMatrix(1, kColRxFreq), std::string("145.00000"));

        // The row count changes under a loaded editor: the next edit starts clean.
        ChooseModel(m_view, 1);
        m_view->Editor().SetTextMatrix(150, kColRxFreq, "150.00000");
        FocusCell(m_view, 150, kColRxFreq);
        {
            MessageBoxAnswer answer(QMessageBox::Ok);
            ChooseModel(m_view, 0);
            QCOMPARE(answer.Count(), 1);
        }
        QCOMPARE(m_view->Editor().Rows(), 17);
        FocusCell(m_view, 16, kColRxFreq);
        Type("1");
        QCOMPARE(m_view->Cells().EditCell()->text(), S("1"));
    }

    void listsChangeOnlyByADeliberateChoice() {
        QComboBox* model = m_view->Combo(SettingsList::Model);
        QComboBox* band = m_view->Combo(SettingsList::Band);
        m_view->GetDocument()->SetModifiedFlag(false);
        FocusCell(m_view, 1, 1);
        for (QComboBox* list : {model, band}) {
            const int before = list->currentIndex();
            Wheel(list->lineEdit(), -120);
            Wheel(list, -120);
            QCOMPARE(list->currentIndex(), before);
        }
        QCOMPARE(m_view->Editor().Rows(), 17);
        QVERIFY(!m_view->GetDocument()->IsModified());

        // Typing into the model list keeps the document's model.
        ChooseModel(m_view, 1);
        model->setFocus();
        Type("x");
        QCOMPARE(model->currentIndex(), 1);
        QCOMPARE(model->currentText(), S("QZ - 199"));
        QCOMPARE(m_view->Editor().Rows(), 200);
        // Typing into the bandwidth list gives way to its selection.
        QComboBox* width = m_view->Combo(SettingsList::Bandwidth);
        width->setCurrentIndex(0);
        width->setFocus();
        Type("z");
        QCOMPARE(width->currentIndex(), 0);
        QCOMPARE(width->currentText(), width->itemText(0));

        // Dropping channels 17-199 asks first; Cancel keeps everything.
        m_view->Editor().SetTextMatrix(20, kColRxFreq, "440.00000");
        m_view->Editor().SetTextMatrix(199, kColTxFreq, "441.00000");
        const int dropped = ChannelsDroppedBySixteen(m_view->Editor());
        QVERIFY(dropped >= 2);
        {
            MessageBoxAnswer answer(QMessageBox::Cancel);
            ChooseModel(m_view, 0);
            QCOMPARE(answer.Count(), 1);
            QCOMPARE(answer.Text(), Q(kAskDropChannels).arg(dropped));
        }
        QCOMPARE(model->currentIndex(), 1);
        QCOMPARE(m_view->Editor().Rows(), 200);
        MemoryImage image{};
        const EditorModel saved = Saved(m_view->GetDocument(), &image);
        QCOMPARE(image[kModelCodeOffset], kModelCode199);
        QCOMPARE(saved.TextMatrix(20, kColRxFreq), std::string("440.00000"));
    }

    // "QZ - 199" on a new document shows no channel nobody typed; "QZ - 16"
    // drops channels 17-199 for good, and only undo brings them back.
    void modelChangesKeepOnlyTheChannelsTheUserKeeps() {
        ChooseModel(m_view, 1);
        for (const int ch : {20, 150}) {
            FocusCell(m_view, ch, kColRxFreq);
            Type("440");
            Key(Qt::Key_Return);
            Key(Qt::Key_Escape);
        }
        MemoryImage before{};
        const EditorModel typed = Saved(m_view->GetDocument(), &before);
        for (int ch = 1; ch <= 199; ++ch) {
            QCOMPARE(Row(typed, ch).join(QString()).isEmpty(), ch != 20 && ch != 150);
        }
        {
            MessageBoxAnswer answer(QMessageBox::Ok);
            ChooseModel(m_view, 0);
            QCOMPARE(answer.Text(), Q(kAskDropChannels).arg(2));
        }
        ChooseModel(m_view, 1);
        MemoryImage dropped{};
        const EditorModel empty = Saved(m_view->GetDocument(), &dropped);
        for (const int ch : {20, 60, 61, 150}) {
            QCOMPARE(Row(empty, ch), QStringList(5, QString()));
        }
        m_view->Grid()->setFocus();
        QTest::keyClick(m_view->Grid(), Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(m_view->Grid(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(m_view->Editor().Rows(), 200);
        QCOMPARE(m_view->Editor().TextMatrix(150, kColRxFreq), std::string("440.00000"));
        MemoryImage undone{};
        Saved(m_view->GetDocument(), &undone);
        QCOMPARE(undone, before);
    }

    void everyWindowOfADocumentShowsOneState() {
        CQuorim_CHDoc* doc = m_view->GetDocument();
        m_view->Editor().SetTextMatrix(3, kColRxFreq, "430.00000");  // not yet saved
        m_app->OnWindowNew(doc);
        CQuorim_CHView* second = Frame()->ActiveView();
        QVERIFY(second && second != m_view);
        QCOMPARE(second->Editor().TextMatrix(3, kColRxFreq), std::string("430.00000"));

        // An edit in the second window reaches the first, and the file.
        FocusCell(second, 2, kColRxFreq);
        Type("146");
        Key(Qt::Key_Return);
        Key(Qt::Key_Escape);
        QCOMPARE(m_view->Editor().TextMatrix(2, kColRxFreq), std::string("146.00000"));
        QCOMPARE(m_view->Editor().TextMatrix(2, kColInhibit), std::string("否"));
        // A model or list change too.
        ChooseModel(second, 1);
        QCOMPARE(m_view->Editor().Rows(), 200);
        QCOMPARE(m_view->Editor().CurSel(SettingsList::Model), 1);
        second->Combo(SettingsList::Band)->setCurrentIndex(5);
        QCOMPARE(m_view->Editor().CurSel(SettingsList::Band), 5);

        const EditorModel saved = Saved(doc);
        QCOMPARE(saved.Rows(), 200);
        QCOMPARE(saved.TextMatrix(2, kColRxFreq), std::string("146.00000"));
        QCOMPARE(saved.TextMatrix(3, kColRxFreq), std::string("430.00000"));
        QCOMPARE(saved.CurSel(SettingsList::Band), 5);
    }

    void firstRecentFileRefillsNoWindowItDidNotOpen() {
        CQuorim_CHDoc* doc = m_view->GetDocument();
        const QString gone = m_dir.filePath(QStringLiteral("gone.szt"));
        const QString open = m_dir.filePath(QStringLiteral("open.szt"));
        QVERIFY(m_app->DoSave(doc, gone));
        QVERIFY(m_app->DoSave(doc, open));
        m_view->Editor().SetTextMatrix(1, kColRxFreq, "150.00000");
        // The file is open already: its window keeps the edit.
        m_app->OnFileMruFile1();
        QCOMPARE(m_view->Editor().TextMatrix(1, kColRxFreq), std::string("150.00000"));
        // The file cannot be opened: the active window keeps the edit.
        const QString canonical = QFileInfo(gone).canonicalFilePath();
        m_app->AddToRecentFileList(canonical);
        QVERIFY(QFile::remove(gone));
        {
            MessageBoxAnswer answer(QMessageBox::Ok);
            m_app->OnFileMruFile1();
            QTRY_COMPARE(answer.Count(), 1);
            QVERIFY2(answer.Text().startsWith(S("无法打开文件“") + canonical), qPrintable(answer.Text()));
        }
        QCOMPARE(Frame()->ActiveView(), m_view);
        QCOMPARE(m_view->Editor().TextMatrix(1, kColRxFreq), std::string("150.00000"));
    }

    void tuningListsHoldEveryToneAndStoreTheChoiceAtOnce() {
        CTuningDlg dlg(400 * 100000, "COM1");
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QTreeWidget* tree = dlg.Tree();
        QTreeWidgetItem* high = dlg.TreeItem(5568);
        tree->setCurrentItem(high);
        QComboBox* rx = dlg.ToneBox(TuningSide::Rx);
        QComboBox* tx = dlg.ToneBox(TuningSide::Tx);
        QCOMPARE(rx->count(), 51);
        QCOMPARE(rx->itemText(50), S("254.1"));
        QTest::mouseClick(qobject_cast<QRadioButton*>(dlg.Control(1037)), Qt::LeftButton);
        QCOMPARE(tx->count(), 210);
        QCOMPARE(tx->itemText(0), S("D023N"));
        QCOMPARE(tx->itemText(209), S("D754I"));

        // A keyboard choice is stored before the list is ever closed.
        rx->setFocus();
        QTest::keyClick(rx, Qt::Key_Down);
        QCOMPARE(rx->currentText(), S("67.0"));
        QCOMPARE(dlg.Model().Current().rxTone, 1);
        // The wheel over a box without the focus changes nothing.
        Wheel(tx->lineEdit(), -120);
        Wheel(tx, -120);
        QCOMPARE(tx->currentIndex(), 0);
        QCOMPARE(dlg.Model().Current().txTone, 0);
    }
};

QObject* MakeSafeEditTest() {
    return new SafeEditTest;
}

#include "safe_edit_test.moc"
