#include "CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>

#include "ProductInfo.h"

CommandLineResult ParseCommandLine(const QStringList& args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QCoreApplication::translate(
            "CommandLine",
            "%1: watches public web cams, saves their new pictures and shows one cam large.\n\n"
            "The program folder holds the cam list 00camlist.txt, the settings file %1.ini and the "
            "saved pictures (cam/). It is the folder given with --home, else $TOLVANE_HOME, else "
            "for an installed program $XDG_DATA_HOME/tolvane (~/.local/share/tolvane when "
            "XDG_DATA_HOME is not set), else the folder of the program itself.\n\n"
            "A time-lapse video of a cam's saved pictures, without a window: tolvane --timelapse CAM "
            "--from ISO --to ISO [--fps N] --out FILE [--overwrite] [--home DIR]; an existing FILE is replaced "
            "only with --overwrite.\n\n"
            "Recording without a window, until SIGTERM or SIGINT: tolvane --record [--home DIR] [--open NAME]... "
            "[--verbose] saves the new pictures of the cams marked \"Record\" (or of those named) as AutoSave "
            "does; tolvane --record --help says more. tolvane --status [--home DIR] prints what the recorder does or "
            "last did")
            .arg(ProductName()));
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();
    const QCommandLineOption homeOption(
        QStringLiteral("home"),
        QCoreApplication::translate("CommandLine",
                                    "Use DIR as the program folder (cam list, settings, Help.rtf, the cam folder); "
                                    "it is created when missing."),
        QStringLiteral("DIR"));
    const QCommandLineOption demoOption(
        QStringLiteral("demo"),
        QCoreApplication::translate(
            "CommandLine",
            "Start six demo cams and a clock server on this machine, in a fresh demo folder, and open them. "
            "At exit the folder is removed unless pictures were saved in it."));
    const QCommandLineOption openOption(
        QStringLiteral("open"),
        QCoreApplication::translate("CommandLine",
                                    "Open the cam NAME from the cam list at start; may be given more than once."),
        QStringLiteral("NAME"));
    const QCommandLineOption fullscreenOption(
        QStringLiteral("fullscreen"),
        QCoreApplication::translate("CommandLine", "Show the main window full screen (wall displays)."));
    const QCommandLineOption wallOption(
        QStringLiteral("wall"),
        QCoreApplication::translate(
            "CommandLine",
            "Start with View > Wall: every open cam as large as the window allows. With --fullscreen "
            "the wall fills the screen (a kiosk; F11 or Esc returns to the normal window)."));
    const QCommandLineOption verboseOption(
        QStringLiteral("verbose"),
        QCoreApplication::translate("CommandLine",
                                    "Log each change of a cam's state or last outcome to standard error (the log "
                                    "category tolvane.watch; QT_LOGGING_RULES can do the same)."));
    parser.addOptions({homeOption, demoOption, openOption, fullscreenOption, wallOption, verboseOption});

    CommandLineResult result;
    if (!parser.parse(args)) {
        result.action = CommandLineAction::Error;
        result.text = parser.errorText();
        return result;
    }
    if (parser.isSet(helpOption)) {
        result.action = CommandLineAction::ShowHelp;
        result.text = parser.helpText();
        return result;
    }
    if (parser.isSet(versionOption)) {
        result.action = CommandLineAction::ShowVersion;
        result.text = ProductName() + QLatin1Char(' ') + VersionText();
        return result;
    }
    if (!parser.positionalArguments().isEmpty()) {
        result.action = CommandLineAction::Error;
        result.text = QCoreApplication::translate("CommandLine", "Unexpected argument: %1")
                          .arg(parser.positionalArguments().constFirst());
        return result;
    }
    if (parser.isSet(homeOption) && parser.value(homeOption).isEmpty()) {
        result.action = CommandLineAction::Error;
        result.text = QCoreApplication::translate("CommandLine", "--home needs a folder name.");
        return result;
    }
    result.options.home = parser.value(homeOption);
    result.options.demo = parser.isSet(demoOption);
    result.options.openNames = parser.values(openOption);
    result.options.fullscreen = parser.isSet(fullscreenOption);
    result.options.wall = parser.isSet(wallOption);
    result.options.verbose = parser.isSet(verboseOption);
    return result;
}

QString ResolveProgramFolder(const QString& homeOption, const QString& environmentHome, const QString& executableFolder,
                             const QString& installedProgramFolder)
{
    const QString chosen = !homeOption.isEmpty() ? homeOption
        : !environmentHome.isEmpty()             ? environmentHome
        : !installedProgramFolder.isEmpty()      ? installedProgramFolder
                                                 : executableFolder;
    return QDir::cleanPath(QDir::current().absoluteFilePath(chosen));
}
