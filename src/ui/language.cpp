// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/language.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QPointer>
#include <QSettings>
#include <QTranslator>
#include <QWidget>

namespace language {

namespace {

const QString hungarian = QStringLiteral("hu");
const QString english = QStringLiteral("en");

// The installed translators, owned by the application object (so they go with it).
QPointer<QTranslator> programTranslator; // the program's own English texts
QPointer<QTranslator> qtTranslator;      // Qt's Hungarian texts
QString current = hungarian;

QSettings settings()
{
    return QSettings(QStringLiteral("rs232sim"), QStringLiteral("rs232sim"));
}

const QString settingsKey = QStringLiteral("window/language");

// Drops a translator: removing it sends the LanguageChange event.
void drop(QPointer<QTranslator> &translator)
{
    if (!translator)
        return;
    QCoreApplication::removeTranslator(translator);
    delete translator;
    translator = nullptr;
}

// Widgets without a locale of their own keep the one they resolved when they were made; the new default
// locale reaches them (and their spin boxes' and editors' numbers) only when they resolve it again.
void spreadDefaultLocale()
{
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return;
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        if (!window->testAttribute(Qt::WA_SetLocale))
            window->unsetLocale();
    }
}

// Runs its function whenever its parent receives the LanguageChange event: a widget passes that event on to
// all its children.
class Follower : public QObject
{
public:
    Follower(QObject *owner, std::function<void()> apply) : QObject(owner), m_apply(std::move(apply)) {}

protected:
    bool event(QEvent *e) override
    {
        if (e->type() == QEvent::LanguageChange)
            m_apply();
        return QObject::event(e);
    }

private:
    std::function<void()> m_apply;
};

} // namespace

void follow(QObject *owner, std::function<void()> apply)
{
    apply();
    new Follower(owner, std::move(apply));
}

void Text::bind(QObject *owner, std::function<void(const QString &)> set) const
{
    if (!m_make) {
        set(m_fixed);
        return;
    }
    follow(owner, [make = m_make, set = std::move(set)] { set(make()); });
}

QString documentPath(const QString &path)
{
    if (current == hungarian)
        return path;
    const QFileInfo original(path);
    const QString translated = original.dir().filePath(current + QLatin1Char('/') + original.fileName());
    return QFileInfo::exists(translated) ? translated : path;
}

QString guideFileName()
{
    return current == english ? QStringLiteral("rs232sim_guide.pdf") : QStringLiteral("rs232sim_sugo.pdf");
}

QStringList codes()
{
    return {hungarian, english};
}

QLocale localeFor(const QString &code)
{
    if (code == english)
        return QLocale(QLocale::English, QLocale::UnitedStates);
    return QLocale(QLocale::Hungarian, QLocale::Hungary);
}

bool setLanguage(const QString &code)
{
    auto *app = QCoreApplication::instance();
    if (!app || !codes().contains(code))
        return false;
    if (code == english) {
        if (!programTranslator) {
            auto *translator = new QTranslator(app);
            if (!translator->load(QStringLiteral(":/i18n/rs232sim_en.qm"))) {
                delete translator;
                return false;
            }
            QCoreApplication::installTranslator(translator);
            programTranslator = translator;
        }
        drop(qtTranslator);
    } else {
        drop(programTranslator);
        if (!qtTranslator) {
            auto *translator = new QTranslator(app);
            if (translator->load(localeFor(hungarian), QStringLiteral("qtbase"), QStringLiteral("_"),
                                 QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
                QCoreApplication::installTranslator(translator);
                qtTranslator = translator;
            } else {
                delete translator;
            }
        }
    }
    current = code;
    QLocale::setDefault(localeFor(code));
    spreadDefaultLocale();
    return true;
}

QString currentLanguage()
{
    return current;
}

bool qtTranslationLoaded()
{
    return !qtTranslator.isNull();
}

QString startLanguage(const QString &commandLine, const QString &remembered, const QString &systemLocaleName)
{
    if (codes().contains(commandLine))
        return commandLine;
    if (codes().contains(remembered))
        return remembered;
    if (remembered.isEmpty() && systemLocaleName.startsWith(english))
        return english;
    return hungarian;
}

QString rememberedLanguage()
{
    return settings().value(settingsKey).toString();
}

void rememberLanguage(const QString &code)
{
    auto store = settings();
    store.setValue(settingsKey, code);
}

} // namespace language
