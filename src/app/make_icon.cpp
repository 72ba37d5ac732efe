// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Writes the program's icon as a Windows icon file (.ico) for the program's resources and its installer:
// the painted icon at each size Windows shows, each stored as PNG.
//   make_icon OUT.ico

#include "ui/pictures.h"

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QtEndian>

#include <cstdio>

namespace {

void putLe16(QByteArray &out, quint16 value)
{
    value = qToLittleEndian(value);
    out.append(reinterpret_cast<const char *>(&value), 2);
}

void putLe32(QByteArray &out, quint32 value)
{
    value = qToLittleEndian(value);
    out.append(reinterpret_cast<const char *>(&value), 4);
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_icon OUT.ico\n");
        return 2;
    }
    const int sizes[] = {16, 20, 24, 32, 40, 48, 64, 128, 256};
    QList<QByteArray> images;
    for (int size : sizes) {
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        pictures::paint(painter, QStringLiteral("rs232"), QRectF(0, 0, size, size));
        painter.end();
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        images.append(png);
    }
    // The icon directory: a header, one 16-byte entry per image, then the images.
    QByteArray out;
    putLe16(out, 0);
    putLe16(out, 1);
    putLe16(out, quint16(images.size()));
    quint32 offset = 6 + 16 * quint32(images.size());
    for (qsizetype i = 0; i < images.size(); ++i) {
        const int size = sizes[i];
        out.append(char(size >= 256 ? 0 : size)); // 0 stands for 256
        out.append(char(size >= 256 ? 0 : size));
        out.append(char(0)); // no palette
        out.append(char(0));
        putLe16(out, 1);  // colour planes
        putLe16(out, 32); // bits per pixel
        putLe32(out, quint32(images[i].size()));
        putLe32(out, offset);
        offset += quint32(images[i].size());
    }
    for (const QByteArray &png : images)
        out.append(png);
    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::WriteOnly) || file.write(out) != out.size() || !file.flush()) {
        std::fprintf(stderr, "make_icon: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
