#include "app/ui/main_frame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <algorithm>

#include "app/ui/child_frame.h"
#include "app/ui/help_window.h"
#include "app/ui/mdi_client_wnd.h"
#include "editor/ui/form_view.h"
#include "editor/ui/quorim_doc.h"
#include "link/port_names.h"
#include "link/serial_discovery.h"
#include "link/ui/radio_transfer.h"
#include "ui/dialog_builder.h"
#include "ui/message_box.h"
#include "ui/ui_text.h"

namespace quorim {

namespace {

bool IsViewCommand(int id) {
    return CQuorim_CHView::HandlesCommand(id) || id == ID_FILE_SAVE || id == ID_FILE_SAVE_AS ||
           id == ID_WINDOW_NEW;
}

bool IsMruCommand(int id) {
    return id >= ID_FILE_MRU_FILE1 && id <= ID_FILE_MRU_FILE4;
}

bool IsPortCommand(int id) {
    return id == ID_PORT_COM1 || id == ID_PORT_COM2 || id == ID_PORT_COM3 || id == ID_PORT_COM4;
}

int KeyOf(QKeyCombination key) {
    return key.toCombined();
}

}  // namespace

CMainFrame::CMainFrame(CFrameHost* app) : m_app(app) {
    setObjectName(QStringLiteral("MainFrame"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    setWindowTitle(Q(kMainTitle));
    setWindowIcon(QIcon(QStringLiteral(":/res/icon128.png")));
    // The frame's size, set before the window exists; the document's name is
    // never added to the main title.
    resize(kWidth, kHeight);
    for (const Accelerator& a : AcceleratorTable()) {
        const QKeySequence seq = QKeySequence::fromString(Q(a.keys), QKeySequence::PortableText);
        if (!seq.isEmpty()) {
            m_accelerators.insert(KeyOf(seq[0]), a.id);
        }
    }
}

CMainFrame::~CMainFrame() {
    qApp->removeEventFilter(this);
    m_destroying = true;
    if (m_wndMdiClient) {
        disconnect(m_wndMdiClient, nullptr, this, nullptr);
    }
}

QStatusBar* CMainFrame::StatusBarWnd() const {
    return findChild<QStatusBar*>(QStringLiteral("StatusBar"));
}

QAction* CMainFrame::ActionFor(int id, const QString& text) {
    for (QAction* a : m_actions.values(id)) {
        if (a->text() == text) {
            return a;
        }
    }
    auto* action = new QAction(text, this);
    action->setData(id);
    const CommandString strings = CommandText(id);
    action->setStatusTip(Q(strings.prompt));
    if (!strings.tooltip.empty()) {
        action->setToolTip(Q(strings.tooltip));
    }
    QList<QKeySequence> shortcuts;
    for (const std::string_view keys : ShortcutsOf(id)) {
        shortcuts.append(QKeySequence::fromString(Q(keys), QKeySequence::PortableText));
    }
    if (!shortcuts.isEmpty()) {
        // Shown right-aligned in the menus. The key itself is translated by
        // the frame's accelerator table (eventFilter), or taken by the grid
        // and its editors (the editing keys), so the action's own shortcut
        // only acts inside an open menu.
        action->setShortcuts(shortcuts);
        action->setShortcutContext(Qt::WidgetShortcut);
    }
    if (IsPortCommand(id) || id == ID_VIEW_TOOLBAR || id == ID_VIEW_STATUS_BAR) {
        action->setCheckable(true);
    }
    action->setIconVisibleInMenu(false);
    connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
    m_actions.insert(id, action);
    return action;
}

void CMainFrame::FillPopup(QMenu* menu, const MenuItem& popup) {
    for (const MenuItem& item : popup.children) {
        if (item.IsSeparator()) {
            menu->addSeparator();
        } else if (item.IsPopup()) {
            QMenu* sub = menu->addMenu(Q(item.text));
            FillPopup(sub, item);
        } else if (item.id == ID_FILE_MRU_FILE1) {
            // "最近文件", greyed, stands for the list while it is empty.
            auto* placeholder = new QAction(Q(item.text), menu);
            placeholder->setData(item.id);
            placeholder->setEnabled(false);
            menu->addAction(placeholder);
            m_mruPlaceholders.append(placeholder);
        } else {
            menu->addAction(ActionFor(item.id, Q(item.text)));
        }
    }
    connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUi);
    // Hovering a port item tells which device it stands for now.
    if (std::any_of(popup.children.begin(), popup.children.end(),
                    [](const MenuItem& item) { return item.id == ID_PORT_COM1; })) {
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdatePortPrompts);
    }
}

QList<QMenu*> CMainFrame::BuildMenu(const std::vector<MenuItem>& items) {
    QList<QMenu*> menus;
    for (const MenuItem& popup : items) {
        auto* menu = new QMenu(Q(popup.text), this);
        FillPopup(menu, popup);
        menus.append(menu);
        for (const MenuItem& item : popup.children) {
            if (item.id == ID_WINDOW_NEW) {
                // The open document windows follow the popup's own items.
                connect(menu, &QMenu::aboutToShow, this, [this, menu] { FillWindowList(menu); });
            }
        }
    }
    return menus;
}

bool CMainFrame::LoadFrame() {
    m_menu128 = BuildMenu(Menu128());
    m_menu129 = BuildMenu(Menu129());

    m_wndMdiClient = new CMdiClientWnd(this);
    m_wndMdiClient->setObjectName(QStringLiteral("MdiClient"));
    setCentralWidget(m_wndMdiClient);
    connect(m_wndMdiClient, &QMdiArea::subWindowActivated, this, &CMainFrame::OnSubWindowActivated);

    // Toolbar 128: flat buttons, a gripper, tooltips and status-bar texts,
    // dockable on every side and floating.
    m_wndToolBar = new QToolBar(this);
    m_wndToolBar->setObjectName(QStringLiteral("ToolBar"));
    m_wndToolBar->setWindowTitle(Q(CommandText(ID_VIEW_TOOLBAR).tooltip));
    m_wndToolBar->setMovable(true);
    m_wndToolBar->setFloatable(true);
    m_wndToolBar->setAllowedAreas(Qt::AllToolBarAreas);
    m_wndToolBar->setIconSize(QSize(kToolbarImageWidth, kToolbarImageHeight));
    const QPixmap strip(QStringLiteral(":/res/bitmap128.png"));
    if (strip.isNull()) {
        return false;
    }
    int image = 0;
    for (const int id : Toolbar128()) {
        if (id == 0) {
            m_wndToolBar->addSeparator();
            continue;
        }
        QAction* action = Action(id);
        if (!action) {
            action = ActionFor(id, Q(CommandText(id).tooltip));
        }
        action->setIcon(
            QIcon(strip.copy(image * kToolbarImageWidth, 0, kToolbarImageWidth, kToolbarImageHeight)));
        ++image;
        m_wndToolBar->addAction(action);
    }
    addToolBar(Qt::TopToolBarArea, m_wndToolBar);

    auto* bar = new QStatusBar(this);
    bar->setObjectName(QStringLiteral("StatusBar"));
    setStatusBar(bar);
    // Beside the message pane: the last transfer's result (shown once there
    // is one) and the port in use.
    for (QLabel** pane : {&m_checkPane, &m_resultPane, &m_portPane}) {
        *pane = new QLabel(bar);
        (*pane)->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        bar->addPermanentWidget(*pane);
    }
    m_resultPane->setObjectName(QStringLiteral("ResultPane"));
    m_resultPane->hide();
    m_checkPane->setObjectName(QStringLiteral("CheckPane"));
    m_checkPane->hide();
    // Squeezed rather than widening the window; the whole text as its tip.
    m_checkPane->setMinimumWidth(1);
    m_portPane->setObjectName(QStringLiteral("PortPane"));
    for (const std::string_view text : IndicatorTexts()) {
        auto* pane = new QLabel(Q(text), bar);
        pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        pane->setAlignment(Qt::AlignCenter);
        pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(pane->text()) + 12);
        // The lock states are not known here; the panes show their texts greyed.
        pane->setEnabled(false);
        bar->addPermanentWidget(pane);
        m_indicators.append(pane);
    }
    connect(bar, &QStatusBar::messageChanged, this, [this](const QString& text) {
        if (text.isEmpty()) {
            SetMessageText(Q(kIdleMessage));
            return;
        }
        if (m_transferRunning && !m_hinting) {
            m_transferReason = text;
        }
        // Any message but the idle one and the result the result pane
        // already shows is to be read whole; a menu's or a button's tip even
        // past the check pane.
        m_shown = text == Q(kIdleMessage) || text == m_resultPane->text() ? Shown::Plain
                  : m_statusTip                                           ? Shown::StatusTip
                                                                          : Shown::Hint;
        FitPanes(text);
    });
    SetMessageText(Q(kIdleMessage));

    setAcceptDrops(true);
    qApp->installEventFilter(this);
    ShowMenu(false);
    RefreshRecentFileMenu();
    UpdateCommandUi();
    return true;
}

void CMainFrame::SetMessageText(const QString& text) {
    if (QStatusBar* bar = StatusBarWnd()) {
        const QScopedValueRollback hinting(m_hinting, true);
        bar->showMessage(text);
    }
}

void CMainFrame::SetTransferResult(const QString& text, const QObject* doc) {
    m_transferTold = true;
    const QObject* of = doc ? doc : ActiveDocument();
    m_documentPanes[of].result = text;
    if (of == ActiveDocument()) {
        ShowDocumentPanes();
        SetMessageText(text);
    }
}

void CMainFrame::SetCheckSummary(const QString& text, const QObject* doc) {
    m_documentPanes[doc].check = text;
    if (doc == ActiveDocument()) {
        ShowDocumentPanes();
    }
}

QString CMainFrame::CheckSummaryText() const {
    return m_checkPane->text();
}

void CMainFrame::ForgetDocument(const QObject* doc) {
    m_documentPanes.remove(doc);
    if (m_transferDocument == doc) {
        m_transferDocument = nullptr;
    }
}

const QObject* CMainFrame::ActiveDocument() const {
    CQuorim_CHView* view = ActiveView();
    return view ? view->GetDocument() : nullptr;
}

void CMainFrame::ShowDocumentPanes() {
    const DocumentPanes panes = m_documentPanes.value(ActiveDocument());
    m_resultPane->setText(panes.result);
    m_checkPane->setText(panes.check);
    m_checkPane->setToolTip(panes.check);
    FitPanes(MessageText());
}

void CMainFrame::FitPanes(const QString& message) {
    // The message pane takes what the panes beside it leave; a message that
    // would be cut off has the result pane (and for a menu's or a button's
    // tip the check pane first) step aside until it goes.
    QStatusBar* bar = StatusBarWnd();
    if (!bar || !m_resultPane) {
        return;
    }
    m_checkPane->setVisible(!m_checkPane->text().isEmpty());
    m_resultPane->setVisible(!m_resultPane->text().isEmpty());
    if (m_shown == Shown::Plain) {
        return;
    }
    const auto free = [&] {
        int left = bar->width() - 24;
        for (QLabel* pane : QList<QLabel*>{m_checkPane, m_resultPane, m_portPane} + m_indicators) {
            if (!pane->isHidden()) {
                left -= pane->sizeHint().width() + 6;
            }
        }
        return left;
    };
    const int need = bar->fontMetrics().horizontalAdvance(message);
    for (QLabel* pane : {m_checkPane, m_resultPane}) {
        if (need > free() && (pane != m_checkPane || m_shown == Shown::StatusTip)) {
            pane->hide();
        }
    }
}

QString CMainFrame::TransferResultText() const {
    return m_resultPane->text();
}

void CMainFrame::OnTransferRunning(bool running, const QObject* doc) {
    if (running) {
        m_transferDocument = doc ? doc : ActiveDocument();
        m_transferTold = false;
        m_transferReason.clear();
        m_documentPanes[m_transferDocument].result.clear();
        ShowDocumentPanes();
    } else if (!m_transferTold) {
        m_documentPanes[m_transferDocument].result = m_transferReason;
        ShowDocumentPanes();
    }
    m_transferRunning = running;
    UpdateCommandUi();
}

QString CMainFrame::PortPaneText() const {
    return m_portPane->text();
}

void CMainFrame::UpdatePortPane() {
    const std::string port = m_app->PortName();
    const std::string resolved = ResolvePortName(port);
    m_portPane->setText(
        Raw(quorim::PortPaneText(port, resolved, PortDevicePresent(resolved), WindowTexts())));
}

QString CMainFrame::MessageText() const {
    QStatusBar* bar = StatusBarWnd();
    return bar ? bar->currentMessage() : QString();
}

void CMainFrame::ShowMenu(bool documentMenu) {
    if (!menuBar()->actions().isEmpty() && documentMenu == m_documentMenu) {
        return;
    }
    m_documentMenu = documentMenu;
    menuBar()->clear();
    for (QMenu* menu : documentMenu ? m_menu129 : m_menu128) {
        menuBar()->addMenu(menu);
    }
}

CChildFrame* CMainFrame::ActiveChild() const {
    // The current window stays current while another top-level window (a
    // message box, a dialog) is active.
    return m_wndMdiClient ? qobject_cast<CChildFrame*>(m_wndMdiClient->currentSubWindow()) : nullptr;
}

CQuorim_CHView* CMainFrame::ActiveView() const {
    CChildFrame* child = ActiveChild();
    return child ? child->View() : nullptr;
}

void CMainFrame::AddChild(CChildFrame* child) {
    m_wndMdiClient->addSubWindow(child);
    child->resize(CChildFrame::kWidth, CChildFrame::kHeight);
    connect(child, &QObject::destroyed, this, &CMainFrame::OnSubWindowActivated, Qt::QueuedConnection);
}

void CMainFrame::OnSubWindowActivated() {
    if (m_destroying) {
        return;
    }
    // Menu 129 while a document window is open, menu 128 otherwise.
    ShowMenu(ActiveChild() != nullptr);
    // Another document's result is not this one's.
    const QString shown = MessageText();
    if (!shown.isEmpty() && shown == m_resultPane->text() &&
        shown != m_documentPanes.value(ActiveDocument()).result) {
        SetMessageText(Q(kIdleMessage));
    }
    ShowDocumentPanes();
    UpdateCommandUi();
}

bool CMainFrame::IsCommandEnabled(int id) const {
    // One radio transfer at a time, and none beside a running one.
    if ((id == ID_READ_RADIO || id == ID_WRITE_RADIO || id == ID_ONLINE_TUNING) &&
        CRadioTransfer::AnyRunning()) {
        return false;
    }
    if (IsViewCommand(id)) {
        // The editing commands as the selection and the undo history allow.
        return ActiveView() != nullptr && (!IsEditCommand(id) || ActiveView()->IsCommandEnabled(id));
    }
    if (IsMruCommand(id)) {
        return id - ID_FILE_MRU_FILE1 < m_app->RecentFiles().Size();
    }
    switch (id) {
        case ID_WINDOW_CASCADE:
        case ID_WINDOW_TILE_HORZ:
        case ID_WINDOW_ARRANGE:
            return m_wndMdiClient && !m_wndMdiClient->subWindowList().isEmpty();
        case ID_VIEW_TOOLBAR:
        case ID_VIEW_STATUS_BAR:
        case ID_APP_EXIT:
        case ID_HELP_FINDER:
        case ID_HELP:
        case ID_DEFAULT_HELP:
        case ID_CONTEXT_HELP:
        case ID_FILE_NEW:
        case ID_FILE_OPEN:
        case ID_FILE_PRINT_SETUP:
        case ID_APP_ABOUT:
            return true;
        default:
            return IsPortCommand(id) || id == ID_PORT_DEVICES;
    }
}

bool CMainFrame::IsCommandChecked(int id) const {
    if (id == ID_VIEW_TOOLBAR) {
        return m_wndToolBar && !m_wndToolBar->isHidden();
    }
    if (id == ID_VIEW_STATUS_BAR) {
        return StatusBarWnd() && !StatusBarWnd()->isHidden();
    }
    return m_app->IsCommandChecked(id);
}

void CMainFrame::UpdatePortPrompts() {
    const std::vector<SerialDevice> devices = UdevSerialDevices().Devices();
    const std::array<std::string, 4> resolved = ResolveComPorts(SystemPortNameSources());
    const int ids[] = {ID_PORT_COM1, ID_PORT_COM2, ID_PORT_COM3, ID_PORT_COM4};
    for (std::size_t i = 0; i < resolved.size(); ++i) {
        const std::string prompt = Utf8(Q(CommandText(ids[i]).prompt));
        const QString tip = Raw(PortPromptWithDevice(prompt, resolved[i], devices,
                                                     PortDevicePresent(resolved[i]), WindowTexts()));
        for (QAction* a : m_actions.values(ids[i])) {
            a->setStatusTip(tip);
        }
    }
}

void CMainFrame::UpdateCommandUi() {
    if (m_portPane) {
        UpdatePortPane();
    }
    for (auto it = m_actions.cbegin(); it != m_actions.cend(); ++it) {
        it.value()->setEnabled(IsCommandEnabled(it.key()));
        if (it.value()->isCheckable()) {
            it.value()->setChecked(IsCommandChecked(it.key()));
        }
    }
}

void CMainFrame::OnCommand(int id) {
    if (!IsCommandEnabled(id)) {
        return;
    }
    CQuorim_CHView* view = ActiveView();
    if (view && view->OnCmdMsg(id)) {
        UpdateCommandUi();
        return;
    }
    CQuorim_CHDoc* doc = view ? view->GetDocument() : nullptr;
    switch (id) {
        case ID_FILE_SAVE:
            if (doc) m_app->OnFileSave(doc);
            break;
        case ID_FILE_SAVE_AS:
            if (doc) m_app->OnFileSaveAs(doc);
            break;
        case ID_WINDOW_NEW:
            if (doc) m_app->OnWindowNew(doc);
            break;
        case ID_WINDOW_CASCADE:
            m_wndMdiClient->cascadeSubWindows();
            break;
        case ID_WINDOW_TILE_HORZ:
            m_wndMdiClient->tileSubWindows();
            break;
        case ID_WINDOW_ARRANGE:
            ArrangeIcons();
            break;
        case ID_VIEW_TOOLBAR:
            m_wndToolBar->setVisible(m_wndToolBar->isHidden());
            break;
        case ID_VIEW_STATUS_BAR:
            StatusBarWnd()->setVisible(StatusBarWnd()->isHidden());
            break;
        case ID_APP_EXIT:
            close();
            break;
        case ID_HELP_FINDER:
        case ID_HELP:
        case ID_DEFAULT_HELP:
            OnHelp();
            break;
        case ID_CONTEXT_HELP:
            EnterContextHelp();
            break;
        default:
            m_app->OnCmdMsg(id);
            break;
    }
    UpdateCommandUi();
}

void CMainFrame::OnHelp(HelpSection section) {
    // Over a modal window (the tuning window) the guide opens as that
    // window's own, or it could not be used until the modal one closed.
    QWidget* modal = QApplication::activeModalWidget();
    QWidget* owner = modal ? modal : this;
    CHelpWindow* window = modal ? nullptr : m_helpWindow.data();
    if (!window) {
        window = new CHelpWindow(owner);
        if (modal) {
            window->setAttribute(Qt::WA_DeleteOnClose);
        } else {
            m_helpWindow = window;
        }
    }
    const QString guide = CHelpWindow::FindGuide(m_app->Language() == UiLanguage::English);
    if (!window->Open(guide, section)) {
        if (window != m_helpWindow) {
            window->deleteLater();
        }
        AfxMessageBox(owner, Q(kNoHelpFile), QMessageBox::Ok, QMessageBox::Information);
    }
}

CHelpWindow* CMainFrame::HelpWindow() const {
    return m_helpWindow;
}

void CMainFrame::EnterContextHelp() {
    if (!m_contextHelp) {
        m_contextHelp = true;
        QApplication::setOverrideCursor(Qt::WhatsThisCursor);
    }
}

void CMainFrame::LeaveContextHelp() {
    if (m_contextHelp) {
        m_contextHelp = false;
        QApplication::restoreOverrideCursor();
    }
}

HelpSection CMainFrame::SectionOf(QWidget* w) const {
    // The nearest control or window the guide knows, from the widget hit
    // outwards: a grid cell's viewport leads to the grid, a list's edit
    // field to its list, anything in the tuning window to that window.
    for (QWidget* p = w; p; p = p->parentWidget()) {
        if (auto* button = qobject_cast<QToolButton*>(p); button && button->defaultAction()) {
            return HelpSectionForCommand(m_actions.key(button->defaultAction(), 0));
        }
        bool ok = false;
        const int control = p->property("controlId").toInt(&ok);
        if (ok && HelpSectionForControl(control) != HelpSection::Contents) {
            return HelpSectionForControl(control);
        }
        const int templateId = p->property(kTemplateIdProperty).toInt(&ok);
        if (ok && HelpSectionForWindow(templateId) != HelpSection::Contents) {
            return HelpSectionForWindow(templateId);
        }
        if (p->isWindow()) {
            break;
        }
    }
    return HelpSection::Contents;
}

bool CMainFrame::ContextHelpEvent(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        LeaveContextHelp();
        return true;
    }
    if (type != QEvent::MouseButtonPress || !watched->isWidgetType()) {
        return false;
    }
    auto* w = static_cast<QWidget*>(watched);
    if (qobject_cast<QMenuBar*>(w)) {
        return false;  // the menus open, so that a menu item can be asked about
    }
    HelpSection section = HelpSection::Contents;
    if (auto* menu = qobject_cast<QMenu*>(w)) {
        QAction* action = menu->actionAt(static_cast<QMouseEvent*>(event)->position().toPoint());
        if (!action || action->menu()) {
            return false;
        }
        section = HelpSectionForCommand(m_actions.key(action, 0));
        while (QWidget* popup = QApplication::activePopupWidget()) {
            popup->close();
        }
    } else {
        section = SectionOf(w);
    }
    LeaveContextHelp();
    OnHelp(section);
    return true;
}

void CMainFrame::ArrangeIcons() {
    // Minimised windows lined up along the bottom edge, left to right.
    int x = 0;
    const int bottom = m_wndMdiClient->viewport()->height();
    for (QMdiSubWindow* w : m_wndMdiClient->subWindowList()) {
        if (w->isMinimized()) {
            w->move(x, bottom - w->height());
            x += w->width();
        }
    }
}

void CMainFrame::FillWindowList(QMenu* menu) {
    for (QAction* a : m_windowList) {
        menu->removeAction(a);
        a->deleteLater();
    }
    m_windowList.clear();
    const QList<QMdiSubWindow*> windows = m_wndMdiClient->subWindowList();
    if (windows.isEmpty()) {
        return;
    }
    m_windowList.append(menu->addSeparator());
    int n = 0;
    for (QMdiSubWindow* w : windows) {
        if (n == 9) {
            break;
        }
        QString title = w->windowTitle();
        title.replace(QStringLiteral("[*]"), QString());
        title.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* a = menu->addAction(QStringLiteral("&%1 %2").arg(n + 1).arg(title));
        a->setData(AFX_IDM_FIRST_MDICHILD + n);
        a->setCheckable(true);
        a->setChecked(w == m_wndMdiClient->activeSubWindow());
        connect(a, &QAction::triggered, this, [this, w] { m_wndMdiClient->setActiveSubWindow(w); });
        m_windowList.append(a);
        ++n;
    }
}

void CMainFrame::RefreshRecentFileMenu() {
    for (QAction* a : m_mruEntries) {
        for (const int id :
             {ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE1 + 1, ID_FILE_MRU_FILE1 + 2, ID_FILE_MRU_FILE4}) {
            m_actions.remove(id, a);
        }
        a->deleteLater();
    }
    m_mruEntries.clear();
    const RecentFileList& list = m_app->RecentFiles();
    const std::string cwd = Utf8(QDir::currentPath());
    for (QAction* placeholder : m_mruPlaceholders) {
        auto* menu = qobject_cast<QMenu*>(placeholder->parent());
        placeholder->setVisible(list.Empty());
        for (int i = 0; i < list.Size(); ++i) {
            const int id = ID_FILE_MRU_FILE1 + i;
            auto* entry = new QAction(Raw(list.MenuText(i, cwd)), menu);
            entry->setData(id);
            entry->setStatusTip(Q(CommandText(id).prompt));
            connect(entry, &QAction::triggered, this, [this, id] { OnCommand(id); });
            menu->insertAction(placeholder, entry);
            m_mruEntries.append(entry);
            m_actions.insert(id, entry);
        }
    }
    UpdateCommandUi();
}

int CMainFrame::CommandForKey(QKeyCombination key) const {
    const Qt::KeyboardModifiers mods = key.keyboardModifiers() & (Qt::ControlModifier | Qt::ShiftModifier |
                                                                  Qt::AltModifier | Qt::MetaModifier);
    return m_accelerators.value(KeyOf(QKeyCombination(mods, key.key())), 0);
}

bool CMainFrame::event(QEvent* event) {
    // A status tip is a hover hint: not what a running transfer said.
    if (event->type() == QEvent::StatusTip) {
        const QScopedValueRollback hinting(m_hinting, true);
        const QScopedValueRollback tip(m_statusTip, true);
        return QMainWindow::event(event);
    }
    return QMainWindow::event(event);
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    // The accelerator table is looked at before the key reaches the control
    // with the focus, so Ctrl+C in a text field selects COM1 and copies
    // nothing. A key press is first offered as a shortcut override: the
    // command runs there, before any control (or the view's own key
    // handling) sees the key press that follows, which is then swallowed.
    if (m_contextHelp && ContextHelpEvent(watched, event)) {
        return true;
    }
    const QEvent::Type type = event->type();
    // The message boxes of a running transfer tell why it failed.
    if (type == QEvent::Show && m_transferRunning) {
        if (auto* box = qobject_cast<QMessageBox*>(watched)) {
            m_transferReason = box->text();
        }
    }
    // A modal window (the tuning window) has no accelerators, but F1 and
    // Shift+F1 still bring the guide, at that window's section.
    if (type == QEvent::KeyPress && watched->isWidgetType() && QApplication::activeModalWidget() &&
        static_cast<QWidget*>(watched)->window() == QApplication::activeModalWidget()) {
        const QKeyCombination key = static_cast<QKeyEvent*>(event)->keyCombination();
        if (key == QKeyCombination(Qt::Key_F1)) {
            OnHelp(SectionOf(static_cast<QWidget*>(watched)));
            return true;
        }
        if (key == QKeyCombination(Qt::ShiftModifier, Qt::Key_F1)) {
            EnterContextHelp();
            return true;
        }
    }
    if ((type == QEvent::ShortcutOverride || type == QEvent::KeyPress) && watched->isWidgetType()) {
        auto* w = static_cast<QWidget*>(watched);
        auto* key = static_cast<QKeyEvent*>(event);
        if (w->window() == this && isEnabled() && !QApplication::activeModalWidget()) {
            const int id = CommandForKey(key->keyCombination());
            if (id != 0) {
                event->accept();
                const int combined = KeyOf(key->keyCombination());
                if (type == QEvent::KeyPress && m_pendingAccelerator == combined) {
                    m_pendingAccelerator = 0;
                    return true;
                }
                m_pendingAccelerator = type == QEvent::ShortcutOverride ? combined : 0;
                UpdateCommandUi();
                OnCommand(id);
                return true;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    // A running transfer still needs its view: the program does not end.
    if (CRadioTransfer::AnyRunning()) {
        event->ignore();
        return;
    }
    if (!m_app->SaveAllModified()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

void CMainFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowTitleChange && !m_settingTitle && windowTitle() != Q(kMainTitle)) {
        // A maximised document window would put its name into the title.
        m_settingTitle = true;
        setWindowTitle(Q(kMainTitle));
        m_settingTitle = false;
    }
    QMainWindow::changeEvent(event);
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    }
}

void CMainFrame::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    bool any = false;
    for (const QUrl& url : urls) {
        if (url.isLocalFile()) {
            m_app->OpenDocumentFile(url.toLocalFile());
            any = true;
        }
    }
    if (any) {
        event->acceptProposedAction();
        activateWindow();
    }
}

}  // namespace quorim
