// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "rtf/rtfreader.h"

#include "rtf/rtfcodepages.h"
#include "rtf/rtfdocumentwriter.h"
#include "rtf/rtfformat.h"
#include "rtf/rtftables.h"
#include "rtf/rtftokenizer.h"
#include "rtf/rtfwords.h"

#include <QIODevice>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

// Limits that keep damaged input from building absurd documents; real documents stay far below them.
constexpr std::size_t MaxGroupDepth = 1000;
constexpr std::size_t MaxTabStops = 32;

enum class Destination { Text, Skip, FontTable, ColourTable, Picture };

struct GroupState
{
    RtfCharState ch;
    RtfParaState para;
    Destination dest = Destination::Text;
    int unicodeSkip = 1;
};

// Reads the token stream: keeps the groups and the formatting each sets, hands the font table, the
// colour table and pictures to their readers, decodes 8-bit text in the code page that holds, and tells
// the writer what goes into the document. One instance reads one document.
class DocumentBuilder
{
public:
    explicit DocumentBuilder(QTextDocument *document) : m_writer(document, m_fonts, m_colours)
    {
        m_stack.emplace_back();
    }

    void run(QByteArrayView data);

private:
    GroupState &top() { return m_stack.back(); }

    void groupStart();
    void groupEnd();
    void controlWord(QByteArrayView name, bool hasNumber, int number);
    void textWord(const RtfWordAction &action, bool hasNumber, int value);
    void controlSymbol(char symbol);
    void text(QByteArrayView bytes);
    void hexByte(unsigned char byte);
    void binary(QByteArrayView bytes);
    void finishPicture();

    int codePage() const;
    void flushBytes();
    void appendCharacter(char16_t c);
    void flushAll()
    {
        flushBytes();
        m_writer.flushText();
    }

    std::vector<GroupState> m_stack;
    std::size_t m_overflowDepth = 0; // groups opened beyond MaxGroupDepth, read in their parent's state
    bool m_ignorableNext = false;    // the previous token was \* at the start of a group
    bool m_groupJustStarted = false; // the previous token opened a group
    bool m_groupStarted = false;     // the token being handled follows a group's opening brace
    bool m_dropNextCharacter = false;
    int m_skip = 0; // characters still to skip after a \u

    int m_codePage = 1252;
    RtfCodePages m_codePages;
    QByteArray m_bytes; // 8-bit text not yet decoded

    RtfFontTable m_fonts;
    RtfColourTable m_colours;
    RtfPictureReader m_picture;
    RtfDocumentWriter m_writer; // after the tables, which it reads
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
                if (!findRtfWord(token.text)) {
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
    if (ending == Destination::Text && m_stack.size() == 2)
        m_writer.endDocument(top().ch, top().para);
    if (ending == Destination::FontTable)
        m_fonts.end();
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
            m_fonts.text(QByteArrayView(&symbol, 1));
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
        m_fonts.text(bytes);
        return;
    case Destination::ColourTable:
        m_colours.text(bytes);
        return;
    case Destination::Picture:
        m_picture.hexText(bytes);
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
        m_fonts.text(QByteArrayView(&c, 1));
        return;
    default:
        return;
    }
}

void DocumentBuilder::binary(QByteArrayView bytes)
{
    if (top().dest == Destination::Picture)
        m_picture.binary(bytes);
}

void DocumentBuilder::finishPicture()
{
    if (top().dest != Destination::Text) {
        m_picture.start();
        return;
    }
    if (const std::optional<RtfImage> image = m_picture.finish()) {
        flushBytes();
        m_writer.insertImage(*image, top().para.inTable);
    }
}

void DocumentBuilder::controlWord(QByteArrayView name, bool hasNumber, int number)
{
    const RtfWordAction *action = findRtfWord(name);
    if (!action)
        return;
    GroupState &state = top();
    const int value = hasNumber ? number : 0;
    switch (state.dest) {
    case Destination::Skip:
        return;
    case Destination::Picture:
        if (action->word == RtfWord::Skipped)
            state.dest = Destination::Skip;
        else
            m_picture.word(action->word, value);
        return;
    case Destination::FontTable:
        if (action->word == RtfWord::Skipped)
            state.dest = Destination::Skip;
        else
            m_fonts.word(action->word, value);
        return;
    case Destination::ColourTable:
        m_colours.word(action->word, value);
        return;
    case Destination::Text:
        textWord(*action, hasNumber, value);
        return;
    }
}

void DocumentBuilder::textWord(const RtfWordAction &action, bool hasNumber, int value)
{
    // Any word may change the format or the place of what follows: decode the bytes read so far first.
    flushBytes();
    GroupState &state = top();
    RtfCharState &ch = state.ch;
    RtfParaState &para = state.para;
    // An on/off word without a number, or with any number but 0, switches the property on.
    const bool on = !hasNumber || value != 0;
    switch (action.word) {
    case RtfWord::FontTable:
        state.dest = Destination::FontTable;
        m_fonts.start();
        break;
    case RtfWord::ColourTable:
        state.dest = Destination::ColourTable;
        m_colours.start();
        break;
    case RtfWord::Skipped:
        state.dest = Destination::Skip;
        break;
    case RtfWord::Picture:
        state.dest = Destination::Picture;
        m_picture.start();
        break;
    case RtfWord::Shown:
        break;
    case RtfWord::Ansi:
        m_codePage = 1252;
        break;
    case RtfWord::Mac:
        m_codePage = 10000;
        break;
    case RtfWord::Pc:
        m_codePage = 437;
        break;
    case RtfWord::Pca:
        m_codePage = 850;
        break;
    case RtfWord::AnsiCodePage:
        if (value > 0)
            m_codePage = value;
        break;
    case RtfWord::DefaultFont:
        m_fonts.setDefaultFont(value);
        break;
    case RtfWord::UnicodeSkip:
        state.unicodeSkip = std::clamp(value, 0, 8);
        break;
    case RtfWord::Unicode:
        if (hasNumber && value >= -32768 && value <= 65535)
            appendCharacter(static_cast<char16_t>(value < 0 ? value + 65536 : value));
        m_skip = state.unicodeSkip;
        break;
    case RtfWord::Plain:
        ch = RtfCharState();
        break;
    case RtfWord::Bold:
        ch.bold = on;
        break;
    case RtfWord::Italic:
        ch.italic = on;
        break;
    case RtfWord::Underline:
        ch.underline = on ? QTextCharFormat::SingleUnderline : QTextCharFormat::NoUnderline;
        break;
    case RtfWord::UnderlineDouble:
    case RtfWord::UnderlineDashed:
        ch.underline = on ? QTextCharFormat::DashUnderline : QTextCharFormat::NoUnderline;
        break;
    case RtfWord::UnderlineDotted:
        ch.underline = on ? QTextCharFormat::DotLine : QTextCharFormat::NoUnderline;
        break;
    case RtfWord::UnderlineWave:
        ch.underline = on ? QTextCharFormat::WaveUnderline : QTextCharFormat::NoUnderline;
        break;
    case RtfWord::UnderlineNone:
        ch.underline = QTextCharFormat::NoUnderline;
        break;
    case RtfWord::Strike:
        ch.strike = on;
        break;
    case RtfWord::FontSize:
        ch.halfPoints = hasNumber && value > 0 ? std::clamp(value, 2, 400) : 24;
        break;
    case RtfWord::Font:
        ch.font = value;
        break;
    case RtfWord::LowAnsi:
        ch.charClass = 0;
        break;
    case RtfWord::HighAnsi:
        ch.charClass = 1;
        break;
    case RtfWord::DoubleByte:
        ch.charClass = 2;
        break;
    case RtfWord::AssociatedFont:
        if (ch.charClass == 1)
            ch.highFont = value;
        else if (ch.charClass == 2)
            ch.doubleFont = value;
        break;
    case RtfWord::ForeColour:
        ch.colour = value;
        break;
    case RtfWord::BackColour:
        ch.background = value;
        break;
    case RtfWord::Super:
        ch.vertical = 1;
        break;
    case RtfWord::Sub:
        ch.vertical = 2;
        break;
    case RtfWord::NoSuperSub:
        ch.vertical = 0;
        break;
    case RtfWord::Hidden:
        ch.hidden = on;
        break;
    case RtfWord::Pard:
        para = RtfParaState();
        break;
    case RtfWord::AlignLeft:
        para.align = Qt::AlignLeft;
        break;
    case RtfWord::AlignCentre:
        para.align = Qt::AlignHCenter;
        break;
    case RtfWord::AlignRight:
        para.align = Qt::AlignRight;
        break;
    case RtfWord::AlignJustify:
        para.align = Qt::AlignJustify;
        break;
    case RtfWord::LeftIndent:
        para.left = value;
        break;
    case RtfWord::RightIndent:
        para.right = value;
        break;
    case RtfWord::FirstIndent:
        para.first = value;
        break;
    case RtfWord::SpaceBefore:
        para.before = value;
        break;
    case RtfWord::SpaceAfter:
        para.after = value;
        break;
    case RtfWord::LineSpacing:
        para.lineSpacing = value;
        break;
    case RtfWord::LineMultiple:
        para.lineMultiple = on;
        break;
    case RtfWord::TabStop:
        if (para.tabs.size() < MaxTabStops)
            para.tabs.push_back(value);
        break;
    case RtfWord::InTable:
        para.inTable = on;
        break;
    case RtfWord::Par:
    case RtfWord::NestedRow:
        m_writer.endParagraph(ch, para);
        break;
    case RtfWord::Line:
        appendCharacter(u'\u2028');
        break;
    case RtfWord::Tab:
    case RtfWord::NestedCell:
        appendCharacter(u'\t');
        break;
    case RtfWord::Character:
        appendCharacter(action.character);
        break;
    case RtfWord::RowDefaults:
        m_writer.clearCellEdges();
        break;
    case RtfWord::CellEdge:
        m_writer.addCellEdge(value);
        break;
    case RtfWord::Cell:
        m_writer.endCell(ch, para);
        break;
    case RtfWord::Row:
        m_writer.endRow();
        break;
    default:
        break; // words that only mean something inside a picture, font table or colour table
    }
}

int DocumentBuilder::codePage() const
{
    const RtfCharState &ch = m_stack.back().ch;
    // The font in force: that of the kind of characters \loch, \hich or \dbch last announced.
    int number = ch.font;
    if (ch.charClass == 1 && ch.highFont >= 0)
        number = ch.highFont;
    else if (ch.charClass == 2 && ch.doubleFont >= 0)
        number = ch.doubleFont;
    if (const RtfFont *font = m_fonts.find(number >= 0 ? number : m_fonts.defaultFont())) {
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
    m_writer.appendText(decoded, top().ch, top().para.inTable);
}

void DocumentBuilder::appendCharacter(char16_t c)
{
    if (top().dest != Destination::Text || top().ch.hidden || c == 0)
        return;
    flushBytes();
    m_writer.appendText(QString(QChar(c)), top().ch, top().para.inTable);
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
