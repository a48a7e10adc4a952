#pragma once

#include <QHash>
#include <QKeyCombination>
#include <QList>
#include <QMainWindow>
#include <QPointer>

#include "app/ui/frame_host.h"
#include "app/ui/help_guide.h"
#include "ui/commands.h"

class QLabel;
class QMenu;
class QToolBar;

namespace quorim {

class CChildFrame;
class CHelpWindow;
class CMdiClientWnd;
class CQuorim_CHView;

// The main window: menu bar (menu 128 while no document is open, menu 129
// while one is active), toolbar 128, the status bar with its four panes and
// the client area with the document windows. Accelerator table 128 is
// translated here before any child control sees the key.
class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    explicit CMainFrame(CFrameHost* app);
    // The guide's window, once help was asked for (tests).
    CHelpWindow* HelpWindow() const;
    bool IsContextHelp() const { return m_contextHelp; }
    ~CMainFrame() override;

    static constexpr int kWidth = 930;
    static constexpr int kHeight = 630;

    // The creation steps: toolbar, status bar, docking, client area.
    bool LoadFrame();

    CMdiClientWnd* MdiClient() const { return m_wndMdiClient; }
    QStatusBar* StatusBarWnd() const;
    QToolBar* ToolBarWnd() const { return m_wndToolBar; }
    QList<QLabel*> IndicatorPanes() const { return m_indicators; }

    // Every action of a command id (the About command has one per menu).
    QList<QAction*> Actions(int id) const { return m_actions.values(id); }
    QAction* Action(int id) const { return m_actions.value(id); }
    // Whether menu 129 (a document is active) is on the menu bar.
    bool IsDocumentMenu() const { return m_documentMenu; }
    QList<QMenu*> Menus(bool documentMenu) const { return documentMenu ? m_menu129 : m_menu128; }

    // The first pane of the status bar.
    void SetMessageText(const QString& text);
    QString MessageText() const;
    // The pane that keeps the last transfer's result, or why it failed,
    // until the next transfer; hover hints leave it alone. Each document
    // has its own (`doc`; none: the active one's), shown while it is active.
    void SetTransferResult(const QString& text, const QObject* doc = nullptr);
    QString TransferResultText() const;
    // A transfer began (true: the result pane empties) or ended (false:
    // without a result the pane shows the last thing said about it).
    void OnTransferRunning(bool running, const QObject* doc = nullptr);
    // The pane that tells, after a read or an open, how many channels lie
    // outside the band or off the step (empty: hidden); per document too.
    void SetCheckSummary(const QString& text, const QObject* doc);
    QString CheckSummaryText() const;
    // A document went away: its panes' texts go with it.
    void ForgetDocument(const QObject* doc);
    // The pane with the port in use: "COM1 · /dev/ttyUSB0".
    QString PortPaneText() const;
    void UpdatePortPane();

    CChildFrame* ActiveChild() const;
    CQuorim_CHView* ActiveView() const;

    // Command routing: the active view, then the frame, then the application.
    void OnCommand(int id);
    bool IsCommandEnabled(int id) const;
    bool IsCommandChecked(int id) const;
    void UpdateCommandUi();
    // The port items' status prompts, each with the device its COMn stands for now.
    void UpdatePortPrompts();
    // The accelerator bound to a key, 0 for none.
    int CommandForKey(QKeyCombination key) const;

    void AddChild(CChildFrame* child);
    void RefreshRecentFileMenu();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QAction* ActionFor(int id, const QString& text);
    QList<QMenu*> BuildMenu(const std::vector<MenuItem>& items);
    void FillPopup(QMenu* menu, const MenuItem& popup);
    void ShowMenu(bool documentMenu);
    void OnSubWindowActivated();
    // The result and check panes show the active document's texts.
    void ShowDocumentPanes();
    void FitPanes(const QString& message);
    const QObject* ActiveDocument() const;
    void FillWindowList(QMenu* menu);
    void ArrangeIcons();
    // The user guide at `section`, or the message that it is missing.
    void OnHelp(HelpSection section = HelpSection::Contents);
    // Shift+F1: the next click opens the guide at what it hit.
    void EnterContextHelp();
    void LeaveContextHelp();
    bool ContextHelpEvent(QObject* watched, QEvent* event);
    HelpSection SectionOf(QWidget* w) const;

    CFrameHost* m_app;
    CMdiClientWnd* m_wndMdiClient = nullptr;
    QToolBar* m_wndToolBar = nullptr;
    QList<QLabel*> m_indicators;
    QLabel* m_resultPane = nullptr;
    QLabel* m_checkPane = nullptr;
    struct DocumentPanes {
        QString result;
        QString check;
    };
    QHash<const QObject*, DocumentPanes> m_documentPanes;
    const QObject* m_transferDocument = nullptr;
    QLabel* m_portPane = nullptr;
    // While a transfer runs: whether it told its result, and the last
    // message or status line it gave (hover hints and status tips aside).
    bool m_transferRunning = false;
    bool m_transferTold = false;
    QString m_transferReason;
    bool m_hinting = false;
    // What the message pane shows: the idle text or the result the result
    // pane shows too, a hint of the view, a menu's or a button's tip.
    enum class Shown { Plain, Hint, StatusTip };
    Shown m_shown = Shown::Plain;
    bool m_statusTip = false;  // a status tip event is being handled
    QMultiHash<int, QAction*> m_actions;
    QList<QMenu*> m_menu128;
    QList<QMenu*> m_menu129;
    bool m_documentMenu = false;
    // Per File menu: the "最近文件" placeholder and the entries shown for it.
    QList<QAction*> m_mruPlaceholders;
    QList<QAction*> m_mruEntries;
    QList<QAction*> m_windowList;
    QHash<int, int> m_accelerators;  // key combination -> command
    bool m_settingTitle = false;
    bool m_destroying = false;
    // The key whose accelerator ran on its shortcut override; its key press
    // still to come is swallowed.
    int m_pendingAccelerator = 0;
    bool m_contextHelp = false;
    QPointer<CHelpWindow> m_helpWindow;
};

}  // namespace quorim
