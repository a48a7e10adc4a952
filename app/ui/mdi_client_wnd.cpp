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
    return QStringLiteral(":/res/bitmap134.png");
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
