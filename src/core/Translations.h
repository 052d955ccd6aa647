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
