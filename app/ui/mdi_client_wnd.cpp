#include "app/ui/mdi_client_wnd.h"

#include <QPainter>
#include <QPixmap>
#include <QResizeEvent>

namespace quorim {

CMdiClientWnd::CMdiClientWnd(QWidget* parent) : QMdiArea(parent) {
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

QString CMdiClientWnd::BackgroundResource() {
    // The picture at four times its size: stretched over a large window it
    // stays smooth, where the 256-pixel one would show its pixels.
    return QStringLiteral(":/res/bitmap134_hd.png");
}

void CMdiClientWnd::paintEvent(QPaintEvent* /*event*/) {
    // Loaded anew for every paint: the picture is only held while drawing.
    const QPixmap picture(BackgroundResource());
    QPainter painter(viewport());
    if (picture.isNull()) {
        painter.fillRect(viewport()->rect(), palette().dark());
        return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(viewport()->rect(), picture);
}

void CMdiClientWnd::resizeEvent(QResizeEvent* event) {
    QMdiArea::resizeEvent(event);
    viewport()->update();
}

}  // namespace quorim
