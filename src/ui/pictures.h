// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The program's pictures and button glyphs, painted by the program itself: they are sharp at any size
// and pixel density, need no image library, and their texts are the program's own strings.
// Each picture is drawn in its own coordinates (its natural size, in pixels at 1x) and scaled to the
// rectangle asked for.

#include <QIcon>
#include <QRectF>
#include <QSizeF>
#include <QString>

class QPainter;

namespace pictures {

// Names: the pictures "chip", "error", "frame_channel", "frame_noparity", "frame_parity", "info",
// "link_arrows", "ok", "topology"; the glyphs "axis_grow", "axis_shrink", "camera", "magnifier",
// "printer", "zoom_in", "zoom_out"; and the program's icon "rs232". Words in a picture are the program's
// own texts, painted in the window's language.
bool exists(const QString &name);

// The picture's natural size; empty for a name that is none.
QSizeF naturalSize(const QString &name);

// Paints the picture stretched over target; nothing for a name that is none.
void paint(QPainter &painter, const QString &name, const QRectF &target);

// An icon drawn at whatever size and density it is shown at (greyed when disabled).
QIcon icon(const QString &name);

} // namespace pictures
