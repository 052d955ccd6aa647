#include "TimelapseCommand.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <atomic>
#include <csignal>
#include <unistd.h>

#include "CamList.h"
#include "CommandLine.h"
#include "IndexMaintenance.h"
#include "ProgramFolder.h"
#include "Timelapse.h"

namespace {
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

std::atomic<bool> interrupted = false;

void OnInterrupt(int)
{
    interrupted = true;
}

struct Request {
    QString cam, out, home;
    QDateTime from, to;
    int fps = 24;
    bool overwrite = false;
};

QString Usage()
{
    return QCoreApplication::translate(
        "TimelapseCommand",
        "usage: tolvane --timelapse CAM --from ISO --to ISO [--fps N] --out FILE [--overwrite] [--home DIR]\n"
        "  ISO is a local date and time such as 2024-05-07T06:00 (an offset such as +02:00 may "
        "follow)");
}

// Empty when the request is whole; the problem otherwise.
QString Parse(const QStringList& args, Request& request)
{
    for (int k = 1; k < args.size(); ++k) {
        const QString& flag = args.at(k);
        if (flag == QLatin1String("--overwrite")) {
            request.overwrite = true;
            continue;
        }
        const bool known = flag == QLatin1String("--timelapse") || flag == QLatin1String("--from") ||
            flag == QLatin1String("--to") || flag == QLatin1String("--fps") || flag == QLatin1String("--out") ||
            flag == QLatin1String("--home");
        if (!known)
            return QCoreApplication::translate("TimelapseCommand", "%1 is not an option of --timelapse").arg(flag);
        if (k + 1 >= args.size())
            return QCoreApplication::translate("TimelapseCommand", "%1 needs a value").arg(flag);
        const QString value = args.at(++k);
        if (flag == QLatin1String("--timelapse")) {
            request.cam = value;
        } else if (flag == QLatin1String("--out")) {
            request.out = value;
        } else if (flag == QLatin1String("--home")) {
            request.home = value;
        } else if (flag == QLatin1String("--fps")) {
            bool ok = false;
            request.fps = value.toInt(&ok);
            if (!ok || request.fps < 1 || request.fps > 120)
                return QCoreApplication::translate("TimelapseCommand",
                                                   "--fps takes a whole number from 1 to 120, not \"%1\"")
                    .arg(value);
        } else {
            const QDateTime time = QDateTime::fromString(value, Qt::ISODate);
            if (!time.isValid())
                return QCoreApplication::translate("TimelapseCommand",
                                                   "%1 takes a date and time such as 2024-05-07T06:00, not \"%2\"")
                    .arg(flag, value);
            (flag == QLatin1String("--from") ? request.from : request.to) = time;
        }
    }
    if (request.cam.isEmpty())
        return QCoreApplication::translate("TimelapseCommand", "--timelapse needs the cam's name");
    if (!request.from.isValid() || !request.to.isValid())
        return QCoreApplication::translate("TimelapseCommand", "--from and --to are both needed");
    if (request.to < request.from)
        return QCoreApplication::translate("TimelapseCommand", "--to is before --from");
    if (request.out.isEmpty())
        return QCoreApplication::translate("TimelapseCommand", "--out needs the video file to write");
    return {};
}

void Print(std::FILE* stream, const QString& text)
{
    std::fprintf(stream, "%s\n", qPrintable(text));
    std::fflush(stream);
}
}  // namespace

bool IsTimelapseCommand(const QStringList& args)
{
    return args.contains(QStringLiteral("--timelapse"));
}

int RunTimelapseCommand(const QStringList& args, const QString& executableFolder, std::FILE* out, std::FILE* err)
{
    Request request;
    if (const QString problem = Parse(args, request); !problem.isEmpty()) {
        Print(err, QCoreApplication::translate("TimelapseCommand", "tolvane: %1\n%2").arg(problem, Usage()));
        return kExitUsage;
    }
    const QString folder = ResolveProgramFolder(request.home, qEnvironmentVariable("TOLVANE_HOME"), executableFolder);
    if (!QFileInfo(folder).isDir()) {
        Print(err,
              QCoreApplication::translate("TimelapseCommand", "tolvane: the program folder %1 does not exist")
                  .arg(folder));
        return kExitFailed;
    }
    SetProgramFolder(folder);
    // Asked before any work: a script that runs every night must not lose last night's video.
    const QString outFile = QFileInfo(request.out).absoluteFilePath();
    const QString exists =
        QCoreApplication::translate("TimelapseCommand", "tolvane: %1 already exists; give --overwrite to replace it")
            .arg(outFile);
    if (!request.overwrite && VideoFileExists(outFile)) {
        Print(err, exists);
        return kExitFailed;
    }

    QStringList listed;
    try {
        LoadCamList(listed);
    } catch (const CamListError& error) {
        // The index alone can still say which cams have pictures.
        Print(err,
              QCoreApplication::translate("TimelapseCommand",
                                          "tolvane: the cam list could not be read (%1); going by the picture index")
                  .arg(error.message()));
    }
    if (const QString problem = EnsureIndex(listed); !problem.isEmpty()) {
        Print(err, QStringLiteral("tolvane: %1").arg(problem));
        return kExitFailed;
    }
    PictureIndex index;
    if (!index.open()) {
        Print(err, QStringLiteral("tolvane: %1").arg(index.errorText()));
        return kExitFailed;
    }
    if (!listed.contains(request.cam) && !index.cams().contains(request.cam)) {
        QStringList known = listed;
        for (const QString& cam : index.cams())
            if (!known.contains(cam))
                known << cam;
        Print(err,
              QCoreApplication::translate("TimelapseCommand", "tolvane: no such cam: \"%1\" (cams: %2)")
                  .arg(request.cam,
                       known.isEmpty() ? QCoreApplication::translate("TimelapseCommand", "none")
                                       : known.join(QStringLiteral(", "))));
        return kExitFailed;
    }
    TimelapseJob job;
    const QDir cams(CamFolderPath());
    for (const PictureRecord& r : index.pictures(request.cam, request.from, request.to))
        job.files << cams.filePath(r.file);
    if (job.files.isEmpty()) {
        Print(err,
              QCoreApplication::translate("TimelapseCommand", "tolvane: no pictures of \"%1\" between %2 and %3")
                  .arg(request.cam, IsoTimeText(request.from), IsoTimeText(request.to)));
        return kExitFailed;
    }
    job.fps = request.fps;
    job.outFile = outFile;
    job.replaceExisting = request.overwrite;

    // Ctrl-C cancels like the dialog's Cancel: no partial file is left.
    interrupted = false;
    const auto previous = std::signal(SIGINT, OnInterrupt);
    const bool terminal = isatty(fileno(err)) != 0;
    QElapsedTimer clock;
    clock.start();
    int lastTenth = -1;
    const TimelapseResult result = MakeTimelapse(
        job,
        [&](int done, int total) {
            const QString line = QCoreApplication::translate("TimelapseCommand", "%1/%2, %3 left")
                                     .arg(done)
                                     .arg(PictureCountText(total))
                                     .arg(DurationText(SecondsLeft(done, total, clock.elapsed() / 1000.0)));
            if (terminal) {
                std::fprintf(err, "\r%s\033[K", qPrintable(line));
                if (done == total)
                    std::fputc('\n', err);
                std::fflush(err);
            } else if (const int tenth = done * 10 / total; tenth != lastTenth) {
                lastTenth = tenth;
                Print(err, line);
            }
        },
        &interrupted);
    std::signal(SIGINT, previous);
    if (result.status == TimelapseStatus::Done) {
        Print(out, result.message);
        return 0;
    }
    if (terminal)
        std::fputc('\n', err);
    // A file that came while the video was made is kept, and said as before the start.
    Print(err,
          result.status == TimelapseStatus::OutputExists ? exists : QStringLiteral("tolvane: %1").arg(result.message));
    return kExitFailed;
}
