// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "rtf/rtfreader.h"

#include "rtf/rtfcodepages.h"
#include "rtf/rtftokenizer.h"

#include <QHash>
#include <QIODevice>
#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <QUrl>

#include <algorithm>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace {

// Lengths in RTF are twips (1/1440 inch); the document lays out in pixels of 1/96 inch.
constexpr double TwipsPerPixel = 15.0;
// Limits that keep damaged input from building absurd documents; real documents stay far below them.
constexpr std::size_t MaxGroupDepth = 1000;
constexpr int MaxTableColumns = 32;
constexpr std::size_t MaxTabStops = 32;
constexpr int MaxPicturePixels = 4000;

enum class Destination { Text, Skip, FontTable, ColourTable, Picture };

struct CharState
{
    bool bold = false;
    bool italic = false;
    bool strike = false;
    bool hidden = false;
    int underline = QTextCharFormat::NoUnderline;
    int halfPoints = 24;
    int font = -1;
    int colour = 0;
    int background = 0;
    int vertical = 0; // 0 normal, 1 superscript, 2 subscript
    // \loch, \hich, \dbch: which kind of characters follow, and the associated fonts (\af) of the high-ANSI
    // and double-byte kinds; the low-ANSI kind uses \f.
    int charClass = 0;
    int highFont = -1;
    int doubleFont = -1;
    bool operator==(const CharState &) const = default;
};

struct ParaState
{
    Qt::Alignment align = Qt::AlignLeft;
    int left = 0, right = 0, first = 0, before = 0, after = 0;
    int lineSpacing = 0;
    bool lineMultiple = false;
    bool inTable = false;
    std::vector<int> tabs;
    bool operator==(const ParaState &) const = default;
};

struct GroupState
{
    CharState ch;
    ParaState para;
    Destination dest = Destination::Text;
    int unicodeSkip = 1;
};

struct FontEntry
{
    QString name;
    int charset = 0;
    QFont::StyleHint hint = QFont::AnyStyle;
};

enum class PictureKind { Other, Png, Jpeg };

struct Picture
{
    PictureKind kind = PictureKind::Other;
    QByteArray data;
    int highNibble = -1;
    int width = 0, height = 0, goalWidth = 0, goalHeight = 0, scaleX = 100, scaleY = 100;
};

// The control words the reader acts on. Words not in the table are ignored (or, after \*, start a
// skipped destination).
enum class Word {
    // Destinations
    FontTable,
    ColourTable,
    Skipped,
    Picture,
    Shown,
    // Document
    Ansi,
    Mac,
    Pc,
    Pca,
    AnsiCodePage,
    DefaultFont,
    UnicodeSkip,
    Unicode,
    // Character formatting
    Plain,
    Bold,
    Italic,
    Underline,
    UnderlineDouble,
    UnderlineDotted,
    UnderlineDashed,
    UnderlineWave,
    UnderlineNone,
    Strike,
    FontSize,
    Font,
    LowAnsi,
    HighAnsi,
    DoubleByte,
    AssociatedFont,
    FontCharset,
    FontRoman,
    FontSwiss,
    FontModern,
    FontScript,
    FontDecor,
    ForeColour,
    BackColour,
    Super,
    Sub,
    NoSuperSub,
    Hidden,
    Red,
    Green,
    Blue,
    // Paragraph formatting
    Pard,
    AlignLeft,
    AlignCentre,
    AlignRight,
    AlignJustify,
    LeftIndent,
    RightIndent,
    FirstIndent,
    SpaceBefore,
    SpaceAfter,
    LineSpacing,
    LineMultiple,
    TabStop,
    InTable,
    // Breaks and special characters
    Par,
    Line,
    Tab,
    Character,
    // Tables
    RowDefaults,
    CellEdge,
    Cell,
    Row,
    NestedCell,
    NestedRow,
    // Pictures
    PngBlip,
    JpegBlip,
    PictureWidth,
    PictureHeight,
    PictureGoalWidth,
    PictureGoalHeight,
    PictureScaleX,
    PictureScaleY,
};

struct WordAction
{
    Word word;
    char16_t character = 0; // for Word::Character
};

const std::unordered_map<std::string_view, WordAction> &wordTable()
{
    static const std::unordered_map<std::string_view, WordAction> table = [] {
        std::unordered_map<std::string_view, WordAction> t;
        for (const char *name : {"stylesheet",
                                 "info",
                                 "header",
                                 "headerl",
                                 "headerr",
                                 "headerf",
                                 "footer",
                                 "footerl",
                                 "footerr",
                                 "footerf",
                                 "footnote",
                                 "annotation",
                                 "atnid",
                                 "atnauthor",
                                 "fldinst",
                                 "pn",
                                 "pntxta",
                                 "pntxtb",
                                 "nonshppict",
                                 "object",
                                 "objdata",
                                 "objclass",
                                 "themedata",
                                 "colorschememapping",
                                 "latentstyles",
                                 "datastore",
                                 "xmlnstbl",
                                 "listtable",
                                 "listoverridetable",
                                 "rsidtbl",
                                 "generator",
                                 "filetbl",
                                 "revtbl",
                                 "pgdsctbl",
                                 "template",
                                 "bkmkstart",
                                 "bkmkend",
                                 "txe",
                                 "xe",
                                 "tc",
                                 "sp",
                                 "shpinst",
                                 "do",
                                 "private",
                                 "userprops",
                                 "docvar",
                                 "ftnsep",
                                 "ftnsepc",
                                 "aftnsep",
                                 "aftnsepc",
                                 "formfield",
                                 "datafield",
                                 "blipuid",
                                 "picprop",
                                 "comment",
                                 "author",
                                 "title"})
            t.emplace(name, WordAction{Word::Skipped});
        for (const char *name : {"shppict", "listtext", "pntext", "fldrslt", "shprslt"})
            t.emplace(name, WordAction{Word::Shown});
        const std::pair<const char *, Word> words[] = {
            {"fonttbl", Word::FontTable},
            {"colortbl", Word::ColourTable},
            {"pict", Word::Picture},
            {"ansi", Word::Ansi},
            {"mac", Word::Mac},
            {"pc", Word::Pc},
            {"pca", Word::Pca},
            {"ansicpg", Word::AnsiCodePage},
            {"deff", Word::DefaultFont},
            {"uc", Word::UnicodeSkip},
            {"u", Word::Unicode},
            {"plain", Word::Plain},
            {"b", Word::Bold},
            {"i", Word::Italic},
            {"ul", Word::Underline},
            {"uldb", Word::UnderlineDouble},
            {"uld", Word::UnderlineDotted},
            {"uldash", Word::UnderlineDashed},
            {"ulwave", Word::UnderlineWave},
            {"ulw", Word::Underline},
            {"ulth", Word::Underline},
            {"ulnone", Word::UnderlineNone},
            {"strike", Word::Strike},
            {"striked", Word::Strike},
            {"fs", Word::FontSize},
            {"f", Word::Font},
            {"loch", Word::LowAnsi},
            {"hich", Word::HighAnsi},
            {"dbch", Word::DoubleByte},
            {"af", Word::AssociatedFont},
            {"fcharset", Word::FontCharset},
            {"froman", Word::FontRoman},
            {"fswiss", Word::FontSwiss},
            {"fmodern", Word::FontModern},
            {"fscript", Word::FontScript},
            {"fdecor", Word::FontDecor},
            {"cf", Word::ForeColour},
            {"cb", Word::BackColour},
            {"highlight", Word::BackColour},
            {"chcbpat", Word::BackColour},
            {"super", Word::Super},
            {"sub", Word::Sub},
            {"nosupersub", Word::NoSuperSub},
            {"v", Word::Hidden},
            {"red", Word::Red},
            {"green", Word::Green},
            {"blue", Word::Blue},
            {"pard", Word::Pard},
            {"ql", Word::AlignLeft},
            {"qc", Word::AlignCentre},
            {"qr", Word::AlignRight},
            {"qj", Word::AlignJustify},
            {"li", Word::LeftIndent},
            {"lin", Word::LeftIndent},
            {"ri", Word::RightIndent},
            {"rin", Word::RightIndent},
            {"fi", Word::FirstIndent},
            {"sb", Word::SpaceBefore},
            {"sa", Word::SpaceAfter},
            {"sl", Word::LineSpacing},
            {"slmult", Word::LineMultiple},
            {"tx", Word::TabStop},
            {"intbl", Word::InTable},
            {"par", Word::Par},
            {"page", Word::Par},
            {"line", Word::Line},
            {"tab", Word::Tab},
            {"trowd", Word::RowDefaults},
            {"cellx", Word::CellEdge},
            {"cell", Word::Cell},
            {"row", Word::Row},
            {"nestcell", Word::NestedCell},
            {"nestrow", Word::NestedRow},
            {"pngblip", Word::PngBlip},
            {"jpegblip", Word::JpegBlip},
            {"picw", Word::PictureWidth},
            {"pich", Word::PictureHeight},
            {"picwgoal", Word::PictureGoalWidth},
            {"pichgoal", Word::PictureGoalHeight},
            {"picscalex", Word::PictureScaleX},
            {"picscaley", Word::PictureScaleY},
        };
        for (const auto &[name, word] : words)
            t.emplace(name, WordAction{word});
        const std::pair<const char *, char16_t> characters[] = {
            {"bullet", u'\u2022'},    {"endash", u'\u2013'},  {"emdash", u'\u2014'},
            {"lquote", u'\u2018'},    {"rquote", u'\u2019'},  {"ldblquote", u'\u201C'},
            {"rdblquote", u'\u201D'}, {"emspace", u'\u2003'}, {"enspace", u'\u2002'},
            {"qmspace", u'\u2005'},   {"zwj", u'\u200D'},     {"zwnj", u'\u200C'},
            {"ltrmark", u'\u200E'},   {"rtlmark", u'\u200F'},
        };
        for (const auto &[name, c] : characters)
            t.emplace(name, WordAction{Word::Character, c});
        return t;
    }();
    return table;
}

// Builds the document from the token stream. One instance reads one document.
class DocumentBuilder
{
public:
    explicit DocumentBuilder(QTextDocument *document) : m_document(document), m_cursor(document)
    {
        m_cursor.movePosition(QTextCursor::End);
        m_stack.emplace_back();
    }

    void run(QByteArrayView data);

private:
    GroupState &top() { return m_stack.back(); }

    void groupStart();
    void groupEnd();
    void controlWord(QByteArrayView name, bool hasNumber, int number);
    void controlSymbol(char symbol);
    void text(QByteArrayView bytes);
    void hexByte(unsigned char byte);
    void binary(QByteArrayView bytes);

    void fontTableText(QByteArrayView bytes);
    void colourTableText(QByteArrayView bytes);
    void pictureText(QByteArrayView bytes);
    void finishPicture();
    void commitFont();

    int codePage() const;
    void flushBytes();
    void appendText(const QString &text);
    void appendCharacter(char16_t c);
    void flushText();
    void flushAll()
    {
        flushBytes();
        flushText();
    }

    void placeCursor(bool inTable);
    void openTable();
    void closeTable();
    void paragraphEnd();
    void cellEnd();
    void rowEnd();
    void applyBlockFormat();

    const QTextCharFormat &charFormat(const CharState &ch);
    QTextCharFormat makeCharFormat(const CharState &ch) const;
    QTextBlockFormat blockFormat(const ParaState &para) const;

    QTextDocument *m_document;
    QTextCursor m_cursor;
    std::vector<GroupState> m_stack;
    std::size_t m_overflowDepth = 0; // groups opened beyond MaxGroupDepth, read in their parent's state
    bool m_ignorableNext = false;    // the previous token was \* at the start of a group
    bool m_groupJustStarted = false; // the previous token opened a group
    bool m_groupStarted = false;     // the token being handled follows a group's opening brace
    bool m_dropNextCharacter = false;
    int m_skip = 0; // characters still to skip after a \u

    int m_codePage = 1252;
    int m_defaultFont = -1;
    RtfCodePages m_codePages;

    QByteArray m_bytes; // 8-bit text not yet decoded
    QString m_text;     // decoded text not yet inserted, all in m_textState
    CharState m_textState;
    // Formats built so far: documents use few distinct ones, and building one costs more than finding it.
    std::vector<std::pair<CharState, QTextCharFormat>> m_charFormats;
    // The paragraph format of the block the cursor is in, when known: a new block takes its
    // predecessor's format, so an unchanged format need not be set again.
    std::optional<ParaState> m_blockState;

    QHash<int, FontEntry> m_fonts;
    int m_fontNumber = 0;
    FontEntry m_font;

    std::vector<QColor> m_colours;
    int m_red = 0, m_green = 0, m_blue = 0;
    bool m_colourSet = false;

    Picture m_picture;
    int m_pictureCount = 0;

    QTextTable *m_table = nullptr;
    int m_row = 0, m_column = 0;
    bool m_cellEnded = false, m_rowEnded = false;
    std::vector<int> m_cellEdges;
};

void DocumentBuilder::run(QByteArrayView data)
{
    RtfTokenizer tokenizer(data);
    for (;;) {
        const RtfTokenizer::Token token = tokenizer.next();
        using Kind = RtfTokenizer::Kind;
        if (token.kind == Kind::End)
            break;
        const bool ignorable = std::exchange(m_ignorableNext, false);
        m_groupStarted = std::exchange(m_groupJustStarted, token.kind == Kind::GroupStart);
        if (m_dropNextCharacter && token.kind == Kind::Text) {
            // The character that broke a \' escape standing in for a \u: part of the fallback.
            m_dropNextCharacter = false;
            if (token.text.size() > 1)
                text(token.text.sliced(1));
            continue;
        }
        m_dropNextCharacter = false;
        if (m_skip > 0) {
            // The characters after \uN that stand in for it in older readers.
            switch (token.kind) {
            case Kind::GroupStart:
            case Kind::GroupEnd:
                m_skip = 0;
                break;
            case Kind::Text: {
                const qsizetype n = std::min<qsizetype>(m_skip, token.text.size());
                m_skip -= static_cast<int>(n);
                if (n < token.text.size())
                    text(token.text.sliced(n));
                continue;
            }
            case Kind::Binary:
                continue;
            case Kind::HexByte:
                m_dropNextCharacter = token.brokenHex;
                --m_skip;
                continue;
            default:
                --m_skip;
                continue;
            }
        }
        switch (token.kind) {
        case Kind::GroupStart:
            groupStart();
            break;
        case Kind::GroupEnd:
            groupEnd();
            break;
        case Kind::ControlWord:
            // \* makes an unknown destination skippable; before a word we know it changes nothing.
            if (ignorable && top().dest != Destination::Skip) {
                const auto &table = wordTable();
                const auto found = table.find(
                    std::string_view(token.text.data(), static_cast<std::size_t>(token.text.size())));
                if (found == table.end()) {
                    flushAll();
                    top().dest = Destination::Skip;
                    break;
                }
            }
            controlWord(token.text, token.hasNumber, token.number);
            break;
        case Kind::ControlSymbol:
            controlSymbol(token.symbol);
            break;
        case Kind::HexByte:
            hexByte(token.byte);
            break;
        case Kind::Text:
            text(token.text);
            break;
        case Kind::Binary:
            binary(token.text);
            break;
        case Kind::End:
            break;
        }
    }
    // A cut-off document ends its open groups here.
    while (m_stack.size() > 1 || m_overflowDepth > 0)
        groupEnd();
    flushAll();
}

void DocumentBuilder::groupStart()
{
    if (m_stack.size() >= MaxGroupDepth) {
        ++m_overflowDepth;
        return;
    }
    m_stack.push_back(m_stack.back());
}

void DocumentBuilder::groupEnd()
{
    if (m_overflowDepth > 0) {
        --m_overflowDepth;
        return;
    }
    if (m_stack.size() <= 1)
        return; // a stray closing brace
    const Destination ending = top().dest;
    if (ending == Destination::Text)
        flushBytes();
    // The document's own group ends its last paragraph, in the formats that hold there.
    if (ending == Destination::Text && m_stack.size() == 2) {
        flushText();
        applyBlockFormat();
    }
    if (ending == Destination::FontTable && !m_font.name.isEmpty())
        commitFont();
    m_stack.pop_back();
    if (ending == Destination::Picture && top().dest != Destination::Picture)
        finishPicture();
}

void DocumentBuilder::controlSymbol(char symbol)
{
    switch (symbol) {
    case '*':
        // Only at the start of a group: in the middle of one it marks nothing.
        m_ignorableNext = m_groupStarted;
        return;
    case '\\':
    case '{':
    case '}':
        if (top().dest == Destination::Text)
            appendCharacter(static_cast<char16_t>(symbol));
        else if (top().dest == Destination::FontTable)
            fontTableText(QByteArrayView(&symbol, 1));
        return;
    case '~':
        appendCharacter(u'\u00A0');
        return;
    case '-':
        appendCharacter(u'\u00AD');
        return;
    case '_':
        appendCharacter(u'\u2011');
        return;
    case '\t':
        appendCharacter(u'\t');
        return;
    default:
        return;
    }
}

void DocumentBuilder::text(QByteArrayView bytes)
{
    switch (top().dest) {
    case Destination::Text:
        if (!top().ch.hidden)
            m_bytes.append(bytes);
        return;
    case Destination::FontTable:
        fontTableText(bytes);
        return;
    case Destination::ColourTable:
        colourTableText(bytes);
        return;
    case Destination::Picture:
        pictureText(bytes);
        return;
    case Destination::Skip:
        return;
    }
}

void DocumentBuilder::hexByte(unsigned char byte)
{
    const char c = static_cast<char>(byte);
    switch (top().dest) {
    case Destination::Text:
        if (!top().ch.hidden)
            m_bytes.append(c);
        return;
    case Destination::FontTable:
        fontTableText(QByteArrayView(&c, 1));
        return;
    default:
        return;
    }
}

void DocumentBuilder::binary(QByteArrayView bytes)
{
    if (top().dest == Destination::Picture)
        m_picture.data.append(bytes);
}

void DocumentBuilder::fontTableText(QByteArrayView bytes)
{
    for (char c : bytes) {
        if (c == ';')
            commitFont();
        else
            m_font.name += QChar(RtfCodePages::fromWindows1252(static_cast<unsigned char>(c)));
    }
}

void DocumentBuilder::commitFont()
{
    m_font.name = m_font.name.trimmed();
    m_fonts.insert(m_fontNumber, m_font);
    m_font = FontEntry();
    m_charFormats.clear();
}

void DocumentBuilder::colourTableText(QByteArrayView bytes)
{
    for (char c : bytes) {
        if (c != ';')
            continue;
        m_colours.push_back(m_colourSet ? QColor(m_red, m_green, m_blue) : QColor());
        m_charFormats.clear();
        m_red = m_green = m_blue = 0;
        m_colourSet = false;
    }
}

void DocumentBuilder::pictureText(QByteArrayView bytes)
{
    for (char c : bytes) {
        int v;
        if (c >= '0' && c <= '9')
            v = c - '0';
        else if (c >= 'a' && c <= 'f')
            v = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            v = c - 'A' + 10;
        else
            continue;
        if (m_picture.highNibble < 0) {
            m_picture.highNibble = v;
        } else {
            m_picture.data.append(static_cast<char>(m_picture.highNibble * 16 + v));
            m_picture.highNibble = -1;
        }
    }
}

void DocumentBuilder::finishPicture()
{
    Picture picture = std::exchange(m_picture, Picture());
    if (picture.kind == PictureKind::Other || top().dest != Destination::Text)
        return;
    QImage image;
    if (!image.loadFromData(picture.data, picture.kind == PictureKind::Png ? "PNG" : "JPEG"))
        return;
    // The size the document asks for (goal size times scale), else the stored size, else the image's.
    double width = image.width(), height = image.height();
    if (picture.goalWidth > 0 && picture.goalHeight > 0) {
        width = picture.goalWidth / TwipsPerPixel;
        height = picture.goalHeight / TwipsPerPixel;
    } else if (picture.width > 0 && picture.height > 0) {
        width = picture.width;
        height = picture.height;
    }
    width = std::clamp(width * std::clamp(picture.scaleX, 1, 1000) / 100.0, 1.0, double(MaxPicturePixels));
    height = std::clamp(height * std::clamp(picture.scaleY, 1, 1000) / 100.0, 1.0, double(MaxPicturePixels));

    flushAll();
    placeCursor(top().para.inTable);
    const QString name = QStringLiteral("rtfpicture:%1").arg(++m_pictureCount);
    m_document->addResource(QTextDocument::ImageResource, QUrl(name), image);
    QTextImageFormat format;
    format.setName(name);
    format.setWidth(width);
    format.setHeight(height);
    m_cursor.insertImage(format);
}

void DocumentBuilder::controlWord(QByteArrayView name, bool hasNumber, int number)
{
    const auto &table = wordTable();
    const auto found = table.find(std::string_view(name.data(), static_cast<std::size_t>(name.size())));
    if (found == table.end())
        return;
    const WordAction action = found->second;
    GroupState &state = top();
    const Destination dest = state.dest;
    if (dest == Destination::Skip)
        return;
    // An on/off word without a number, or with any number but 0, switches the property on.
    const bool on = !hasNumber || number != 0;
    const int value = hasNumber ? number : 0;

    if (dest == Destination::Picture) {
        switch (action.word) {
        case Word::PngBlip:
            m_picture.kind = PictureKind::Png;
            break;
        case Word::JpegBlip:
            m_picture.kind = PictureKind::Jpeg;
            break;
        case Word::PictureWidth:
            m_picture.width = value;
            break;
        case Word::PictureHeight:
            m_picture.height = value;
            break;
        case Word::PictureGoalWidth:
            m_picture.goalWidth = value;
            break;
        case Word::PictureGoalHeight:
            m_picture.goalHeight = value;
            break;
        case Word::PictureScaleX:
            m_picture.scaleX = value;
            break;
        case Word::PictureScaleY:
            m_picture.scaleY = value;
            break;
        case Word::Skipped:
            state.dest = Destination::Skip;
            break;
        default:
            break;
        }
        return;
    }
    if (dest == Destination::FontTable) {
        switch (action.word) {
        case Word::Font:
            if (!m_font.name.isEmpty())
                commitFont();
            m_fontNumber = value;
            break;
        case Word::FontCharset:
            m_font.charset = value;
            break;
        case Word::FontRoman:
            m_font.hint = QFont::Serif;
            break;
        case Word::FontSwiss:
            m_font.hint = QFont::SansSerif;
            break;
        case Word::FontModern:
            m_font.hint = QFont::TypeWriter;
            break;
        case Word::FontScript:
            m_font.hint = QFont::Cursive;
            break;
        case Word::FontDecor:
            m_font.hint = QFont::Decorative;
            break;
        case Word::Skipped:
            state.dest = Destination::Skip;
            break;
        default:
            break;
        }
        return;
    }
    if (dest == Destination::ColourTable) {
        const int component = std::clamp(value, 0, 255);
        switch (action.word) {
        case Word::Red:
            m_red = component;
            m_colourSet = true;
            break;
        case Word::Green:
            m_green = component;
            m_colourSet = true;
            break;
        case Word::Blue:
            m_blue = component;
            m_colourSet = true;
            break;
        default:
            break;
        }
        return;
    }

    // Any word may change the format or the place of what follows: decode the bytes read so far first.
    flushBytes();
    CharState &ch = state.ch;
    ParaState &para = state.para;
    switch (action.word) {
    case Word::FontTable:
        state.dest = Destination::FontTable;
        m_font = FontEntry();
        break;
    case Word::ColourTable:
        state.dest = Destination::ColourTable;
        m_colours.clear();
        m_charFormats.clear();
        m_colourSet = false;
        break;
    case Word::Skipped:
        state.dest = Destination::Skip;
        break;
    case Word::Picture:
        state.dest = Destination::Picture;
        m_picture = Picture();
        break;
    case Word::Shown:
        break;
    case Word::Ansi:
        m_codePage = 1252;
        break;
    case Word::Mac:
        m_codePage = 10000;
        break;
    case Word::Pc:
        m_codePage = 437;
        break;
    case Word::Pca:
        m_codePage = 850;
        break;
    case Word::AnsiCodePage:
        if (value > 0)
            m_codePage = value;
        break;
    case Word::DefaultFont:
        m_defaultFont = value;
        break;
    case Word::UnicodeSkip:
        state.unicodeSkip = std::clamp(value, 0, 8);
        break;
    case Word::Unicode:
        if (hasNumber && value >= -32768 && value <= 65535)
            appendCharacter(static_cast<char16_t>(value < 0 ? value + 65536 : value));
        m_skip = state.unicodeSkip;
        break;
    case Word::Plain:
        ch = CharState();
        break;
    case Word::Bold:
        ch.bold = on;
        break;
    case Word::Italic:
        ch.italic = on;
        break;
    case Word::Underline:
        ch.underline = on ? QTextCharFormat::SingleUnderline : QTextCharFormat::NoUnderline;
        break;
    case Word::UnderlineDouble:
    case Word::UnderlineDashed:
        ch.underline = on ? QTextCharFormat::DashUnderline : QTextCharFormat::NoUnderline;
        break;
    case Word::UnderlineDotted:
        ch.underline = on ? QTextCharFormat::DotLine : QTextCharFormat::NoUnderline;
        break;
    case Word::UnderlineWave:
        ch.underline = on ? QTextCharFormat::WaveUnderline : QTextCharFormat::NoUnderline;
        break;
    case Word::UnderlineNone:
        ch.underline = QTextCharFormat::NoUnderline;
        break;
    case Word::Strike:
        ch.strike = on;
        break;
    case Word::FontSize:
        ch.halfPoints = hasNumber && value > 0 ? std::clamp(value, 2, 400) : 24;
        break;
    case Word::Font:
        ch.font = value;
        break;
    case Word::LowAnsi:
        ch.charClass = 0;
        break;
    case Word::HighAnsi:
        ch.charClass = 1;
        break;
    case Word::DoubleByte:
        ch.charClass = 2;
        break;
    case Word::AssociatedFont:
        if (ch.charClass == 1)
            ch.highFont = value;
        else if (ch.charClass == 2)
            ch.doubleFont = value;
        break;
    case Word::ForeColour:
        ch.colour = value;
        break;
    case Word::BackColour:
        ch.background = value;
        break;
    case Word::Super:
        ch.vertical = 1;
        break;
    case Word::Sub:
        ch.vertical = 2;
        break;
    case Word::NoSuperSub:
        ch.vertical = 0;
        break;
    case Word::Hidden:
        ch.hidden = on;
        break;
    case Word::Pard:
        para = ParaState();
        break;
    case Word::AlignLeft:
        para.align = Qt::AlignLeft;
        break;
    case Word::AlignCentre:
        para.align = Qt::AlignHCenter;
        break;
    case Word::AlignRight:
        para.align = Qt::AlignRight;
        break;
    case Word::AlignJustify:
        para.align = Qt::AlignJustify;
        break;
    case Word::LeftIndent:
        para.left = value;
        break;
    case Word::RightIndent:
        para.right = value;
        break;
    case Word::FirstIndent:
        para.first = value;
        break;
    case Word::SpaceBefore:
        para.before = value;
        break;
    case Word::SpaceAfter:
        para.after = value;
        break;
    case Word::LineSpacing:
        para.lineSpacing = value;
        break;
    case Word::LineMultiple:
        para.lineMultiple = on;
        break;
    case Word::TabStop:
        if (para.tabs.size() < MaxTabStops)
            para.tabs.push_back(value);
        break;
    case Word::InTable:
        para.inTable = on;
        break;
    case Word::Par:
        paragraphEnd();
        break;
    case Word::Line:
        appendCharacter(u'\u2028');
        break;
    case Word::Tab:
    case Word::NestedCell:
        appendCharacter(u'\t');
        break;
    case Word::NestedRow:
        paragraphEnd();
        break;
    case Word::Character:
        appendCharacter(action.character);
        break;
    case Word::RowDefaults:
        m_cellEdges.clear();
        break;
    case Word::CellEdge:
        if (m_cellEdges.size() < std::size_t(MaxTableColumns))
            m_cellEdges.push_back(value);
        break;
    case Word::Cell:
        cellEnd();
        break;
    case Word::Row:
        rowEnd();
        break;
    default:
        break; // words that only mean something inside a picture, font table or colour table
    }
}

int DocumentBuilder::codePage() const
{
    const CharState &ch = m_stack.back().ch;
    // The font in force: that of the kind of characters \loch, \hich or \dbch last announced.
    int number = ch.font;
    if (ch.charClass == 1 && ch.highFont >= 0)
        number = ch.highFont;
    else if (ch.charClass == 2 && ch.doubleFont >= 0)
        number = ch.doubleFont;
    const auto font = m_fonts.constFind(number >= 0 ? number : m_defaultFont);
    if (font != m_fonts.constEnd()) {
        const int fontPage = RtfCodePages::codePageOfCharset(font->charset);
        if (fontPage != 0)
            return fontPage;
        // An ANSI font is single-byte: in a document whose code page is a double-byte one (Japanese,
        // Chinese, Korean) it means the Western page.
        const bool doubleByteDocument =
            m_codePage == 932 || m_codePage == 936 || m_codePage == 949 || m_codePage == 950;
        if (font->charset == 0 && doubleByteDocument)
            return 1252;
    }
    return m_codePage;
}

void DocumentBuilder::flushBytes()
{
    if (m_bytes.isEmpty())
        return;
    QString decoded = m_codePages.decode(codePage(), m_bytes);
    m_bytes.clear();
    // Control characters other than the tab are not text.
    const auto isControl = [](QChar c) { return c.unicode() < 0x20 && c != u'\t'; };
    if (std::any_of(decoded.cbegin(), decoded.cend(), isControl))
        decoded.removeIf(isControl);
    appendText(decoded);
}

void DocumentBuilder::appendCharacter(char16_t c)
{
    if (top().dest != Destination::Text || top().ch.hidden || c == 0)
        return;
    flushBytes();
    appendText(QString(QChar(c)));
}

void DocumentBuilder::appendText(const QString &text)
{
    if (text.isEmpty())
        return;
    if (!m_text.isEmpty() && !(m_textState == top().ch))
        flushText();
    if (m_text.isEmpty()) {
        placeCursor(top().para.inTable);
        m_textState = top().ch;
    }
    m_text += text;
}

void DocumentBuilder::flushText()
{
    if (m_text.isEmpty())
        return;
    m_cursor.insertText(m_text, charFormat(m_textState));
    m_text.clear();
}

const QTextCharFormat &DocumentBuilder::charFormat(const CharState &ch)
{
    for (const auto &[state, format] : m_charFormats)
        if (state == ch)
            return format;
    if (m_charFormats.size() >= 64)
        m_charFormats.erase(m_charFormats.begin());
    m_charFormats.emplace_back(ch, makeCharFormat(ch));
    return m_charFormats.back().second;
}

QTextCharFormat DocumentBuilder::makeCharFormat(const CharState &ch) const
{
    QTextCharFormat format;
    format.setFontWeight(ch.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(ch.italic);
    format.setUnderlineStyle(static_cast<QTextCharFormat::UnderlineStyle>(ch.underline));
    format.setFontStrikeOut(ch.strike);
    format.setFontPointSize(ch.halfPoints / 2.0);
    // Text in a symbol font (a list bullet, say) has already been turned into Unicode characters, so it
    // is shown in the document's own font, like the text around it, rather than in a font of its own.
    const auto isSymbolFont = [this](int number) {
        const auto font = m_fonts.constFind(number);
        return font != m_fonts.constEnd() &&
               RtfCodePages::codePageOfCharset(font->charset) == RtfCodePages::SymbolCodePage;
    };
    int fontNumber = ch.font >= 0 ? ch.font : m_defaultFont;
    if (isSymbolFont(fontNumber))
        fontNumber = m_defaultFont;
    const auto font = m_fonts.constFind(fontNumber);
    if (font != m_fonts.constEnd() && !font->name.isEmpty() && !isSymbolFont(fontNumber)) {
        format.setFontFamilies(QStringList{font->name});
        format.setFontStyleHint(font->hint);
    }
    // Like the word processors that write these documents, the view sets Latin text without kerning or
    // ligatures; that spares the text shaper, the larger part of laying text out. Scripts that cannot be
    // shown without shaping are still shaped.
    format.setFontStyleStrategy(QFont::PreferNoShaping);
    const auto colour = [this](int index) {
        return index > 0 && std::size_t(index) < m_colours.size() ? m_colours[std::size_t(index)] : QColor();
    };
    if (const QColor fore = colour(ch.colour); fore.isValid())
        format.setForeground(fore);
    if (const QColor back = colour(ch.background); back.isValid())
        format.setBackground(back);
    if (ch.vertical == 1)
        format.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    else if (ch.vertical == 2)
        format.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    return format;
}

QTextBlockFormat DocumentBuilder::blockFormat(const ParaState &para) const
{
    QTextBlockFormat format;
    format.setAlignment(para.align);
    format.setLeftMargin(std::max(0, para.left) / TwipsPerPixel);
    format.setRightMargin(std::max(0, para.right) / TwipsPerPixel);
    format.setTextIndent(para.first / TwipsPerPixel);
    format.setTopMargin(std::max(0, para.before) / TwipsPerPixel);
    format.setBottomMargin(std::max(0, para.after) / TwipsPerPixel);
    if (para.lineSpacing > 0 && para.lineMultiple)
        format.setLineHeight(std::min(para.lineSpacing, 2400) * 100.0 / 240.0,
                             QTextBlockFormat::ProportionalHeight);
    else if (para.lineSpacing > 0)
        format.setLineHeight(std::min(para.lineSpacing, 14400) / TwipsPerPixel,
                             QTextBlockFormat::MinimumHeight);
    QList<QTextOption::Tab> tabs;
    for (int position : para.tabs)
        tabs.append(QTextOption::Tab(std::max(0, position) / TwipsPerPixel, QTextOption::LeftTab));
    // A hanging first line (a list item) tabs from its bullet to where the following lines start.
    if (para.first < 0 && para.left > 0 && tabs.isEmpty())
        tabs.append(QTextOption::Tab(para.left / TwipsPerPixel, QTextOption::LeftTab));
    if (!tabs.isEmpty())
        format.setTabPositions(tabs);
    return format;
}

void DocumentBuilder::applyBlockFormat()
{
    if (!m_blockState || !(*m_blockState == top().para)) {
        m_cursor.setBlockFormat(blockFormat(top().para));
        m_blockState = top().para;
    }
    // An empty paragraph is as high as the font it would be written in.
    if (m_cursor.block().length() <= 1)
        m_cursor.setBlockCharFormat(charFormat(top().ch));
}

void DocumentBuilder::paragraphEnd()
{
    if (top().dest != Destination::Text)
        return;
    flushAll();
    placeCursor(top().para.inTable);
    applyBlockFormat();
    m_cursor.insertBlock();
}

void DocumentBuilder::placeCursor(bool inTable)
{
    if (!inTable) {
        if (m_table)
            closeTable();
        return;
    }
    if (!m_table) {
        openTable();
        return;
    }
    if (m_rowEnded) {
        m_table->appendRows(1);
        ++m_row;
        m_column = 0;
        m_rowEnded = m_cellEnded = false;
        m_cursor = m_table->cellAt(m_row, 0).firstCursorPosition();
        m_blockState.reset();
    } else if (m_cellEnded) {
        m_blockState.reset();
        m_cellEnded = false;
        if (m_column + 1 < m_table->columns() || m_table->columns() < MaxTableColumns) {
            if (m_column + 1 >= m_table->columns())
                m_table->appendColumns(1);
            ++m_column;
            m_cursor = m_table->cellAt(m_row, m_column).firstCursorPosition();
        } else {
            // More cells than a table may have: the rest share the last cell.
            m_cursor = m_table->cellAt(m_row, m_column).lastCursorPosition();
            m_cursor.insertText(QStringLiteral("\t"));
        }
    }
}

void DocumentBuilder::openTable()
{
    const int columns = std::max<int>(1, static_cast<int>(m_cellEdges.size()));
    QTextTableFormat format;
    format.setBorder(1);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setBorderCollapse(true);
    format.setCellPadding(3);
    format.setCellSpacing(0);
    if (m_cellEdges.size() == std::size_t(columns)) {
        QList<QTextLength> widths;
        int previous = 0;
        for (int edge : m_cellEdges) {
            widths.append(QTextLength(QTextLength::FixedLength,
                                      std::clamp(edge - previous, 60, 14400) / TwipsPerPixel));
            previous = std::max(previous, edge);
        }
        format.setColumnWidthConstraints(widths);
    }
    m_table = m_cursor.insertTable(1, columns, format);
    m_row = m_column = 0;
    m_cellEnded = m_rowEnded = false;
    m_cursor = m_table->cellAt(0, 0).firstCursorPosition();
    m_blockState.reset();
}

void DocumentBuilder::closeTable()
{
    m_cursor = m_table->lastCursorPosition();
    m_cursor.movePosition(QTextCursor::NextBlock);
    m_table = nullptr;
    m_blockState.reset();
}

void DocumentBuilder::cellEnd()
{
    flushAll();
    placeCursor(true);
    applyBlockFormat();
    m_cellEnded = true;
}

void DocumentBuilder::rowEnd()
{
    flushAll();
    if (!m_table)
        return;
    m_rowEnded = true;
    m_cellEnded = false;
}

} // namespace

bool RtfReader::read(QIODevice *device, QTextDocument *document)
{
    if (!device || !device->isReadable()) {
        m_error = QStringLiteral("The document cannot be read.");
        return false;
    }
    const qint64 size = device->size();
    if (!device->isSequential() && size > MaxInputSize) {
        m_error = QStringLiteral("The document is too large.");
        return false;
    }
    const QByteArray data = device->read(MaxInputSize + 1);
    if (data.size() > MaxInputSize) {
        m_error = QStringLiteral("The document is too large.");
        return false;
    }
    return read(QByteArrayView(data), document);
}

bool RtfReader::read(QByteArrayView data, QTextDocument *document)
{
    if (!document) {
        m_error = QStringLiteral("No document to read into.");
        return false;
    }
    // An RTF document opens with {\rtf; white space before it is tolerated.
    qsizetype start = 0;
    while (start < data.size() &&
           (data[start] == ' ' || data[start] == '\t' || data[start] == '\r' || data[start] == '\n'))
        ++start;
    if (!data.sliced(start).startsWith("{\\rtf")) {
        m_error = QStringLiteral("The file is not an RTF document.");
        return false;
    }
    // One edit block: the cursor then does not lay out the paragraph it writes into after every insert,
    // which would make a long paragraph of many small runs quadratic.
    QTextCursor(document).beginEditBlock();
    DocumentBuilder builder(document);
    builder.run(data.sliced(start));
    QTextCursor(document).endEditBlock();
    m_error.clear();
    return true;
}
