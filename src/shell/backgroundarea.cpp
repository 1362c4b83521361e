#include "backgroundarea.h"

#include <QPainter>
#include <QResizeEvent>

namespace chemodesk::shell {

BackgroundArea::BackgroundArea(QWidget *parent) : QMdiArea(parent)
{
    setBackground(QColor(0x8d, 0xa4, 0xbd));
}

bool BackgroundArea::setPicture(const QString &path)
{
    QPixmap picture;
    if (!picture.load(path))
        return false;
    picture_ = picture;
    scaled_ = QPixmap();
    viewport()->update();
    return true;
}

void BackgroundArea::paintEvent(QPaintEvent *event)
{
    if (picture_.isNull()) {
        QMdiArea::paintEvent(event);
        return;
    }
    const QSize area = viewport()->size();
    if (scaled_.isNull() || scaled_.size() != area) {
        const QPixmap covering =
            picture_.scaled(area, Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation);
        scaled_ =
            covering.copy((covering.width() - area.width()) / 2,
                          (covering.height() - area.height()) / 2, area.width(), area.height());
    }
    QPainter painter(viewport());
    painter.drawPixmap(0, 0, scaled_);
}

void BackgroundArea::resizeEvent(QResizeEvent *event)
{
    scaled_ = QPixmap();
    QMdiArea::resizeEvent(event);
}

} // namespace chemodesk::shell
