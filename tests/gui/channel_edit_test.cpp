// The channel table as an editor: selection, the clipboard, channel
// operations, undo and redo, by keys and clicks into the real grid.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QInputDialog>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUndoStack>
#include <fstream>
#include <iterator>
#include <memory>

#include "app/ui/main_frame.h"
#include "app/ui/quorim_app.h"
#include "editor/codec.h"
#include "editor/editor_model.h"
#include "editor/ui/flex_grid.h"
#include "editor/ui/form_view.h"
#include "editor/ui/plan_dialog.h"
#include "editor/ui/quorim_doc.h"
#include "files/szt_file.h"
#include "gui_test_support.h"
#include "ui/commands.h"

using namespace quorim;
using quorim::test::MessageBoxAnswer;

namespace {

QString S(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// Channels 1 to `used` on 141, 142, … MHz, with bytes 13-15 = the channel
// number: bytes the grid never shows.
MemoryImage SampleImage(int used) {
    DocumentData doc;
    doc.OnNewDocument();
    for (int n = 1; n <= used; ++n) {
        std::uint8_t* r = doc.m_image.data() + RowOffset(static_cast<std::size_t>(n));
        r[0] = r[1] = r[4] = r[5] = 0x00;
        r[2] = r[6] = static_cast<std::uint8_t>(n << 4);
        r[3] = r[7] = 0x14;
        r[kRecFlags] = 0xF1;
        r[13] = r[14] = r[15] = static_cast<std::uint8_t>(n);
    }
    return doc.m_image;
}

MemoryImage FileBytes(const QString& path) {
    MemoryImage image{};
    std::ifstream in(path.toStdString(), std::ios::binary);
    in.read(reinterpret_cast<char*>(image.data()), static_cast<std::streamsize>(image.size()));
    return image;
}

}  // namespace

class ChannelEditTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<CQuorim_CHApp> m_app;
    QTemporaryDir m_dir;

    CMainFrame* Frame() const { return m_app->MainFrame(); }
    CQuorim_CHView* Open(const char* name, int used) {
        const std::string path = test::WriteImageFile(m_dir.path().toStdString(), name, SampleImage(used));
        CQuorim_CHDoc* doc = m_app->OpenDocumentFile(QString::fromStdString(path));
        if (!doc) {
            return nullptr;
        }
        // Saved once, so the file holds what the editor encodes.
        m_app->DoSave(doc, doc->PathName());
        return doc->Views().isEmpty() ? nullptr : doc->Views().first();
    }
    // A click on a channel's number, with Shift or Ctrl held or not.
    static void ClickChannel(CQuorim_CHView* view, int channel, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QHeaderView* header = view->Grid()->verticalHeader();
        view->Grid()->scrollTo(view->Grid()->model()->index(channel - 1, 0));
        const QPoint at(header->width() / 2,
                        header->sectionViewportPosition(channel - 1) + header->sectionSize(channel - 1) / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, mods, at);
    }
    static void Key(CQuorim_CHView* view, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus && view->isAncestorOf(focus) ? focus : view->Grid(), key, mods);
    }
    // Cells `top` to `bottom` of one column selected, as a drag selects them.
    static void SelectColumn(CQuorim_CHView* view, int top, int bottom, int col) {
        view->Grid()->SetRow(top);
        view->Grid()->SetCol(col);
        QAbstractItemModel* m = view->Grid()->model();
        view->Grid()->selectionModel()->select(
            QItemSelection(m->index(top - 1, col - 1), m->index(bottom - 1, col - 1)),
            QItemSelectionModel::Select);
    }
    static QStringList Row(CQuorim_CHView* view, int row) {
        QStringList t;
        for (int col = 1; col <= 5; ++col) {
            t << view->Grid()->GetTextMatrix(row, col);
        }
        return t;
    }
    // What a save of the view would store.
    static MemoryImage Encoded(CQuorim_CHView* view) {
        DocumentData data = view->GetDocument()->Data();
        EncodeImage(view->Editor(), data);
        return data.m_image;
    }

private slots:
    void init() {
        m_app = std::make_unique<CQuorim_CHApp>();
        QVERIFY(m_app->InitInstance({}));
        QVERIFY(QTest::qWaitForWindowExposed(Frame()));
    }
    void cleanup() { m_app.reset(); }

    // Set, fill down and fill series from the context menu's commands: each
    // one undo step; a refusal is listed and changes nothing.
    void fillsManyCellsAsOneUndoStepEach() {
        CQuorim_CHView* v = Open("fill.szt", 3);
        QVERIFY(v);
        v->Grid()->setFocus();
        SelectColumn(v, 1, 4, 1);
        std::unique_ptr<QMenu> menu(v->Commands().CreateGridMenu(v));
        QStringList texts;
        for (QAction* a : menu->actions()) texts << a->text();
        for (const char* t : {"设置…", "向下填充", "递增填充", "检查信道"}) QVERIFY2(texts.contains(S(t)), t);
        QUndoStack* undo = v->GetDocument()->UndoStack();
        const int steps = undo->count();
        const QStringList before = Row(v, 4);

        v->Bulk().OnFillSeries(S("145.5"), S("6.25"));
        QCOMPARE(v->Grid()->GetTextMatrix(4, 1), S("145.51875"));
        QCOMPARE(v->Grid()->GetTextMatrix(4, 5), S("否"));
        SelectColumn(v, 1, 4, 3);
        v->Bulk().OnSetCells(S("D023N"));
        QCOMPARE(v->Grid()->GetTextMatrix(2, 3), S("D023N"));
        SelectColumn(v, 1, 4, 1);
        v->Bulk().OnFillDown();
        QCOMPARE(v->Grid()->GetTextMatrix(4, 1), S("145.50000"));
        QCOMPARE(undo->count(), steps + 3);
        undo->undo();
        QCOMPARE(v->Grid()->GetTextMatrix(4, 1), S("145.51875"));
        undo->undo();
        QCOMPARE(v->Grid()->GetTextMatrix(2, 3), S(""));
        undo->undo();
        QCOMPARE(Row(v, 4), before);

        // A tone that is none: refused on every channel, listed, nothing changed.
        SelectColumn(v, 1, 5, 3);
        MessageBoxAnswer answer(QMessageBox::Ok);
        v->Bulk().OnSetCells(S("88.5x"));
        QCOMPARE(answer.Count(), 1);
        QVERIFY2(answer.Text().contains(S("信道 3")), qPrintable(answer.Text()));
        QCOMPARE(v->Grid()->GetTextMatrix(1, 3), S(""));
        QCOMPARE(undo->count(), steps + 3);
    }

    // The document's "编辑" popup runs its commands on the grid's selection:
    // "设置…" over both signalling columns leaves the empty channels alone,
    // a receive series keeps equal transmit frequencies equal and a split as
    // it was; each says what it left.
    void editMenuRunsItsCommandsOnTheSelection() {
        CQuorim_CHView* v = Open("menu.szt", 3);
        QVERIFY(v);
        QMenu* edit = Frame()->Menus(true).at(1);
        QCOMPARE(edit->title(), S("编辑"));
        auto run = [&](int id, const QStringList& answers) {
            QStringList left = answers;
            QTimer timer;
            connect(&timer, &QTimer::timeout, [&] {
                if (auto* input = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
                    input && !left.isEmpty()) {
                    input->setTextValue(left.takeFirst());
                    input->accept();
                }
            });
            timer.start(5);
            emit edit->aboutToShow();
            QAction* action = Frame()->Action(id);
            QVERIFY(action->isEnabled());
            action->trigger();
        };
        QAbstractItemModel* m = v->Grid()->model();
        v->Grid()->SetRow(1);
        v->Grid()->SetCol(3);
        v->Grid()->selectionModel()->select(QItemSelection(m->index(0, 2), m->index(4, 3)),
                                            QItemSelectionModel::Select);
        {
            MessageBoxAnswer answer(QMessageBox::Ok);
            run(ID_EDIT_SET_CELLS, {S("D023N")});
            QCOMPARE(answer.Text(), S("跳过了 2 个没有频率的信道"));
            QCOMPARE(answer.Icon(), QMessageBox::Information);
        }
        QCOMPARE(Row(v, 3), (QStringList{S("143.00000"), S("143.00000"), S("D023N"), S("D023N"), S("否")}));
        QCOMPARE(Row(v, 4), QStringList(5, QString()));

        SelectColumn(v, 2, 2, 2);
        v->Bulk().OnSetCells(S("146"));
        v->Grid()->clearSelection();
        SelectColumn(v, 1, 4, 1);
        {
            MessageBoxAnswer answer(QMessageBox::Ok);
            run(ID_EDIT_FILL_SERIES, {S("440"), S("25")});
            QCOMPARE(answer.Text(), S("1 个信道的发射频率与接收频率不同，保留了原来的发射频率"));
        }
        QCOMPARE(Row(v, 1).mid(0, 2), (QStringList{S("440.00000"), S("440.00000")}));
        QCOMPARE(Row(v, 2).mid(0, 2), (QStringList{S("440.02500"), S("146.00000")}));
        QCOMPARE(Row(v, 4).mid(0, 2), (QStringList{S("440.07500"), S("440.07500")}));
        // Undo from the menu takes the series back as one step.
        run(ID_EDIT_UNDO, {});
        QCOMPARE(Row(v, 1).mid(0, 2), (QStringList{S("141.00000"), S("141.00000")}));
    }

    // The findings are listed; a double-click on one goes to its cell. The
    // list follows edits and the band list, and closes by its button.
    void checkListsFindingsAndGoesToTheirCells() {
        CQuorim_CHView* v = Open("check.szt", 3);
        QVERIFY(v);
        {
            MessageBoxAnswer answer(QMessageBox::Ok);
            v->Checks().OnCheckChannels();
            QCOMPARE(answer.Text(), S("没有发现问题"));
            QCOMPARE(answer.Icon(), QMessageBox::Information);
        }
        SelectColumn(v, 3, 3, 2);
        v->Bulk().OnSetCells(S("433.5"));
        v->Grid()->SetRow(1);
        v->Grid()->SetCol(4);
        v->Checks().OnCheckChannels();
        auto* list = v->findChild<QListWidget*>();
        QVERIFY(list);
        QCOMPARE(list->count(), 1);
        QCOMPARE(list->item(0)->text(), S("信道 3，发射频率：433.50000 不在所选频段 130 - 150MHZ 内"));
        emit list->itemDoubleClicked(list->item(0));
        QCOMPARE(v->Grid()->GetRow(), 3L);
        QCOMPARE(v->Grid()->GetCol(), 2L);

        SelectColumn(v, 1, 1, 2);
        v->Bulk().OnSetCells(S("433.5"));
        QTRY_COMPARE(list->count(), 2);
        v->Combo(SettingsList::Band)->setCurrentIndex(8);  // 50 - 700MHZ
        QTRY_COMPARE(list->item(0)->text(), S("没有发现问题"));
        QCOMPARE(list->count(), 1);
        QVERIFY(!list->item(0)->icon().isNull());
        auto* close = list->window()->findChild<QPushButton*>();
        QVERIFY(close);
        QCOMPARE(close->text(), S("关闭"));
        close->click();
        QTRY_VERIFY(!v->Checks().CheckList());
    }

    // "套用频道方案…" from the context menu: the dialog's choices as one undo
    // step, what changed beside the channels told; then the check offers the
    // plans and finds the radio matching.
    void appliesAChannelPlanAsOneUndoStep() {
        CQuorim_CHView* v = Open("plan.szt", 3);
        QVERIFY(v);
        std::unique_ptr<QMenu> menu(v->Commands().CreateGridMenu(v));
        QAction* apply = nullptr;
        for (QAction* a : menu->actions()) {
            if (a->data().toInt() == ID_EDIT_APPLY_PLAN) apply = a;
        }
        QVERIFY(apply);
        QCOMPARE(apply->text(), S("套用频道方案…"));
        QUndoStack* undo = v->GetDocument()->UndoStack();
        const int steps = undo->count();
        const QStringList before = Row(v, 1);
        bool chosen = false;
        QTimer fill;
        connect(&fill, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<CPlanDialog*>(QApplication::activeModalWidget());
            if (!dialog || chosen) return;
            chosen = true;
            dialog->PlanList()->setCurrentIndex(1);  // pmr446, cn409, frs
            dialog->ChannelsEdit()->setText(S("1-8"));
            dialog->FromBox()->setValue(3);
            dialog->ToneBox()->setCurrentText(S("D023N"));
            dialog->accept();
        });
        fill.start(5);
        MessageBoxAnswer answer(QMessageBox::Ok);
        apply->trigger();
        QVERIFY(chosen);
        QCOMPARE(answer.Text(),
                 S("已将方案 cn409 的信道 3 至 10 写入信道 1-8\n频段已由 130 - 150MHZ 改为 400 - 420MHZ\n"
                   "频带宽度已由 宽 改为 窄"));
        QCOMPARE(Row(v, 8), (QStringList{S("409.86250"), S("409.86250"), S("D023N"), S("D023N"), S("否")}));
        QCOMPARE(v->Combo(SettingsList::Band)->currentText(), S("400 - 420MHZ"));
        QCOMPARE(undo->count(), steps + 1);

        v->Checks().OnCheckPlan();
        auto* plans = v->findChild<QComboBox*>(QStringLiteral("checkPlan"));
        QVERIFY(plans);
        plans->setCurrentIndex(2);
        auto* list = v->findChild<QListWidget*>();
        QCOMPARE(list->item(0)->text(), S("cn409：与方案的信道和频带宽度相符"));

        undo->undo();
        QCOMPARE(Row(v, 1), before);
        QCOMPARE(v->Combo(SettingsList::Band)->currentText(), S("130 - 150MHZ"));
    }

    void copiesChannelsIntoAnotherDocumentWithUndoAndRedo() {
        CQuorim_CHView* a = Open("a.szt", 3);
        QVERIFY(a);
        a->Grid()->setFocus();
        ClickChannel(a, 1);
        ClickChannel(a, 3, Qt::ShiftModifier);
        QVERIFY(a->Selection().WholeChannelsSelected());
        QCOMPARE(a->Selection().SelectedChannels(), (std::vector<int>{1, 2, 3}));
        Key(a, Qt::Key_Insert, Qt::ControlModifier);
        QVERIFY(QApplication::clipboard()->text().startsWith(S("141.00000\t141.00000\t\t\t否\n")));

        CQuorim_CHView* b = Open("b.szt", 0);
        QVERIFY(b && b != a);
        b->Grid()->setFocus();
        ClickChannel(b, 10);
        Key(b, Qt::Key_V, Qt::ControlModifier);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(Row(b, 10 + i), Row(a, 1 + i));
        }
        QVERIFY(b->GetDocument()->IsModified());
        QVERIFY(!a->GetDocument()->IsModified());
        QCOMPARE(b->Selection().SelectedChannels(), (std::vector<int>{10, 11, 12}));
        const MemoryImage pasted = Encoded(b);
        for (int i = 0; i < 3; ++i) {
            // The bytes the grid does not show came along.
            QCOMPARE(pasted[RowOffset(10 + i) + 13], static_cast<std::uint8_t>(1 + i));
            QCOMPARE(pasted[RowOffset(10 + i) + kRecFlags] & 0xF0, 0xF0);
        }

        Key(b, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(Row(b, 10), QStringList(5, QString()));
        QVERIFY(!b->GetDocument()->IsModified());
        QCOMPARE(Encoded(b), FileBytes(b->GetDocument()->PathName()));
        Key(b, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(Row(b, 12), Row(a, 3));
        QVERIFY(b->GetDocument()->IsModified());
        QCOMPARE(Encoded(b), pasted);
    }

    void pastesASpreadsheetRangeThroughTheCellRules() {
        CQuorim_CHView* view = Open("c.szt", 0);
        QVERIFY(view);
        view->Grid()->setFocus();
        view->Grid()->SetRow(2);
        view->Grid()->SetCol(1);
        view->Cells().BeginCellEdit(0);  // an open editor: a range still pastes into the grid
        QApplication::clipboard()->setText(S("145.0125\t145.5\t88.5\r\n146.025\t146.025\td023n\r\n"));
        Key(view, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(Row(view, 2), (QStringList{S("145.01250"), S("145.50000"), S("88.5"), S("OFF"), S("否")}));
        QCOMPARE(Row(view, 3), (QStringList{S("146.02500"), S("146.02500"), S("D023N"), S("OFF"), S("否")}));

        // One refused cell: it is listed, and nothing of the paste is applied.
        QApplication::clipboard()->setText(S("150\t150\t67\n151\t145.0062\t67\n"));
        view->Grid()->SetRow(5);
        MessageBoxAnswer answer(QMessageBox::Ok);
        Key(view, Qt::Key_Insert, Qt::ShiftModifier);
        QTRY_COMPARE(answer.Count(), 1);
        QVERIFY2(answer.Text().contains(S("信道 6，发射频率（“145.0062”）")), qPrintable(answer.Text()));
        QCOMPARE(Row(view, 5), QStringList(5, QString()));
        QCOMPARE(view->GetDocument()->UndoStack()->count(), 1);
        // Rows from a spreadsheet in a European locale: a decimal comma reads.
        QApplication::clipboard()->setText(S("446,10625\t446,1\t88,5\n"));
        view->Grid()->SetRow(4);
        Key(view, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(Row(view, 4), (QStringList{S("446.10625"), S("446.10000"), S("88.5"), S("OFF"), S("否")}));
    }

    void channelOperationsUndoBackToTheSavedBytes() {
        CQuorim_CHView* view = Open("d.szt", 4);
        QVERIFY(view);
        const MemoryImage saved = FileBytes(view->GetDocument()->PathName());
        QCOMPARE(Encoded(view), saved);
        QVERIFY(!view->GetDocument()->IsModified());
        view->Grid()->setFocus();
        ClickChannel(view, 2);
        Key(view, Qt::Key_Insert);  // an empty channel 2
        QCOMPARE(Row(view, 2), QStringList(5, QString()));
        QCOMPARE(Row(view, 3).first(), S("142.00000"));
        ClickChannel(view, 4);
        Key(view, Qt::Key_Up, Qt::AltModifier);  // channel 3 (was 3) goes up
        QCOMPARE(Row(view, 3).first(), S("143.00000"));
        ClickChannel(view, 1);
        Key(view, Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(Row(view, 1), QStringList(5, QString()));
        QCOMPARE(Row(view, 2).first(), S("143.00000"));
        ClickChannel(view, 3);
        Key(view, Qt::Key_Delete);  // cleared, not removed
        QCOMPARE(Row(view, 3), QStringList(5, QString()));
        QCOMPARE(Row(view, 4).first(), S("144.00000"));
        QVERIFY(view->GetDocument()->IsModified());

        for (int i = 0; i < 4; ++i) {
            Key(view, Qt::Key_Z, Qt::ControlModifier);
        }
        QVERIFY(!view->GetDocument()->IsModified());
        QCOMPARE(Encoded(view), saved);
        Key(view, Qt::Key_Z, Qt::ShiftModifier | Qt::ControlModifier);
        QVERIFY(view->GetDocument()->IsModified());
        QCOMPARE(Row(view, 2), QStringList(5, QString()));
    }

    void contextMenuHoldsEveryCommandWithItsKeys() {
        CQuorim_CHView* view = Frame()->ActiveView();
        QVERIFY(view);
        ClickChannel(view, 16);
        QApplication::clipboard()->setText(S("145"));
        std::unique_ptr<QMenu> menu(view->Commands().CreateGridMenu(nullptr));
        QStringList items;
        for (QAction* action : menu->actions()) {
            items << (action->isSeparator() ? S("-")
                                            : action->text() + S(" ") + action->shortcut().toString() +
                                                  (action->isEnabled() ? S("") : S(" (off)")));
        }
        QCOMPARE(items, (QStringList{S("撤销 Ctrl+Z (off)"),
                                     S("重做 Ctrl+Y (off)"),
                                     S("-"),
                                     S("剪切 Shift+Del"),
                                     S("复制 Ctrl+Ins"),
                                     S("粘贴 Shift+Ins"),
                                     S("清除 Del"),
                                     S("-"),
                                     S("插入空信道 Ins"),
                                     S("删除信道 Ctrl+Del"),
                                     S("信道上移 Alt+Up"),
                                     S("信道下移 Alt+Down (off)"),
                                     S("-"),
                                     S("全选 Ctrl+A"),
                                     S("-"),
                                     S("设置… "),
                                     S("向下填充  (off)"),
                                     S("递增填充 "),
                                     S("套用频道方案… "),
                                     S("-"),
                                     S("检查信道 "),
                                     S("按频道方案检查… ")}));
        QCOMPARE(menu->actions().at(1)->shortcuts().size(), 2);  // Ctrl+Y and Ctrl+Shift+Z
        QCOMPARE(menu->actions().at(5)->shortcuts().size(), 2);  // Shift+Ins and Ctrl+V
    }
};

QObject* MakeChannelEditTest() {
    return new ChannelEditTest;
}

#include "channel_edit_test.moc"
