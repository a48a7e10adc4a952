#pragma once

#include <QMdiArea>

namespace quorim {

// The client area of the main frame, where the document windows live. It
// paints bitmap 134 stretched over its whole area (not tiled, the aspect
// ratio not kept) and stretches it again whenever its size changes.
class CMdiClientWnd : public QMdiArea {
    Q_OBJECT

public:
    explicit CMdiClientWnd(QWidget* parent = nullptr);

    static QString BackgroundResource();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
};

}  // namespace quorim
