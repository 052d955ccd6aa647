#include "Translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>

namespace {
const QString kFolder = QStringLiteral(":/translations");
const QString kPrefix = QStringLiteral("tolvane_");

// Held for the program's life: the application only keeps pointers.
std::unique_ptr<QTranslator>& ownTranslator()
{
    static std::unique_ptr<QTranslator> translator;
    return translator;
}

// How many EnglishTexts guards live on this thread.
thread_local int englishDepth = 0;

QString& shownLanguage()
{
    static QString language;
    return language;
}

std::unique_ptr<QTranslator>& qtTranslator()
{
    static std::unique_ptr<QTranslator> translator;
    return translator;
}

// "de-DE" and "de_DE" both name German.
QString languageOf(const QString& uiLanguage)
{
    return QLocale(uiLanguage).name().section(QLatin1Char('_'), 0, 0);
}

void drop(std::unique_ptr<QTranslator>& translator)
{
    if (translator)
        QCoreApplication::removeTranslator(translator.get());
    translator.reset();
}
}  // namespace

QStringList TranslatedLanguages()
{
    QStringList languages;
    for (const QString& file : QDir(kFolder).entryList({kPrefix + QStringLiteral("*.qm")}, QDir::Files, QDir::Name))
        languages << file.mid(kPrefix.size()).chopped(3);
    return languages;
}

QString ChooseLanguage(const QStringList& languages, const QStringList& translated)
{
    for (const QString& uiLanguage : languages) {
        const QString language = languageOf(uiLanguage);
        // "C" and the POSIX locale name no language: they are the original texts too.
        if (language == QLatin1String("en") || language == QLatin1String("C"))
            return {};
        if (translated.contains(language))
            return language;
    }
    return {};
}

QString InstallTranslations(const QLocale& locale)
{
    drop(ownTranslator());
    drop(qtTranslator());
    shownLanguage().clear();
    const QString language = ChooseLanguage(locale.uiLanguages(), TranslatedLanguages());
    if (language.isEmpty())
        return {};
    auto own = std::make_unique<QTranslator>();
    if (!own->load(kPrefix + language, kFolder))
        return {};
    QCoreApplication::installTranslator(own.get());
    ownTranslator() = std::move(own);
    shownLanguage() = language;
    // Qt's own texts come with the system's Qt translations, when they are installed.
    auto qt = std::make_unique<QTranslator>();
    if (qt->load(QStringLiteral("qtbase_") + language, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(qt.get());
        qtTranslator() = std::move(qt);
    }
    return language;
}

QString ShownLanguage()
{
    return shownLanguage();
}

QString TranslatedText(const char* context, const char* text)
{
    if (englishDepth > 0)
        return QString::fromUtf8(text);
    return QCoreApplication::translate(context, text);
}

QString TranslatedSource(const char* context, const QString& text)
{
    if (englishDepth > 0 || text.isEmpty())
        return text;
    return QCoreApplication::translate(context, text.toUtf8().constData());
}

EnglishTexts::EnglishTexts()
{
    ++englishDepth;
}

EnglishTexts::~EnglishTexts()
{
    --englishDepth;
}
