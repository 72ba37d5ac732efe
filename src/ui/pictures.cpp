// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/pictures.h"

#include <QApplication>
#include <QCoreApplication>
#include <QIconEngine>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRadialGradient>
#include <QStyle>
#include <QStyleOption>

#include <map>

namespace pictures {

namespace {

using Painter = void (*)(QPainter &);

struct Entry
{
    QSizeF size;
    Painter draw;
};

const QColor kNavy(0x1f, 0x3f, 0x63);
const QColor kInk(0x1b, 0x2a, 0x36);
const QColor kDark(0x22, 0x22, 0x22);

QPen pen(const QColor &colour, qreal width, Qt::PenCapStyle cap = Qt::FlatCap,
         Qt::PenJoinStyle join = Qt::MiterJoin)
{
    QPen p(colour, width, Qt::SolidLine, cap, join);
    return p;
}

// A filled and outlined rectangle with rounded corners (radius 0: square).
void box(QPainter &p, const QRectF &r, qreal radius, const QColor &fill, const QColor &outline = {},
         qreal width = 0)
{
    p.setBrush(fill);
    p.setPen(outline.isValid() ? pen(outline, width) : QPen(Qt::NoPen));
    if (radius > 0)
        p.drawRoundedRect(r, radius, radius);
    else
        p.drawRect(r);
}

void disc(QPainter &p, const QPointF &centre, qreal radius, const QBrush &fill, const QColor &outline = {},
          qreal width = 0)
{
    p.setBrush(fill);
    p.setPen(outline.isValid() ? pen(outline, width) : QPen(Qt::NoPen));
    p.drawEllipse(centre, radius, radius);
}

void polygon(QPainter &p, std::initializer_list<QPointF> points, const QColor &fill)
{
    p.setBrush(fill);
    p.setPen(Qt::NoPen);
    p.drawPolygon(QPolygonF(QList<QPointF>(points)));
}

enum class Anchor { Start, Middle };

// Text standing on its baseline at `at`, starting there or centred on it; size in picture pixels.
void text(QPainter &p, const QPointF &at, const QString &words, qreal size, Anchor anchor = Anchor::Start,
          bool bold = false, const QColor &colour = Qt::black, const QString &family = QStringLiteral("DejaVu Sans"))
{
    QFont font(family);
    font.setStyleHint(family.contains(QLatin1String("Mono")) ? QFont::Monospace : QFont::SansSerif);
    font.setPixelSize(qRound(size));
    font.setBold(bold);
    p.setFont(font);
    p.setPen(colour);
    const qreal width = QFontMetricsF(font).horizontalAdvance(words);
    p.drawText(QPointF(anchor == Anchor::Middle ? at.x() - width / 2 : at.x(), at.y()), words);
}

// The glyphs of the buttons, on 32 x 32.

void axisGrow(QPainter &p)
{
    polygon(p, {{5, 6}, {5, 26}, {19, 16}}, kNavy);
    box(p, QRectF(22, 6, 4, 20), 0, kNavy);
}

void axisShrink(QPainter &p)
{
    box(p, QRectF(6, 6, 4, 20), 0, kNavy);
    polygon(p, {{27, 6}, {27, 26}, {13, 16}}, kNavy);
}

void camera(QPainter &p)
{
    const QColor body(0x5a, 0x5a, 0x5a);
    box(p, QRectF(3, 9, 26, 18), 3, body, kDark, 1.5);
    box(p, QRectF(10, 5, 10, 5), 1, body, kDark, 1.5);
    disc(p, QPointF(16, 18), 6, QColor(0x9f, 0xd3, 0xf2), kDark, 2);
}

void magnifier(QPainter &p)
{
    disc(p, QPointF(13, 13), 9, QColor(0xdf, 0xf1, 0xfb), kNavy, 3);
    p.setPen(pen(QColor(0x7a, 0x4b, 0x1e), 5, Qt::RoundCap));
    p.drawLine(QPointF(19.5, 19.5), QPointF(29, 29));
}

// The magnifier with a plus (zoom in) or a minus (zoom out) in its glass.
void zoomGlyph(QPainter &p, bool in)
{
    magnifier(p);
    p.setPen(pen(kNavy, 3));
    p.drawLine(QPointF(8.5, 13), QPointF(17.5, 13));
    if (in)
        p.drawLine(QPointF(13, 8.5), QPointF(13, 17.5));
}

void zoomIn(QPainter &p)
{
    zoomGlyph(p, true);
}

void zoomOut(QPainter &p)
{
    zoomGlyph(p, false);
}

void printer(QPainter &p)
{
    box(p, QRectF(8, 3, 16, 10), 0, Qt::white, kDark, 1.5);
    box(p, QRectF(3, 12, 26, 12), 2, QColor(0x6b, 0x6b, 0x6b), kDark, 1.5);
    box(p, QRectF(8, 20, 16, 9), 0, Qt::white, kDark, 1.5);
    disc(p, QPointF(25, 16), 1.5, QColor(0x7c, 0xff, 0x7c));
}

// The program's icon on 128 x 128: a serial connector over one character frame.
void programIcon(QPainter &p)
{
    QLinearGradient sky(0, 4, 0, 124);
    sky.setColorAt(0, QColor(0x3d, 0x7e, 0xa6));
    sky.setColorAt(1, QColor(0x1d, 0x4e, 0x6e));
    p.setPen(Qt::NoPen);
    p.setBrush(sky);
    p.drawRoundedRect(QRectF(4, 4, 120, 120), 18, 18);
    p.setBrush(QColor(0xd9, 0xdd, 0xe2));
    p.setPen(pen(kInk, 3, Qt::FlatCap, Qt::RoundJoin));
    p.drawPolygon(QPolygonF({QPointF(20, 30), QPointF(108, 30), QPointF(98, 74), QPointF(30, 74)}));
    for (qreal x : {36, 50, 64, 78, 92})
        disc(p, QPointF(x, 44), 4, kInk);
    for (qreal x : {43, 57, 71, 85})
        disc(p, QPointF(x, 60), 4, kInk);
    p.setBrush(Qt::NoBrush);
    p.setPen(pen(QColor(0x7c, 0xff, 0x7c), 4));
    const QPointF frame[] = {{14, 96}, {26, 96}, {26, 112}, {40, 112}, {40, 96},  {52, 96}, {52, 112},
                             {76, 112}, {76, 96}, {88, 96}, {88, 112}, {100, 112}, {100, 96}, {114, 96}};
    p.drawPolyline(frame, int(std::size(frame)));
}

// The pictures of the pages.

void chip(QPainter &p)
{
    p.setBrush(QColor(0xb8, 0xb8, 0xb8));
    p.setPen(pen(QColor(0x55, 0x55, 0x55), 1));
    for (qreal x : {20, 34, 48, 62, 76}) {
        p.drawRect(QRectF(x, 2, 6, 10));
        p.drawRect(QRectF(x, 67, 6, 10));
    }
    box(p, QRectF(10, 10, 83, 59), 3, QColor(0x2b, 0x2b, 0x2b), QColor(0x11, 0x11, 0x11), 1.5);
    disc(p, QPointF(20, 20), 3, QColor(0x55, 0x55, 0x55));
    text(p, QPointF(51.5, 45), QStringLiteral("UART"), 13, Anchor::Middle, false, QColor(0xd8, 0xd8, 0xd8),
         QStringLiteral("DejaVu Sans Mono"));
}

void errorMark(QPainter &p)
{
    p.setPen(pen(QColor(0xd0, 0x18, 0x18), 5, Qt::RoundCap));
    p.drawLine(QPointF(4, 5), QPointF(24, 25));
    p.drawLine(QPointF(24, 5), QPointF(4, 25));
}

void okMark(QPainter &p)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(pen(QColor(0x1f, 0x5f, 0xbf), 5, Qt::RoundCap, Qt::RoundJoin));
    const QPointF tick[] = {{3, 15}, {12, 24}, {29, 4}};
    p.drawPolyline(tick, 3);
}

// One character frame of eleven equal cells between x = 21 and x = 663; the page lays the cell names
// over it above the line, and "egy adatkeret" above the arrow.
void frameChannel(QPainter &p)
{
    constexpr qreal left = 21, right = 663, cell = (right - left) / 11;
    p.setOpacity(0.45);
    box(p, QRectF(left, 86, cell, 28), 0, QColor(0x00, 0xff, 0x00));
    box(p, QRectF(left + cell, 86, 8 * cell, 28), 0, QColor(0x81, 0xa3, 0xa3));
    box(p, QRectF(left + 9 * cell, 86, cell, 28), 0, QColor(0x1b, 0x65, 0x70));
    box(p, QRectF(left + 10 * cell, 86, cell, 28), 0, QColor(0xff, 0x48, 0x48));
    p.setOpacity(1);
    p.setPen(pen(Qt::black, 2));
    p.drawLine(QPointF(4, 100), QPointF(680, 100));
    p.setPen(pen(Qt::black, 1.5));
    p.drawLine(QPointF(left, 80), QPointF(left, 120));
    p.drawLine(QPointF(right, 80), QPointF(right, 120));
    for (int i = 1; i < 11; ++i)
        p.drawLine(QPointF(left + i * cell, 86), QPointF(left + i * cell, 114));
    p.drawLine(QPointF(27, 152), QPointF(657, 152));
    polygon(p, {{21, 152}, {33, 146}, {33, 158}}, Qt::black);
    polygon(p, {{663, 152}, {651, 146}, {651, 158}}, Qt::black);
    QPen dashed = pen(Qt::black, 1.5);
    dashed.setDashPattern({2, 2}); // 3 on, 3 off at a width of 1.5
    p.setPen(dashed);
    p.drawLine(QPointF(left, 124), QPointF(left, 160));
    p.drawLine(QPointF(right, 124), QPointF(right, 160));
}

// The cells of one character frame from the idle line before it to the idle line after it, each with
// its name and its level; the data bits from LSB to MSB.
void frameCells(QPainter &p, bool parity)
{
    struct Cell
    {
        QString name;
        QString level;
        QColor fill;
        qreal size;
    };
    const QString idle = QCoreApplication::translate("pictures", "tétlen");
    QList<Cell> cells{{idle, QStringLiteral("1"), QColor(0xc8, 0xc8, 0xc8), 24},
                      {QStringLiteral("start"), QStringLiteral("0"), QColor(0xb8, 0xf5, 0xb8), 26}};
    for (int bit = 0; bit < 8; ++bit)
        cells.append({QStringLiteral("D%1").arg(bit), QString(), QColor(0xd8, 0xe4, 0xe4), 30});
    if (parity)
        cells.append({QCoreApplication::translate("pictures", "paritás"), QStringLiteral("P"), QColor(0xa9, 0xcf, 0xd4), 22});
    cells.append({QStringLiteral("stop"), QStringLiteral("1"), QColor(0xff, 0xc4, 0xc4), 26});
    cells.append({idle, QStringLiteral("1"), QColor(0xc8, 0xc8, 0xc8), 24});
    const QColor outline(0x33, 0x33, 0x33);
    for (int i = 0; i < cells.size(); ++i) {
        const qreal x = 100 * i;
        box(p, QRectF(x + 3, 34, 94, 96), 6, cells[i].fill, outline, 3);
        text(p, QPointF(x + 50, 72), cells[i].name, cells[i].size, Anchor::Middle);
        text(p, QPointF(x + 50, 114), cells[i].level, 30, Anchor::Middle, true);
    }
    text(p, QPointF(250, 24), QStringLiteral("LSB"), 26, Anchor::Middle, true);
    text(p, QPointF(950, 24), QStringLiteral("MSB"), 26, Anchor::Middle, true);
    QPen dashed = pen(outline, 3);
    dashed.setDashPattern({10.0 / 3, 8.0 / 3});
    p.setPen(dashed);
    p.drawLine(QPointF(300, 16), QPointF(892, 16));
    polygon(p, {{892, 8}, {908, 16}, {892, 24}}, outline);
}

void frameParity(QPainter &p)
{
    frameCells(p, true);
}

void frameNoParity(QPainter &p)
{
    frameCells(p, false);
}

// The information button: a speech bubble with an i on a shining blue disc.
void info(QPainter &p)
{
    QRadialGradient shine(QPointF(2.5 + 0.4 * 64, 4.5 + 0.3 * 64), 0.75 * 64);
    shine.setColorAt(0, QColor(0xea, 0xf6, 0xff));
    shine.setColorAt(0.6, QColor(0x8c, 0xc8, 0xef));
    shine.setColorAt(1, QColor(0x3f, 0x8f, 0xc7));
    disc(p, QPointF(34.5, 36.5), 32, shine, QColor(0x2d, 0x6f, 0x9f), 1.5);
    QPainterPath bubble;
    bubble.moveTo(20, 18);
    bubble.lineTo(49, 18);
    bubble.arcTo(QRectF(43, 18, 12, 12), 90, -90);
    bubble.lineTo(55, 44);
    bubble.arcTo(QRectF(43, 38, 12, 12), 0, -90);
    bubble.lineTo(34, 50);
    bubble.lineTo(24, 58);
    bubble.lineTo(26, 50);
    bubble.lineTo(20, 50);
    bubble.arcTo(QRectF(14, 38, 12, 12), 270, -90);
    bubble.lineTo(14, 24);
    bubble.arcTo(QRectF(14, 18, 12, 12), 180, -90);
    bubble.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(kNavy);
    p.drawPath(bubble);
    disc(p, QPointF(34.5, 25), 3.2, Qt::white);
    box(p, QRectF(31.5, 31, 6, 15), 1.5, Qt::white);
    p.setOpacity(0.45);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(28, 15), 14, 6);
    p.setOpacity(1);
}

// Two opposite arrows between two chips, each led by two bits.
void linkArrows(QPainter &p)
{
    const QColor blue(0x2d, 0x6f, 0x9f);
    for (const QRectF &bit : {QRectF(6, 10, 8, 8), QRectF(18, 10, 8, 8), QRectF(145, 43, 8, 8), QRectF(133, 43, 8, 8)})
        box(p, bit, 0, blue);
    polygon(p, {{32, 11}, {136, 11}, {136, 5}, {154, 14}, {136, 23}, {136, 17}, {32, 17}}, blue);
    polygon(p, {{127, 44}, {23, 44}, {23, 38}, {5, 47}, {23, 56}, {23, 50}, {127, 50}}, blue);
}

// Two modules, each one's Tx wired to the other's Rx, and a common ground.
void topology(QPainter &p)
{
    const QColor module(0xbf, 0xe0, 0xf5);
    box(p, QRectF(20, 10, 70, 160), 0, module, kInk, 2);
    box(p, QRectF(375, 10, 70, 160), 0, module, kInk, 2);
    for (const auto &[x, number] : {std::pair{62.0, 1}, std::pair{417.0, 2}}) {
        p.save();
        p.translate(x, 90);
        p.rotate(-90);
        text(p, QPointF(0, 0), QCoreApplication::translate("pictures", "RS232 modul %1.").arg(number), 14, Anchor::Middle, true);
        p.restore();
    }
    text(p, QPointF(96, 52), QStringLiteral("Tx"), 12);
    text(p, QPointF(350, 52), QStringLiteral("Rx"), 12);
    text(p, QPointF(96, 112), QStringLiteral("Rx"), 12);
    text(p, QPointF(350, 112), QStringLiteral("Tx"), 12);
    p.setPen(pen(kInk, 2));
    p.drawLine(QPointF(118, 48), QPointF(345, 48));
    p.drawLine(QPointF(345, 108), QPointF(118, 108));
    p.drawLine(QPointF(55, 170), QPointF(55, 186));
    p.drawLine(QPointF(410, 170), QPointF(410, 186));
    p.drawLine(QPointF(55, 186), QPointF(410, 186));
    polygon(p, {{345, 48}, {332, 42}, {332, 54}}, kInk);
    polygon(p, {{118, 108}, {131, 102}, {131, 114}}, kInk);
    text(p, QPointF(232, 181), QStringLiteral("GND"), 12, Anchor::Middle);
}

const std::map<QString, Entry> &catalogue()
{
    static const std::map<QString, Entry> entries{
        {QStringLiteral("axis_grow"), {{32, 32}, axisGrow}},
        {QStringLiteral("axis_shrink"), {{32, 32}, axisShrink}},
        {QStringLiteral("camera"), {{32, 32}, camera}},
        {QStringLiteral("magnifier"), {{32, 32}, magnifier}},
        {QStringLiteral("printer"), {{32, 32}, printer}},
        {QStringLiteral("zoom_in"), {{32, 32}, zoomIn}},
        {QStringLiteral("zoom_out"), {{32, 32}, zoomOut}},
        {QStringLiteral("rs232"), {{128, 128}, programIcon}},
        {QStringLiteral("chip"), {{103, 79}, chip}},
        {QStringLiteral("error"), {{28, 30}, errorMark}},
        {QStringLiteral("frame_channel"), {{684, 175}, frameChannel}},
        {QStringLiteral("frame_noparity"), {{1200, 150}, frameNoParity}},
        {QStringLiteral("frame_parity"), {{1300, 150}, frameParity}},
        {QStringLiteral("info"), {{69, 73}, info}},
        {QStringLiteral("link_arrows"), {{159, 61}, linkArrows}},
        {QStringLiteral("ok"), {{32, 28}, okMark}},
        {QStringLiteral("topology"), {{465, 199}, topology}},
    };
    return entries;
}

const Entry *find(const QString &name)
{
    const auto found = catalogue().find(name);
    return found == catalogue().end() ? nullptr : &found->second;
}

// An icon painted afresh at every size it is asked for, so it is sharp on any screen.
class PaintedIconEngine : public QIconEngine
{
public:
    explicit PaintedIconEngine(const QString &name) : m_name(name) {}
    void paint(QPainter *painter, const QRect &rect, QIcon::Mode, QIcon::State) override
    {
        pictures::paint(*painter, m_name, QRectF(rect));
    }
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        {
            QPainter painter(&pixmap);
            paint(&painter, QRect(QPoint(), size), mode, state);
        }
        if (mode == QIcon::Disabled || mode == QIcon::Selected) {
            QStyleOption option;
            if (const QStyle *style = QApplication::style())
                return style->generatedIconPixmap(mode, pixmap, &option);
        }
        return pixmap;
    }
    QIconEngine *clone() const override { return new PaintedIconEngine(m_name); }
    QString key() const override { return QStringLiteral("rs232-painted"); }
    QString iconName() override { return m_name; }

private:
    QString m_name;
};

} // namespace

bool exists(const QString &name)
{
    return find(name) != nullptr;
}

QSizeF naturalSize(const QString &name)
{
    const Entry *entry = find(name);
    return entry ? entry->size : QSizeF();
}

void paint(QPainter &painter, const QString &name, const QRectF &target)
{
    const Entry *entry = find(name);
    if (!entry || target.isEmpty())
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.translate(target.topLeft());
    painter.scale(target.width() / entry->size.width(), target.height() / entry->size.height());
    entry->draw(painter);
    painter.restore();
}

QIcon icon(const QString &name)
{
    return exists(name) ? QIcon(new PaintedIconEngine(name)) : QIcon();
}

} // namespace pictures
