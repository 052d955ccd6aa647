// Program entry: the command line, the program folder (or a demo folder with its own cams and
// clock server), then the splash window, which brings up the main window.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <memory>

#include "CommandLine.h"
#include "DaytimeResponder.h"
#include "DemoCamServer.h"
#include "DemoFolder.h"
#include "DesktopApplication.h"
#include "EndOnSignals.h"
#include "FfmpegLog.h"
#include "PictureMemory.h"
#include "ProductInfo.h"
#include "ProgramFolder.h"
#include "RecordCommand.h"
#include "StatusCommand.h"
#include "TimelapseCommand.h"
#include "Translations.h"
#include "WatchLog.h"
#include "frmSplash.h"

namespace {
constexpr int kDemoRefreshSeconds = 5;

QString& ProgramName()
{
    static QString name = QStringLiteral("tolvane");
    return name;
}

int Fail(const QString& text)
{
    std::fprintf(stderr, "%s: %s\n", qPrintable(ProgramName()), qPrintable(text));
    return 1;
}

// The demo's servers live as long as the program.
struct Demo {
    std::unique_ptr<DemoCamServer> cams;
    std::unique_ptr<DaytimeResponder> clock;
    QString folder;
};

QString StartDemo(Demo& demo, QStringList& openNames)
{
    demo.cams = std::make_unique<DemoCamServer>();
    if (!demo.cams->start())
        return QCoreApplication::translate("main", "the demo cams could not start: %1").arg(demo.cams->errorString());
    demo.clock = std::make_unique<DaytimeResponder>();
    if (!demo.clock->start())
        return QCoreApplication::translate("main", "the demo clock server could not start: %1")
            .arg(demo.clock->errorString());

    const QString folder = NewDemoFolder();
    demo.folder = folder;
    if (folder.isEmpty())
        return QCoreApplication::translate("main", "no demo folder could be made in %1").arg(QDir::tempPath());
    QList<DemoCam> cams;
    for (int k = 1; k <= demo.cams->camCount(); ++k)
        cams.append({demo.cams->camName(k), demo.cams->camUrl(k)});
    // A stream cam (HLS) made inside the program: watched as any stream cam is.
    cams.append({QStringLiteral("Harbour stream"), demo.cams->streamUrl()});
    const QString helpFile = QCoreApplication::applicationDirPath() + QStringLiteral("/Help.rtf");
    const QString problem = PrepareDemoFolder(folder, cams, kDemoRefreshSeconds, demo.clock->port(), helpFile);
    if (!problem.isEmpty())
        return problem;
    std::printf("%s\n",
                qPrintable(QCoreApplication::translate("main",
                                                       "%1 demo: cams on 127.0.0.1:%2, clock on "
                                                       "127.0.0.1:%3, folder %4")
                               .arg(ProductName())
                               .arg(demo.cams->port())
                               .arg(demo.clock->port())
                               .arg(folder)));
    std::fflush(stdout);
    QStringList demoNames;
    for (const DemoCam& cam : cams)
        demoNames << cam.name;
    openNames = demoNames + openNames;
    return {};
}

// The demo folder goes unless it holds saved pictures; then its path is said again, since the
// one printed at the start has long scrolled away.
void EndDemo(const Demo& demo)
{
    if (demo.folder.isEmpty())
        return;
    const DemoFolderEnd end = FinishDemoFolder(demo.folder);
    if (end.removed)
        return;
    if (end.savedPictures > 0)
        std::printf("%s\n",
                    qPrintable(end.savedPictures == 1
                                   ? QCoreApplication::translate("main", "%1 demo: 1 saved picture kept in %2")
                                         .arg(ProductName(), demo.folder)
                                   : QCoreApplication::translate("main", "%1 demo: %2 saved pictures kept in %3")
                                         .arg(ProductName())
                                         .arg(end.savedPictures)
                                         .arg(demo.folder)));
    else
        Fail(QCoreApplication::translate("main", "the demo folder %1 could not be removed").arg(demo.folder));
    std::fflush(stdout);
}
}  // namespace

int main(int argc, char** argv)
{
    KeepFreedMemoryForReuse();
    // Before anything uses FFmpeg (the demo's stream is made by it too): its lines go to the log.
    InstallFfmpegLog();
    // --help and --version are answered without a display: the command line is read before
    // the window system is asked for.
    {
        QCoreApplication reader(argc, argv);
        InitApplicationMetadata();
        InstallTranslations();
        ProgramName() = ExecutableName();
        // The time-lapse export runs here, without a window system, so that cron can run it.
        if (IsTimelapseCommand(QCoreApplication::arguments()))
            return RunTimelapseCommand(QCoreApplication::arguments(), QCoreApplication::applicationDirPath());
        // So does the recorder, for a service on a machine with no display at all.
        const QString executableFolder = QCoreApplication::applicationDirPath();
        const QString installedFolder = IsInstalledExecutable(executableFolder) ? UserDataProgramFolder() : QString();
        if (IsRecordCommand(QCoreApplication::arguments()))
            return RunRecordCommand(QCoreApplication::arguments(), executableFolder, installedFolder);
        if (IsStatusCommand(QCoreApplication::arguments()))
            return RunStatusCommand(QCoreApplication::arguments(), executableFolder, installedFolder);
        const CommandLineResult early = ParseCommandLine(QCoreApplication::arguments());
        if (early.action == CommandLineAction::ShowHelp || early.action == CommandLineAction::ShowVersion) {
            std::printf("%s\n", qPrintable(early.text));
            return 0;
        }
    }

    // Read again once the window system has taken its own options (-platform, -geometry, ...).
    QApplication app(argc, argv);
    InitDesktopApplication();
    InstallTranslations();
    EndEventLoopOnTerminationSignals();
    const CommandLineResult command = ParseCommandLine(QCoreApplication::arguments());
    if (command.action != CommandLineAction::Run)
        return Fail(command.text + QCoreApplication::translate("main", " (see --help)"));

    if (command.options.verbose)
        EnableVerboseWatchLog();
    StartOptions start;
    start.openNames = command.options.openNames;
    start.fullscreen = command.options.fullscreen;
    start.wall = command.options.wall;
    Demo demo;
    if (command.options.demo) {
        start.keepSession = false;
        if (const QString problem = StartDemo(demo, start.openNames); !problem.isEmpty()) {
            EndDemo(demo);
            return Fail(problem);
        }
    } else {
        // An installed program keeps the user's files in the user's data folder: it cannot
        // write beside itself, and several users share it.
        const QString executableFolder = QCoreApplication::applicationDirPath();
        const QString installedFolder = IsInstalledExecutable(executableFolder) ? UserDataProgramFolder() : QString();
        const QString folder = ResolveProgramFolder(command.options.home, qEnvironmentVariable("TOLVANE_HOME"),
                                                    executableFolder, installedFolder);
        if (!QDir().mkpath(folder))
            return Fail(
                QCoreApplication::translate("main", "the program folder %1 does not exist and cannot be created")
                    .arg(folder));
        SetProgramFolder(folder);
    }

    int code = 0;
    {
        frmSplash splash(start);
        splash.show();
        code = app.exec();
    }
    EndDemo(demo);
    return code;
}
