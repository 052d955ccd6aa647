#include "RecordCommand.h"

#include <QCoreApplication>
#include <QDir>
#include <QLoggingCategory>
#include <unistd.h>

#include "CommandLine.h"
#include "EndOnSignals.h"
#include "ProgramFolder.h"
#include "Recorder.h"
#include "RecorderLock.h"

namespace {
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

std::FILE* logStream = stderr;

struct Request {
    QString home;
    QStringList openNames;
    bool verbose = false;
    bool help = false;
};

QString Usage()
{
    return QCoreApplication::translate(
        "RecordCommand",
        "usage: tolvane --record [--home DIR] [--open NAME]... [--verbose]\n"
        "Records without a window: saves the new pictures of the cams marked \"Record\" in their dialog\n"
        "(or of those given with --open) exactly as AutoSave does, with their index rows and the\n"
        "retention of the Options, until SIGTERM or SIGINT. Follows changes of the cam list file.\n"
        "  --home DIR    the program folder (as for the window)\n"
        "  --open NAME   record this cam of the cam list; may be given more than once\n"
        "  --verbose     also the info lines of the other logs (index check, retention)\n"
        "One line per change of a cam's health goes to standard error. Only one recorder may hold a\n"
        "folder (the lock file tolvane-record.lock names it). Exit status: 0 stopped by a signal,\n"
        "1 could not start, 2 wrong command line.");
}

// Empty when the request is whole; the problem otherwise.
QString Parse(const QStringList& args, Request& request)
{
    for (int k = 1; k < args.size(); ++k) {
        const QString& flag = args.at(k);
        if (flag == QLatin1String("--record"))
            continue;
        if (flag == QLatin1String("--verbose")) {
            request.verbose = true;
            continue;
        }
        if (flag == QLatin1String("--help") || flag == QLatin1String("-h")) {
            request.help = true;
            continue;
        }
        if (flag != QLatin1String("--home") && flag != QLatin1String("--open"))
            return QCoreApplication::translate("RecordCommand", "%1 is not an option of --record").arg(flag);
        if (k + 1 >= args.size())
            return QCoreApplication::translate("RecordCommand", "%1 needs a value").arg(flag);
        const QString value = args.at(++k);
        if (flag == QLatin1String("--home"))
            request.home = value;
        else
            request.openNames << value;
    }
    return {};
}

void Print(std::FILE* stream, const QString& text)
{
    std::fprintf(stream, "%s\n", qPrintable(text));
    std::fflush(stream);
}

// Every log line to standard error as the window's console shows it ("tolvane.watch: …"), also
// where Qt would hand it to the journal itself: the unit's journal takes standard error anyway,
// and a script reading the pipe gets every line.
void ToStandardError(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    Print(logStream, qFormatLogMessage(type, context, message));
}
}  // namespace

bool IsRecordCommand(const QStringList& args)
{
    return args.contains(QStringLiteral("--record"));
}

int RunRecordCommand(const QStringList& args, const QString& executableFolder, const QString& installedFolder,
                     std::FILE* err)
{
    Request request;
    if (const QString problem = Parse(args, request); !problem.isEmpty()) {
        Print(err, QCoreApplication::translate("RecordCommand", "tolvane: %1\n%2").arg(problem, Usage()));
        return kExitUsage;
    }
    if (request.help) {
        std::printf("%s\n", qPrintable(Usage()));
        return 0;
    }
    const QString folder =
        ResolveProgramFolder(request.home, qEnvironmentVariable("TOLVANE_HOME"), executableFolder, installedFolder);
    if (!QDir().mkpath(folder)) {
        Print(err,
              QCoreApplication::translate("RecordCommand",
                                          "tolvane: the program folder %1 does not exist and cannot be created")
                  .arg(folder));
        return kExitFailed;
    }
    SetProgramFolder(folder);
    RecorderLock lock;
    if (!lock.take(folder)) {
        if (!lock.problem().isEmpty())
            Print(err, QStringLiteral("tolvane: %1").arg(lock.problem()));
        else if (lock.holder() > 0)
            Print(err,
                  QCoreApplication::translate("RecordCommand",
                                              "tolvane: %1 is already being recorded by process %2 (see %3)")
                      .arg(folder)
                      .arg(lock.holder())
                      .arg(QDir(folder).filePath(QString::fromLatin1(kRecorderLockName))));
        else
            Print(err,
                  QCoreApplication::translate(
                      "RecordCommand", "tolvane: %1 is already being recorded by another process that is just starting")
                      .arg(folder));
        return kExitFailed;
    }

    logStream = err;
    const QtMessageHandler previousHandler = qInstallMessageHandler(ToStandardError);
    // The health lines and the alerts are what a recorder is watched by; the other logs' info
    // lines (the history upkeep, the index) on request. QT_LOGGING_RULES still has the last word.
    QLoggingCategory::setFilterRules(request.verbose
                                         ? QStringLiteral("tolvane.*.info=true")
                                         : QStringLiteral("tolvane.watch.info=true\ntolvane.alert.info=true"));
    EndEventLoopOnTerminationSignals();

    int code = 0;
    {
        Recorder recorder(request.openNames,
                          [err](const QString& line) { Print(err, QStringLiteral("tolvane: ") + line); });
        if (const QString problem = recorder.start(); !problem.isEmpty()) {
            Print(err, QStringLiteral("tolvane: %1").arg(problem));
            code = kExitFailed;
        } else {
            Print(err,
                  QCoreApplication::translate("RecordCommand", "tolvane: recording in %1 as process %2 (%3)")
                      .arg(folder)
                      .arg(static_cast<qint64>(::getpid()))
                      .arg(recorder.recordedNames().isEmpty()
                               ? QCoreApplication::translate("RecordCommand", "no cam is marked for recording yet")
                               : QCoreApplication::translate("RecordCommand", "%1 cams")
                                     .arg(recorder.recordedNames().size())));
            code = QCoreApplication::exec();
            recorder.stop();
            Print(err,
                  QCoreApplication::translate("RecordCommand",
                                              "tolvane: stopped; every picture saved is whole and indexed"));
        }
    }
    qInstallMessageHandler(previousHandler);
    return code;
}
