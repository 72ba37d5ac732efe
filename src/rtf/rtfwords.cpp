// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "rtf/rtfwords.h"

#include <string_view>
#include <unordered_map>
#include <utility>

namespace {

const std::unordered_map<std::string_view, RtfWordAction> &wordTable()
{
    static const std::unordered_map<std::string_view, RtfWordAction> table = [] {
        std::unordered_map<std::string_view, RtfWordAction> t;
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
            t.emplace(name, RtfWordAction{RtfWord::Skipped});
        for (const char *name : {"shppict", "listtext", "pntext", "fldrslt", "shprslt"})
            t.emplace(name, RtfWordAction{RtfWord::Shown});
        const std::pair<const char *, RtfWord> words[] = {
            {"fonttbl", RtfWord::FontTable},
            {"colortbl", RtfWord::ColourTable},
            {"pict", RtfWord::Picture},
            {"ansi", RtfWord::Ansi},
            {"mac", RtfWord::Mac},
            {"pc", RtfWord::Pc},
            {"pca", RtfWord::Pca},
            {"ansicpg", RtfWord::AnsiCodePage},
            {"deff", RtfWord::DefaultFont},
            {"uc", RtfWord::UnicodeSkip},
            {"u", RtfWord::Unicode},
            {"plain", RtfWord::Plain},
            {"b", RtfWord::Bold},
            {"i", RtfWord::Italic},
            {"ul", RtfWord::Underline},
            {"uldb", RtfWord::UnderlineDouble},
            {"uld", RtfWord::UnderlineDotted},
            {"uldash", RtfWord::UnderlineDashed},
            {"ulwave", RtfWord::UnderlineWave},
            {"ulw", RtfWord::Underline},
            {"ulth", RtfWord::Underline},
            {"ulnone", RtfWord::UnderlineNone},
            {"strike", RtfWord::Strike},
            {"striked", RtfWord::Strike},
            {"fs", RtfWord::FontSize},
            {"f", RtfWord::Font},
            {"loch", RtfWord::LowAnsi},
            {"hich", RtfWord::HighAnsi},
            {"dbch", RtfWord::DoubleByte},
            {"af", RtfWord::AssociatedFont},
            {"fcharset", RtfWord::FontCharset},
            {"froman", RtfWord::FontRoman},
            {"fswiss", RtfWord::FontSwiss},
            {"fmodern", RtfWord::FontModern},
            {"fscript", RtfWord::FontScript},
            {"fdecor", RtfWord::FontDecor},
            {"cf", RtfWord::ForeColour},
            {"cb", RtfWord::BackColour},
            {"highlight", RtfWord::BackColour},
            {"chcbpat", RtfWord::BackColour},
            {"super", RtfWord::Super},
            {"sub", RtfWord::Sub},
            {"nosupersub", RtfWord::NoSuperSub},
            {"v", RtfWord::Hidden},
            {"red", RtfWord::Red},
            {"green", RtfWord::Green},
            {"blue", RtfWord::Blue},
            {"pard", RtfWord::Pard},
            {"ql", RtfWord::AlignLeft},
            {"qc", RtfWord::AlignCentre},
            {"qr", RtfWord::AlignRight},
            {"qj", RtfWord::AlignJustify},
            {"li", RtfWord::LeftIndent},
            {"lin", RtfWord::LeftIndent},
            {"ri", RtfWord::RightIndent},
            {"rin", RtfWord::RightIndent},
            {"fi", RtfWord::FirstIndent},
            {"sb", RtfWord::SpaceBefore},
            {"sa", RtfWord::SpaceAfter},
            {"sl", RtfWord::LineSpacing},
            {"slmult", RtfWord::LineMultiple},
            {"tx", RtfWord::TabStop},
            {"intbl", RtfWord::InTable},
            {"par", RtfWord::Par},
            {"page", RtfWord::Par},
            {"line", RtfWord::Line},
            {"tab", RtfWord::Tab},
            {"trowd", RtfWord::RowDefaults},
            {"cellx", RtfWord::CellEdge},
            {"cell", RtfWord::Cell},
            {"row", RtfWord::Row},
            {"nestcell", RtfWord::NestedCell},
            {"nestrow", RtfWord::NestedRow},
            {"pngblip", RtfWord::PngBlip},
            {"jpegblip", RtfWord::JpegBlip},
            {"picw", RtfWord::PictureWidth},
            {"pich", RtfWord::PictureHeight},
            {"picwgoal", RtfWord::PictureGoalWidth},
            {"pichgoal", RtfWord::PictureGoalHeight},
            {"picscalex", RtfWord::PictureScaleX},
            {"picscaley", RtfWord::PictureScaleY},
        };
        for (const auto &[name, word] : words)
            t.emplace(name, RtfWordAction{word});
        const std::pair<const char *, char16_t> characters[] = {
            {"bullet", u'\u2022'},    {"endash", u'\u2013'},  {"emdash", u'\u2014'},
            {"lquote", u'\u2018'},    {"rquote", u'\u2019'},  {"ldblquote", u'\u201C'},
            {"rdblquote", u'\u201D'}, {"emspace", u'\u2003'}, {"enspace", u'\u2002'},
            {"qmspace", u'\u2005'},   {"zwj", u'\u200D'},     {"zwnj", u'\u200C'},
            {"ltrmark", u'\u200E'},   {"rtlmark", u'\u200F'},
        };
        for (const auto &[name, c] : characters)
            t.emplace(name, RtfWordAction{RtfWord::Character, c});
        return t;
    }();
    return table;
}

} // namespace

const RtfWordAction *findRtfWord(QByteArrayView name)
{
    const auto &table = wordTable();
    const auto found = table.find(std::string_view(name.data(), static_cast<std::size_t>(name.size())));
    return found == table.end() ? nullptr : &found->second;
}
