// The form view: settings lists, model choice, edit-channel command, hints.
#include <QComboBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QTest>
#include <memory>

#include "app/ui/main_frame.h"
#include "app/ui/quorim_app.h"
#include "editor/settings_lists.h"
#include "editor/ui/flex_grid.h"
#include "editor/ui/form_view.h"
#include "editor/ui/quorim_doc.h"
#include "gui_test_support.h"
#include "ui/commands.h"

using namespace quorim;
using quorim::test::MessageBoxAnswer;

namespace {

QString S(const char* utf8) {
    return QString::fromUtf8(utf8);
}

const int kFunctionControls[] = {1055, 1004, 1005, 1003, 1054, 1006, 1008,
                                 1073, 1012, 1018, 1016, 1014, 1013};

}  // namespace

class ViewTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<CQuorim_CHApp> m_app;
    CQuorim_CHView* m_view = nullptr;

    CMainFrame* Frame() const { return m_app->MainFrame(); }
    bool FunctionGroupVisible() const {
        int shown = 0;
        for (int id : kFunctionControls) {
            shown += m_view->ControlById(id)->isHidden() ? 0 : 1;
        }
        return shown == 13  ? true
               : shown == 0 ? false
                            : (QTest::qFail("group half shown", __FILE__, __LINE__), false);
    }
    void PickModel(int index) {
        QComboBox* model = m_view->Combo(SettingsList::Model);
        model->setFocus();
        QTest::keyClick(model, index == 1 ? Qt::Key_Down : Qt::Key_Up);
        QCOMPARE(model->currentIndex(), index);
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

    void formFollowsTheTemplate() {
        // Every settings list with its items and the caption beside it.
        for (const SettingsListInfo& info : AllSettingsLists()) {
            QComboBox* combo = m_view->Combo(info.list);
            QVERIFY(combo->isEditable());
            QCOMPARE(combo->count(), static_cast<int>(info.items.size()));
            QCOMPARE(combo->property("controlId").toInt(), info.controlId);
        }
        QCOMPARE(m_view->Combo(SettingsList::Band)->itemText(7), S("470 -490MHZ"));
        QCOMPARE(qobject_cast<QGroupBox*>(m_view->ControlById(1008))->title(), S("功能设置"));
        QCOMPARE(qobject_cast<QLabel*>(m_view->ControlById(1055))->text(), S("发射功率(POWER)"));
        // Tab order: grid, then 1011, 1017, 1012, 1014, 1016, 1018, 1073, 1013.
        QList<int> order;
        QWidget* w = m_view->Grid();
        for (int i = 0; i < 9; ++i) {
            order << w->property("controlId").toInt();
            w = w->nextInFocusChain();
            while (w && (!(w->focusPolicy() & Qt::TabFocus) || !w->isVisibleTo(m_view) ||
                         w->property("controlId").toInt() <= 0)) {
                w = w->nextInFocusChain();
            }
        }
        QCOMPARE(order, QList<int>({1007, 1011, 1017, 1012, 1014, 1016, 1018, 1073, 1013}));
        // The controls sit where the template puts them, in the form font's units.
        const QSize form = m_view->FormSize();
        QVERIFY(form.width() > 464 && form.height() > 228);
        const QRect grid = m_view->Grid()->geometry();
        QVERIFY(grid.right() < form.width() && grid.bottom() < form.height());
        QVERIFY(m_view->Combo(SettingsList::Model)->geometry().right() < grid.left());
        // The in-place editors exist, hidden, with their items.
        QVERIFY(m_view->Cells().Created());
        QVERIFY(m_view->Cells().EditCell()->isHidden() && m_view->Cells().ComboTone()->isHidden() &&
                m_view->Cells().ComboYesNo()->isHidden());
        QCOMPARE(m_view->Cells().ComboTone()->count(), 261);
        QCOMPARE(m_view->Cells().ComboTone()->itemText(144), S("D645N"));
        QCOMPARE(m_view->Cells().ComboYesNo()->itemText(0), S("是"));
        QCOMPARE(m_view->Cells().ComboYesNo()->itemText(1), S("否"));
        QVERIFY(m_view->Combo(SettingsList::Model)->hasFocus());
    }

    void templateFacesMapToInstalledOnes() {
        QUORIM_LINUX_ONLY("the CJK faces are the Linux machine's fonts");
        // "宋体" 9 pt renders with a CJK serif face, the grid's "Times New
        // Roman" with a face that has it or stands in for it.
        const QFont form = m_view->Combo(SettingsList::Model)->font();
        QCOMPARE(form.family(), S("宋体"));
        QCOMPARE(form.pointSize(), 9);
        const QString used = QFontInfo(form).family();
        QVERIFY2(used.contains(S("CJK")) || used.contains(S("Ming")), qPrintable(used));
        const QString cell = QFontInfo(m_view->Grid()->font()).family();
        QVERIFY2(cell == S("Times New Roman") || cell == S("Liberation Serif") || cell == S("DejaVu Serif"),
                 qPrintable(cell));
        QVERIFY(QFontMetrics(form).inFont(QChar(0x9891)));  // 频
    }

    void choosingTheModelChangesRowsGroupAndModelCode() {
        DocumentData& data = m_view->GetDocument()->Data();
        PickModel(1);
        QCOMPARE(m_view->Grid()->GetRows(), 200L);
        QCOMPARE(m_view->Grid()->GetTextMatrix(199, 0), S("199"));
        QVERIFY(!FunctionGroupVisible());
        QCOMPARE(data.m_image[3], std::uint8_t('8'));
        QVERIFY(!data.m_bSixteenChannel);
        QVERIFY(m_view->GetDocument()->IsModified());
        // Model and band stay visible for both models.
        QVERIFY(!m_view->ControlById(1017)->isHidden() && !m_view->ControlById(1011)->isHidden());

        {
            MessageBoxAnswer dropping(QMessageBox::Ok);  // channels 17-199 go
            PickModel(0);
        }
        QCOMPARE(m_view->Grid()->GetRows(), 17L);
        QVERIFY(FunctionGroupVisible());
        QCOMPARE(data.m_image[3], std::uint8_t('7'));
        QVERIFY(data.m_bSixteenChannel);
        // Edits not yet saved stay through a change of model.
        m_view->Grid()->SetTextMatrix(2, 1, S("146.00000"));
        PickModel(1);
        QCOMPARE(m_view->Grid()->GetTextMatrix(2, 1), S("146.00000"));
    }

    void typingIntoAListRestoresItsItem() {
        QComboBox* squelch = m_view->Combo(SettingsList::Squelch);
        squelch->lineEdit()->setFocus();
        squelch->lineEdit()->selectAll();
        QTest::keyClicks(squelch->lineEdit(), S("7"));
        QCOMPARE(squelch->lineEdit()->text(), S("4"));
        QCOMPARE(squelch->currentIndex(), 4);
        QVERIFY(!m_view->GetDocument()->IsModified());

        QComboBox* tot = m_view->Combo(SettingsList::Tot);
        QTest::keyClicks(tot->lineEdit(), S("x"));
        QCOMPARE(tot->lineEdit()->text(), S("60s"));

        // Typing into the model list while "QZ - 199" is chosen keeps
        // "QZ - 199" and the 200 rows: no model change runs.
        PickModel(1);
        QComboBox* model = m_view->Combo(SettingsList::Model);
        QTest::keyClicks(model->lineEdit(), S("a"));
        QCOMPARE(model->lineEdit()->text(), S("QZ - 199"));
        QCOMPARE(m_view->Grid()->GetRows(), 200L);

        // The bandwidth list gives way to its own selection.
        QComboBox* bandwidth = m_view->Combo(SettingsList::Bandwidth);
        bandwidth->lineEdit()->clear();
        QTest::keyClicks(bandwidth->lineEdit(), S("q"));
        QCOMPARE(bandwidth->lineEdit()->text(), bandwidth->itemText(bandwidth->currentIndex()));
    }

    void editChannelShowsItsMessageAndMovesToTheFirstCell() {
        CMSFlexGrid1* grid = m_view->Grid();
        grid->SetRow(5);
        grid->SetCol(3);
        QStringList events;
        connect(grid, &CMSFlexGrid1::LeaveCell, this,
                [&] { events << QStringLiteral("leave %1,%2").arg(grid->GetRow()).arg(grid->GetCol()); });
        connect(grid, &CMSFlexGrid1::EnterCell, this,
                [&] { events << QStringLiteral("enter %1,%2").arg(grid->GetRow()).arg(grid->GetCol()); });
        MessageBoxAnswer answer(QMessageBox::Ok);
        QTest::keyClick(m_view->Combo(SettingsList::Model), Qt::Key_G, Qt::ControlModifier);
        QCOMPARE(answer.Count(), 1);
        QCOMPARE(answer.Text(), S("请直接在右边的表格双击"));
        QCOMPARE(grid->GetRow(), 1L);
        QCOMPARE(grid->GetCol(), 1L);
        // Col first, then Row, each a move of its own.
        QCOMPARE(events, QStringList({S("leave 5,3"), S("enter 5,1"), S("leave 5,1"), S("enter 1,1")}));
        QTRY_COMPARE(Frame()->focusWidget(), static_cast<QWidget*>(grid));
    }

    void hintsFollowThePointer() {
        QString hint;
        connect(m_view, &CQuorim_CHView::MessageText, this, [&](const QString& t) { hint = t; });
        Frame()->activateWindow();
        QTest::mouseMove(m_view->Grid()->viewport(), QPoint(30, 30));
        QTRY_COMPARE(hint, S("请双击格子进入编辑状态或直接输入数字，如需帮助，请按F1键"));
        QCOMPARE(Frame()->MessageText(), hint);
        QComboBox* tot = m_view->Combo(SettingsList::Tot);
        QTest::mouseMove(tot, QPoint(tot->width() - 4, tot->height() / 2));
        QTRY_COMPARE(hint, S("请点击组合框右边的箭头按钮以进行选择，如需帮助，请按F1键"));
        QLabel* label = qobject_cast<QLabel*>(m_view->ControlById(1004));
        QTest::mouseMove(label, QPoint(3, 3));
        QTRY_COMPARE(hint, S("如需帮助，请按F1键"));
        // The edit field inside a list is not the list itself.
        m_view->OnSetCursor(tot->lineEdit());
        QCOMPARE(hint, S("如需帮助，请按F1键"));
    }

    void initialUpdateResetsEditorsAndLayout() {
        CMSFlexGrid1* grid = m_view->Grid();
        const long w = CMSFlexGrid1::kDefaultColWidthTwips * grid->PixelsPerInchX() / 1440 * 1440 /
                       grid->PixelsPerInchX();
        QCOMPARE(grid->GetColWidth(1), grid->GetColWidth(2));
        QVERIFY(qAbs(grid->GetColWidth(2) - static_cast<long>(1.25 * w)) <= 15);
        QVERIFY(qAbs(grid->GetColWidth(0) - static_cast<long>(0.5 * w)) <= 15);
        QVERIFY(qAbs(grid->GetColWidth(5) - static_cast<long>(0.95 * w)) <= 15);
        QCOMPARE(grid->GetColWidth(3), grid->GetColWidth(4));
        const long reduced = grid->GetRowHeight(16);
        QCOMPARE(grid->GetRowHeight(0), reduced);
        PickModel(1);
        // Rows added for the 199-channel model keep the control's default height.
        QVERIFY(grid->GetRowHeight(17) > reduced);
        QCOMPARE(grid->GetRowHeight(199), grid->GetRowHeight(17));

        m_view->Cells().EditCell()->setText(S("1"));
        m_view->Cells().EditCell()->show();
        m_view->OnInitialUpdate();
        QVERIFY(m_view->Cells().EditCell()->isHidden());
        QCOMPARE(m_view->Cells().EditCell()->text(), QString());
    }
};

QObject* MakeViewTest() {
    return new ViewTest;
}

#include "view_test.moc"
