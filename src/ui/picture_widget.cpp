// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/picture_widget.h"

#include "ui/language.h"
#include "ui/pictures.h"

#include <QPainter>

PictureWidget::PictureWidget(const QString &picture, QWidget *parent) : QWidget(parent), m_picture(picture)
{
    // The words in a picture are painted in the window's language: painted again after a switch.
    language::follow(this, [this] { update(); });
}

int PictureWidget::heightForWidth(int width) const
{
    const QSizeF size = pictures::naturalSize(m_picture);
    return size.width() > 0 ? static_cast<int>(width * size.height() / size.width()) : 0;
}

void PictureWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (m_fills) {
        pictures::paint(painter, m_picture, QRectF(rect()));
        return;
    }
    // Centred at the largest size that keeps the picture's proportions.
    QSizeF size = pictures::naturalSize(m_picture);
    size.scale(QSizeF(this->size()), Qt::KeepAspectRatio);
    QRectF target(QPointF(), size);
    target.moveCenter(QRectF(rect()).center());
    pictures::paint(painter, m_picture, target);
}
