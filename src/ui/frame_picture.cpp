#include "ui/frame_picture.h"

#include <QPainter>

FramePicture::FramePicture(const QString &resource, QWidget *parent) : QWidget(parent), m_renderer(resource)
{
}

int FramePicture::heightForWidth(int width) const
{
    const QSize size = m_renderer.defaultSize();
    return size.width() > 0 ? width * size.height() / size.width() : 0;
}

void FramePicture::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    m_renderer.render(&painter, QRectF(rect()));
}
