// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/form_builder.h"

#include "widgets/rtfview.h"

#include <algorithm>

#include "ui/picture_widget.h"
#include "ui/pictures.h"
#include "ui/texts.h"
#include "widgets/radiogroup.h"
#include "widgets/spinedit.h"
#include "widgets/stepchart.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace form {

QColor colourOf(rs232::Rgb rgb)
{
    return QColor(rgb.r, rgb.g, rgb.b);
}

QColor colourOf(rs232::FrameSegment segment)
{
    return colourOf(rs232::segmentColour(segment));
}

QVector<StepPoint> stepPointsOf(const std::vector<rs232::SignalPoint> &points)
{
    QVector<StepPoint> out;
    out.reserve(static_cast<qsizetype>(points.size()));
    for (const auto &p : points)
        out.push_back({p.x, p.y, p.colour ? colourOf(*p.colour) : QColor()});
    return out;
}

QLabel *label(QWidget *parent, const language::Text &text, int x, int y, bool bold, const QString &name)
{
    auto *l = new QLabel(parent);
    if (!name.isEmpty())
        l->setObjectName(name);
    if (bold) {
        // Only the weight is set; family and size still follow the window's font.
        QFont f;
        f.setBold(true);
        l->setFont(f);
    }
    l->move(x, y);
    // A caption in another language is as wide as its own text.
    text.bind(l, [l](const QString &t) {
        l->setText(t);
        if (!l->wordWrap())
            l->adjustSize();
    });
    return l;
}

QLabel *note(QWidget *parent, const language::Text &text, const QRect &geometry, const QString &name)
{
    auto *l = new QLabel(parent);
    text.bind(l, [l](const QString &t) { l->setText(t); });
    if (!name.isEmpty())
        l->setObjectName(name);
    l->setWordWrap(true);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    l->setGeometry(geometry);
    return l;
}

QLabel *title(QWidget *parent, const language::Text &text, int x, int y)
{
    auto *l = new QLabel(parent);
    QFont f(QStringList{QStringLiteral("Times New Roman"), QStringLiteral("DejaVu Serif")});
    f.setPixelSize(20);
    f.setBold(true);
    l->setFont(f);
    l->move(x, y);
    text.bind(l, [l](const QString &t) {
        l->setText(t);
        l->adjustSize();
    });
    return l;
}

QLineEdit *readOnlyEdit(QWidget *parent, const QString &name, const QString &text, const QRect &geometry)
{
    auto *e = new QLineEdit(text, parent);
    e->setObjectName(name);
    e->setReadOnly(true);
    QPalette pal = e->palette();
    pal.setColor(QPalette::Base, kFieldColour);
    e->setPalette(pal);
    e->setGeometry(geometry);
    return e;
}

QFrame *colourPanel(QWidget *parent, const QString &name, const language::Text &caption,
                    const QRect &geometry)
{
    QFrame *swatch = panel(parent, name, geometry);
    swatch->setAutoFillBackground(true);
    auto *layout = new QVBoxLayout(swatch);
    layout->setContentsMargins(1, 0, 1, 0);
    auto *text = new QLabel(swatch);
    caption.bind(text, [text](const QString &t) { text->setText(t); });
    text->setObjectName(name + QStringLiteral("_caption"));
    text->setAlignment(Qt::AlignCenter);
    layout->addWidget(text);
    return swatch;
}

QFrame *rule(QWidget *parent, int x, int y, int width)
{
    auto *line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(x, y, width, 2);
    return line;
}

QPushButton *button(QWidget *parent, const QString &name, const language::Text &caption,
                    const QRect &geometry, const QString &icon)
{
    auto *b = new QPushButton(parent);
    caption.bind(b, [b](const QString &t) { b->setText(t); });
    b->setObjectName(name);
    b->setGeometry(geometry);
    if (!icon.isEmpty()) {
        b->setIcon(pictures::icon(icon));
        b->setIconSize(QSize(32, 32));
    }
    return b;
}

QWidget *picture(QWidget *parent, const QString &name, const QString &pictureName, const QRect &geometry,
                 bool opaque)
{
    auto *picture = new PictureWidget(pictureName, parent);
    picture->setObjectName(name);
    picture->setGeometry(geometry);
    picture->setAutoFillBackground(opaque);
    return picture;
}

RadioGroup *radioGroup(QWidget *parent, const QString &name, const language::Text &caption,
                       const std::function<QStringList()> &items, const QRect &geometry, int columns,
                       int initial)
{
    auto *g = new RadioGroup(caption(), items(), columns, parent);
    // The buttons are renamed in place, so that the choice and the buttons themselves stay.
    language::follow(g, [g, caption, items] {
        g->setCaption(caption());
        const QStringList words = items();
        for (int i = 0; i < words.size(); ++i)
            if (QRadioButton *b = g->button(i))
                b->setText(words.at(i));
    });
    g->setObjectName(name);
    g->setGeometry(geometry);
    g->setItemIndex(initial);
    return g;
}

QTabWidget *pageControl(QWidget *parent, const QString &name, QTabWidget::TabPosition position)
{
    auto *pages = new QTabWidget(parent);
    pages->setObjectName(name);
    pages->setTabPosition(position);
    pages->setUsesScrollButtons(false);
    pages->setElideMode(Qt::ElideNone);
    return pages;
}

QTabWidget *fillingPageControl(QWidget *page, const QString &name, QTabWidget::TabPosition position)
{
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(2, 2, 2, 2);
    auto *pages = pageControl(page, name, position);
    layout->addWidget(pages);
    return pages;
}

QWidget *addPage(QTabWidget *pages, const QString &name, const language::Text &caption)
{
    return addPage(pages, new QWidget, name, caption);
}

QWidget *addPage(QTabWidget *pages, QWidget *page, const QString &name, const language::Text &caption)
{
    page->setObjectName(name);
    page->setAutoFillBackground(true);
    pages->addTab(page, caption());
    caption.bind(page, [pages, page](const QString &t) { pages->setTabText(pages->indexOf(page), t); });
    return page;
}

QFont programFont()
{
    // Where Tahoma is missing, the condensed DejaVu face comes closest to its width.
    QFont font(QStringList{QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans Condensed"),
                           QStringLiteral("DejaVu Sans")});
    font.setPixelSize(11);
    return font;
}

QPalette programPalette(QPalette base)
{
    base.setColor(QPalette::Window, kWindowColour);
    base.setColor(QPalette::Button, kWindowColour);
    return base;
}

QTableWidget *bitGrid(QWidget *parent, const QString &name, int x, int y)
{
    auto *grid = new QTableWidget(12, 3, parent);
    grid->setObjectName(name);
    grid->horizontalHeader()->hide();
    grid->verticalHeader()->hide();
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionMode(QAbstractItemView::NoSelection);
    grid->setFocusPolicy(Qt::NoFocus);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The given widths were meant for a narrower font: a column that cannot hold its longest text in the
    // font in use grows to it (cells keep a few pixels of margin).
    const QFontMetrics metrics(grid->font());
    // The longest kind in either language.
    const int typeWidth = std::max({83, metrics.horizontalAdvance(QStringLiteral("stop bit (1,5 bit)")) + 8,
                                    metrics.horizontalAdvance(QStringLiteral("stop bit (1.5 bits)")) + 8});
    grid->setColumnWidth(0, 28);
    grid->setColumnWidth(1, typeWidth);
    grid->setColumnWidth(2, 27);
    grid->verticalHeader()->setMinimumSectionSize(15);
    grid->verticalHeader()->setDefaultSectionSize(15);
    QPalette pal = grid->palette();
    pal.setColor(QPalette::Base, kFieldColour);
    grid->setPalette(pal);
    // Row 0 is the fixed header row, in the window colour.
    for (int column = 0; column < 3; ++column) {
        auto *item = new QTableWidgetItem;
        item->setBackground(kWindowColour);
        grid->setItem(0, column, item);
    }
    // Room for twelve rows of 15 pixels, their grid lines and the frame.
    grid->setGeometry(x, y, 28 + typeWidth + 27 + 2 * grid->frameWidth() + 1,
                      12 * 15 + 2 * grid->frameWidth() + 1);
    return grid;
}

ByteGroup byteGroup(QWidget *parent, const QString &spinName, int x, int y, bool readOnly,
                    const QString &labelPrefix)
{
    const auto labelName = [&labelPrefix](const char *suffix) {
        return labelPrefix.isEmpty() ? QString() : labelPrefix + QLatin1String(suffix);
    };
    ByteGroup group;
    group.labels = {label(parent, QStringLiteral("DEC"), x, y, false, labelName("dec")),
                    label(parent, QStringLiteral("HEX"), x + 70, y, false, labelName("hex")),
                    label(parent, QStringLiteral("BIN"), x + 122, y, false, labelName("bin")),
                    label(parent, QStringLiteral("ASCII"), x + 210, y, false, labelName("ascii"))};
    group.spin = new SpinEdit(parent);
    group.spin->setObjectName(spinName);
    group.spin->setRange(0, 255);
    group.spin->setValue(0);
    group.spin->setReadOnly(readOnly);
    group.spin->setGeometry(x, y + 16, 62, 22);
    group.hexEdit = readOnlyEdit(parent, spinName + QLatin1Char('h'), QStringLiteral("00h"),
                                 QRect(x + 70, y + 16, 44, 22));
    group.binEdit = readOnlyEdit(parent, spinName + QLatin1Char('b'), QStringLiteral("0000 0000"),
                                 QRect(x + 122, y + 16, 80, 22));
    group.asciiEdit =
        readOnlyEdit(parent, spinName + QLatin1Char('a'), QString(), QRect(x + 210, y + 16, 40, 22));
    return group;
}

StepChart *byteChart(QWidget *parent, const ByteChartNames &names, int x, int y, ByteGroup &group)
{
    group.labels.append(label(parent, QStringLiteral("LSB"), x, y - 14, false, names.labelLsb));
    QLabel *msb = label(parent, QStringLiteral("MSB"), x, y - 14, false, names.labelMsb);
    group.labels.append(msb);
    msb->move(x + 290 - msb->width(), y - 14);

    auto *chart = new StepChart(parent);
    chart->setObjectName(names.chart);
    chart->setGeometry(x, y, 290, 33);
    chart->setBottomAxisVisible(false);
    chart->setLeftAxisVisible(false);
    chart->setBottomMax(8);
    chart->setBottomMin(0);
    chart->setLeftMax(1);
    chart->setLeftMin(0);
    chart->setPlotMargins(QMargins(2, 12, 2, 12));
    chart->setPlotBackground(QColor());
    chart->setPlotFrameVisible(false);
    chart->setBackgroundColor(kWindowColour);
    QFont tiny = chart->font();
    tiny.setPixelSize(1);
    chart->setLabelFont(tiny);
    group.series = chart->addSeries(names.series, kByteChartColour, 1);

    group.labels.append(note(
        parent,
        [] {
            return QCoreApplication::translate("form", "Az adatok LSB...MSB (legkisebb helyértéktől a "
                                                       "legnagyobbig) sorrendben kerülnek átküldésre.");
        },
        QRect(x, y + 36, 290, 30), names.labelOrder));
    return chart;
}

StepChart *packetChart(QWidget *parent, const QString &name, const QString &frameSeries,
                       const QString &markerSeries, const QRect &geometry)
{
    auto *chart = new StepChart(parent);
    chart->setObjectName(name);
    chart->setGeometry(geometry);
    chart->setBottomAxisVisible(false);
    chart->setLeftMax(2);
    chart->setLeftMin(0);
    QFont tiny = chart->font();
    tiny.setPixelSize(1);
    chart->setLabelFont(tiny);
    chart->setBackgroundColor(kWindowColour);
    chart->setPlotBackground(Qt::white);
    language::follow(chart, [chart] {
        chart->setRowLabels({{1.5, QCoreApplication::translate("form", "adatcsomag")},
                             {0.5, QCoreApplication::translate("form", "mintavétel")}});
    });
    chart->setRowLabelWidth(80);
    chart->addSeries(frameSeries, Qt::black, 2);
    chart->addSeries(markerSeries, Qt::black, 2);
    return chart;
}

ResultTabs resultTabs(QWidget *parent, const ResultTabNames &n, const QRect &geometry)
{
    ResultTabs out;
    out.pages = pageControl(parent, n.pages, QTabWidget::North);
    out.pages->setGeometry(geometry);
    const QRect valueField(120, 2, 40, 21);
    const QRect samplePanel(232, 3, 158, 17);
    const int noteWidth = geometry.width() - 20;

    const auto words = [](const char *source) {
        return [source] { return QCoreApplication::translate("form", source); };
    };
    QWidget *start = addPage(out.pages, n.startTab, words(QT_TRANSLATE_NOOP("form", "start bit")));
    label(start, words(QT_TRANSLATE_NOOP("form", "Start bit értéke:")), 8, 6, true);
    out.startBit = readOnlyEdit(start, n.startBit, QStringLiteral("0"), valueField);
    out.startPanel =
        colourPanel(start, n.startPanel, words(QT_TRANSLATE_NOOP("form", "start színminta")), samplePanel);
    note(start, texts::startBitNote, QRect(8, 40, noteWidth, 60));

    QWidget *data = addPage(out.pages, n.dataTab, words(QT_TRANSLATE_NOOP("form", "adat")));
    label(data, words(QT_TRANSLATE_NOOP("form", "Adat:")), 8, 6, true);
    out.dataPanel =
        colourPanel(data, n.dataPanel, words(QT_TRANSLATE_NOOP("form", "adat színminta")), samplePanel);
    out.byte = byteGroup(data, n.dataSpin, 8, 26, true);
    note(data, texts::dataNote, QRect(8, 74, noteWidth, 60));

    out.parityTab = addPage(out.pages, n.parityTab, words(QT_TRANSLATE_NOOP("form", "paritás bit")));
    out.parityLabel = label(out.parityTab, words(QT_TRANSLATE_NOOP("form", "Paritás bit értéke:")), 8, 6,
                            true, n.parityLabel);
    out.parityBit = readOnlyEdit(out.parityTab, n.parityBit, QStringLiteral("0"), valueField);
    out.parityPanel = colourPanel(out.parityTab, n.parityPanel,
                                  words(QT_TRANSLATE_NOOP("form", "paritás színminta")), samplePanel);
    out.parityKinds =
        radioGroup(out.parityTab, n.parityKinds, words(QT_TRANSLATE_NOOP("form", "paritás bit")),
                   texts::parityItems4, QRect(8, 28, 220, 60), 2, 0);
    note(out.parityTab, texts::parityBitNote, QRect(8, 92, noteWidth, 80));

    QWidget *stop = addPage(out.pages, n.stopTab, words(QT_TRANSLATE_NOOP("form", "stop bit")));
    label(stop, words(QT_TRANSLATE_NOOP("form", "Stop bit értéke:")), 8, 6, true);
    out.stopBit = readOnlyEdit(stop, n.stopBit, QStringLiteral("1"), valueField);
    out.stopPanel = colourPanel(stop, n.stopPanel, n.stopPanelCaption, samplePanel);
    if (n.stopLengths.isEmpty()) {
        note(stop, texts::stopBitNote, QRect(8, 40, noteWidth, 60));
    } else {
        out.stopLengths = radioGroup(stop, n.stopLengths, words(QT_TRANSLATE_NOOP("form", "stop bit hossza")),
                                     texts::stopItems, QRect(8, 28, 220, 78), 1, 0);
        note(stop, texts::stopBitNote, QRect(236, 28, noteWidth - 228, 130));
    }
    return out;
}

QFrame *panel(QWidget *parent, const QString &name, const QRect &geometry)
{
    auto *frame = new QFrame(parent);
    if (!name.isEmpty())
        frame->setObjectName(name);
    frame->setFrameShape(QFrame::Panel);
    frame->setFrameShadow(QFrame::Raised);
    frame->setGeometry(geometry);
    return frame;
}

RtfView *descriptionView(QWidget *parent, const QString &name, const QString &text, const QRect &geometry,
                         const QColor &background)
{
    auto *view = new RtfView(parent);
    view->setObjectName(name);
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    view->setPlainText(text);
    QPalette pal = view->palette();
    pal.setColor(QPalette::Base, background);
    view->setPalette(pal);
    view->setGeometry(geometry);
    return view;
}

} // namespace form
