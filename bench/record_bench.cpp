// The recorder against the window, each saving the new pictures of 24 cams of a tolvane-democam
// farm (640×480, refresh 1 s, a new picture at every fetch): process CPU and peak RSS of each.
//
//   record_bench [--seconds N] [--democam PATH] [--tolvane PATH]
//
// Both run the built program as a child process on a program folder of its own, with one farm
// each: `tolvane --record --open …` and the window (`tolvane --open …` on Qt's offscreen
// platform, where nothing reaches a screen, as with a minimised window) with AutoSave on. After a
// warm-up of 10 s, each is measured for N seconds (default 60) from /proc: CPU (user + system),
// the pictures saved in that time, and the peak resident set (VmHWM). Targets: the recorder at
// most 0.8× the window's CPU, and at most 60 MB peak RSS. Figures depend on the machine: read
// them, quote them with the machine and its load.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <unistd.h>

namespace {
constexpr int kCams = 24;
constexpr int kWarmUpSeconds = 10;

struct Figures {
    double cpuSeconds = 0;
    int saved = 0;
    double peakMegabytes = 0;
    QString problem;
};

// utime + stime of the process, in seconds.
double ProcessCpuSeconds(qint64 pid)
{
    QFile file(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = file.readAll();
    // The fields after the command's closing parenthesis: state is field 3, utime 14, stime 15.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13)
        return -1;
    return (fields.at(11).toDouble() + fields.at(12).toDouble()) / double(sysconf(_SC_CLK_TCK));
}

double PeakMegabytes(qint64 pid)
{
    QFile file(QStringLiteral("/proc/%1/status").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    static const QRegularExpression hwm(QStringLiteral("VmHWM:\\s+(\\d+) kB"));
    const QRegularExpressionMatch m = hwm.match(QString::fromLatin1(file.readAll()));
    return m.hasMatch() ? m.captured(1).toDouble() / 1024.0 : -1;
}

int SavedPictures(const QString& home)
{
    return int(QDir(home + QStringLiteral("/cam")).entryList({QStringLiteral("*.jpg")}, QDir::Files).size());
}

void Stop(QProcess& process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(15000)) {
        process.kill();
        process.waitForFinished(5000);
    }
}

// One run: a farm writing the cam list into a fresh folder, the program on it, the measurement.
Figures Run(bool recorder, int seconds, const QString& democam, const QString& tolvane)
{
    Figures figures;
    QTemporaryDir home;
    QProcess farm;
    farm.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    farm.start(democam,
               {QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--cams"), QString::number(kCams),
                QStringLiteral("--size"), QStringLiteral("640x480"), QStringLiteral("--every-fetch"),
                QStringLiteral("--photos"), QStringLiteral("--write-camlist"),
                home.filePath(QStringLiteral("00camlist.txt")), QStringLiteral("--refresh"), QStringLiteral("1")});
    QElapsedTimer clock;
    clock.start();
    while (!QFile::exists(home.filePath(QStringLiteral("00camlist.txt"))) && clock.elapsed() < 30000)
        farm.waitForReadyRead(200);
    QFile list(home.filePath(QStringLiteral("00camlist.txt")));
    if (!list.open(QIODevice::ReadOnly)) {
        figures.problem = QStringLiteral("the farm wrote no cam list");
        return figures;
    }
    QStringList arguments{QStringLiteral("--home"), home.path()};
    for (const QByteArray& line : list.readAll().split('\n'))
        if (line.startsWith("[name]"))
            arguments << QStringLiteral("--open") << QString::fromUtf8(line.mid(6)).trimmed();
    if (recorder) {
        arguments.prepend(QStringLiteral("--record"));
    } else {
        // AutoSave on, no Help window at start; the platform has no screen.
        QFile ini(home.filePath(QStringLiteral("Tolvane.ini")));
        if (!ini.open(QIODevice::WriteOnly) ||
            ini.write("[Tolvane%20Project]\nTolvane\\Settings\\autoSave=1\nTolvane\\Settings\\showHelp=0\n"
                      "Tolvane\\Settings\\reopenCams=0\n") < 0) {
            figures.problem = QStringLiteral("the settings file could not be written");
            return figures;
        }
        ini.close();
        arguments << QStringLiteral("-platform") << QStringLiteral("offscreen");
    }
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.setStandardOutputFile(QProcess::nullDevice());
    program.start(tolvane, arguments);
    if (!program.waitForStarted(10000)) {
        figures.problem = QStringLiteral("%1 did not start").arg(tolvane);
        Stop(farm);
        return figures;
    }
    QThread::sleep(kWarmUpSeconds);
    const qint64 pid = program.processId();
    const double cpu0 = ProcessCpuSeconds(pid);
    const int saved0 = SavedPictures(home.path());
    QThread::sleep(static_cast<unsigned long>(seconds));
    figures.cpuSeconds = ProcessCpuSeconds(pid) - cpu0;
    figures.saved = SavedPictures(home.path()) - saved0;
    figures.peakMegabytes = PeakMegabytes(pid);
    if (cpu0 < 0 || program.state() == QProcess::NotRunning)
        figures.problem = QStringLiteral("the program ended early (exit %1)").arg(program.exitCode());
    Stop(program);
    Stop(farm);
    return figures;
}
}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    int seconds = 60;
    QString democam = QCoreApplication::applicationDirPath() + QStringLiteral("/tolvane-democam");
    QString tolvane = QCoreApplication::applicationDirPath() + QStringLiteral("/tolvane");
    const QStringList args = QCoreApplication::arguments();
    for (int k = 1; k + 1 < args.size(); k += 2) {
        if (args.at(k) == QLatin1String("--seconds"))
            seconds = qMax(1, args.at(k + 1).toInt());
        else if (args.at(k) == QLatin1String("--democam"))
            democam = args.at(k + 1);
        else if (args.at(k) == QLatin1String("--tolvane"))
            tolvane = args.at(k + 1);
    }
    std::printf("24 cams of 640x480 at refresh 1 s, a new picture at every fetch; %d s measured after %d s\n", seconds,
                kWarmUpSeconds);
    const Figures window = Run(false, seconds, democam, tolvane);
    const Figures recorder = Run(true, seconds, democam, tolvane);
    for (const auto& [name, f] : {std::pair{"window (AutoSave)", window}, std::pair{"recorder", recorder}}) {
        if (!f.problem.isEmpty()) {
            std::printf("%-18s %s\n", name, qPrintable(f.problem));
            continue;
        }
        std::printf("%-18s CPU %.2f s (%.1f %% of a core), %d pictures saved (%.2f ms CPU each), peak RSS %.1f MB\n",
                    name, f.cpuSeconds, 100.0 * f.cpuSeconds / seconds, f.saved,
                    f.saved ? 1000.0 * f.cpuSeconds / f.saved : 0.0, f.peakMegabytes);
    }
    if (window.problem.isEmpty() && recorder.problem.isEmpty() && window.cpuSeconds > 0) {
        const double ratio = recorder.cpuSeconds / window.cpuSeconds;
        std::printf("recorder / window CPU: %.2f (target at most 0.80: %s)\n", ratio, ratio <= 0.8 ? "met" : "missed");
        std::printf("recorder peak RSS: %.1f MB (target at most 60: %s)\n", recorder.peakMegabytes,
                    recorder.peakMegabytes <= 60 ? "met" : "missed");
    }
    return 0;
}
