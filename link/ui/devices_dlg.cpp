#include "link/ui/devices_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSocketNotifier>
#include <QStyle>
#include <QTableWidget>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "files/read_backup.h"
#include "link/serial_discovery.h"
#include "link/snapshot_transfer.h"
#include "link/ui/radio_transfer.h"
#include "link/ui/restore_dlg.h"
#include "link/ui/virtual_radio.h"
#include "ui/commands.h"
#include "ui/dialog_builder.h"
#include "ui/ui_text.h"

namespace quorim {

namespace {

// The dialog's font and size, in dialog units.
constexpr int kDevicesCx = 440;
constexpr int kDevicesCy = 380;

}  // namespace

CDevicesDlg::CDevicesDlg(SerialDeviceSource& source, QWidget* parent, UiLanguage language,
                         CVirtualRadio* radio)
    : QDialog(parent), m_source(source), m_language(language), m_radio(radio) {
    setObjectName(QStringLiteral("DevicesDlg"));
    setWindowTitle(Q(kDevicesTitle));
    ApplyTemplateMetrics(this, "宋体", 9, kDevicesCx, kDevicesCy);

    m_table = new QTableWidget(0, 4, this);
    m_table->setObjectName(QStringLiteral("DeviceList"));
    m_table->setHorizontalHeaderLabels(
        {Q(kColumnPort), Q(kColumnDevice), Q(kColumnDescription), Q(kColumnAccess)});
    m_table->verticalHeader()->hide();
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);

    QGridLayout* assign = MakeAssignRows();

    m_stages = new QListWidget(this);
    m_stages->setObjectName(QStringLiteral("DoctorStages"));
    // All eight stages in view, each a line with its small icon.
    const int line = std::max(fontMetrics().height(), 16) + 4;
    m_stages->setIconSize(QSize(16, 16));
    m_stages->setMinimumHeight(static_cast<int>(kDoctorStages.size()) * line + 2 * m_stages->frameWidth());
    m_fix = MakeLabel(QString(), this);
    m_fix->setObjectName(QStringLiteral("DoctorFix"));
    m_fix->setWordWrap(true);
    m_fix->setTextInteractionFlags(Qt::TextSelectableByMouse);

    m_testButton = MakeButton(Q(kTestConnection), false, this);
    m_testButton->setObjectName(QStringLiteral("TestConnection"));
    connect(m_testButton, &QPushButton::clicked, this, &CDevicesDlg::TestConnection);
    QHBoxLayout* snapshots = MakeSnapshotRow();

    QPushButton* close = MakeButton(Q(kCloseButton), true, this);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_testButton);
    if (m_radio != nullptr) {
        m_radioButton = MakeButton(Q(kVirtualRadioButton), false, this);
        m_radioButton->setObjectName(QStringLiteral("VirtualRadio"));
        connect(m_radioButton, &QPushButton::clicked, this, &CDevicesDlg::OnVirtualRadio);
        buttons->addWidget(m_radioButton);
    }
    buttons->addStretch();
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_table, 1);
    layout->addLayout(assign);
    layout->addWidget(m_stages, 1);
    layout->addWidget(m_fix);
    layout->addLayout(snapshots);
    layout->addLayout(buttons);

    // udev tells when a device comes or goes.
    m_monitor = std::make_unique<SerialDeviceMonitor>();
    if (m_monitor->Fd() >= 0) {
        m_notifier = new QSocketNotifier(m_monitor->Fd(), QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, [this] {
            if (m_monitor->TakeEvents()) {
                Refresh();
            }
        });
    }
    Refresh();
    auto* presence = new QTimer(this);
    connect(presence, &QTimer::timeout, this, [this] {
        // Not while a path is being typed: a refresh would take it away.
        const bool typing = std::any_of(m_assign.begin(), m_assign.end(), [](QComboBox* box) {
            return box != nullptr && box->lineEdit() != nullptr && box->lineEdit()->isModified();
        });
        if (!typing && Presence() != m_presence) {
            Refresh();
        }
    });
    presence->start(1000);
}

QString CDevicesDlg::Presence() const {
    QString seen;
    for (const std::string& path : ComAssignments()) {
        seen += QFileInfo::exists(Raw(path)) ? QLatin1Char('1') : QLatin1Char('0');
    }
    for (const SerialDevice& d : m_devices) {
        seen += QFileInfo::exists(Raw(d.node)) ? QLatin1Char('1') : QLatin1Char('0');
    }
    return seen;
}

QGridLayout* CDevicesDlg::MakeAssignRows() {
    auto* assign = new QGridLayout;
    assign->addWidget(MakeLabel(Q(kAssignLabel), this), 0, 0, 1, 2);
    for (int n = 1; n <= 4; ++n) {
        // A device from the list, or a path typed and confirmed with Enter.
        QComboBox* box = MakeDropDown(this);
        box->setObjectName(QStringLiteral("AssignCom%1").arg(n));
        box->setToolTip(Q(kTypePathTip));
        m_assign[static_cast<std::size_t>(n) - 1] = box;
        assign->addWidget(MakeLabel(QStringLiteral("COM%1").arg(n), this), n, 0);
        assign->addWidget(box, n, 1);
        connect(box, &QComboBox::activated, this, [this, n] { OnAssign(n); });
        connect(box->lineEdit(), &QLineEdit::returnPressed, this, [this, n] { OnTyped(n); });
    }
    assign->setColumnStretch(1, 1);
    return assign;
}

QHBoxLayout* CDevicesDlg::MakeSnapshotRow() {
    m_backUp = new QCheckBox(Q(kBackupBeforeWrite), this);
    m_backUp->setObjectName(QStringLiteral("BackUpBeforeWrite"));
    m_backUp->setChecked(CRadioTransfer::BackUpBeforeWrite());
    connect(m_backUp, &QCheckBox::toggled, this, [this](bool on) {
        CRadioTransfer::SetBackUpBeforeWrite(on);
        emit BackUpBeforeWriteChanged(on);
    });
    m_restoreButton = MakeButton(Q(kRestoreBeforeWrite), false, this);
    m_restoreButton->setObjectName(QStringLiteral("RestoreBeforeWrite"));
    connect(m_restoreButton, &QPushButton::clicked, this, &CDevicesDlg::OpenRestore);
    auto* snapshots = new QHBoxLayout;
    snapshots->addWidget(m_backUp);
    snapshots->addStretch();
    snapshots->addWidget(m_restoreButton);
    return snapshots;
}

CDevicesDlg::~CDevicesDlg() {
    // A test still running ends within seconds (it never waits longer than
    // its time-outs); its last reports to this dialog are dropped with it.
    if (m_test != nullptr) {
        m_test->wait();
    }
}

void CDevicesDlg::TestConnection() {
    if (m_test != nullptr) {
        return;
    }
    // COMn is resolved here: the assignments belong to this thread.
    const std::string port = ResolvePortName(ChosenPort());
    m_stages->clear();
    m_fix->setText(Q(kTestingConnection).arg(Raw(port)));
    m_testButton->setEnabled(false);
    const UiLanguage language = m_language;
    m_test = QThread::create([this, port, language] {
        std::unique_ptr<DoctorProbe> probe = NewSystemDoctorProbe();
        std::unique_ptr<SerialPort> serial = NewSystemSerialPort();
        RealClock clock;
        const DoctorReport report =
            RunDoctor(port, *probe, *serial, clock, language, [this](const DoctorStageReport& stage) {
                QMetaObject::invokeMethod(
                    this, [this, stage] { AddStage(stage); }, Qt::QueuedConnection);
            });
        QMetaObject::invokeMethod(
            this, [this, report] { ShowTestResult(report); }, Qt::QueuedConnection);
    });
    m_test->start();
}

std::string CDevicesDlg::ChosenPort() const {
    const int row = m_table->currentRow();
    if (m_table->selectionModel()->hasSelection() && row >= 0 && row < static_cast<int>(m_devices.size())) {
        return m_devices[static_cast<std::size_t>(row)].node;
    }
    return m_portToTest;
}

void CDevicesDlg::OpenRestore() {
    auto* dlg = new CRestoreDlg(ReadBackupFolder(), ChosenPort(), this);
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    dlg->open();
}

void CDevicesDlg::AddStage(const DoctorStageReport& stage) {
    // A tick or a cross, the stage, what it found.
    const QStyle::StandardPixmap icon =
        stage.ok ? QStyle::SP_DialogApplyButton : QStyle::SP_DialogCancelButton;
    auto* item = new QListWidgetItem(style()->standardIcon(icon),
                                     Raw(DoctorStageTitle(stage.stage, m_language) + "  " + stage.detail));
    item->setData(Qt::UserRole, stage.ok);
    m_stages->addItem(item);
}

void CDevicesDlg::ShowTestResult(const DoctorReport& report) {
    // The report is the final word: an open that finds the port held after
    // all takes back the stages it had passed.
    m_test->wait();
    delete m_test;
    m_test = nullptr;
    m_stages->clear();
    for (const DoctorStageReport& stage : report.stages) {
        AddStage(stage);
    }
    m_fix->setText(report.Ok() ? QString() : Raw(DoctorFixLabel(m_language) + report.fix));
    m_testButton->setEnabled(true);
    emit ConnectionTested(report.Ok());
}

void CDevicesDlg::Refresh() {
    const PortNameSources sources = SystemPortNameSources();
    m_devices = WithNamedPorts(m_source.Devices(), sources, DeviceAtPath);
    const std::array<std::string, 4> resolved = ResolveComPorts(sources);
    m_table->setRowCount(static_cast<int>(m_devices.size()));
    for (int row = 0; row < static_cast<int>(m_devices.size()); ++row) {
        const SerialDevice& d = m_devices[static_cast<std::size_t>(row)];
        const int com = ComNumberOf(d, resolved);
        const QString cells[] = {com > 0 ? QStringLiteral("COM%1").arg(com) : QString(), Raw(d.node),
                                 Raw(d.setBy.empty() ? DeviceDescription(d) : d.setBy),
                                 Raw(AccessText(d, WindowTexts()))};
        for (int col = 0; col < 4; ++col) {
            auto* item = new QTableWidgetItem(cells[col]);
            if (col == 1 && !d.byId.empty()) {
                item->setToolTip(Raw(d.byId));
            }
            m_table->setItem(row, col, item);
        }
    }
    m_table->resizeColumnToContents(0);
    m_table->resizeColumnToContents(1);
    m_table->resizeColumnToContents(3);
    m_presence = Presence();

    const std::array<std::string, 4> assigned = ComAssignments();
    for (std::size_t i = 0; i < m_assign.size(); ++i) {
        QComboBox* box = m_assign[i];
        const QSignalBlocker block(box);
        box->clear();
        const std::string variable = "QUORIM_COM" + std::to_string(i + 1);
        if (const auto set = sources.getEnv(variable)) {
            // The environment wins over any choice made here.
            box->addItem(Q(kSetByEnvironment).arg(Raw(*set), Raw(variable)), Raw(*set));
            box->setToolTip(Q(kSetByEnvironmentTip).arg(Raw(variable)));
            box->setEnabled(false);
            continue;
        }
        box->addItem(Q(kAutomatic), QString());
        for (const SerialDevice& d : m_devices) {
            const std::string key = d.byId.empty() ? d.node : d.byId;
            const std::string description = DeviceDescription(d);
            box->addItem(Raw(description.empty() ? d.node : d.node + "  " + description), Raw(key));
        }
        if (!assigned[i].empty()) {
            const SerialDevice* found = FindDevice(m_devices, assigned[i]);
            int at = found != nullptr ? static_cast<int>(found - m_devices.data()) + 1 : -1;
            if (at < 0) {
                // Chosen earlier and not plugged in now: kept, and shown so.
                box->addItem(Raw(assigned[i]) + QStringLiteral("  ") + Q(kNotConnected), Raw(assigned[i]));
                at = box->count() - 1;
            }
            box->setCurrentIndex(at);
        }
    }
}

void CDevicesDlg::OnAssign(int n) {
    Assign(n, Utf8(AssignBox(n)->currentData().toString()));
}

void CDevicesDlg::OnTyped(int n) {
    QComboBox* box = AssignBox(n);
    const QString text = box->lineEdit()->text();
    if (box->findText(text) >= 0) {
        return;  // an item of the list: activated() chose it
    }
    const std::optional<std::string> path = TypedDevicePath(Utf8(text));
    if (!path) {
        m_fix->setText(Q(kTypedPortName).arg(text.trimmed()));
        Refresh();
        return;
    }
    m_fix->clear();
    Assign(n, *path);
}

void CDevicesDlg::Assign(int n, const std::string& path) {
    std::array<std::string, 4> paths = ComAssignments();
    paths[static_cast<std::size_t>(n) - 1] = path;
    SetComAssignments(paths);
    Refresh();
    emit AssignmentsChanged(paths);
}

bool CDevicesDlg::StartVirtualRadio(int channels, int n) {
    QString why;
    const QString path = m_radio->Start(channels, &why);
    if (path.isEmpty()) {
        m_fix->setText(Q(kVirtualRadioFailed).arg(why));
        return false;
    }
    std::array<std::string, 4> paths = ComAssignments();
    paths[static_cast<std::size_t>(n) - 1] = Utf8(path);
    SetComAssignments(paths);
    Refresh();
    m_fix->setText(
        Q(kVirtualRadioRunning)
            .arg(Raw(channels == 16 ? "QZ - 16" : "QZ - 199"), path, QStringLiteral("COM%1").arg(n)));
    emit VirtualRadioStarted(n);
    return true;
}

void CDevicesDlg::OnVirtualRadio() {
    // The model and the COM item to point at the radio; a COM item the
    // environment sets is not offered.
    QDialog ask(this);
    ask.setWindowTitle(Q(kVirtualRadioTitle));
    auto* model = new QComboBox(&ask);
    model->addItem(QStringLiteral("QZ - 199"), 199);
    model->addItem(QStringLiteral("QZ - 16"), 16);
    auto* port = new QComboBox(&ask);
    const PortNameSources sources = SystemPortNameSources();
    for (int n = 1; n <= 4; ++n) {
        const std::string name = "COM" + std::to_string(n);
        if (!sources.getEnv("QUORIM_" + name)) {
            port->addItem(Raw(name), n);
        }
    }
    port->setCurrentIndex(std::max(0, port->findText(Raw(m_portToTest))));
    auto* form = new QGridLayout;
    form->addWidget(MakeLabel(Q(kVirtualRadioModel), &ask), 0, 0);
    form->addWidget(model, 0, 1);
    form->addWidget(MakeLabel(Q(kVirtualRadioPort), &ask), 1, 0);
    form->addWidget(port, 1, 1);
    QPushButton* start = MakeButton(Q(kVirtualRadioStart), true, &ask);
    QPushButton* cancel = MakeButton(Q(kCancelButton), false, &ask);
    connect(start, &QPushButton::clicked, &ask, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, &ask, &QDialog::reject);
    start->setEnabled(port->count() > 0);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(start);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(&ask);
    layout->addLayout(form);
    layout->addLayout(buttons);
    if (ask.exec() == QDialog::Accepted) {
        StartVirtualRadio(model->currentData().toInt(), port->currentData().toInt());
    }
}

}  // namespace quorim
