#pragma once
// The program's command line: which folder to work in, the demo, cams to open at start,
// full-screen mode, the wall and the watch log. Parsing is kept apart from main() so that it can be checked on its own.
#include <QString>
#include <QStringList>

struct CommandLineOptions {
    QString home;             // --home DIR, empty when not given
    bool demo = false;        // --demo
    QStringList openNames;    // --open NAME, in the order given
    bool fullscreen = false;  // --fullscreen
    bool wall = false;        // --wall: the main window starts with View > Wall
    bool verbose = false;     // --verbose: the watch log's info lines on standard error
};

enum class CommandLineAction { Run, ShowHelp, ShowVersion, Error };

struct CommandLineResult {
    CommandLineAction action = CommandLineAction::Run;
    CommandLineOptions options;
    QString text;  // the help or version text, or the error message
};

// args includes the program name as its first entry, like QCoreApplication::arguments().
CommandLineResult ParseCommandLine(const QStringList& args);

// The program folder: --home wins over TOLVANE_HOME, which wins over installedProgramFolder (the
// user's data folder of an installed program, empty for a build folder or a portable copy), which
// wins over the executable's folder. Relative paths are taken from the current folder.
QString ResolveProgramFolder(const QString& homeOption, const QString& environmentHome, const QString& executableFolder,
                             const QString& installedProgramFolder = QString());
