#pragma once

#include <QDialog>
#include <QLabel>
#include <QObject>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QString>
#include <atomic>
#include <functional>

namespace quorim {

// The progress window of a radio transfer (template 133). The object lives
// as long as its view; the window exists only from a Read or Write command to
// the end of the transfer (or a cancel before the start).
//
//   no window --command--> ready --start--> running --end of transfer--> no window
//                            \--cancel--> no window
class CProgressDlg : public QObject {
    Q_OBJECT

public:
    explicit CProgressDlg(QWidget* view);
    ~CProgressDlg() override;

    // Set by the cancel button while a transfer runs; read by the transfer
    // on its own thread.
    std::atomic<bool> m_bCancel{false};
    // The window's caption, set by the command before the window is made.
    QString m_strTitle;
    // The document window the transfer belongs to; the window's owner.
    QWidget* m_pView;
    // True while the start button must not start (another window's transfer
    // runs): the press only beeps.
    std::function<bool()> m_startRefused;

    // Makes the window from template 133, modeless, centred over `over`.
    void Create(QWidget* over);
    // Closes the window (the object stays).
    void DestroyWindow();
    bool IsWindow() const { return m_wnd != nullptr; }
    // The start button was pressed in this window: a transfer is on its way
    // or running.
    bool IsStarted() const;

    QDialog* Window() const { return m_wnd; }
    QPushButton* StartButton() const { return m_start; }
    QPushButton* CancelButton() const { return m_cancel; }
    QProgressBar* ProgressBar() const { return m_bar; }
    QLabel* StatusLine() const { return m_status; }
    QLabel* PercentLabel() const { return m_percent; }

    void OnInitDialog();
    void OnOK();
    void OnCancel();

signals:
    // The start button was pressed (its window stays, the button disabled).
    void Started();
    // WM_RADIO_TRANSFER, posted by the start button: the transfer runs when
    // the program gets to it.
    void RadioTransfer();

private:
    QPointer<QDialog> m_wnd;
    QPointer<QPushButton> m_start;
    QPointer<QPushButton> m_cancel;
    QPointer<QProgressBar> m_bar;
    QPointer<QLabel> m_percent;
    QPointer<QLabel> m_status;
};

}  // namespace quorim
