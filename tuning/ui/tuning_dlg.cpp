#include "tuning/ui/tuning_dlg.h"

#include <QApplication>
#include <QButtonGroup>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QTreeWidget>
#include <QWheelEvent>
#include <algorithm>
#include <utility>

#include "link/clock.h"
#include "link/serial_devices.h"
#include "link/serial_port.h"
#include "ui/dialog_builder.h"
#include "ui/link_worker.h"
#include "ui/message_box.h"
#include "ui/ui_text.h"

namespace quorim {

namespace {

// The session runs on the worker's thread; its messages appear over the
// tuning window, which waits meanwhile only for the user, never for the line.
class TuningLinkHost : public NullLinkHost {
public:
    TuningLinkHost(CLinkWorker& worker, QWidget* parent) : m_worker(worker), m_parent(parent) {}
    MessageAnswer ShowMessage(const std::string& text, MessageButtons buttons) override {
        const QString detail = std::exchange(m_openFailure, QString());
        return m_worker.Ask([parent = m_parent] { return parent; }, Q(text), buttons, detail);
    }
    void OpenFailed(const PortResult& result) override {
        m_openFailure = Raw(PortProblemHint(result, WindowTexts()));
    }
    void ExplainOpenFailure(const PortResult& result) override {
        m_worker.Post([parent = m_parent, result] {
            ShowInStatusBar(parent, Raw(PortProblemHint(result, WindowTexts())));
        });
    }
    bool CancelRequested() const override { return m_worker.Stopping(); }

private:
    CLinkWorker& m_worker;
    QWidget* m_parent;
    QString m_openFailure;  // worker thread only
};

constexpr int kTreeDataRole = Qt::UserRole;

bool IsEnter(const QKeyEvent* e) {
    return e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
}

}  // namespace

void CTuningToneBox::showPopup() {
    QComboBox::showPopup();
    m_dropped = true;
}

void CTuningToneBox::wheelEvent(QWheelEvent* event) {
    const QWidget* focus = QApplication::focusWidget();
    if (focus && (focus == this || isAncestorOf(focus))) {
        QComboBox::wheelEvent(event);
    } else {
        event->ignore();
    }
}

void CTuningToneBox::hidePopup() {
    QComboBox::hidePopup();
    // Hiding the window hides the list too; only a list that was open closes up.
    if (m_dropped) {
        m_dropped = false;
        emit CloseUp();
    }
}

CTuningDlg::CTuningDlg(std::int64_t bandBase, std::string portName, QWidget* parent)
    : QDialog(parent), m_model(bandBase, std::move(portName)), m_worker(new CLinkWorker(this)) {
    CreateControls();
    OnInitDialog();
}

CTuningDlg::~CTuningDlg() {
    delete m_worker;
}

void CTuningDlg::CreateControls() {
    const TuningTemplate& t = TuningDlgTemplate();
    setWindowTitle(Q(t.title));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    auto* kindRx = new QButtonGroup(this);
    auto* kindTx = new QButtonGroup(this);
    auto* stepRx = new QButtonGroup(this);
    auto* stepTx = new QButtonGroup(this);
    auto* points = new QButtonGroup(this);
    auto groupOf = [&](int id) -> QButtonGroup* {
        switch (id) {
            case IDC_RX_ANALOGUE:
            case IDC_RX_DIGITAL:
                return kindRx;
            case IDC_TX_ANALOGUE:
            case IDC_TX_DIGITAL:
                return kindTx;
            case IDC_RX_STEP_500:
            case IDC_RX_STEP_625:
                return stepRx;
            case IDC_TX_STEP_500:
            case IDC_TX_STEP_625:
                return stepTx;
            default:
                return points;
        }
    };

    BuildFromTemplate(this, t, [&](const TuningControl& c, const DlgRect&) {
        QWidget* w = MakeControl(c, groupOf(c.id));
        w->setProperty(kTemplatePageProperty, static_cast<int>(c.page));
        m_controls.insert(c.id, w);
        w->installEventFilter(this);
        if (auto* combo = qobject_cast<QComboBox*>(w)) {
            combo->lineEdit()->installEventFilter(this);
        }
        return w;
    });
    // A frequency box starts after its grown caption, never over it.
    QLabel* previousLabel = nullptr;
    for (const TuningControl& c : t.controls) {
        QWidget* w = Control(c.id);
        if (c.kind == TuningControlKind::Edit && previousLabel &&
            previousLabel->geometry().right() >= w->geometry().left()) {
            w->move(previousLabel->geometry().right() + 2, w->y());
        }
        previousLabel = qobject_cast<QLabel*>(w);
    }
    // The template has the transmit group a pixel or two off the receive
    // group, row by row: each row goes level at the lower of the two, and
    // the groups are as tall as the taller.
    for (const auto& [rx, tx] : TuningRxTxRows()) {
        QWidget* r = Control(rx);
        QWidget* x = Control(tx);
        const int y = std::max(r->y(), x->y());
        const bool group = qobject_cast<QGroupBox*>(r) != nullptr;
        for (QWidget* w : {r, x}) {
            w->setGeometry(w->x(), y, w->width(), group ? std::max(r->height(), x->height()) : w->height());
        }
    }
    FitToTexts(this);
    ConnectControls();
}

void CTuningDlg::ConnectControls() {
    connect(m_tree, &QTreeWidget::itemSelectionChanged, this, &CTuningDlg::OnSelChangedTree);
    connect(static_cast<QPushButton*>(Control(IDC_TUNING_START)), &QPushButton::clicked, this,
            &CTuningDlg::OnStart);
    connect(static_cast<QPushButton*>(Control(IDC_TUNING_RESTORE)), &QPushButton::clicked, this,
            &CTuningDlg::OnRestoreDefaults);
    const struct {
        int id;
        TuningSide side;
        ToneListKind kind;
    } kinds[] = {{IDC_RX_ANALOGUE, TuningSide::Rx, ToneListKind::Analogue},
                 {IDC_RX_DIGITAL, TuningSide::Rx, ToneListKind::Digital},
                 {IDC_TX_ANALOGUE, TuningSide::Tx, ToneListKind::Analogue},
                 {IDC_TX_DIGITAL, TuningSide::Tx, ToneListKind::Digital}};
    for (const auto& k : kinds) {
        connect(static_cast<QRadioButton*>(Control(k.id)), &QRadioButton::clicked, this,
                [this, k] { OnKind(k.side, k.kind); });
    }
    const struct {
        int id;
        TuningSide side;
        ChannelStep step;
    } steps[] = {{IDC_RX_STEP_500, TuningSide::Rx, ChannelStep::Khz500},
                 {IDC_RX_STEP_625, TuningSide::Rx, ChannelStep::Khz625},
                 {IDC_TX_STEP_500, TuningSide::Tx, ChannelStep::Khz500},
                 {IDC_TX_STEP_625, TuningSide::Tx, ChannelStep::Khz625}};
    for (const auto& s : steps) {
        connect(static_cast<QRadioButton*>(Control(s.id)), &QRadioButton::clicked, this,
                [this, s] { OnStep(s.side, s.step); });
    }
    for (TuningSide side : {TuningSide::Rx, TuningSide::Tx}) {
        connect(static_cast<CTuningToneBox*>(ToneBox(side)), &CTuningToneBox::CloseUp, this,
                [this, side] { OnToneCloseUp(side); });
        // A tone chosen from the list, by mouse or by keyboard, is stored at
        // once: the list closes up before the box takes the choice.
        connect(ToneBox(side), &QComboBox::activated, this,
                [this, side](int index) { m_model.StoreTone(side, index); });
    }
    connect(m_slider, &QSlider::valueChanged, this, &CTuningDlg::OnHScroll);
}

QWidget* CTuningDlg::MakeControl(const TuningControl& c, QButtonGroup* group) {
    switch (c.kind) {
        case TuningControlKind::Tree:
            m_tree = new QTreeWidget(this);
            m_tree->setHeaderHidden(true);
            m_tree->setColumnCount(1);
            m_tree->setRootIsDecorated(true);
            m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
            return m_tree;
        case TuningControlKind::GroupBox: {
            QGroupBox* box = MakeGroupBox(Q(c.caption), this);
            if (c.id == IDC_TUNING_FRAME) {
                m_frame = box;
            }
            return box;
        }
        case TuningControlKind::PushButton:
            return MakeButton(Q(c.caption), false, this);
        case TuningControlKind::HiddenDefault: {
            // Enter never closes the window or starts anything by itself.
            QPushButton* button = MakeButton(Q(c.caption), true, this);
            button->setEnabled(false);
            return button;
        }
        case TuningControlKind::Static: {
            QLabel* label = MakeLabel(Q(c.caption), this);
            // Only the labels the template makes two lines high wrap, and
            // only between words: a word is never cut in two.
            label->setWordWrap(c.rect.cy >= 20 && label->text().contains(QLatin1Char(' ')));
            if (c.id == IDC_TUNING_POSITION) {
                m_position = label;
            }
            return label;
        }
        case TuningControlKind::Edit:
            return new QLineEdit(this);
        case TuningControlKind::ComboBox: {
            auto* combo = new CTuningToneBox(this);
            combo->setEditable(true);
            combo->setInsertPolicy(QComboBox::NoInsert);
            combo->setCompleter(nullptr);
            return combo;
        }
        case TuningControlKind::Radio: {
            auto* radio = new QRadioButton(Q(c.caption), this);
            group->addButton(radio, c.id);
            return radio;
        }
        case TuningControlKind::Slider:
            m_slider = new QSlider(Qt::Horizontal, this);
            m_slider->setFocusPolicy(Qt::StrongFocus);
            return m_slider;
    }
    return nullptr;
}

void CTuningDlg::OnInitDialog() {
    QHash<int, QTreeWidgetItem*> items;
    for (const TuningTreeEntry& e : TuningTree()) {
        auto* item =
            e.parent == 0 ? new QTreeWidgetItem(m_tree) : new QTreeWidgetItem(m_treeItems.value(e.parent));
        item->setText(0, Q(e.text));
        item->setData(0, kTreeDataRole, e.data);
        m_treeItems.insert(e.data, item);
    }
    m_treeItems.value(kTreePoints)->setExpanded(true);

    m_frame->setTitle(Q(m_model.FrameCaption()));
    CheckPair(IDC_RX_ANALOGUE, IDC_RX_DIGITAL, true);
    CheckPair(IDC_TX_ANALOGUE, IDC_TX_DIGITAL, true);
    CheckPair(IDC_RX_STEP_500, IDC_RX_STEP_625, true);
    CheckPair(IDC_TX_STEP_500, IDC_TX_STEP_625, true);
    static_cast<QRadioButton*>(Control(IDC_POINT_HIGH))->setChecked(true);
    for (TuningSide side : {TuningSide::Rx, TuningSide::Tx}) {
        FillToneBox(side, ToneListKind::Analogue);
        SelectTone(side, 0);
    }
    {
        const QSignalBlocker block(m_slider);
        m_slider->setRange(0, 255);
        m_slider->setValue(0);
    }
    ShowPage();
    m_tree->setFocus();
}

QComboBox* CTuningDlg::ToneBox(TuningSide side) const {
    return static_cast<QComboBox*>(Control(side == TuningSide::Rx ? IDC_RX_TONE : IDC_TX_TONE));
}

QLineEdit* CTuningDlg::FrequencyBox(TuningSide side) const {
    return static_cast<QLineEdit*>(Control(side == TuningSide::Rx ? IDC_RX_FREQUENCY : IDC_TX_FREQUENCY));
}

void CTuningDlg::ShowPage() {
    for (const TuningControl& c : TuningDlgTemplate().controls) {
        Control(c.id)->setVisible(TuningControlVisible(c, m_model.Page(), m_model.RestoreShown()));
    }
}

void CTuningDlg::CheckPair(int firstId, int secondId, bool first) {
    static_cast<QRadioButton*>(Control(first ? firstId : secondId))->setChecked(true);
}

void CTuningDlg::FillToneBox(TuningSide side, ToneListKind kind) {
    QComboBox* box = ToneBox(side);
    box->clear();
    for (const std::string& name : TuningToneList(ToneTable::Shared(), kind)) {
        box->addItem(Raw(name));
    }
}

void CTuningDlg::SelectTone(TuningSide side, int position) {
    QComboBox* box = ToneBox(side);
    // A position stored from the other list may lie beyond this one: no selection.
    box->setCurrentIndex(position >= 0 && position < box->count() ? position : -1);
    if (box->currentIndex() < 0) {
        box->setEditText(QString());
    }
}

void CTuningDlg::OnSelChangedTree() {
    const QList<QTreeWidgetItem*> selected = m_tree->selectedItems();
    if (selected.isEmpty()) {
        return;
    }
    const int data = selected.front()->data(0, kTreeDataRole).toInt();
    switch (m_model.SelectTreeItem(data)) {
        case TuningDialogModel::Selected::Point:
            ShowPage();
            LoadPoint();
            break;
        case TuningDialogModel::Selected::Item:
            ShowPage();
            LoadItem();
            break;
        case TuningDialogModel::Selected::Exit:
            accept();
            break;
        case TuningDialogModel::Selected::Root:
            break;
    }
}

void CTuningDlg::LoadPoint() {
    const TuningPointValues& v = m_model.Current();
    m_frame->setTitle(Q(m_model.FrameCaption()));
    FrequencyBox(TuningSide::Rx)->setText(Raw(FormatTuningFrequency(v.rxFrequency)));
    FrequencyBox(TuningSide::Tx)->setText(Raw(FormatTuningFrequency(v.txFrequency)));
    CheckPair(IDC_RX_STEP_500, IDC_RX_STEP_625, v.rxStep == ChannelStep::Khz500);
    CheckPair(IDC_TX_STEP_500, IDC_TX_STEP_625, v.txStep == ChannelStep::Khz500);
    CheckPair(IDC_RX_ANALOGUE, IDC_RX_DIGITAL, v.rxKind == ToneListKind::Analogue);
    FillToneBox(TuningSide::Rx, v.rxKind);
    CheckPair(IDC_TX_ANALOGUE, IDC_TX_DIGITAL, v.txKind == ToneListKind::Analogue);
    FillToneBox(TuningSide::Tx, v.txKind);
    SelectTone(TuningSide::Rx, v.rxTone);
    SelectTone(TuningSide::Tx, v.txTone);
}

void CTuningDlg::LoadItem() {
    const int value = m_model.ItemValue(m_model.Item());
    {
        const QSignalBlocker block(m_slider);
        m_slider->setValue(value);
    }
    m_position->setText(Raw(TuningPositionText(value, WindowTexts())));
}

void CTuningDlg::OnKind(TuningSide side, ToneListKind kind) {
    if (!m_model.SetKind(side, kind)) {
        return;
    }
    FillToneBox(side, kind);
    SelectTone(side, 0);
}

void CTuningDlg::OnStep(TuningSide side, ChannelStep step) {
    m_model.SetStep(side, step);
}

void CTuningDlg::OnToneCloseUp(TuningSide side) {
    m_model.StoreTone(side, ToneBox(side)->currentIndex());
}

void CTuningDlg::OnHScroll(int position) {
    m_model.SetItemValue(position);
    m_position->setText(Raw(TuningPositionText(m_model.ItemValue(m_model.Item()), WindowTexts())));
}

void CTuningDlg::OnRestoreDefaults() {
    switch (m_model.RestoreDefaults()) {
        case TuningDialogModel::Restored::Item:
            LoadItem();
            break;
        case TuningDialogModel::Restored::Point:
            LoadPoint();
            break;
        case TuningDialogModel::Restored::Nothing:
            AfxMessageBox(this, Q(kTuningNothingVisible));
            break;
    }
}

void CTuningDlg::OnStart() {
    // The boxes as they stand: typed frequencies go out unclamped, and a tone
    // box with typed text or no selection sends its text.
    const TuningRequest request = m_model.Request(
        Utf8(FrequencyBox(TuningSide::Rx)->text()), Utf8(FrequencyBox(TuningSide::Tx)->text()),
        Utf8(ToneBox(TuningSide::Rx)->currentText()), Utf8(ToneBox(TuningSide::Tx)->currentText()));
    if (m_worker->IsRunning()) {
        return;  // one session at a time
    }
    m_worker->Start(
        [worker = m_worker, parent = static_cast<QWidget*>(this), request] {
            TuningLinkHost host(*worker, parent);
            const auto port = NewSystemSerialPort();
            RealClock clock;
            RunTuningSession(request, *port, clock, host);
        },
        [] {});
}

bool CTuningDlg::IsSessionRunning() const {
    return m_worker->IsRunning();
}

void CTuningDlg::done(int result) {
    // The window stays while its session talks to the radio.
    if (!m_worker->IsRunning()) {
        QDialog::done(result);
    }
}

void CTuningDlg::OnFrequencyEnter(TuningSide side) {
    const ChannelStep step =
        static_cast<QRadioButton*>(Control(side == TuningSide::Rx ? IDC_RX_STEP_500 : IDC_TX_STEP_500))
                ->isChecked()
            ? ChannelStep::Khz500
            : ChannelStep::Khz625;
    QLineEdit* box = FrequencyBox(side);
    box->setText(
        Raw(FormatTuningFrequency(EnterTuningFrequency(Utf8(box->text()), m_model.BandBase(), step))));
}

bool CTuningDlg::PreTranslateMessage(QWidget* target, QKeyEvent* event) {
    if (!IsEnter(event)) {
        return false;
    }
    // A combo box's own line edit speaks for the box.
    if (auto* combo = qobject_cast<QComboBox*>(target->parentWidget());
        combo && combo->lineEdit() == target) {
        target = combo;
    }
    const int id = m_controls.key(target, 0);
    if (id == IDC_TUNING_RESTORE || id == IDC_TUNING_START) {
        return false;  // the focused button takes Enter as a press
    }
    if (id == IDC_RX_FREQUENCY || id == IDC_TX_FREQUENCY) {
        OnFrequencyEnter(id == IDC_RX_FREQUENCY ? TuningSide::Rx : TuningSide::Tx);
    }
    focusNextChild();
    return true;
}

bool CTuningDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
        if (PreTranslateMessage(static_cast<QWidget*>(watched), static_cast<QKeyEvent*>(event))) {
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace quorim
