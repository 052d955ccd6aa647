#include "StatusCommand.h"

#include <QCoreApplication>
#include <QDir>

#include "CommandLine.h"
#include "RecorderLock.h"

namespace {
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

QString Usage()
{
    return QCoreApplication::translate(
        "StatusCommand",
        "usage: tolvane --status [--home DIR]\n"
        "Prints what the recorder (tolvane --record) of the program folder does or last did: for\n"
        "each cam it records, its health, its last new picture and the pictures kept.");
}

QString When(const QDateTime& time)
{
    return time.isValid() ? time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                          : QCoreApplication::translate("StatusCommand", "never");
}

// A cam's own lines stand indented under its name; the indent is no translator's business.
QString Indented(const QString& text)
{
    return QStringLiteral("  ") + text;
}

void Print(std::FILE* stream, const QString& text)
{
    std::fprintf(stream, "%s\n", qPrintable(text));
    std::fflush(stream);
}
}  // namespace

bool IsStatusCommand(const QStringList& args)
{
    return args.contains(QStringLiteral("--status"));
}

QString StatusText(const RecorderStatus& status, qint64 holder)
{
    QStringList lines;
    if (status.running && holder == status.pid)
        lines << QCoreApplication::translate("StatusCommand", "recorder: running as process %1 since %2 (status of %3)")
                     .arg(status.pid)
                     .arg(When(status.started), When(status.updated));
    else if (status.running && holder > 0)
        lines << QCoreApplication::translate(
                     "StatusCommand",
                     "recorder: process %1 holds the folder and has not said anything yet; the last "
                     "status, of process %2 at %3, follows")
                     .arg(holder)
                     .arg(status.pid)
                     .arg(When(status.updated));
    else if (status.running)
        lines << QCoreApplication::translate(
                     "StatusCommand",
                     "recorder: not running; process %1 ended without stopping cleanly after %2 "
                     "(its last status follows)")
                     .arg(status.pid)
                     .arg(When(status.updated));
    else
        lines << QCoreApplication::translate("StatusCommand", "recorder: stopped at %1 (process %2, started %3)")
                     .arg(When(status.updated))
                     .arg(status.pid)
                     .arg(When(status.started));
    lines << QCoreApplication::translate("StatusCommand", "save folder: %1").arg(status.saveFolder);
    if (status.cams.isEmpty())
        lines << QCoreApplication::translate("StatusCommand", "no cam recorded");
    for (const RecordedCamStatus& cam : status.cams) {
        lines << cam.name;
        lines << Indented(QCoreApplication::translate("StatusCommand", "health: %1"))
                     .arg(cam.summary.isEmpty() ? cam.state : cam.summary);
        if (!cam.schedule.isEmpty())
            lines << Indented(QCoreApplication::translate("StatusCommand", "records: %1")).arg(cam.schedule);
        lines << Indented(QCoreApplication::translate("StatusCommand", "last new picture: %1"))
                     .arg(When(cam.lastNewPicture));
        lines << Indented(QCoreApplication::translate("StatusCommand", "last saved: %1"))
                     .arg(cam.lastSaved.isEmpty() ? QCoreApplication::translate("StatusCommand", "none yet")
                                                  : cam.lastSaved);
        lines << Indented(QCoreApplication::translate("StatusCommand", "pictures kept: %1")).arg(cam.picturesKept);
    }
    return lines.join(QLatin1Char('\n'));
}

int RunStatusCommand(const QStringList& args, const QString& executableFolder, const QString& installedFolder,
                     std::FILE* out, std::FILE* err)
{
    QString home;
    for (int k = 1; k < args.size(); ++k) {
        const QString& flag = args.at(k);
        if (flag == QLatin1String("--status"))
            continue;
        if (flag == QLatin1String("--help") || flag == QLatin1String("-h")) {
            Print(out, Usage());
            return 0;
        }
        if (flag == QLatin1String("--home") && k + 1 < args.size()) {
            home = args.at(++k);
            continue;
        }
        Print(err,
              QStringLiteral("tolvane: %1\n%2")
                  .arg(flag == QLatin1String("--home")
                           ? QCoreApplication::translate("StatusCommand", "--home needs a value")
                           : QCoreApplication::translate("StatusCommand", "%1 is not an option of --status").arg(flag),
                       Usage()));
        return kExitUsage;
    }
    const QString folder =
        ResolveProgramFolder(home, qEnvironmentVariable("TOLVANE_HOME"), executableFolder, installedFolder);
    QString problem;
    const std::optional<RecorderStatus> status = ReadRecorderStatus(folder, &problem);
    if (!status) {
        Print(err, QStringLiteral("tolvane: %1: %2").arg(RecorderStatusPath(folder), problem));
        return kExitFailed;
    }
    Print(out, StatusText(*status, RecorderHolding(folder)));
    return 0;
}
