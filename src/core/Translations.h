#pragma once
// The user's language: the program's own texts from the translations built into it, and Qt's
// (standard buttons, file dialogs) from the system's, for the first language of the user's
// list (LANGUAGE, LC_ALL, LC_MESSAGES, LANG, as QLocale::uiLanguages gives them) that the
// program speaks. English is the language the texts are written in, so an English user, or one
// whose languages have no translation, sees them exactly as written.
#include <QLocale>
#include <QString>
#include <QStringList>

// The languages the program has translations for ("de", "fr"), from the built-in files.
QStringList TranslatedLanguages();
// The language of `languages` (in the user's order) that is shown: the first that is English or
// translated; empty for English and for no match.
QString ChooseLanguage(const QStringList& languages, const QStringList& translated);
// Installs the translators for locale's languages into the application; returns the language
// installed, or empty when the texts stay English. Called again, it replaces the earlier ones.
QString InstallTranslations(const QLocale& locale = QLocale::system());
// The language InstallTranslations installed last ("de"); empty while the texts are English.
QString ShownLanguage();

// A text of the program in the user's language: QCoreApplication::translate, unless an
// EnglishTexts guard lives on this thread, and then the text as written. For texts that are both
// shown and logged (a cam's health, its reasons): the log stays English, since people search
// for its lines. lupdate finds these calls (-tr-function-alias translate+=TranslatedText).
QString TranslatedText(const char* context, const char* text);
// The same for a text kept as written and marked where it was written (QT_TRANSLATE_NOOP): a
// text stored in a record that is both shown and logged. A text no one marked stays as it is.
QString TranslatedSource(const char* context, const QString& text);

// While one lives, TranslatedText gives the English texts on this thread: a log line, or a
// text for a program (an alert command's environment), is composed inside one.
class EnglishTexts {
public:
    EnglishTexts();
    ~EnglishTexts();
    EnglishTexts(const EnglishTexts&) = delete;
    EnglishTexts& operator=(const EnglishTexts&) = delete;
};
