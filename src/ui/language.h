// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

#include <concepts>
#include <functional>
#include <utility>

class QObject;

// The language of the window. The texts in the source are Hungarian, so Hungarian needs no translation of our
// own, only Qt's (qtbase_hu, for Qt's dialogs); English installs the program's English translation, compiled
// into its resources, and leaves Qt's texts as they are. Switching installs or removes the translators, which
// makes Qt send QEvent::LanguageChange to every widget, and sets the default QLocale so that numbers and
// dates follow. Needs a QCoreApplication; the guide's picture taker calls it too.
namespace language {

// The codes the window speaks, the default first: "hu", "en".
QStringList codes();

// Switches to the language of code ("hu" or "en"). False, with nothing changed, for an unknown code or when
// the program's English translation cannot be loaded; Qt's Hungarian translation missing is no failure (only
// Qt's own dialogs stay English then).
bool setLanguage(const QString &code);

// The language the window speaks now: "hu" until setLanguage switches it.
QString currentLanguage();

// The number and date format of a language ("hu": decimal comma; "en": decimal point).
QLocale localeFor(const QString &code);

// Whether Qt's own Hungarian translation is installed now.
bool qtTranslationLoaded();

// The language for a start: the one on the command line (--language hu|en), else the one remembered from the
// last run, else English when the system's locale names English, else Hungarian. remembered is empty on the
// very first start; systemLocaleName is e.g. "en_GB" or "hu_HU".
QString startLanguage(const QString &commandLine, const QString &remembered, const QString &systemLocaleName);

// Remembering the choice between runs (QSettings).
QString rememberedLanguage();
void rememberLanguage(const QString &code);

// The document to show for path ("inf/<name>.rtf") in the window's language: in English "inf/en/<name>.rtf"
// when it exists, else path itself.
QString documentPath(const QString &path);

// The user's guide's file name in the window's language: "rs232sim_sugo.pdf" or "rs232sim_guide.pdf".
QString guideFileName();

// Calls apply now, and again whenever owner (a widget, or an object inside one) receives
// QEvent::LanguageChange; the call goes with owner.
void follow(QObject *owner, std::function<void()> apply);

// A text a control shows: either fixed, or made by a function that words it in the window's language (a
// lambda returning tr("...")), which is asked again after every switch.
class Text
{
public:
    Text() = default;
    Text(const QString &fixed) : m_fixed(fixed) {}
    template <typename F>
    requires std::invocable<const F &> && std::convertible_to<std::invoke_result_t<const F &>, QString>
    Text(F make) : m_make(std::move(make))
    {
    }

    QString operator()() const { return m_make ? m_make() : m_fixed; }
    // Sets the text through set now and, for a translated text, again on every language change owner sees.
    void bind(QObject *owner, std::function<void(const QString &)> set) const;

private:
    QString m_fixed;
    std::function<QString()> m_make;
};

} // namespace language
