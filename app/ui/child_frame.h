#pragma once

#include <QMdiSubWindow>

namespace quorim {

class CQuorim_CHView;

// The window of one document view inside the main frame: 860 x 500 pixels
// when made (the view then shrinks it to fit its form), icon 129, the
// document's title with the modified mark.
class CChildFrame : public QMdiSubWindow {
    Q_OBJECT

public:
    explicit CChildFrame(CQuorim_CHView* view, QWidget* parent = nullptr);

    static constexpr int kWidth = 860;
    static constexpr int kHeight = 500;

    CQuorim_CHView* View() const { return m_view; }
    // The title as the frame shows it: the document's title, ":n" when the
    // document has more than one window.
    void UpdateFrameTitle();

signals:
    // Asked before closing; a receiver may refuse by setting allow to false.
    void CanClose(CChildFrame* frame, bool& allow);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    CQuorim_CHView* m_view;
};

}  // namespace quorim
