// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/frame.h"
#include "ui/byte_group.h"
#include "ui/language.h"
#include "widgets/stepseries.h"

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QRect>
#include <QString>
#include <QTabWidget>
#include <QVector>
#include <functional>
#include <vector>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QWidget;
class RadioGroup;
class RtfView;
class StepChart;

// Small helpers that build the controls of the pages with the names, texts and geometry the pages give
// them, so that the page builders read like the window's form data.
namespace form {

inline const QColor kWindowColour{212, 208, 200};

// The program's font (Tahoma, or the DejaVu face closest to its width, at 11 pixels) and its palette
// (window and buttons in the window colour): set on the application by main, and on the window itself.
QFont programFont();
QPalette programPalette(QPalette base);
// The colours of the window's panels and charts, all here.
inline const QColor kFieldColour{244, 249, 255};
inline const QColor kByteChartColour{9, 135, 183};
inline const QColor kInfoPanelColour{220, 234, 239};   // the information panel's topic list and text
inline const QColor kResultMemoColour{254, 254, 214};  // the transmit/receive page's result memo
inline const QColor kRtsLineColour{64, 128, 128};      // the handshake lines of the transmit chart
inline const QColor kCtsLineColour{128, 128, 192};

QColor colourOf(rs232::Rgb rgb);
QColor colourOf(rs232::FrameSegment segment);
QVector<StepPoint> stepPointsOf(const std::vector<rs232::SignalPoint> &points);

QLabel *label(QWidget *parent, const language::Text &text, int x, int y, bool bold = false,
              const QString &name = {});
// A word-wrapped label in a fixed rectangle.
QLabel *note(QWidget *parent, const language::Text &text, const QRect &geometry, const QString &name = {});
QLabel *title(QWidget *parent, const language::Text &text, int x, int y);
QLineEdit *readOnlyEdit(QWidget *parent, const QString &name, const QString &text, const QRect &geometry);
// A panel painted in one colour with a centred caption.
QFrame *colourPanel(QWidget *parent, const QString &name, const language::Text &caption,
                    const QRect &geometry);
// A horizontal rule two pixels high.
QFrame *rule(QWidget *parent, int x, int y, int width);
QPushButton *button(QWidget *parent, const QString &name, const language::Text &caption,
                    const QRect &geometry, const QString &icon = {});
// One of the program's pictures (ui/pictures.h); an opaque one paints the window colour behind it.
QWidget *picture(QWidget *parent, const QString &name, const QString &picture, const QRect &geometry,
                 bool opaque = false);
RadioGroup *radioGroup(QWidget *parent, const QString &name, const language::Text &caption,
                       const std::function<QStringList()> &items, const QRect &geometry, int columns = 1,
                       int initial = 0);
QTabWidget *pageControl(QWidget *parent, const QString &name, QTabWidget::TabPosition position);
// A page control that fills its parent page.
QTabWidget *fillingPageControl(QWidget *page, const QString &name, QTabWidget::TabPosition position);
QWidget *addPage(QTabWidget *pages, const QString &name, const language::Text &caption);
// The same for a page built by a class of its own.
QWidget *addPage(QTabWidget *pages, QWidget *page, const QString &name, const language::Text &caption);
// A three-column bit grid with a fixed header row and twelve rows.
QTableWidget *bitGrid(QWidget *parent, const QString &name, int x, int y);

// The spin edit with its HEX, BIN and ASCII fields (named after the spin edit with "h", "b" and "a"
// appended) and the column labels above them (named labelPrefix + "dec", "hex", "bin", "ascii" when a
// prefix is given). Returns the group with no series.
ByteGroup byteGroup(QWidget *parent, const QString &spinName, int x, int y, bool readOnly,
                    const QString &labelPrefix = {});

// The small chart of the eight data bits (290 x 33), with "LSB" and "MSB" above its ends and the
// explanation under it.
struct ByteChartNames
{
    QString chart, series, labelLsb, labelMsb, labelOrder;
};
StepChart *byteChart(QWidget *parent, const ByteChartNames &names, int x, int y, ByteGroup &group);

// The chart of one data packet: frame on lane 1, sampling markers on lane 0, left axis 0..2.
StepChart *packetChart(QWidget *parent, const QString &name, const QString &frameSeries,
                       const QString &markerSeries, const QRect &geometry);

// The four result tabs "start bit", "adat", "paritás bit" and "stop bit" that show the parts of a frame,
// on the composite view and for each channel. An empty name leaves that radio group out.
struct ResultTabNames
{
    QString pages, startTab, dataTab, parityTab, stopTab;
    QString startBit, startPanel;
    QString dataSpin, dataPanel;
    QString parityLabel, parityBit, parityPanel, parityKinds;
    QString stopBit, stopPanel, stopLengths;
    language::Text stopPanelCaption;
};

struct ResultTabs
{
    QTabWidget *pages = nullptr;
    QWidget *parityTab = nullptr;
    QLineEdit *startBit = nullptr;
    ByteGroup byte;
    QLabel *parityLabel = nullptr;
    QLineEdit *parityBit = nullptr;
    RadioGroup *parityKinds = nullptr;
    QLineEdit *stopBit = nullptr;
    RadioGroup *stopLengths = nullptr;
    // The colour sample panels of the four tabs.
    QFrame *startPanel = nullptr;
    QFrame *dataPanel = nullptr;
    QFrame *parityPanel = nullptr;
    QFrame *stopPanel = nullptr;
};

ResultTabs resultTabs(QWidget *parent, const ResultTabNames &names, const QRect &geometry);

// A read-only rich-text view with a vertical scroll bar, showing its form text until a document is loaded.
RtfView *descriptionView(QWidget *parent, const QString &name, const QString &text, const QRect &geometry,
                         const QColor &background);

// A raised panel that holds other controls.
QFrame *panel(QWidget *parent, const QString &name, const QRect &geometry);

} // namespace form
