// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/svg_picture.h"

#include "ui/language.h"

#include <QPainter>

SvgPicture::SvgPicture(const QString &resource, QWidget *parent) : QWidget(parent)
{
    // A picture with words in it has a copy in each language's folder beside it.
    language::follow(this, [this, resource] {
        m_renderer.load(language::documentPath(resource));
        update();
    });
}

int SvgPicture::heightForWidth(int width) const
{
    const QSize size = m_renderer.defaultSize();
    return size.width() > 0 ? width * size.height() / size.width() : 0;
}

void SvgPicture::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (m_fills) {
        m_renderer.render(&painter, QRectF(rect()));
        return;
    }
    // Centred at the largest size that keeps the picture's proportions.
    QSizeF size = m_renderer.defaultSize();
    size.scale(QSizeF(this->size()), Qt::KeepAspectRatio);
    QRectF target(QPointF(), size);
    target.moveCenter(QRectF(rect()).center());
    m_renderer.render(&painter, target);
}
